#include "MainWindowFixture.h"

#include "store/StoreError.h"
#include "ui/EntryTableModel.h"

#include <QAbstractItemModelTester>
#include <gtest/gtest.h>

using namespace kc;
using namespace kc::test;

TEST(EntryTableModel, PassesTheModelTesterThroughSortsAndRefreshes)
{
    MainWindowFixture f;
    f.contest().rules().pickCount = 5;
    f.contest().rules().currentDay = 2;
    f.addEntries(6, 2);
    ui::EntryTableModel model(f.contest());
    QAbstractItemModelTester tester(&model,
                                    QAbstractItemModelTester::FailureReportingMode::Warning);

    EXPECT_EQ(model.rowCount(), 6);
    EXPECT_EQ(model.columnCount(), 33);
    model.setSort(QStringLiteral("順位 ASC"));
    for (int row = 0; row < 6; ++row)
        EXPECT_EQ(model.data(model.index(row, ui::gridcol::Rank)).toInt(), row + 1);
    model.setSort(QStringLiteral("合計 DESC"));
    EXPECT_EQ(model.data(model.index(0, ui::gridcol::Total)).toInt(), 100);

    // Rows added through the core show after a refresh, in the grid's own order
    // whatever order the core's cursor was left in.
    f.addEntries(1, 2);
    f.contest().entryTable().setSort(QStringLiteral("ID DESC"));
    model.refresh();
    EXPECT_EQ(model.rowCount(), 7);
    EXPECT_EQ(model.data(model.index(0, ui::gridcol::Total)).toInt(), 100);
    // Picks show the wrestler names; numbers are right-aligned, names left.
    EXPECT_EQ(model.data(model.index(0, ui::gridcol::FirstPick)).toString(),
              f.contest().roster().name(0));
    EXPECT_EQ(
        model.data(model.index(0, ui::gridcol::Total), Qt::TextAlignmentRole).value<Qt::Alignment>()
            & Qt::AlignRight,
        Qt::AlignRight);

    // A sort string the recordset cannot take leaves the order as it was.
    EXPECT_THROW(model.setSort(QStringLiteral("ない列 DESC")), StoreError);
    EXPECT_EQ(model.sort(), QStringLiteral("合計 DESC"));
    EXPECT_EQ(model.rowCount(), 7);

    f.contest().close(false);
    model.refresh();
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_FALSE(model.data(model.index(0, 0)).isValid());
}

TEST(EntryTableModel, LayoutCaptionsAndVisibility)
{
    RulesRecord r = RulesRecord::firstRunDefaults();
    r.pickCount = 3;
    r.slotPoints = {5, 3, 1, 9, 9, 9, 9, 9, 9, 9};
    r.currentDay = 8;
    const ui::GridLayout g = ui::GridLayout::forRules(r);
    ASSERT_EQ(int(g.columns.size()), 33);
    EXPECT_EQ(g.columns[ui::gridcol::FirstPick].caption, QStringLiteral("5点力士"));
    EXPECT_EQ(g.columns[ui::gridcol::FirstPick + 2].caption, QStringLiteral("1点力士"));
    EXPECT_EQ(g.columns[ui::gridcol::FirstPick + 3].caption, QStringLiteral("力士4"));
    EXPECT_FALSE(g.columns[ui::gridcol::FirstPick + 3].visible);
    EXPECT_EQ(g.columns[ui::gridcol::FirstDay + 7].caption, QStringLiteral("中日"));
    EXPECT_TRUE(g.columns[ui::gridcol::FirstDay + 7].visible);
    EXPECT_FALSE(g.columns[ui::gridcol::FirstDay + 8].visible);
    EXPECT_EQ(g.runningWidthTwips, 1900 + 8 * 400 + 1300 + 3 * 800);

    // Out-of-range values in a damaged record never widen past the columns there are.
    r.pickCount = 12;
    r.currentDay = 20;
    const ui::GridLayout big = ui::GridLayout::forRules(r);
    EXPECT_EQ(big.runningWidthTwips, 1900 + 15 * 400 + 1300 + 10 * 800);
}
