#include "core/GridKeys.h"

#include <gtest/gtest.h>

namespace {

// A grid of 4 columns and 3 rows: cells (1..3, 1..2) can be current.
constexpr int Cols = 4;
constexpr int Rows = 3;

const EditorCaret NoText{ 0, 0, 0 };

struct Where {
    GridMove::Kind kind;
    int col = 0;
    int row = 0;
};

void expectMove(const GridMove &move, const Where &where)
{
    EXPECT_EQ(move.kind, where.kind);
    if (where.kind == GridMove::Move) {
        EXPECT_EQ(move.col, where.col);
        EXPECT_EQ(move.row, where.row);
    }
}

GridMove press(GridNavigator &nav, GridKey key, int col, int row, EditorCaret caret = NoText)
{
    const GridMove move = nav.onKey(key, caret, col, row, Cols, Rows);
    if (move.kind == GridMove::Move)
        nav.currentChanged(move.col, move.row);
    return move;
}

}

TEST(GridKeys, TabWalksRowsAndLeavesAfterTheLastCell)
{
    GridNavigator nav;
    expectMove(press(nav, GridKey::Tab, 1, 1), { GridMove::Move, 2, 1 });
    expectMove(press(nav, GridKey::Tab, 3, 1), { GridMove::Move, 1, 2 });
    expectMove(press(nav, GridKey::Tab, 3, 2), { GridMove::LeaveForward });
}

TEST(GridKeys, BacktabWalksBackAndLeavesBeforeTheFirstCell)
{
    GridNavigator nav;
    expectMove(press(nav, GridKey::Backtab, 3, 2), { GridMove::Move, 2, 2 });
    expectMove(press(nav, GridKey::Backtab, 1, 2), { GridMove::Move, 3, 1 });
    expectMove(press(nav, GridKey::Backtab, 1, 1), { GridMove::LeaveBackward });
}

TEST(GridKeys, EnterMovesDownAndStaysOnTheLastRow)
{
    GridNavigator nav;
    expectMove(press(nav, GridKey::Enter, 2, 1), { GridMove::Move, 2, 2 });
    expectMove(press(nav, GridKey::Enter, 2, 2), { GridMove::Stay });
}

TEST(GridKeys, EnterAfterARunOfTabsGoesBackToTheColumnWhereTheRunBegan)
{
    GridNavigator nav;
    press(nav, GridKey::Tab, 1, 1);
    press(nav, GridKey::Tab, 2, 1);
    expectMove(press(nav, GridKey::Enter, 3, 1), { GridMove::Move, 1, 2 });
    // The run is over: the next Enter keeps its column.
    expectMove(press(nav, GridKey::Enter, 2, 1), { GridMove::Move, 2, 2 });
}

TEST(GridKeys, AnyOtherKeyOrAClickEndsTheRunOfTabs)
{
    GridNavigator nav;
    press(nav, GridKey::Tab, 1, 1);
    press(nav, GridKey::Down, 2, 1);
    expectMove(press(nav, GridKey::Enter, 2, 2), { GridMove::Stay });

    GridNavigator clicked;
    press(clicked, GridKey::Tab, 1, 1);
    clicked.currentChanged(3, 1); // a click elsewhere
    expectMove(press(clicked, GridKey::Enter, 3, 1), { GridMove::Move, 3, 2 });

    GridNavigator wrapped;
    press(wrapped, GridKey::Tab, 2, 1);
    press(wrapped, GridKey::Tab, 3, 1); // wraps to (1, 2): a new row, no run
    expectMove(press(wrapped, GridKey::Enter, 1, 2), { GridMove::Stay });
}

TEST(GridKeys, UpAndDownStopAtTheEdges)
{
    GridNavigator nav;
    expectMove(press(nav, GridKey::Up, 2, 2), { GridMove::Move, 2, 1 });
    expectMove(press(nav, GridKey::Up, 2, 1), { GridMove::Stay });
    expectMove(press(nav, GridKey::Down, 2, 1), { GridMove::Move, 2, 2 });
    expectMove(press(nav, GridKey::Down, 2, 2), { GridMove::Stay });
}

TEST(GridKeys, LeftMovesOnlyFromTheStartOfTheTextOrAWholeSelection)
{
    GridNavigator nav;
    const int length = 3;
    expectMove(press(nav, GridKey::Left, 2, 1, { 0, 0, length }), { GridMove::Move, 1, 1 });
    expectMove(press(nav, GridKey::Left, 2, 1, { 0, length, length }), { GridMove::Move, 1, 1 });
    expectMove(press(nav, GridKey::Left, 2, 1, { 1, 1, length }), { GridMove::PassToEditor });
    expectMove(press(nav, GridKey::Left, 2, 1, { 0, 2, length }), { GridMove::PassToEditor });
    expectMove(press(nav, GridKey::Left, 1, 1, { 0, 0, length }), { GridMove::Stay });
}

TEST(GridKeys, RightMovesOnlyFromTheEndOfTheTextOrAWholeSelection)
{
    GridNavigator nav;
    const int length = 3;
    expectMove(
        press(nav, GridKey::Right, 2, 1, { length, length, length }), { GridMove::Move, 3, 1 });
    expectMove(press(nav, GridKey::Right, 2, 1, { 0, length, length }), { GridMove::Move, 3, 1 });
    expectMove(press(nav, GridKey::Right, 2, 1, { 0, 0, length }), { GridMove::PassToEditor });
    expectMove(press(nav, GridKey::Right, 2, 1, { 1, length, length }), { GridMove::PassToEditor });
    expectMove(press(nav, GridKey::Right, 3, 1, { length, length, length }), { GridMove::Stay });
}

TEST(GridKeys, AnEmptyCellLetsLeftAndRightMoveAtOnce)
{
    GridNavigator nav;
    expectMove(press(nav, GridKey::Left, 2, 2), { GridMove::Move, 1, 2 });
    expectMove(press(nav, GridKey::Right, 1, 2), { GridMove::Move, 2, 2 });
}

TEST(GridKeys, AOneCellTableKeepsItsCellOrLeaves)
{
    GridNavigator nav;
    const auto key = [&](GridKey k) { return nav.onKey(k, NoText, 1, 1, 2, 2); };
    expectMove(key(GridKey::Tab), { GridMove::LeaveForward });
    expectMove(key(GridKey::Backtab), { GridMove::LeaveBackward });
    for (GridKey k : { GridKey::Enter, GridKey::Up, GridKey::Down, GridKey::Left, GridKey::Right })
        expectMove(key(k), { GridMove::Stay });
}
