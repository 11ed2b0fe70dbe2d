#include "cli/McaOptions.h"

#include "cli/CommandLine.h"
#include "cli/ReportOptions.h"

#include "core/FileIo.h"
#include "core/McaAnalysis.h"
#include "core/McaJson.h"
#include "core/McaScores.h"
#include "core/McaSummary.h"
#include "core/McaXlsx.h"
#include "core/QuestionnaireWorkbook.h"
#include "core/SpreadsheetFile.h"
#include "core/SupplementaryMark.h"

#include <charconv>
#include <limits>
#include <optional>
#include <set>

namespace {

struct McaOptions {
    bool help = false;
    std::string sheet, output, json, scores, xlsx, summary;
    std::string sheetName; // --sheet: a workbook's sheet by name or number
    std::string dimsText = "2";
    FileEncoding encoding = FileEncoding::Cp932OrUtf8;
    std::optional<std::set<int>> supplementary, quantitative, ignored;
    std::optional<MissingAnswers> missing;
    std::optional<int> weightColumn;
    std::optional<std::uint64_t> seed; // the ellipses' (an extension's random numbers)
    int threads = 0;
};

template <typename Number>
Number numberFor(const std::string &option, const std::string &v, Number min, Number max)
{
    Number value = 0;
    const auto [ptr, error] = std::from_chars(v.data(), v.data() + v.size(), value);
    if (v.empty() || error != std::errc() || ptr != v.data() + v.size() || value < min
        || value > max)
        throw UsageError(option + " には " + std::to_string(min) + " から " + std::to_string(max)
            + " までの整数を指定してください ('" + v + "')");
    return value;
}

std::set<int> positionsFor(const std::string &option, const std::string &list)
{
    const auto positions = ParsePositionList(list);
    if (!positions)
        throw UsageError(option
            + " には 1 から始まる設問の位置をカンマで区切って指定してください ('" + list + "')");
    return *positions;
}

std::string named(const std::string &option, const std::string &value)
{
    if (value.empty())
        throw UsageError(option + " にはファイルの名前を指定してください");
    return value;
}

void addOptions(CommandLine &line, McaOptions &o)
{
    line.addOption({ "--mca", "SHEET.csv",
        "質問紙の数量化III類 (多重対応分析) / multiple "
        "correspondence analysis of a questionnaire",
        [&o](const std::string &v) { o.sheet = named("--mca", v); } });
    line.addOption({ "-o", "REPORT.txt", "レポートファイル (必須) / report file (required)",
        [&o](const std::string &v) { o.output = v; } });
    line.addOption({ "--dims", "K", "次元数 (既定 2) / number of dimensions (default 2)",
        [&o](const std::string &v) { o.dimsText = v; } });
    line.addOption({ "--encoding", "cp932|utf-8",
        "レポートと得点の文字コード (既定 cp932) / encoding of the report and scores",
        [&o](const std::string &v) {
            if (v != "cp932" && v != "utf-8")
                throw UsageError("--encoding には cp932 か utf-8 を指定してください ('" + v + "')");
            o.encoding = v == "utf-8" ? FileEncoding::Utf8 : FileEncoding::Cp932OrUtf8;
        } });
    line.addOption({ "--json", "FILE", "結果全体を JSON でも書く / also write the result as JSON",
        [&o](const std::string &v) { o.json = named("--json", v); } });
    line.addOption({ "--xlsx", "FILE",
        "結果を Excel ブック (.xlsx) でも書く / also write the result as an Excel workbook",
        [&o](const std::string &v) { o.xlsx = named("--xlsx", v); } });
    line.addOption({ "--summary", "FILE",
        "結果の記述 (日本語と英語の段落) を書く / write the paragraphs describing the result",
        [&o](const std::string &v) { o.summary = named("--summary", v); } });
    line.addOption(
        { "--scores", "FILE", "回答者の得点を CSV に書く / write the respondents' scores",
            [&o](const std::string &v) { o.scores = named("--scores", v); } });
    line.addOption({ "--supplementary-questions", "LIST",
        "補助設問 (質的) / categorical supplementary questions", [&o](const std::string &v) {
            o.supplementary = positionsFor("--supplementary-questions", v);
        } });
    line.addOption({ "--quantitative", "LIST", "補助設問 (量的) / quantitative supplementary",
        [&o](const std::string &v) { o.quantitative = positionsFor("--quantitative", v); } });
    line.addOption({ "--ignore-questions", "LIST", "使わない設問 / questions left out",
        [&o](const std::string &v) { o.ignored = positionsFor("--ignore-questions", v); } });
    line.addOption({ "--missing", "category|passive",
        "無回答をカテゴリーにする (既定) か分析から除く / missing answers as a category or "
        "passive",
        [&o](const std::string &v) {
            if (v != "category" && v != "passive")
                throw UsageError(
                    "--missing には category か passive を指定してください ('" + v + "')");
            o.missing = v == "passive" ? MissingAnswers::Passive : MissingAnswers::Category;
        } });
    line.addOption({ "--weight-column", "N", "回答者の重みの列 (設問と同じ数え方) / weight column",
        [&o](const std::string &v) {
            int value = 0;
            const auto [ptr, error] = std::from_chars(v.data(), v.data() + v.size(), value);
            if (v.empty() || error != std::errc() || ptr != v.data() + v.size() || value < 1)
                throw UsageError(
                    "--weight-column には 1 以上の列の位置を指定してください ('" + v + "')");
            o.weightColumn = value;
        } });
    line.addOption({ "--seed", "S",
        "信頼楕円の乱数の種 (既定: 新しく作る) / seed of the ellipses' resampling (default: a "
        "fresh one)",
        [&o](const std::string &v) {
            o.seed = numberFor<std::uint64_t>(
                "--seed", v, 0, std::numeric_limits<std::uint64_t>::max());
        } });
    line.addOption({ "--threads", "N",
        "計算のスレッド数 (既定: コア数) / threads of the computation (default: one per core)",
        [&o](
            const std::string &v) { o.threads = numberFor<int>("--threads", v, 1, MaxThreads); } });
    line.addOption({ "--sheet", "NAME|N",
        "Excel・ODS のファイルで読むシート (名前か 1 から始まる番号) / the sheet of an Excel "
        "or ODS file to read (name or 1-based number)",
        [&o](const std::string &v) { o.sheetName = named("--sheet", v); } });
    line.addOption(
        { "--help", "", "この説明 / this help", [&o](const std::string &) { o.help = true; } });
}

// The command line's marks over the sheet's; a position beyond the sheet or
// given two roles is the user's mistake.
QuestionnaireMarks marksFor(const McaOptions &o, const QuestionnaireSheet &sheet)
{
    QuestionnaireMarks marks = sheet.marks;
    if (o.supplementary)
        marks.supplementary = *o.supplementary;
    if (o.quantitative)
        marks.quantitative = *o.quantitative;
    if (o.ignored)
        marks.ignored = *o.ignored;
    if (o.missing)
        marks.missing = *o.missing;
    if (o.weightColumn)
        marks.weightColumn = *o.weightColumn;
    std::set<int> seen;
    for (const std::set<int> *list : { &marks.supplementary, &marks.quantitative, &marks.ignored })
        for (const int p : *list) {
            if (p > sheet.questions())
                throw UsageError("設問 " + std::to_string(p) + " はありません (設問は "
                    + std::to_string(sheet.questions()) + " 個)");
            if (!seen.insert(p).second || p == marks.weightColumn)
                throw UsageError("設問 " + std::to_string(p) + " に二つの役割が指定されています");
        }
    if (marks.weightColumn > sheet.questions())
        throw UsageError("重みの列 " + std::to_string(marks.weightColumn) + " はありません");
    return marks;
}

// Several sheets could be the questionnaire: the command line must name one.
std::optional<std::size_t> refuseSheetChoice(
    const std::string &fileName, const std::vector<const SheetGrid *> &candidates)
{
    std::string names;
    for (const SheetGrid *sheet : candidates)
        names += (names.empty() ? "「" : "、「") + sheet->name() + "」";
    throw InputError("「" + fileName + "」には質問紙になるシートが複数あります (" + names
        + ")。--sheet NAME か --sheet N で選んでください");
}

std::string usage(const CommandLine &line)
{
    return "使い方 / Usage:\n"
           "  quarnet-report --mca SHEET.csv -o REPORT.txt [--dims K] [--json FILE]\n"
           "                 [--xlsx FILE] [--summary FILE] [--sheet NAME|N]\n"
           "                 [--scores FILE] [--supplementary-questions LIST]\n"
           "                 [--quantitative LIST] [--ignore-questions LIST]\n"
           "                 [--missing category|passive] [--weight-column N]\n"
           "                 [--plot FILE ...] [--ellipses [--replicates R] [--level L]\n"
           "                 [--ellipse-axes] [--seed S]] [--threads N]\n"
           "\n"
           "質問紙 SHEET.csv (1 行目に設問名、以降 1 行に 1 人: ID と設問ごとの回答) を\n"
           "数量化III類 (多重対応分析) で分析します。LIST と N は ID の次の列を 1 とする位置。\n"
           "Analyses the questionnaire SHEET.csv (first line the question names, then one\n"
           "respondent per line: ID and one answer per question) by multiple\n"
           "correspondence analysis. LIST and N count the field after the ID as 1.\n"
           "SHEET は Excel・ODS のファイル (.xlsx, .xlsm, .ods) でもよく、質問紙の印のある\n"
           "シートか、ただ一つ中身のあるシートを読みます (複数なら --sheet で)。\n"
           "SHEET may be an Excel or ODS file: the sheet marked as a questionnaire, or the\n"
           "one sheet holding anything, is read (with several, --sheet names one).\n"
           "\n"
           "オプション / Options:\n"
        + line.optionsHelp();
}

} // namespace

bool IsMcaCommandLine(const std::vector<std::string> &args)
{
    for (const std::string &arg : args) {
        if (arg == "--")
            return false;
        if (arg == "--mca" || arg.starts_with("--mca="))
            return true;
    }
    return false;
}

int RunMcaReportTool(const std::vector<std::string> &args, std::ostream &out, std::ostream &err,
    ReportToolExtension *extension, const ReportToolHandover &handover)
{
    CommandLine line;
    McaOptions o;
    try {
        addOptions(line, o);
        if (extension)
            extension->addOptions(line);
        line.parse(args, [](const std::string &arg) {
            throw UsageError("質問紙は --mca で指定してください ('" + arg + "')");
        });
        if (!o.help && o.output.empty())
            throw UsageError("レポートファイルを -o で指定してください");
        if (!o.help && !o.sheetName.empty() && SpreadsheetKindOf(o.sheet) == SpreadsheetKind::None)
            throw UsageError(
                "--sheet は Excel・ODS のファイル (.xlsx, .xlsm, .ods) にだけ指定できます");
        if (o.seed && !o.help && !(extension && extension->drawsRandomNumbers()))
            throw UsageError("--seed は --ellipses と一緒に指定してください");
        if (extension && !o.help) {
            extension->check();
            extension->takeSeed(o.seed, o.threads);
        }
    } catch (const UnknownOptionError &error) {
        if (handover)
            handover();
        err << error.what() << "\n詳しくは / See: quarnet-report --mca - --help\n";
        return ToolUsageError;
    } catch (const UsageError &error) {
        err << error.what() << "\n詳しくは / See: quarnet-report --mca - --help\n";
        return ToolUsageError;
    }
    if (o.help) {
        out << usage(line);
        return ToolDone;
    }
    try {
        const LoadedQuestionnaire loaded = *LoadQuestionnaire(
            o.sheet, o.sheetName, [&](const std::vector<const SheetGrid *> &candidates) {
                return refuseSheetChoice(o.sheet, candidates);
            });
        for (const std::string &warning : loaded.warnings)
            err << warning << "\n";
        QuestionnaireMarks marks;
        try {
            marks = marksFor(o, loaded.sheet);
        } catch (const UsageError &error) {
            err << error.what() << "\n";
            return ToolUsageError;
        }
        RunRequest request;
        request.reportFileName = o.output;
        request.nDimText = o.dimsText;
        request.encoding = o.encoding;
        const AnalysisResultPtr result = RunToFile(McaAnalysis(loaded.sheet, marks), request);
        const auto &mca = static_cast<const McaResult &>(*result);
        if (!o.json.empty()) {
            std::string json = McaJsonText(mca);
            if (extension)
                extension->amendJson(mca, json);
            OutputFile file(o.json);
            file.write(json);
            file.close();
        }
        if (!o.xlsx.empty())
            WriteMcaXlsx(mca, o.xlsx);
        if (!o.summary.empty())
            WriteResultSummary(SummarizeMca(mca), o.summary, o.encoding);
        if (!o.scores.empty())
            WriteMcaScores(mca, o.scores, o.encoding);
        if (extension)
            extension->afterRun(mca);
    } catch (const std::exception &error) {
        err << UserMessage(error) << "\n";
        return ToolFailed;
    }
    return ToolDone;
}
