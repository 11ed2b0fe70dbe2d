#include "core/Analysis.h"

#include "core/ReportWriter.h"

AnalysisResultPtr RunToFile(const Analysis &analysis, const RunRequest &request)
{
    FileReportSink sink(request.reportFileName);
    AnalysisResultPtr result = analysis.run(request, sink);
    sink.close();
    return result;
}

AnalysisResultPtr RunToBytes(
    const Analysis &analysis, const RunRequest &request, std::string &reportBytes)
{
    reportBytes.clear();
    MemoryReportSink sink(reportBytes);
    return analysis.run(request, sink);
}
