#include "core/Autosave.h"

#include "core/TableSize.h"

#include <gtest/gtest.h>

TEST(Autosave, GivesBackTheTableWithAwkwardTexts)
{
    InputTable table = NewInputTable({ 2, 3 });
    table.setText(0, 0, "角");
    table.setText(0, 1, "a\tb");
    table.setText(0, 2, "\"quoted\"");
    table.setText(1, 0, "two\r\nlines");
    table.setText(2, 3, "7");
    const std::string text = AutosaveText(table);
    EXPECT_TRUE(text.starts_with("Quarnet autosave 1\r\n\r\n"));
    EXPECT_EQ(ReadAutosaveText(text), table);
    // An empty table keeps its size, past the exact engine's 50 too, and
    // marks on its far rows and columns.
    InputTable empty = NewInputTable({ 60, 70 });
    empty.setMarks({ { 60 }, { 70 } });
    EXPECT_EQ(ReadAutosaveText(AutosaveText(empty)), empty);
    // Supplementary marks come back with the table, the corner text kept.
    table.setMarks({ { 2 }, { 1, 3 } });
    EXPECT_EQ(ReadAutosaveText(AutosaveText(table)), table);
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
        wide += std::string(100001, '\t') + "\r\n";
    EXPECT_EQ(ReadAutosaveText(wide), std::nullopt);
}
