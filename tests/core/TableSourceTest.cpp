#include "core/TableSource.h"

#include <gtest/gtest.h>

namespace {

// A chooser that must not be asked, or that answers `answer` and counts.
struct CountingChooser {
    std::optional<std::size_t> answer;
    int *asked;
    std::optional<std::size_t> operator()(const std::vector<const SheetGrid *> &) const
    {
        ++*asked;
        return answer;
    }
};

}

TEST(TableSourceTest, NamesReadBackAndAnUnknownNameIsNoSource)
{
    for (const TableSource source : { TableSource::Csv, TableSource::Workbook, TableSource::Long })
        EXPECT_EQ(TableSourceFromName(TableSourceName(source)), source);
    EXPECT_EQ(TableSourceFromName("Workbook"), std::nullopt);
    EXPECT_EQ(TableSourceFromName(""), std::nullopt);
    EXPECT_EQ(DataFileSource("表.ods"), TableSource::Workbook);
    EXPECT_EQ(DataFileSource("xlsx.csv"), TableSource::Csv);
}

// The remembered sheet is taken without a question wherever it now stands;
// a sheet renamed since, or none remembered, is asked for.
TEST(TableSourceTest, TheNamedSheetIsTakenWithoutAskingElseTheUserIsAsked)
{
    const SheetGrid first("喫煙"), second("髪と目"), third("髪");
    const std::vector<const SheetGrid *> sheets{ &first, &second, &third };
    int asked = 0;
    EXPECT_EQ(ChooseSheetNamed("髪", CountingChooser{ 0, &asked })(sheets), 2u);
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(ChooseSheetNamed("目", CountingChooser{ 1, &asked })(sheets), 1u);
    EXPECT_EQ(ChooseSheetNamed("", CountingChooser{ std::nullopt, &asked })(sheets), std::nullopt);
    EXPECT_EQ(asked, 2);
}

TEST(TableSourceTest, TheChosenSheetsNameIsRecordedAndACancelKeepsTheOldOne)
{
    const SheetGrid first("喫煙"), second("髪と目");
    const std::vector<const SheetGrid *> sheets{ &first, &second };
    int asked = 0;
    std::string chosen;
    EXPECT_EQ(RecordChosenSheet(CountingChooser{ 1, &asked }, chosen)(sheets), 1u);
    EXPECT_EQ(chosen, "髪と目");
    EXPECT_EQ(
        RecordChosenSheet(CountingChooser{ std::nullopt, &asked }, chosen)(sheets), std::nullopt);
    EXPECT_EQ(chosen, "髪と目");
}
