#include "core/CrossTabulation.h"

#include "core/CategoryOrder.h"
#include "core/CoreErrors.h"
#include "core/CsvSheet.h"
#include "core/DecimalCounts.h"
#include "core/IntConversion.h"
#include "core/MultipleAnswers.h"
#include "core/SpreadsheetFile.h"
#include "core/TableSize.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <numeric>
#include <optional>
#include <unordered_map>

namespace {

std::string sheetPlace(const SheetGrid &sheet)
{
    return "シート「" + sheet.name() + "」";
}

std::optional<double> numberIn(const std::string &text)
{
    const std::string folded = FoldFullWidthNumber(text);
    double value = 0;
    const auto [end, error] = std::from_chars(folded.data(), folded.data() + folded.size(), value);
    if (folded.empty() || error != std::errc() || end != folded.data() + folded.size()
        || !std::isfinite(value))
        return std::nullopt;
    return value;
}

int headerRow(const SheetGrid &sheet)
{
    for (int r = 0; r < sheet.rows(); ++r)
        for (int c = 0; c < sheet.cols(); ++c)
            if (!sheet.cell(r, c).empty())
                return r;
    throw InputError(sheetPlace(sheet) + "は空です");
}

// The column of a variable: its name in the header row first, then its number.
int variableColumn(const SheetGrid &sheet, int header, const std::string &variable)
{
    for (int c = 0; c < sheet.cols(); ++c)
        if (!variable.empty() && sheet.cell(header, c).text == variable)
            return c;
    const std::optional<double> number = numberIn(variable);
    if (number && *number >= 1 && *number <= sheet.cols() && *number == std::floor(*number))
        return static_cast<int>(*number) - 1;
    std::string names;
    for (int c = 0; c < sheet.cols(); ++c)
        names += (c == 0 ? "" : ", ") + sheet.cell(header, c).text;
    throw InputError(sheetPlace(sheet) + "に変数「" + variable + "」はありません ("
        + std::to_string(header + 1) + " 行目の変数: " + names + ")");
}

double weightAt(const SheetGrid &sheet, int row, int col)
{
    const SheetCell &cell = sheet.cell(row, col);
    const std::string place = sheetPlace(sheet) + "の " + CellAddress(row, col) + " の重み";
    if (cell.empty())
        throw InputError(place + "が空です");
    const std::optional<double> weight
        = cell.kind == SheetCell::Kind::Number ? cell.number : numberIn(cell.text);
    if (!weight)
        throw InputError(place + " '" + cell.text + "' は数値ではありません");
    if (*weight < 0)
        throw InputError(place + " '" + cell.text + "' が負です");
    return *weight;
}

// The categories of one variable, each given its index as first met.
struct Categories {
    std::vector<std::string> names;
    std::unordered_map<std::string, int> index;
    int of(const std::string &name)
    {
        const auto [found, added] = index.try_emplace(name, static_cast<int>(names.size()));
        if (added)
            names.push_back(name);
        return found->second;
    }
    // The positions in the table of the categories met: sorted or as met.
    std::vector<int> places(bool sorted) const
    {
        std::vector<int> order(names.size());
        std::iota(order.begin(), order.end(), 0);
        if (sorted) {
            const bool numeric = std::all_of(names.begin(), names.end(),
                [](const std::string &name) { return numberIn(name).has_value(); });
            std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
                const auto &x = names[static_cast<std::size_t>(a)];
                const auto &y = names[static_cast<std::size_t>(b)];
                return numeric ? *numberIn(x) < *numberIn(y) : CategoryLess(x, y);
            });
        }
        std::vector<int> place(names.size());
        for (std::size_t k = 0; k < order.size(); ++k)
            place[static_cast<std::size_t>(order[k])] = static_cast<int>(k) + 1;
        return place;
    }
};

// A weighted sum as a decimal of at most MaxDecimalPlaces places, without
// the trailing zeros.
std::string decimalText(double sum)
{
    std::array<char, 64> text{};
    const auto end = std::to_chars(
        text.data(), text.data() + text.size(), sum, std::chars_format::fixed, MaxDecimalPlaces)
                         .ptr;
    std::string fixed(text.data(), end);
    while (fixed.back() == '0')
        fixed.pop_back();
    if (fixed.back() == '.')
        fixed.pop_back();
    return fixed;
}

std::string countText(double sum, const std::string &row, const std::string &col, bool decimalSums)
{
    const double whole = std::round(sum);
    if (std::fabs(sum - whole) > 1e-9 * std::max(1.0, std::fabs(sum))) {
        if (decimalSums)
            return decimalText(sum);
        std::array<char, 64> text{};
        const auto end = std::to_chars(text.data(), text.data() + text.size(), sum).ptr;
        throw InputError("行「" + row + "」・列「" + col + "」の重みの和 "
            + std::string(text.data(), end)
            + " は整数ではありません。重みの和が整数になる表だけを集計できます");
    }
    return std::to_string(static_cast<long long>(whole));
}

} // namespace

LoadedTable CrossTabulate(const SheetGrid &records, const CrossTabRequest &request)
{
    const int header = headerRow(records);
    const int rowCol = variableColumn(records, header, request.rowVariable);
    const int colCol = variableColumn(records, header, request.colVariable);
    const int weightCol = request.weightVariable.empty()
        ? -1 // every case counts 1
        : variableColumn(records, header, request.weightVariable);
    struct Case {
        int row;
        int col;
        double weight;
    };
    const auto isMultiple = [&](int col) {
        return std::any_of(request.multipleAnswerVariables.begin(),
            request.multipleAnswerVariables.end(),
            [&](const std::string &v) { return variableColumn(records, header, v) == col; });
    };
    const bool rowMultiple = isMultiple(rowCol);
    const bool colMultiple = isMultiple(colCol);
    const auto categoriesAt = [&](int r, int c, bool multiple) {
        const std::string &text = records.cell(r, c).text;
        if (multiple)
            return SplitAnswers(text);
        return text.empty() ? std::vector<std::string>{} : std::vector<std::string>{ text };
    };
    std::vector<Case> cases;
    Categories rows;
    Categories cols;
    int skipped = 0;
    for (int r = header + 1; r < records.rows(); ++r) {
        const std::vector<std::string> rowNames = categoriesAt(r, rowCol, rowMultiple);
        const std::vector<std::string> colNames = categoriesAt(r, colCol, colMultiple);
        if (rowNames.empty() || colNames.empty()) {
            bool blank = true;
            for (int c = 0; c < records.cols() && blank; ++c)
                blank = records.cell(r, c).empty();
            skipped += blank ? 0 : 1;
            continue;
        }
        const double weight = weightCol >= 0 ? weightAt(records, r, weightCol) : 1.0;
        for (const std::string &rowName : rowNames)
            for (const std::string &colName : colNames)
                cases.push_back({ rows.of(rowName), cols.of(colName), weight });
    }
    if (cases.empty())
        throw InputError(sheetPlace(records) + "には数えられるケースがありません");
    const int nRows = static_cast<int>(rows.names.size());
    const int nCols = static_cast<int>(cols.names.size());
    RefuseOversizedTable(nRows, nCols);
    const std::vector<int> rowPlace = rows.places(request.sorted);
    const std::vector<int> colPlace = cols.places(request.sorted);
    std::vector<double> sums(static_cast<std::size_t>(nRows) * static_cast<std::size_t>(nCols));
    for (const Case &c : cases)
        sums[static_cast<std::size_t>(c.row) * static_cast<std::size_t>(nCols)
            + static_cast<std::size_t>(c.col)]
            += c.weight;
    LoadedTable loaded;
    loaded.table = InputTable(nRows, nCols);
    for (int i = 0; i < nRows; ++i)
        loaded.table.setText(
            rowPlace[static_cast<std::size_t>(i)], 0, rows.names[static_cast<std::size_t>(i)]);
    for (int j = 0; j < nCols; ++j)
        loaded.table.setText(
            0, colPlace[static_cast<std::size_t>(j)], cols.names[static_cast<std::size_t>(j)]);
    for (int i = 0; i < nRows; ++i)
        for (int j = 0; j < nCols; ++j)
            loaded.table.setText(rowPlace[static_cast<std::size_t>(i)],
                colPlace[static_cast<std::size_t>(j)],
                countText(sums[static_cast<std::size_t>(i) * static_cast<std::size_t>(nCols)
                              + static_cast<std::size_t>(j)],
                    rows.names[static_cast<std::size_t>(i)],
                    cols.names[static_cast<std::size_t>(j)], request.decimalSums));
    if (skipped > 0)
        loaded.warnings.push_back(
            "行か列の変数が空のケース " + std::to_string(skipped) + " 件は数えていません");
    return loaded;
}

std::optional<SheetGrid> LoadRecordsSheet(const std::string &fileName, const SheetChooser &choose)
{
    if (SpreadsheetKindOf(fileName) == SpreadsheetKind::None)
        return LoadCsvSheet(fileName);
    std::vector<SheetGrid> sheets = ReadSpreadsheetFile(fileName);
    std::vector<const SheetGrid *> filled;
    for (const SheetGrid &sheet : sheets)
        if (sheet.rows() > 0)
            filled.push_back(&sheet);
    if (filled.empty())
        throw InputError("「" + fileName + "」のシートはどれも空です");
    if (filled.size() == 1)
        return *filled.front();
    const std::optional<std::size_t> chosen = choose(filled);
    if (!chosen || *chosen >= filled.size())
        return std::nullopt;
    return *filled[*chosen];
}

std::vector<std::string> RecordVariables(const SheetGrid &records)
{
    std::vector<std::string> names;
    const int header = headerRow(records);
    for (int c = 0; c < records.cols(); ++c)
        names.push_back(records.cell(header, c).text);
    return names;
}
