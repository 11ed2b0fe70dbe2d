#include "core/Analysis.h"

#include "core/ReportWriter.h"

AnalysisResultPtr RunToFile(const Analysis &analysis, const RunRequest &request)
{
    FileReportSink sink(request.reportFileName);
    return sink.complete([&] { return analysis.run(request, sink); });
}

AnalysisResultPtr RunToFile(
    const Analysis &analysis, const RunRequest &request, const MoreReport &more)
{
    FileReportSink sink(request.reportFileName);
    return sink.complete([&] {
        AnalysisResultPtr result = analysis.run(request, sink);
        more(*result, sink);
        return result;
    });
}

AnalysisResultPtr RunToBytes(
    const Analysis &analysis, const RunRequest &request, std::string &reportBytes)
{
    reportBytes.clear();
    MemoryReportSink sink(reportBytes);
    return analysis.run(request, sink);
}
