#include "core/ResultXlsx.h"

#include "core/CoreErrors.h"
#include "core/DecimalCounts.h"
#include "core/FileIo.h"

#include "analysis/Malinvaud.h"
#include "analysis/Residuals.h"

#include <xlsxwriter.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <unistd.h>

namespace {

// Cells are written row by row; a sheet remembers where the next row goes.
class Sheet {
public:
    Sheet(lxw_workbook *book, const char *name, lxw_format *bold)
        : sheet_(workbook_add_worksheet(book, name))
        , bold_(bold)
    {
    }

    void heading(int column, const std::string &text)
    {
        worksheet_write_string(sheet_, row_, static_cast<lxw_col_t>(column), text.c_str(), bold_);
    }
    void text(int column, const std::string &text)
    {
        worksheet_write_string(sheet_, row_, static_cast<lxw_col_t>(column), text.c_str(), nullptr);
    }
    void number(int column, long double value)
    {
        worksheet_write_number(
            sheet_, row_, static_cast<lxw_col_t>(column), static_cast<double>(value), nullptr);
    }
    void numberOrEmpty(int column, const std::optional<long double> &value)
    {
        if (value)
            number(column, *value);
    }
    void next(int rows = 1) { row_ += static_cast<lxw_row_t>(rows); }

private:
    lxw_worksheet *sheet_;
    lxw_format *bold_;
    lxw_row_t row_ = 0;
};

void SummarySheet(Sheet &sheet, const Interpretation &s, const PermutationResult *permutation)
{
    const bool tested = permutation && !permutation->cancelled && !permutation->pValues.empty();
    const auto item = [&sheet](const char *label, long double value) {
        sheet.heading(0, label);
        sheet.number(1, value);
        sheet.next();
    };
    item("N", TotalValue(s));
    item("χ²", s.chiSquare);
    item("自由度", s.df);
    if (s.decimalPlaces > 0) {
        sheet.heading(0, "p 値");
        sheet.text(1, PValueNeedsCounts);
        sheet.next();
    } else {
        item("p 値", s.pValue);
    }
    item("全慣性", s.totalInertia);
    if (tested) {
        item("並べ替え数 R", permutation->permutations);
        // A seed beyond 2^53 would lose digits as a number.
        sheet.heading(0, "シード");
        sheet.text(1, std::to_string(permutation->seed));
        sheet.next();
    }
    sheet.next();
    int column = 0;
    for (const char *h : { "解", "η", "η²", "寄与率(%)", "累積寄与率(%)" })
        sheet.heading(column++, h);
    if (tested)
        sheet.heading(column, "並べ替え p 値");
    sheet.next();
    for (std::size_t k = 0; k < s.solutions.size(); ++k) {
        const SolutionStats &solution = s.solutions[k];
        sheet.number(0, static_cast<long double>(k + 1));
        sheet.number(1, solution.eta);
        sheet.number(2, solution.etaSquared);
        sheet.number(3, solution.share);
        sheet.number(4, solution.cumulative);
        if (tested && k < permutation->pValues.size())
            sheet.number(5, permutation->pValues[k]);
        sheet.next();
    }
}

void CategorySheet(Sheet &sheet, const std::vector<CategoryStats> &categories, int dims)
{
    int column = 0;
    for (const char *h : { "名前", "補助", "質量", "慣性", "質" })
        sheet.heading(column++, h);
    for (int d = 1; d <= dims; ++d)
        for (const char *h : { "尺度値", "重み付き尺度値", "寄与", "cos²" })
            sheet.heading(column++, h + std::to_string(d));
    sheet.next();
    for (const CategoryStats &c : categories) {
        sheet.text(0, c.name);
        if (c.supplementary)
            sheet.text(1, "補助");
        sheet.numberOrEmpty(2, c.mass);
        sheet.numberOrEmpty(3, c.inertia);
        sheet.number(4, c.quality);
        // A supplementary category that could not be placed has no values.
        const std::size_t placedDims
            = c.scale.size() >= static_cast<std::size_t>(dims) ? static_cast<std::size_t>(dims) : 0;
        for (std::size_t d = 0; d < placedDims; ++d) {
            const int at = 5 + 4 * static_cast<int>(d);
            sheet.number(at, c.scale[d]);
            sheet.number(at + 1, c.weightedScale[d]);
            if (c.contribution)
                sheet.number(at + 2, (*c.contribution)[d]);
            sheet.number(at + 3, c.cos2[d]);
        }
        sheet.next();
    }
}

void MalinvaudSheet(Sheet &sheet, const Interpretation &s)
{
    int column = 0;
    for (const char *h : { "保持次元数 k", "χ²", "自由度", "p 値" })
        sheet.heading(column++, h);
    sheet.next();
    for (const MalinvaudStep &step : MalinvaudTest(s)) {
        sheet.number(0, step.dims);
        sheet.number(1, step.chiSquare);
        sheet.number(2, step.df);
        sheet.number(3, step.pValue);
        sheet.next();
    }
}

std::vector<std::string> ActiveNames(const std::vector<CategoryStats> &categories)
{
    std::vector<std::string> names;
    for (const CategoryStats &c : categories)
        if (!c.supplementary)
            names.push_back(c.name);
    return names;
}

void ResidualSheet(Sheet &sheet, const Interpretation &s, const TIntMatrix &counts)
{
    const CellResiduals residuals = ValueResiduals(counts, s.decimalPlaces);
    const long double scale = DecimalScale(s.decimalPlaces);
    const std::vector<std::string> rows = ActiveNames(s.rows);
    const std::vector<std::string> cols = ActiveNames(s.columns);
    const auto block = [&](const char *title, const std::function<long double(int, int)> &value) {
        sheet.heading(0, title);
        for (int j = 1; j <= counts.cols(); ++j)
            sheet.heading(
                j, j <= static_cast<int>(cols.size()) ? cols[static_cast<std::size_t>(j - 1)] : "");
        sheet.next();
        for (int i = 1; i <= counts.rows(); ++i) {
            sheet.heading(
                0, i <= static_cast<int>(rows.size()) ? rows[static_cast<std::size_t>(i - 1)] : "");
            for (int j = 1; j <= counts.cols(); ++j)
                sheet.number(j, value(i, j));
            sheet.next();
        }
        sheet.next();
    };
    block("度数", [&](int i, int j) { return counts(i, j) / scale; });
    block("標準化残差", [&](int i, int j) { return residuals.at(residuals.standardized, i, j); });
    block("調整済み残差", [&](int i, int j) { return residuals.at(residuals.adjusted, i, j); });
    block(
        "χ² への寄与 (割合)", [&](int i, int j) { return residuals.at(residuals.chiShare, i, j); });
}

// A file of our own in the system's temporary folder, removed on leaving.
class TemporaryFile {
public:
    TemporaryFile()
    {
        std::string pattern
            = (std::filesystem::temp_directory_path() / "quarnet-xlsx-XXXXXX").string();
        const int fd = mkstemp(pattern.data());
        if (fd < 0)
            throw FileError("一時ファイルを作成できません");
        close(fd);
        name_ = pattern;
    }
    ~TemporaryFile() { std::remove(name_.c_str()); }
    TemporaryFile(const TemporaryFile &) = delete;
    TemporaryFile &operator=(const TemporaryFile &) = delete;
    const std::string &name() const { return name_; }

private:
    std::string name_;
};

} // namespace

void WriteXlsxWorkbook(const std::string &fileName, const std::function<void(lxw_workbook *)> &fill)
{
    const TemporaryFile temporary;
    lxw_workbook *book = workbook_new(temporary.name().c_str());
    if (!book)
        throw FileError("一時ファイルを作成できません");
    fill(book);
    if (workbook_close(book) != LXW_NO_ERROR)
        throw FileError("一時ファイルに書き込めません");
    const std::string bytes = ReadFileBytes(temporary.name());
    OutputFile file(fileName);
    file.write(bytes);
    file.close();
}

void WriteResultXlsx(const std::string &fileName, const Interpretation &interpretation,
    const TIntMatrix &counts, const PermutationResult *permutation)
{
    WriteXlsxWorkbook(fileName, [&](lxw_workbook *book) {
        lxw_format *bold = workbook_add_format(book);
        format_set_bold(bold);
        Sheet summary(book, "概要と解", bold);
        SummarySheet(summary, interpretation, permutation);
        Sheet rows(book, "行", bold);
        CategorySheet(rows, interpretation.rows, interpretation.dims);
        Sheet columns(book, "列", bold);
        CategorySheet(columns, interpretation.columns, interpretation.dims);
        Sheet malinvaud(book, "Malinvaud", bold);
        MalinvaudSheet(malinvaud, interpretation);
        Sheet residualSheet(book, "残差", bold);
        ResidualSheet(residualSheet, interpretation, counts);
    });
}
