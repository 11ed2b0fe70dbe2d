#include "core/SpreadsheetFile.h"

#include "core/CoreErrors.h"
#include "core/FileIo.h"
#include "core/ZipDirectory.h"

#include <orcus/orcus_ods.hpp>
#include <orcus/orcus_xlsx.hpp>
#include <orcus/spreadsheet/import_interface.hpp>
#include <orcus/zip_archive.hpp>
#include <orcus/zip_archive_stream.hpp>

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <deque>
#include <memory>
#include <optional>
#include <unordered_map>

#include <zlib.h>

namespace iface = orcus::spreadsheet::iface;
using orcus::spreadsheet::col_t;
using orcus::spreadsheet::row_t;

namespace {

// Excel's own limits: an address beyond them comes from a damaged file, and
// taking it would let one bad number allocate without bound.
constexpr row_t MaxSheetRows = 1048576;
constexpr col_t MaxSheetCols = 16384;

bool endsWithNoCase(std::string_view name, std::string_view ending)
{
    if (name.size() < ending.size())
        return false;
    return std::equal(ending.begin(), ending.end(),
        name.end() - static_cast<std::ptrdiff_t>(ending.size()),
        [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); });
}

std::string kindName(SpreadsheetKind kind)
{
    return kind == SpreadsheetKind::OpenDocument ? "ODS (OpenDocument スプレッドシート)"
                                                 : "Excel (.xlsx)";
}

InputError unreadableWorkbook(const std::string &fileName, SpreadsheetKind kind)
{
    return InputError("「" + fileName + "」は " + kindName(kind)
        + " のファイルとして読めません (壊れているか、別の形式のファイルです)");
}

InputError encryptedWorkbook(const std::string &fileName)
{
    return InputError("「" + fileName
        + "」はパスワードで保護 (暗号化) されているか、古い Excel 形式 (.xls) のため読めません。"
          "保護を外して .xlsx で保存し直してください");
}

bool isBoundedPlace(row_t row, col_t col)
{
    return row >= 0 && col >= 0 && row < MaxSheetRows && col < MaxSheetCols;
}

class SharedStrings : public iface::import_shared_strings {
public:
    const std::string *text(std::size_t index) const
    {
        return index < strings_.size() ? &strings_[index] : nullptr;
    }

    std::size_t append(std::string_view s) override
    {
        strings_.emplace_back(s);
        indexOf_.try_emplace(strings_.back(), strings_.size() - 1);
        return strings_.size() - 1;
    }
    std::size_t add(std::string_view s) override
    {
        const auto found = indexOf_.find(std::string(s));
        return found != indexOf_.end() ? found->second : append(s);
    }
    void set_segment_font(std::size_t) override { }
    void set_segment_bold(bool) override { }
    void set_segment_italic(bool) override { }
    void set_segment_font_name(std::string_view) override { }
    void set_segment_font_size(double) override { }
    void set_segment_font_color(orcus::spreadsheet::color_elem_t, orcus::spreadsheet::color_elem_t,
        orcus::spreadsheet::color_elem_t, orcus::spreadsheet::color_elem_t) override
    {
    }
    // A string in several formats arrives in segments; the table needs its text.
    void append_segment(std::string_view s) override { segments_ += s; }
    std::size_t commit_segments() override
    {
        const std::size_t index = append(segments_);
        segments_.clear();
        return index;
    }

private:
    std::vector<std::string> strings_;
    std::unordered_map<std::string, std::size_t> indexOf_;
    std::string segments_;
};

class SheetCells;

// A formula cell: what counts is the value saved with it.
class FormulaCell : public iface::import_formula {
public:
    explicit FormulaCell(SheetCells &sheet)
        : sheet_(sheet)
    {
    }
    void set_position(row_t row, col_t col) override
    {
        row_ = row;
        col_ = col;
        formula_.clear();
        result_.reset();
    }
    void set_formula(orcus::spreadsheet::formula_grammar_t, std::string_view formula) override
    {
        formula_ = formula;
    }
    void set_shared_formula_index(std::size_t) override { }
    void set_result_string(std::string_view value) override
    {
        result_ = SheetCell::ofText(std::string(value));
    }
    void set_result_value(double value) override { result_ = SheetCell::ofNumber(value); }
    void set_result_bool(bool value) override
    {
        result_ = SheetCell::ofText(value ? "TRUE" : "FALSE");
    }
    void set_result_empty() override { result_ = SheetCell(); }
    void commit() override;

private:
    SheetCells &sheet_;
    row_t row_ = 0;
    col_t col_ = 0;
    std::string formula_;
    std::optional<SheetCell> result_;
};

class SheetProperties : public iface::import_sheet_properties {
public:
    explicit SheetProperties(SheetGrid &grid)
        : grid_(grid)
    {
    }
    void set_column_width(col_t, double, orcus::length_unit_t) override { }
    void set_column_hidden(col_t, bool) override { }
    void set_row_height(row_t, double, orcus::length_unit_t) override { }
    void set_row_hidden(row_t, bool) override { }
    void set_merge_cell_range(const orcus::spreadsheet::range_t &range) override
    {
        if (isBoundedPlace(range.first.row, range.first.column)
            && isBoundedPlace(range.last.row, range.last.column))
            grid_.addMerged(
                { range.first.row, range.first.column, range.last.row, range.last.column });
    }

private:
    SheetGrid &grid_;
};

class SheetCells : public iface::import_sheet {
public:
    SheetCells(SheetGrid &grid, const SharedStrings &strings)
        : grid_(grid)
        , strings_(strings)
        , formula_(*this)
        , properties_(grid)
    {
    }

    void put(row_t row, col_t col, SheetCell cell)
    {
        if (!isBoundedPlace(row, col))
            throw std::out_of_range("cell outside the sheet");
        grid_.setCell(row, col, std::move(cell));
    }

    iface::import_formula *get_formula() override { return &formula_; }
    iface::import_sheet_properties *get_sheet_properties() override { return &properties_; }

    void set_auto(row_t row, col_t col, std::string_view s) override
    {
        double value = 0;
        const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value);
        const bool isNumber = !s.empty() && error == std::errc() && end == s.data() + s.size();
        put(row, col, isNumber ? SheetCell::ofNumber(value) : SheetCell::ofText(std::string(s)));
    }
    void set_string(row_t row, col_t col, orcus::spreadsheet::string_id_t index) override
    {
        const std::string *text = strings_.text(index);
        if (!text)
            throw std::out_of_range("no such shared string");
        put(row, col, SheetCell::ofText(*text));
    }
    void set_value(row_t row, col_t col, double value) override
    {
        put(row, col, SheetCell::ofNumber(value));
    }
    void set_bool(row_t row, col_t col, bool value) override
    {
        put(row, col, SheetCell::ofText(value ? "TRUE" : "FALSE"));
    }
    void set_date_time(row_t row, col_t col, int year, int month, int day, int hour, int minute,
        double second) override
    {
        std::array<char, 64> text{};
        if (hour == 0 && minute == 0 && second == 0)
            std::snprintf(text.data(), text.size(), "%04d-%02d-%02d", year, month, day);
        else
            std::snprintf(text.data(), text.size(), "%04d-%02d-%02d %02d:%02d:%02.0f", year, month,
                day, hour, minute, second);
        put(row, col, SheetCell::ofText(text.data()));
    }
    void set_format(row_t, col_t, std::size_t) override { }
    void set_format(row_t, col_t, row_t, col_t, std::size_t) override { }
    void fill_down_cells(row_t row, col_t col, row_t count) override
    {
        const SheetCell source = grid_.cell(row, col);
        if (count < 0 || row + static_cast<long long>(count) >= MaxSheetRows)
            throw std::out_of_range("cells filled outside the sheet");
        for (row_t k = 1; k <= count; ++k)
            put(row + k, col, source);
    }
    orcus::spreadsheet::range_size_t get_sheet_size() const override
    {
        return { MaxSheetRows, MaxSheetCols };
    }

private:
    SheetGrid &grid_;
    const SharedStrings &strings_;
    FormulaCell formula_;
    SheetProperties properties_;
};

void FormulaCell::commit()
{
    if (result_)
        sheet_.put(row_, col_, *result_);
    else
        sheet_.put(row_, col_, SheetCell::ofText("=" + formula_));
}

class GlobalSettings : public iface::import_global_settings {
public:
    void set_origin_date(int, int, int) override { }
    void set_default_formula_grammar(orcus::spreadsheet::formula_grammar_t grammar) override
    {
        grammar_ = grammar;
    }
    orcus::spreadsheet::formula_grammar_t get_default_formula_grammar() const override
    {
        return grammar_;
    }
    void set_character_set(orcus::character_set_t) override { }

private:
    orcus::spreadsheet::formula_grammar_t grammar_ = orcus::spreadsheet::formula_grammar_t::unknown;
};

// Excel's A1 addresses ("B3", "$B$3", "A1:C4"), which the Excel filter asks
// to have read for the places of merged cells and tables; an address that
// is not one is refused as a damaged file.
class A1Addresses : public iface::import_reference_resolver {
public:
    orcus::spreadsheet::src_address_t resolve_address(std::string_view address) override
    {
        orcus::spreadsheet::src_address_t place{ 0, 0, 0 };
        std::size_t k = 0;
        const auto skipDollar = [&] {
            if (k < address.size() && address[k] == '$')
                ++k;
        };
        skipDollar();
        long long col = 0;
        const std::size_t lettersFrom = k;
        while (k < address.size() && address[k] >= 'A' && address[k] <= 'Z' && col <= MaxSheetCols)
            col = col * 26 + (address[k++] - 'A' + 1);
        skipDollar();
        long long row = 0;
        const std::size_t digitsFrom = k;
        while (k < address.size() && address[k] >= '0' && address[k] <= '9' && row <= MaxSheetRows)
            row = row * 10 + (address[k++] - '0');
        if (k == lettersFrom || k == digitsFrom || k != address.size() || col > MaxSheetCols
            || row < 1 || row > MaxSheetRows)
            throw std::invalid_argument("not an A1 address");
        place.row = static_cast<row_t>(row - 1);
        place.column = static_cast<col_t>(col - 1);
        return place;
    }
    orcus::spreadsheet::src_range_t resolve_range(std::string_view range) override
    {
        const std::size_t colon = range.find(':');
        const auto first = resolve_address(range.substr(0, colon));
        return { first,
            colon == std::string_view::npos ? first : resolve_address(range.substr(colon + 1)) };
    }
};

// Collects every sheet's cells as liborcus reads the file.
class Workbook : public iface::import_factory {
public:
    iface::import_global_settings *get_global_settings() override { return &settings_; }
    iface::import_shared_strings *get_shared_strings() override { return &strings_; }
    iface::import_reference_resolver *get_reference_resolver(
        orcus::spreadsheet::formula_ref_context_t) override
    {
        return &addresses_;
    }
    iface::import_sheet *append_sheet(orcus::spreadsheet::sheet_t, std::string_view name) override
    {
        grids_.emplace_back(std::string(name));
        sheets_.push_back(std::make_unique<SheetCells>(grids_.back(), strings_));
        return sheets_.back().get();
    }
    iface::import_sheet *get_sheet(std::string_view name) override
    {
        for (std::size_t k = 0; k < grids_.size(); ++k)
            if (grids_[k].name() == name)
                return sheets_[k].get();
        return nullptr;
    }
    iface::import_sheet *get_sheet(orcus::spreadsheet::sheet_t index) override
    {
        return index >= 0 && static_cast<std::size_t>(index) < sheets_.size()
            ? sheets_[static_cast<std::size_t>(index)].get()
            : nullptr;
    }
    void finalize() override { }

    std::vector<SheetGrid> takeSheets()
    {
        return std::vector<SheetGrid>(
            std::make_move_iterator(grids_.begin()), std::make_move_iterator(grids_.end()));
    }

private:
    GlobalSettings settings_;
    A1Addresses addresses_;
    SharedStrings strings_;
    // A deque keeps each grid in place while later sheets are added.
    std::deque<SheetGrid> grids_;
    std::vector<std::unique_ptr<SheetCells>> sheets_;
};

bool startsWith(std::string_view bytes, std::string_view magic)
{
    return bytes.substr(0, magic.size()) == magic;
}

} // namespace

SpreadsheetKind SpreadsheetKindOf(std::string_view fileName)
{
    if (endsWithNoCase(fileName, ".xlsx") || endsWithNoCase(fileName, ".xlsm"))
        return SpreadsheetKind::Excel;
    if (endsWithNoCase(fileName, ".ods"))
        return SpreadsheetKind::OpenDocument;
    return SpreadsheetKind::None;
}

namespace {

bool endsWithTag(const unsigned char *text, std::size_t size)
{
    while (size > 0 && std::strchr(" \t\r\n", text[size - 1]) != nullptr)
        --size;
    return size > 0 && text[size - 1] == '>';
}

// Every entry inflates to the size and the bytes its CRC-32 promises, and
// every XML part ends with a tag. The library's XML parser trusts both: a
// damaged part (deflate data changed on a disk or in a download) can run it
// past the end of its buffer, where Debian's build stops the program on an
// assertion.
bool entriesIntact(std::string_view bytes, const std::vector<ZipEntry> &entries)
{
    try {
        orcus::zip_archive_stream_blob stream(
            reinterpret_cast<const std::uint8_t *>(bytes.data()), bytes.size());
        orcus::zip_archive archive(&stream);
        archive.load();
        std::vector<unsigned char> data;
        for (const ZipEntry &entry : entries) {
            data.clear();
            // The library ends what it inflates with a zero byte of its own.
            if (!archive.read_file_entry(entry.name, data) || data.size() < entry.inflated
                || data.size() > entry.inflated + 1)
                return false;
            uLong crc = crc32(0L, Z_NULL, 0);
            for (std::size_t at = 0; at < entry.inflated;) {
                const auto chunk
                    = static_cast<uInt>(std::min<std::uint64_t>(entry.inflated - at, 1u << 30));
                crc = crc32(crc, data.data() + at, chunk);
                at += chunk;
            }
            if (crc != entry.crc)
                return false;
            const bool xml
                = endsWithNoCase(entry.name, ".xml") || endsWithNoCase(entry.name, ".rels");
            if (xml && entry.inflated > 0 && !endsWithTag(data.data(), entry.inflated))
                return false;
        }
    } catch (const std::exception &) {
        return false;
    }
    return true;
}

} // namespace

std::vector<SheetGrid> ReadSpreadsheet(
    std::string_view bytes, SpreadsheetKind kind, const std::string &fileName)
{
    // An encrypted Office file is a compound document holding the encrypted
    // package, as the old binary .xls is; both begin with its signature.
    if (startsWith(bytes, std::string_view("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8)))
        throw encryptedWorkbook(fileName);
    // Both kinds are zip archives; anything else is not worth handing on.
    if (!startsWith(bytes, "PK\x03\x04") || kind == SpreadsheetKind::None)
        throw unreadableWorkbook(fileName, kind);
    std::vector<ZipEntry> entries;
    switch (CheckZipDirectory(bytes, MaxDataFileBytes, &entries)) {
    case ZipDirectoryCheck::Sound:
        if (!entriesIntact(bytes, entries))
            throw unreadableWorkbook(fileName, kind);
        break;
    case ZipDirectoryCheck::Damaged:
        throw unreadableWorkbook(fileName, kind);
    case ZipDirectoryCheck::TooLarge:
        throw InputError("「" + fileName + "」は展開すると大きすぎて読み込めません (上限 "
            + std::to_string(MaxDataFileBytes >> 20) + " MiB)");
    }
    Workbook workbook;
    try {
        if (kind == SpreadsheetKind::Excel) {
            orcus::orcus_xlsx filter(&workbook);
            filter.read_stream(bytes);
        } else {
            orcus::orcus_ods filter(&workbook);
            filter.read_stream(bytes);
        }
    } catch (const std::exception &) {
        throw unreadableWorkbook(fileName, kind);
    }
    std::vector<SheetGrid> sheets = workbook.takeSheets();
    if (sheets.empty())
        throw unreadableWorkbook(fileName, kind);
    return sheets;
}

std::vector<SheetGrid> ReadSpreadsheetFile(const std::string &fileName)
{
    return ReadSpreadsheet(ReadFileBytes(fileName), SpreadsheetKindOf(fileName), fileName);
}
