#include "seats/NoSeatMark.h"
#include "support/WindowTest.h"

#include <QtTest/QTest>

namespace {

class Layout : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        createWindow();
        form().PageControl1->setCurrentIndex(2);
        grid = form().StringGrid_Settei;
    }
    // The 48 texts of a grid, column by column.
    static QStringList texts(const StringGrid *g) {
        QStringList out;
        for (int c = 0; c < 6; ++c)
            for (int r = 0; r < 8; ++r)
                out << cellText(g, c, r);
        return out;
    }
    static QStringList numbered(int from, int to) {
        QStringList out;
        for (int i = from; i <= to; ++i)
            out << QString::number(i);
        return out;
    }
    StringGrid *grid = nullptr;
};

TEST_F(Layout, FreshStartNumbersFortyEightSeatsColumnByColumn) {
    EXPECT_EQ(texts(grid), numbered(1, 48));
    EXPECT_EQ(texts(form().StringGrid1), numbered(1, 48));
    EXPECT_EQ(cellText(grid, 1, 0), QStringLiteral("9"));
    EXPECT_EQ(form().SeatAmount(), 48);
    const struct {
        int seat, col, row;
    } cases[] = {{1, 0, 0}, {8, 0, 7}, {9, 1, 0}, {48, 5, 7}, {0, -1, -1}, {49, -1, -1}, {-3, -1, -1}};
    for (const auto &c : cases) {
        int col = 99, row = 99;
        form().SeatToCell(c.seat, col, row);
        EXPECT_EQ(col, c.col) << c.seat;
        EXPECT_EQ(row, c.row) << c.seat;
    }
}

TEST_F(Layout, AClickTogglesTheMarkAndRenumbersLayoutAndChart) {
    clickCell(grid, 0, 0);
    EXPECT_EQ(cellText(grid, 0, 0), QStringLiteral("×"));
    EXPECT_EQ(grid->cell(0, 0).bytes(), QByteArray("\x81\x7E"));
    EXPECT_EQ(cellText(grid, 0, 1), QStringLiteral("1"));
    EXPECT_EQ(cellText(grid, 5, 7), QStringLiteral("47"));
    EXPECT_EQ(form().SeatAmount(), 47);
    EXPECT_EQ(texts(form().StringGrid1), texts(grid));
    int col = 0, row = 0;
    form().SeatToCell(48, col, row);
    EXPECT_EQ(col, -1);

    clickCell(grid, 0, 0);
    EXPECT_EQ(texts(grid), numbered(1, 48));
    EXPECT_EQ(texts(form().StringGrid1), numbered(1, 48));
}

TEST_F(Layout, EveryMouseButtonTogglesAndEachReleaseCounts) {
    clickCell(grid, 2, 3, Qt::RightButton);
    EXPECT_EQ(cellText(grid, 2, 3), QStringLiteral("×"));
    clickCell(grid, 2, 3, Qt::MiddleButton);
    EXPECT_EQ(cellText(grid, 2, 3), QStringLiteral("20"));

    // A double click is two releases: the cell ends as it was.
    const QPoint p = grid->cellRect(4, 4).center();
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, p);
    EXPECT_EQ(cellText(grid, 4, 4), QStringLiteral("37"));

    // Keys do not toggle.
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Space);
    QTest::keyClick(grid, Qt::Key_Return);
    EXPECT_EQ(texts(grid), numbered(1, 48));
}

TEST_F(Layout, ReleasesOnGridLinesCountAndInTheMarginOrOutsideDoNothing) {
    const QRect cell = grid->cellRect(1, 1);
    clickGrid(grid, QPoint(cell.right() + 1, cell.bottom() + 1)); // the lines right of and below (1, 1)
    EXPECT_EQ(cellText(grid, 1, 1), QStringLiteral("×"));
    clickCell(grid, 1, 1);

    const QRect last = grid->cellRect(5, 7);
    for (const QPoint p : {QPoint(last.right() + 3, 10), QPoint(10, last.bottom() + 3), QPoint(-20, 10),
                           QPoint(900, 900)}) {
        clickGrid(grid, p);
        EXPECT_EQ(texts(grid), numbered(1, 48)) << p.x() << "," << p.y();
    }
}

TEST_F(Layout, OnlyTheExactMarkIsNoSeat) {
    grid->setCell(0, 0, sj("x"));
    grid->setCell(0, 1, sj("× "));
    grid->setCell(0, 2, sj("Ｘ"));
    grid->setCell(0, 3, noSeatMark());
    EXPECT_EQ(form().SeatAmount(), 47);
    form().ZasekiNoNyuryoku();
    EXPECT_EQ(cellText(grid, 0, 0), QStringLiteral("1"));
    EXPECT_EQ(cellText(grid, 0, 1), QStringLiteral("2"));
    EXPECT_EQ(cellText(grid, 0, 2), QStringLiteral("3"));
    EXPECT_EQ(cellText(grid, 0, 3), QStringLiteral("×"));
    EXPECT_EQ(cellText(grid, 0, 4), QStringLiteral("4"));
    EXPECT_EQ(cellText(grid, 5, 7), QStringLiteral("47"));
}

TEST_F(Layout, MarkingEverySeatLeavesNoneAndClearingOneMakesSeatOne) {
    for (int c = 0; c < 6; ++c)
        for (int r = 0; r < 8; ++r)
            clickCell(grid, c, r);
    EXPECT_EQ(form().SeatAmount(), 0);
    EXPECT_EQ(texts(grid), QStringList(48, QStringLiteral("×")));
    clickCell(grid, 3, 5);
    EXPECT_EQ(form().SeatAmount(), 1);
    EXPECT_EQ(cellText(grid, 3, 5), QStringLiteral("1"));
    int col = 0, row = 0;
    form().SeatToCell(1, col, row);
    EXPECT_EQ(QPoint(col, row), QPoint(3, 5));
}

TEST_F(Layout, SeatSearchComparesTextNotNumbers) {
    grid->setCell(0, 0, sj("047"));
    grid->setCell(2, 2, sj("47"));
    int col = 0, row = 0;
    form().SeatToCell(47, col, row);
    EXPECT_EQ(QPoint(col, row), QPoint(2, 2)); // the first "47" in column order, not "047"
}

TEST_F(Layout, NumberingOverwritesNamesOnTheChart) {
    form().StringGrid1->setCell(0, 0, sj("山田"));
    form().StringGrid1->setObject(0, 0, 255);
    clickCell(grid, 5, 7);
    EXPECT_EQ(cellText(form().StringGrid1, 0, 0), QStringLiteral("1"));
    EXPECT_EQ(cellText(form().StringGrid1, 5, 7), QStringLiteral("×"));
    EXPECT_EQ(form().StringGrid1->object(0, 0), 255); // highlights are left alone
}

} // namespace
