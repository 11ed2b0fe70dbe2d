#include "cli/ReportOptions.h"

#include "core/SpreadsheetFile.h"
#include "core/SupplementaryMark.h"

#include <charconv>
#include <limits>

namespace {

FileEncoding encodingNamed(const std::string &name)
{
    if (name == "cp932")
        return FileEncoding::Cp932OrUtf8;
    if (name == "utf-8")
        return FileEncoding::Utf8;
    throw UsageError("--encoding には cp932 か utf-8 を指定してください ('" + name + "')");
}

std::set<int> positionsFor(const std::string &option, const std::string &list)
{
    const auto positions = ParsePositionList(list);
    if (!positions)
        throw UsageError(
            option + " には 1 から始まる位置をカンマで区切って指定してください ('" + list + "')");
    return *positions;
}

// Digits only (no sign, no spaces), within min..max.
std::uint64_t unsignedFor(const std::string &option, const std::string &text, std::uint64_t min,
    std::uint64_t max, const std::string &wanted)
{
    std::uint64_t value = 0;
    const char *end = text.data() + text.size();
    const auto [ptr, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || ptr != end || value < min || value > max)
        throw UsageError(option + " には" + wanted + "を指定してください ('" + text + "')");
    return value;
}

int countFor(const std::string &option, const std::string &text, int max)
{
    return static_cast<int>(unsignedFor(option, text, 1, static_cast<std::uint64_t>(max),
        " 1 から " + std::to_string(max) + " までの整数"));
}

} // namespace

void AddReportOptions(CommandLine &commandLine, ReportOptions &options)
{
    commandLine.addOption({ "-o", "REPORT.txt", "レポートファイル (必須) / report file (required)",
        [&options](const std::string &value) { options.output = value; } });
    commandLine.addOption({ "--dims", "N", "次元数 (既定 2) / number of dimensions (default 2)",
        [&options](const std::string &value) { options.dimsText = value; } });
    commandLine.addOption({ "--encoding", "cp932|utf-8",
        "レポートの文字コード (既定 cp932) / report encoding (default cp932)",
        [&options](const std::string &value) { options.encoding = encodingNamed(value); } });
    commandLine.addOption({ "--json", "FILE",
        "結果全体を JSON (UTF-8) でも書く / also write the whole result as JSON (UTF-8)",
        [&options](const std::string &value) {
            if (value.empty())
                throw UsageError("--json には JSON ファイルの名前を指定してください");
            options.json = value;
        } });
    commandLine.addOption({ "--long", "",
        "入力は縦長形式 (見出しの行と、行の名前,列の名前,度数 の行) / the input is in the long "
        "format (a header line, then row name,column name,count lines)",
        [&options](const std::string &) { options.longFormat = true; } });
    commandLine.addOption({ "--residuals", "",
        "JSON に各セルの標準化残差と調整済み残差を加える / add each cell's standardized and "
        "adjusted residuals to the JSON file",
        [&options](const std::string &) { options.residuals = true; } });
    commandLine.addOption({ "--summary", "FILE",
        "結果の記述 (日本語と英語の段落) を書く / write the paragraph describing the result "
        "(Japanese and English)",
        [&options](const std::string &value) {
            if (value.empty())
                throw UsageError("--summary にはファイルの名前を指定してください");
            options.summary = value;
        } });
    commandLine.addOption({ "--xlsx", "FILE",
        "結果を Excel ブック (.xlsx) でも書く / also write the result as an Excel workbook",
        [&options](const std::string &value) {
            if (value.empty())
                throw UsageError("--xlsx にはファイルの名前を指定してください");
            options.xlsx = value;
        } });
    commandLine.addOption({ "--report-malinvaud", "",
        "レポートの最後に Malinvaud の検定を書く / end the report with Malinvaud's test",
        [&options](const std::string &) { options.sections.malinvaud = true; } });
    commandLine.addOption({ "--report-residuals", "",
        "レポートの最後に標準化残差・調整済み残差・カイ二乗への寄与率を書く / end the report "
        "with the standardized and adjusted residuals and the cells' shares of chi-square",
        [&options](const std::string &) { options.sections.residuals = true; } });
    commandLine.addOption({ "--report-reordered", "D",
        "レポートの最後に第 D 次元の尺度値で並べ替えた表を書く / end the report with the table "
        "ordered by the scale values of dimension D",
        [&options](const std::string &value) {
            options.sections.reordered = countFor("--report-reordered", value, 100000);
        } });
    commandLine.addOption({ "--report-poles", "",
        "レポートの最後に次元を定めるカテゴリーを書く / end the report with the categories that "
        "define each dimension",
        [&options](const std::string &) { options.sections.poles = true; } });
    commandLine.addOption({ "--report-summary", "",
        "レポートの最後に結果の記述を書く / end the report with the paragraphs describing the "
        "result",
        [&options](const std::string &) { options.sections.summary = true; } });
    commandLine.addOption({ "--supplementary-rows", "LIST",
        "補助行 (例 2,5; ファイルの指定より優先) / supplementary rows (e.g. 2,5; "
        "overrides the file)",
        [&options](const std::string &value) {
            options.supplementaryRows = positionsFor("--supplementary-rows", value);
        } });
    commandLine.addOption({ "--supplementary-columns", "LIST",
        "補助列 (例 4; ファイルの指定より優先) / supplementary columns (e.g. 4; "
        "overrides the file)",
        [&options](const std::string &value) {
            options.supplementaryCols = positionsFor("--supplementary-columns", value);
        } });
    commandLine.addOption({ "--permutations", "R",
        "並べ替え検定の乱数表の数; 解ごとの p 値を JSON に書く / random tables of the "
        "permutation test; writes each solution's p-value to the JSON file",
        [&options](const std::string &value) {
            options.permutations = countFor("--permutations", value, MaxPermutations);
        } });
    commandLine.addOption({ "--seed", "S",
        "並べ替え検定の乱数の種 (既定: 新しく作る) / seed of the permutation test "
        "(default: a fresh one)",
        [&options](const std::string &value) {
            options.seed = unsignedFor(
                "--seed", value, 0, std::numeric_limits<std::uint64_t>::max(), " 0 以上の整数");
        } });
    commandLine.addOption({ "--threads", "N",
        "計算のスレッド数 (既定: コア数) / threads of the computation (default: one per core)",
        [&options](const std::string &value) {
            options.threads = countFor("--threads", value, MaxThreads);
        } });
    commandLine.addOption({ "--sheet", "NAME|N",
        "Excel・ODS のファイルで読むシート (名前か 1 から始まる番号) / the sheet of an Excel "
        "or ODS file to read (name or 1-based number)",
        [&options](const std::string &value) {
            if (value.empty())
                throw UsageError("--sheet にはシートの名前か番号を指定してください");
            options.sheet = value;
        } });
    commandLine.addOption({ "--crosstab", "ROWCOL,COLCOL",
        "1 行 1 ケースの表を 2 つの変数 (名前か 1 から始まる列番号) でクロス集計する / "
        "cross-tabulate records (one line per case) by two variables (names or 1-based "
        "columns)",
        [&options](const std::string &value) {
            const std::size_t comma = value.find(',');
            if (comma == std::string::npos || comma == 0 || comma + 1 == value.size())
                throw UsageError("--crosstab には行と列の変数をカンマで区切って指定してください ('"
                    + value + "')");
            options.crosstab.emplace(value.substr(0, comma), value.substr(comma + 1));
        } });
    commandLine.addOption({ "--weight-column", "N",
        "クロス集計の重みの変数 (名前か列番号) / weight variable of the cross-tabulation "
        "(name or column)",
        [&options](const std::string &value) {
            if (value.empty())
                throw UsageError("--weight-column には重みの変数を指定してください");
            options.weightColumn = value;
        } });
    commandLine.addOption({ "--sort-categories", "",
        "クロス集計のカテゴリーを並べ替える (既定: 現れた順) / sort the categories of the "
        "cross-tabulation (default: as first met)",
        [&options](const std::string &) { options.sortCategories = true; } });
    commandLine.addOption({ "--multiple-answers", "COL[,COL...]",
        "クロス集計で 1 つのセルに複数の回答 (、 , ; / 区切り) がある変数; 回答ごとに数える / "
        "variables of the cross-tabulation holding several answers per cell (separated by "
        "、 , ; /), each answer counted",
        [&options](const std::string &value) {
            options.multipleAnswers.clear();
            std::size_t start = 0;
            for (std::size_t comma = value.find(','); start <= value.size();
                 comma = value.find(',', start)) {
                const std::size_t end = comma == std::string::npos ? value.size() : comma;
                if (end == start)
                    throw UsageError(
                        "--multiple-answers には変数をカンマで区切って指定してください ('" + value
                        + "')");
                options.multipleAnswers.push_back(value.substr(start, end - start));
                start = end + 1;
            }
        } });
    commandLine.addOption({ "--drop-totals", "",
        "最後の合計の行・列 (計, 合計, 総計, Total, NET) を除く / drop a last row or column of "
        "totals",
        [&options](const std::string &) { options.dropTotals = true; } });
    commandLine.addOption({ "--decimal-counts", "",
        "小数の値 (重み付きの表・百分率の表) を受け付ける。並べ替え検定と p 値は求めない / "
        "take non-negative decimal values (weighted or percentage tables); no permutation test "
        "or p-value",
        [&options](const std::string &) { options.decimalCounts = true; } });
    commandLine.addOption({ "--help", "", "この説明 / this help",
        [&options](const std::string &) { options.help = true; } });
}

void TakeInputFile(ReportOptions &options, const std::string &argument)
{
    if (!options.input.empty())
        throw UsageError("入力ファイルは 1 つだけ指定してください ('" + options.input + "', '"
            + argument + "')");
    options.input = argument;
}

void CheckReportOptions(const ReportOptions &options, bool randomElsewhere)
{
    if (options.help)
        return;
    if (options.input.empty())
        throw UsageError("入力ファイル (CSV データファイル) を指定してください");
    if (options.output.empty())
        throw UsageError("レポートファイルを -o で指定してください");
    if (!options.sheet.empty() && SpreadsheetKindOf(options.input) == SpreadsheetKind::None)
        throw UsageError(
            "--sheet は Excel・ODS のファイル (.xlsx, .xlsm, .ods) にだけ指定できます");
    if (!options.crosstab
        && (!options.weightColumn.empty() || options.sortCategories
            || !options.multipleAnswers.empty()))
        throw UsageError("--weight-column、--sort-categories、--multiple-answers は --crosstab と"
                         "一緒に指定してください");
    if (options.permutations > 0 && options.json.empty() && options.summary.empty()
        && options.xlsx.empty())
        throw UsageError("--permutations の結果は JSON、結果の記述、Excel のファイルに書きます。"
                         "--json FILE、--summary FILE か --xlsx FILE も指定してください");
    if (options.residuals && options.json.empty())
        throw UsageError("--residuals は --json と一緒に指定してください");
    if (options.seed && options.permutations == 0 && !randomElsewhere)
        throw UsageError("--seed は --permutations と一緒に指定してください");
}

std::string ReportUsage(const CommandLine &commandLine)
{
    return "使い方 / Usage:\n"
           "  quarnet-report [--dims N] [--encoding cp932|utf-8] [--json FILE [--residuals]]\n"
           "                 [--long] [--summary FILE] [--xlsx FILE]\n"
           "                 [--supplementary-rows LIST] [--supplementary-columns LIST]\n"
           "                 [--permutations R [--seed S]] [--threads N]\n"
           "                 [--sheet NAME|N] [--report-malinvaud] [--report-residuals]\n"
           "                 [--report-reordered D] [--report-poles] [--report-summary]\n"
           "                 INPUT.csv|INPUT.xlsx|INPUT.ods -o REPORT.txt\n"
           "  quarnet-report --mca SHEET.csv -o REPORT.txt ...   (質問紙の数量化III類 / "
           "questionnaires:\n"
           "                 quarnet-report --mca - --help)\n"
           "\n"
           "CSV データファイル INPUT.csv を読み込み、双対尺度法 (対応分析) を行って\n"
           "レポートファイル REPORT.txt を書きます。--json FILE があれば、計算を終えたとき\n"
           "カイ二乗検定・慣性・寄与・cos²・質を含む結果全体を FILE に JSON で書きます。\n"
           "Reads the CSV data file INPUT.csv, runs the dual-scaling (correspondence)\n"
           "analysis and writes the report file REPORT.txt. With --json FILE, a completed\n"
           "run also writes the whole result (chi-square test, inertias, contributions,\n"
           "cos², quality) to FILE as JSON.\n"
           "\n"
           "オプション / Options:\n"
        + commandLine.optionsHelp()
        + "\n"
          "文字コード / Encodings:\n"
          "  読み込み: BOM があれば UTF-8 / UTF-16、なければ UTF-8 か CP932 (Shift_JIS) を判別。\n"
          "  書き出し: CP932。CP932 で書けない文字があるときはファイル全体を BOM 付き UTF-8 で。\n"
          "  Reading: UTF-8 or UTF-16 by byte-order mark, otherwise UTF-8 or CP932 (Shift_JIS).\n"
          "  Writing: CP932; a file holding characters CP932 lacks is written as UTF-8 with BOM.\n"
          "\n"
          "縦長形式 / Long format (--long):\n"
          "  1 行目は見出し。以降の各行が 1 つの欄: 行の名前,列の名前,度数。書かれない欄は 0、\n"
          "  同じ組は足し合わせ、行と列は初めて現れた順。度数がすべて 0 の名前は標準エラーに。\n"
          "  A header line, then one cell a line: row name,column name,count. Cells not\n"
          "  written are 0, a pair written again adds up, rows and columns come in the order\n"
          "  first met; names whose counts are all 0 are listed on stderr.\n"
          "\n"
          "補助カテゴリー / Supplementary categories:\n"
          "  分析から除き、その解の上に配置する行と列。LIST は 1 から始まる位置のカンマ区切り\n"
          "  (\"\" なら無し)。指定しない側はファイルの左上の欄 (--long では見出しの最初の\n"
          "  欄) の指定に従う。\n"
          "  Rows and columns left out of the analysis and placed on its solution. LIST is\n"
          "  1-based positions, comma-separated (\"\": none); a side not given follows the\n"
          "  mark in the file's corner field (with --long, the header's first field).\n"
          "\n"
          "並べ替え検定 / Permutation test:\n"
          "  --permutations R は、行と列の合計が観測と同じ乱数表を R 個作り、解 d ごとに\n"
          "  p = (1 + d 番目の η² が観測以上の表の数) / (R + 1) を求めて、JSON の各解に\n"
          "  permutation_p、最上位に permutations と seed (使った種) を書きます。レポート\n"
          "  ファイルは変わりません。同じ種なら、スレッド数によらず同じ p 値になります。\n"
          "  関連のない表では検定しません。\n"
          "  --permutations R draws R random tables with the observed row and column totals\n"
          "  and gives each solution d p = (1 + tables whose d-th eta² is at least the\n"
          "  observed) / (R + 1): permutation_p in each solution of the JSON file, and\n"
          "  permutations and seed (the one used) at its top level. The report file is\n"
          "  unchanged. One seed gives the same p-values on any number of threads. A table\n"
          "  without association is not tested.\n"
          "\n"
          "Excel・ODS / Excel and ODS:\n"
          "  .xlsx, .xlsm, .ods はシートの表を CSV データファイルと同じ決まりで読みます (1 行目に\n"
          "  列の名前、1 列目に行の名前、式は保存された値)。表のあるシートが複数なら --sheet で。\n"
          "  .xlsx, .xlsm and .ods files are read by the CSV data file's rules (column names\n"
          "  in the first row, row names in the first column, formulas by their saved values);\n"
          "  with several sheets holding a table, --sheet names one.\n"
          "\n"
          "終了コード / Exit status:\n"
          "  0 完了 (関連のない表を含む。警告は標準エラー) / done (a table without association\n"
          "    included; warnings on stderr)\n"
          "  1 読み込みや計算の失敗 (メッセージは標準エラー) / failure, message on stderr\n"
          "  2 コマンドラインの誤り / command-line error\n";
}
