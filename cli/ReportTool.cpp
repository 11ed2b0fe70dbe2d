#include "cli/ReportTool.h"

#include "cli/McaOptions.h"
#include "cli/ReportInput.h"
#include "cli/ReportOptions.h"

#include "core/CoreErrors.h"
#include "core/CorrespondenceAnalysis.h"
#include "core/CsvFile.h"
#include "core/DecimalCounts.h"
#include "core/FileIo.h"
#include "core/LongFormat.h"
#include "core/ReportSections.h"
#include "core/ResultJson.h"
#include "core/ResultSummary.h"
#include "core/ResultXlsx.h"

#include "analysis/Parallel.h"

#include <optional>

namespace {

// `options` is filled by the option table, so it outlives the parse.
void parseArguments(const std::vector<std::string> &args, CommandLine &commandLine,
    ReportOptions &options, ReportToolExtension *extension)
{
    AddReportOptions(commandLine, options);
    if (extension)
        extension->addOptions(commandLine);
    commandLine.parse(args, [&](const std::string &arg) { TakeInputFile(options, arg); });
    CheckReportOptions(options, extension && extension->drawsRandomNumbers());
    if (extension && !options.help) {
        extension->check();
        extension->takeSeed(options.seed, options.threads);
    }
}

void warn(std::ostream &err, const std::vector<std::string> &warnings)
{
    for (const std::string &warning : warnings)
        err << warning << "\n";
}

// The test of the run's solutions, on the counts it analysed; a table without
// association has none to test.
std::optional<PermutationResult> permutationTest(
    const ReportOptions &options, const AnalysisResult &result)
{
    if (options.permutations == 0 || !result.outcome().associated)
        return std::nullopt;
    if (result.outcome().decimalPlaces > 0)
        throw InputError(PermutationNeedsCounts);
    PermutationRequest request = result.permutationRequest();
    request.permutations = options.permutations;
    request.seed = options.seed ? *options.seed : NewPermutationSeed();
    request.threads = options.threads;
    return RunPermutationTest(request);
}

void analyse(const ReportOptions &options, ReportToolExtension *extension, std::ostream &err)
{
    if (options.threads > 0)
        SetAnalysisThreads(options.threads);
    StartAnalysisThreads(); // awake by the time the file is read
    const ReportInput input = LoadReportInput(options);
    const LoadedTable &table = input.loaded;
    warn(err, table.warnings);
    if (input.sparse && (options.residuals || !options.xlsx.empty()))
        throw InputError("縦長形式で読んだ 50 行または 50 列を超える表では --residuals、--xlsx "
                         "を使えません (どれも表のすべてのセルを書き出します)");
    RunRequest request;
    request.reportFileName = options.output;
    request.nDimText = options.dimsText;
    request.table = &table.table;
    request.sparse = input.sparse;
    request.encoding = options.encoding;
    request.decimalCounts = options.decimalCounts;
    const SupplementaryMarks &marks = input.sparse ? input.sparseMarks : table.table.marks();
    request.supplementary.rows = options.supplementaryRows.value_or(marks.rows);
    request.supplementary.cols = options.supplementaryCols.value_or(marks.cols);
    if (input.sparse && options.sections.needCells())
        throw InputError("縦長形式で読んだ 50 行または 50 列を超える表では --report-residuals、"
                         "--report-reordered を使えません (どちらも表のすべてのセルを使います)");
    request.laterTexts = ReportSectionTexts(options.sections);
    const MapScalingWords words = MapScalingWordsOf(
        extension && extension->mapScaling() ? *extension->mapScaling() : MapScaling::Symmetric);
    // The statistics and the permutation test, made once for the report's
    // sections and the files alike (a fresh seed would test again otherwise).
    std::optional<Interpretation> stats;
    std::optional<PermutationResult> test;
    const auto publish = [&](const AnalysisResult &result) {
        if (!stats) {
            stats = result.statistics();
            test = permutationTest(options, result);
        }
    };
    const AnalysisResultPtr result = RunToFile(
        DualScalingAnalysis(), request, [&](const AnalysisResult &run, ReportSink &sink) {
            if (!options.sections.any())
                return;
            publish(run);
            WriteReportSections(sink, run.outcome().charset, options.sections, *stats,
                run.outcome().analysedTable,
                SummarizeResult(*stats, test ? &*test : nullptr, words));
        });
    warn(err, result->outcome().warnings);
    // Only a run that got to its end leaves a JSON file: a failure above
    // throws before any is created.
    if (!options.json.empty() || !options.summary.empty() || !options.xlsx.empty()) {
        publish(*result);
        const PermutationResult *tested = test ? &*test : nullptr;
        if (!options.json.empty()) {
            const std::optional<CellResiduals> residuals = options.residuals
                ? std::optional(ValueResiduals(
                    result->outcome().analysedTable, result->outcome().decimalPlaces))
                : std::nullopt;
            std::string json = ResultJsonText(*stats, tested, residuals ? &*residuals : nullptr);
            if (extension)
                extension->amendJson(*result, json);
            OutputFile file(options.json);
            file.write(json);
            file.close();
        }
        if (!options.summary.empty())
            WriteResultSummary(
                SummarizeResult(*stats, tested, words), options.summary, options.encoding);
        if (!options.xlsx.empty())
            WriteResultXlsx(options.xlsx, *stats, result->outcome().analysedTable, tested);
    }
    if (extension)
        extension->afterRun(*result);
}

} // namespace

int RunReportTool(const std::vector<std::string> &args, std::ostream &out, std::ostream &err,
    ReportToolExtension *extension, const ReportToolHandover &handover)
{
    if (IsMcaCommandLine(args))
        return RunMcaReportTool(args, out, err, extension, handover);
    CommandLine commandLine;
    ReportOptions options;
    try {
        parseArguments(args, commandLine, options, extension);
        if (options.help && handover)
            handover();
    } catch (const UnknownOptionError &error) {
        if (handover)
            handover();
        err << error.what() << "\n詳しくは / See: quarnet-report --help\n";
        return ToolUsageError;
    } catch (const UsageError &error) {
        err << error.what() << "\n詳しくは / See: quarnet-report --help\n";
        return ToolUsageError;
    }
    if (options.help) {
        out << ReportUsage(commandLine);
        return ToolDone;
    }
    try {
        analyse(options, extension, err);
    } catch (const std::exception &error) {
        err << error.what() << "\n";
        return ToolFailed;
    }
    return ToolDone;
}
