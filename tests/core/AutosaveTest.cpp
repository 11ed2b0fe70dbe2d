#include "core/Autosave.h"

#include "core/TableSize.h"

#include <gtest/gtest.h>

TEST(Autosave, GivesBackTheGridWithAwkwardTexts)
{
    Grid grid = NewDataGrid({ 2, 3 });
    grid.setCell(1, 1, "角");
    grid.setCell(2, 1, "a\tb");
    grid.setCell(3, 1, "\"quoted\"");
    grid.setCell(1, 2, "two\r\nlines");
    grid.setCell(4, 3, "7");
    const std::string text = AutosaveText(grid);
    EXPECT_TRUE(text.starts_with("Quarnet autosave 1\r\n\r\n"));
    EXPECT_EQ(ReadAutosaveText(text), (AutosavedTable{ grid, {} }));
    // An empty table keeps its size.
    const Grid empty = NewDataGrid({ 50, 1 });
    EXPECT_EQ(ReadAutosaveText(AutosaveText(empty)), (AutosavedTable{ empty, {} }));
    // Supplementary marks come back with the table, the corner text kept.
    const SupplementaryMarks marks{ { 2 }, { 1, 3 } };
    EXPECT_EQ(ReadAutosaveText(AutosaveText(grid, marks)), (AutosavedTable{ grid, marks }));
}

TEST(Autosave, RefusesWhatItDidNotWrite)
{
    EXPECT_EQ(ReadAutosaveText(""), std::nullopt);
    EXPECT_EQ(ReadAutosaveText(",a,b\r\nx,1,2\r\n"), std::nullopt);
    EXPECT_EQ(ReadAutosaveText("Quarnet autosave 1\r\n"), std::nullopt);
    EXPECT_EQ(ReadAutosaveText("Quarnet autosave 1\r\n\r\n\ta\tb\r\nx\t1\r\n"), std::nullopt);
    EXPECT_EQ(ReadAutosaveText("Quarnet autosave 1\r\n\r\n\ta\r\n"), std::nullopt); // no row
    // Marks for a row the table does not have.
    EXPECT_EQ(ReadAutosaveText("Quarnet autosave 1\r\n#quarnet supplementary rows=3\r\n"
                               "\ta\r\nx\t1\r\n"),
        std::nullopt);
    std::string wide = "Quarnet autosave 1\r\n\r\n";
    for (int k = 0; k < 2; ++k)
        wide += std::string(51, '\t') + "\r\n";
    EXPECT_EQ(ReadAutosaveText(wide), std::nullopt);
}
