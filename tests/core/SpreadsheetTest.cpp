#include "RunTables.h"
#include "cli/ReportTool.h"
#include "core/CoreErrors.h"
#include "core/SpreadsheetFile.h"
#include "core/SpreadsheetTable.h"
#include "core/ZipDirectory.h"
#include "tests/ExpectError.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

std::string sheetFile(const std::string &name)
{
    return TestData("sheets/" + name).string();
}

// The choice of a sheet that the test answers, recording what it was offered.
struct Chooser {
    std::optional<std::size_t> answer;
    std::vector<std::string> offered;
    SheetChooser function()
    {
        return [this](const std::vector<const SheetGrid *> &candidates) {
            for (const SheetGrid *sheet : candidates)
                offered.push_back(sheet->name());
            return answer;
        };
    }
};

LoadedTable loadOnly(const std::string &name)
{
    Chooser chooser; // a question would find no answer
    std::optional<LoadedTable> loaded = LoadDataFile(sheetFile(name), chooser.function());
    EXPECT_TRUE(loaded && chooser.offered.empty());
    return loaded ? *loaded : LoadedTable{};
}

std::string reportOf(const std::vector<std::string> &args, std::string &err)
{
    ScratchFolder folder;
    std::vector<std::string> all = args;
    all.insert(all.end(), { "-o", folder.file("r.txt") });
    std::ostringstream out;
    std::ostringstream errors;
    RunReportTool(all, out, errors);
    err = errors.str();
    return ReadBytes(folder.file("r.txt"));
}

SheetGrid gridOf(const std::vector<std::vector<std::string>> &rows)
{
    SheetGrid grid("S");
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (std::size_t c = 0; c < rows[r].size(); ++c)
            if (!rows[r][c].empty())
                grid.setCell(
                    static_cast<int>(r), static_cast<int>(c), SheetCell::ofText(rows[r][c]));
    return grid;
}

// The workbook with a 32-bit field of its first central directory entry
// replaced (offset 20: the compressed size, 24: the uncompressed size).
std::string withFirstEntryField(std::string bytes, std::size_t field, std::uint32_t value)
{
    const std::size_t entry = bytes.find("PK\x01\x02");
    for (int i = 0; i < 4; ++i)
        bytes[entry + field + i] = static_cast<char>(value >> (8 * i));
    return bytes;
}

} // namespace

TEST(SheetGrid, NumbersShowAsTheSheetShowsThemAndAddressesAsExcelNamesThem)
{
    EXPECT_EQ(SheetCell::ofNumber(4.0).text, "4");
    EXPECT_EQ(SheetCell::ofNumber(2.5).text, "2.5");
    EXPECT_EQ(SheetCell::ofNumber(0.1).text, "0.1");
    EXPECT_EQ(SheetCell::ofNumber(-0.0).text, "0");
    EXPECT_EQ(SheetCell::ofNumber(1e20).text, "1e+20"); // no count; the run refuses it
    EXPECT_EQ(CellAddress(0, 0), "A1");
    EXPECT_EQ(CellAddress(11, 25), "Z12");
    EXPECT_EQ(CellAddress(0, 26), "AA1");
    EXPECT_EQ(CellAddress(1048575, 16383), "XFD1048576");
}

// LibreOffice wrote the smoking table as .xlsx and .ods (below a title and an
// empty row, from column B, one row as formulas, beside a sheet of notes) and
// as CSV in UTF-8, UTF-8 with BOM and Shift_JIS: each gives the table of the
// bundled CSV file, and the same report byte for byte.
TEST(Spreadsheet, EveryFormOfTheSmokingTableGivesItsReport)
{
    const LoadedTable expected = LoadCsvDataFile(ExampleFile("smoking.csv").string());
    const std::string golden = ReadBytes(TestData("smoking.report.txt"));
    for (const char *name : { "smoking.xlsx", "smoking.ods", "smoking-utf8.csv",
             "smoking-utf8-bom.csv", "smoking-cp932.csv" }) {
        SCOPED_TRACE(name);
        EXPECT_EQ(loadOnly(name).table, expected.table);
        std::string err;
        EXPECT_EQ(reportOf({ sheetFile(name) }, err), golden);
        EXPECT_EQ(err, "");
    }
}

// Only sheets holding numbers are offered; the preview shows the sheet from A1.
TEST(Spreadsheet, AWorkbookWithSeveralTablesAsksWhichAndACancelLoadsNothing)
{
    for (const char *name : { "two-tables.xlsx", "two-tables.ods" }) {
        SCOPED_TRACE(name);
        Chooser chooser;
        chooser.answer = 1;
        const std::optional<LoadedTable> caithness
            = LoadDataFile(sheetFile(name), chooser.function());
        EXPECT_EQ(chooser.offered, (std::vector<std::string>{ "喫煙", "Caithness" }));
        ASSERT_TRUE(caithness);
        EXPECT_EQ(caithness->table, LoadCsvDataFile(ExampleFile("caithness.csv").string()).table);
        chooser.answer.reset();
        EXPECT_FALSE(LoadDataFile(sheetFile(name), chooser.function()));
    }
    const std::vector<SheetGrid> sheets = ReadSpreadsheetFile(sheetFile("two-tables.xlsx"));
    EXPECT_EQ(SheetPreview(sheets[2], 2, 3),
        (std::vector<std::vector<std::string>>{ { "", "fair", "red" }, { "blue", "326", "38" } }));
}

TEST(Spreadsheet, TheCommandLineNamesTheSheetByNameOrNumber)
{
    const std::string golden = ReadBytes(TestData("smoking.report.txt"));
    std::string err;
    EXPECT_EQ(reportOf({ sheetFile("two-tables.xlsx"), "--sheet", "喫煙" }, err), golden);
    EXPECT_EQ(reportOf({ sheetFile("two-tables.ods"), "--sheet", "2" }, err), golden);
    EXPECT_EQ(reportOf({ sheetFile("two-tables.xlsx") }, err), "");
    EXPECT_EQ(err,
        "「" + sheetFile("two-tables.xlsx")
            + "」には表のあるシートが複数あります (「喫煙」、「Caithness」)。--sheet NAME か "
              "--sheet N で選んでください\n");
    EXPECT_EQ(reportOf({ sheetFile("two-tables.xlsx"), "--sheet", "4" }, err), "");
    EXPECT_EQ(err,
        "「" + sheetFile("two-tables.xlsx")
            + "」にシート「4」はありません (シート: 「メモ」、「喫煙」、「Caithness」)\n");
    EXPECT_EQ(reportOf({ ExampleFile("smoking.csv").string(), "--sheet", "1" }, err), "");
    EXPECT_TRUE(err.starts_with("--sheet は Excel・ODS のファイル"));
}

// Each refusal names the sheet and the cell where the table goes wrong.
TEST(Spreadsheet, SheetsThatAreNotOneTableAreRefusedAtTheirCell)
{
    const std::vector<std::pair<std::string, std::string>> refusals = {
        { "結合",
            "シート「結合」の B1:C1 は結合されたセルです。結合を解除して、1 つのセルに 1 "
            "つの名前か度数を入れてください" },
        { "二つの表",
            "シート「二つの表」の B8 から 2 つ目の表があります。1 つのシートには表を 1 "
            "つだけ置いてください" },
        { "横並び",
            "シート「横並び」の F1 の列は名前も度数も空です。1 つのシートには表を 1 "
            "つだけ、間を空けずに置いてください" },
        { "文字だけ", "シート「文字だけ」の表 (A1 から) には数値がありません" },
    };
    const std::vector<SheetGrid> sheets = ReadSpreadsheetFile(sheetFile("awkward.xlsx"));
    for (const auto &[sheet, message] : refusals)
        ExpectError<InputError>(
            message, [&] { ReadSheetTable(SheetNamed(sheets, sheet, "awkward.xlsx")); });
    // The OpenDocument filter does not tell merged cells: the covered cell
    // leaves the second header row sticking out, named in its place.
    ExpectError<InputError>("シート「結合」の C2 は表の最後の列の名前より右にあります。表の外には"
                            "何も置かず、見出しのセルは結合しないでください",
        [&] { ReadSheetTable(ReadSpreadsheetFile(sheetFile("awkward.ods")).front()); });

    ExpectError<InputError>("シート「S」は空です", [] { ReadSheetTable(gridOf({})); });
    ExpectError<InputError>("シート「S」の B2 から右に列の名前がありません (表の 1 "
                            "行目には左上の欄と列の名前を入れます)",
        [] {
            ReadSheetTable(gridOf({ {}, { "", "x" }, { "", "1" } }));
        });
    ExpectError<InputError>("「book.xlsx」には数値の入ったシートがありません", [] {
        ChooseTableSheet({ gridOf({ { "a", "b" } }) }, "book.xlsx", {});
    });
}

TEST(Spreadsheet, ADamagedOrEncryptedWorkbookIsRefusedByName)
{
    const std::string bytes = ReadBytes(sheetFile("smoking.xlsx"));
    ExpectError<InputError>("「s.xlsx」は Excel (.xlsx) のファイルとして読めません (壊れているか、"
                            "別の形式のファイルです)",
        [&] {
            ReadSpreadsheet(bytes.substr(0, bytes.size() / 2), SpreadsheetKind::Excel, "s.xlsx");
        });
    ExpectError<InputError>("「s.ods」は ODS (OpenDocument スプレッドシート) のファイルとして読めま"
                            "せん (壊れているか、別の形式のファイルです)",
        [&] { ReadSpreadsheet(bytes, SpreadsheetKind::OpenDocument, "s.ods"); });
    // Excel keeps an encrypted workbook in a compound file, as the old .xls.
    const std::string compound = std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + bytes;
    ExpectError<InputError>("「s.xlsx」はパスワードで保護 (暗号化) されているか、古い Excel 形式 "
                            "(.xls) のため読めません。保護を外して .xlsx で保存し直してください",
        [&] { ReadSpreadsheet(compound, SpreadsheetKind::Excel, "s.xlsx"); });
}

TEST(Spreadsheet, AZipDirectoryThatPromisesTooMuchIsRefusedBeforeAnythingIsAllocated)
{
    const std::string bytes = ReadBytes(sheetFile("smoking.xlsx"));
    const std::string damaged
        = "「s.xlsx」は Excel (.xlsx) のファイルとして読めません (壊れているか、"
          "別の形式のファイルです)";
    // 4 GB of compressed data in a file of a few kilobytes, as a fuzzer found.
    ExpectError<InputError>(damaged, [&] {
        ReadSpreadsheet(
            withFirstEntryField(bytes, 20, 0xFF0000E0), SpreadsheetKind::Excel, "s.xlsx");
    });
    // A size escaped to the ZIP64 field with no such field.
    ExpectError<InputError>(damaged, [&] {
        ReadSpreadsheet(
            withFirstEntryField(bytes, 24, 0xFFFFFFFF), SpreadsheetKind::Excel, "s.xlsx");
    });
    // 800 MB from a deflated entry of a few hundred bytes: past what deflate can give.
    ExpectError<InputError>(damaged, [&] {
        ReadSpreadsheet(
            withFirstEntryField(bytes, 24, 805307340), SpreadsheetKind::Excel, "s.xlsx");
    });
    // A changed byte in a part's deflated data: whatever it inflates to, its
    // CRC no longer matches (a fuzzer's such part stopped the library's parser).
    std::string changed = bytes;
    changed[100] = static_cast<char>(changed[100] ^ 0x55);
    ExpectError<InputError>(
        damaged, [&] { ReadSpreadsheet(changed, SpreadsheetKind::Excel, "s.xlsx"); });
    // The limit bounds the entries together: the ten parts of this workbook
    // inflate to 16,031 bytes.
    EXPECT_EQ(CheckZipDirectory(bytes, 16031), ZipDirectoryCheck::Sound);
    EXPECT_EQ(CheckZipDirectory(bytes, 16030), ZipDirectoryCheck::TooLarge);
    EXPECT_FALSE(ReadSpreadsheet(bytes, SpreadsheetKind::Excel, "s.xlsx").empty());
}
