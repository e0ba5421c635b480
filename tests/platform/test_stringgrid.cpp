#include "widgets/StringGrid.h"
#include "support/Modal.h"
#include "support/WindowTest.h"

#include <QLineEdit>
#include <QPointer>
#include <QSignalSpy>
#include <QtTest/QTest>

#include <gtest/gtest.h>

TEST(StringGrid, KeepsHiddenRowsTextAndReadsNeverWrittenCellsEmpty) {
    StringGrid grid(5, 2, nullptr);
    grid.setFixedRows(1);
    grid.setGridRowCount(4);
    grid.setCell(2, 3, sj("山田"));
    grid.setGridRowCount(2);
    EXPECT_EQ(grid.gridRowCount(), 2);
    EXPECT_EQ(grid.model()->rowCount(), 1);
    EXPECT_EQ(grid.cell(2, 3), sj("山田"));
    EXPECT_TRUE(grid.cell(4, 100).isEmpty());
    EXPECT_TRUE(grid.cell(0, 1).isEmpty());
    grid.setGridRowCount(4);
    EXPECT_EQ(grid.model()->index(2, 2).data().toString(), QStringLiteral("山田"));
    // Outside the columns nothing is stored and nothing breaks.
    grid.setCell(5, 1, sj("x"));
    grid.setCell(-1, 1, sj("x"));
    EXPECT_TRUE(grid.cell(5, 1).isEmpty());
}

TEST(StringGrid, CarriesOneIntegerPerCell) {
    StringGrid grid(6, 8, nullptr);
    EXPECT_EQ(grid.object(3, 4), 0);
    grid.setObject(3, 4, 255);
    EXPECT_EQ(grid.object(3, 4), 255);
    EXPECT_EQ(grid.object(4, 3), 0);
}

TEST(StringGrid, HeaderRowShowsRowZeroAndInvalidBytesStayStored) {
    StringGrid grid(5, 2, nullptr);
    grid.setFixedRows(1);
    grid.setCell(0, 0, sj("くじ順"));
    EXPECT_EQ(grid.model()->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("くじ順"));
    const QByteArray invalid("\xFF\x82\xA0\x81", 4);
    grid.setCell(1, 1, SjisText(invalid));
    EXPECT_EQ(grid.model()->index(0, 1).data().toString(), QStringLiteral("\uFFFDあ\uFFFD"));
    EXPECT_EQ(grid.cell(1, 1).bytes(), invalid);
}

TEST(StringGrid, CellUnderAPointCountsTheGridLineRightAndBelowAsTheCell) {
    StringGrid grid(6, 8, nullptr);
    for (int c = 0; c < 6; ++c)
        grid.setColWidth(c, 78);
    grid.setDefaultRowHeight(24);
    grid.resize(481, 209);
    grid.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid.show();
    const struct {
        QPoint p;
        int col, row;
    } cases[] = {
        {{0, 0}, 0, 0},     {{77, 23}, 0, 0},   {{78, 24}, 0, 0}, // the grid line right of and below
        {{79, 25}, 1, 1},   {{473, 199}, 5, 7}, {{474, 10}, -1, -1}, // margin right of column 5
        {{10, 200}, -1, -1}, // margin below row 7
        {{-1, 5}, -1, -1},  {{5, -1}, -1, -1},  {{1000, 1000}, -1, -1},
    };
    for (const auto &c : cases) {
        int col = 9, row = 9;
        const bool found = grid.cellAt(c.p, col, row);
        EXPECT_EQ(found, c.col >= 0) << c.p.x() << "," << c.p.y();
        EXPECT_EQ(col, c.col) << c.p.x() << "," << c.p.y();
        EXPECT_EQ(row, c.row) << c.p.x() << "," << c.p.y();
    }
    EXPECT_EQ(grid.cellRect(1, 2), QRect(79, 50, 78, 24));
}

TEST(StringGrid, EditorHandsItsTextAtEveryChangeAndRefusesWhatShiftJisCannotHold) {
    StringGrid grid(5, 3, nullptr);
    grid.setFixedRows(1);
    grid.setEditable(true);
    grid.resize(500, 200);
    grid.show();
    grid.setCell(2, 1, sj("山田"));
    QList<QPair<QPoint, QByteArray>> handed;
    QObject::connect(grid.cells(), &StringGridModel::editTextSet,
                     [&](int c, int r, const SjisText &t) { handed.append({QPoint(c, r), t.bytes()}); });
    const QModelIndex idx = grid.model()->index(0, 2);
    grid.setCurrentIndex(idx);
    grid.edit(idx);
    auto *editor = grid.viewport()->findChild<QLineEdit *>();
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, QStringLiteral("AB"));
    EXPECT_EQ(grid.cell(2, 1).bytes(), QByteArray("AB"));
    ASSERT_EQ(handed.size(), 2);
    EXPECT_EQ(handed[0], qMakePair(QPoint(2, 1), QByteArray("A")));
    EXPECT_EQ(handed[1], qMakePair(QPoint(2, 1), QByteArray("AB")));

    // Closing the editor hands the text once more, unchanged.
    QTest::keyClick(editor, Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([&] { return handed.size() == 3; }, 2000));
    EXPECT_EQ(handed[2].second, QByteArray("AB"));

    grid.edit(idx);
    QPointer<QLineEdit> again = grid.viewport()->findChild<QLineEdit *>();
    ASSERT_FALSE(again.isNull());
    // The grid reports the refusal from the event loop; the window words it.
    QSignalSpy refused(&grid, &StringGrid::textRefused);
    again->insert(QStringLiteral("😀"));
    EXPECT_EQ(again->text(), QStringLiteral("AB"));
    EXPECT_EQ(refused.count(), 0);
    ASSERT_TRUE(refused.wait(2000));
    EXPECT_EQ(refused.first().first().toString(), QStringLiteral("😀"));
    EXPECT_EQ(grid.cell(2, 1).bytes(), QByteArray("AB"));
}

// The grid takes every edit without disturbing the editor, whose cursor and
// own undo stay where the user left them. Esc gives the cell back the text
// it had when the editor opened, its very bytes, also those no editor shows
// as they are.
TEST(StringGrid, EditorKeepsItsCursorAndEscGivesTheCellItsTextBack) {
    StringGrid grid(5, 3, nullptr);
    grid.setFixedRows(1);
    grid.setEditable(true);
    grid.resize(500, 200);
    grid.show();
    // 0xED 0x40 shows as a character that Shift-JIS writes as 0xFA 0x5C.
    const QByteArray before = QByteArray("\xED\x40", 2) + "AB";
    grid.setCell(2, 1, SjisText(before));
    QSignalSpy started(&grid, &StringGrid::editStarted);
    QSignalSpy finished(&grid, &StringGrid::editFinished);
    QList<QByteArray> handed;
    QObject::connect(grid.cells(), &StringGridModel::editTextSet,
                     [&](int, int, const SjisText &t) { handed.append(t.bytes()); });

    const QModelIndex idx = grid.model()->index(0, 2);
    grid.setCurrentIndex(idx);
    grid.edit(idx);
    EXPECT_EQ(started.count(), 1);
    auto *editor = qobject_cast<QLineEdit *>(grid.indexWidget(idx));
    ASSERT_NE(editor, nullptr);
    editor->setCursorPosition(1);
    QTest::keyClicks(editor, QStringLiteral("xy"));
    EXPECT_EQ(editor->text().mid(1), QStringLiteral("xyAB"));
    EXPECT_EQ(editor->cursorPosition(), 3);
    EXPECT_EQ(grid.cell(2, 1).bytes(), QByteArray("\xFA\x5CxyAB", 6));
    EXPECT_TRUE(editor->isUndoAvailable());

    QTest::keyClick(editor, Qt::Key_Escape);
    EXPECT_EQ(grid.cell(2, 1).bytes(), before);
    ASSERT_FALSE(handed.isEmpty());
    EXPECT_EQ(handed.last(), before) << "the window hears of the text given back";
    EXPECT_EQ(finished.count(), 1);
    EXPECT_FALSE(grid.isEditing());

    // Opened and closed with Esc unchanged, the cell is not written at all.
    handed.clear();
    grid.edit(idx);
    editor = qobject_cast<QLineEdit *>(grid.indexWidget(idx));
    ASSERT_NE(editor, nullptr);
    QTest::keyClick(editor, Qt::Key_Escape);
    EXPECT_FALSE(grid.isEditing());
    EXPECT_TRUE(handed.isEmpty());
    EXPECT_EQ(grid.cell(2, 1).bytes(), before);
}
