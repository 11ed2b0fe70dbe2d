#include "core/Analysis.h"

#include "core/ReportWriter.h"

AnalysisResultPtr RunToFile(const Analysis &analysis, const RunRequest &request)
{
    FileReportSink sink(request.reportFileName);
    return sink.complete([&] { return analysis.run(request, sink); });
}

AnalysisResultPtr RunToBytes(
    const Analysis &analysis, const RunRequest &request, std::string &reportBytes)
{
    reportBytes.clear();
    MemoryReportSink sink(reportBytes);
    return analysis.run(request, sink);
}
