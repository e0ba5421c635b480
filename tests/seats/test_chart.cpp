#include "platform/Errors.h"
#include "support/WindowTest.h"

#include <QImage>
#include <QPaintEvent>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QtTest/QTest>

#include <vector>

namespace {

struct Student {
    const char *order, *attendance, *name, *reading, *seat;
};

// Puts students into the roster grid as an opened roster file would.
void fillRoster(TForm1 &f, const std::vector<Student> &students) {
    f.StringGrid2->setGridRowCount(static_cast<int>(students.size()) + 1);
    int r = 1;
    for (const Student &s : students) {
        const char *cells[] = {s.order, s.attendance, s.name, s.reading, s.seat};
        for (int c = 0; c < 5; ++c)
            f.StringGrid2->setCell(c, r, sj(cells[c]));
        ++r;
    }
}

// Chart cell of a seat on a layout without marks: column-major, 8 a column.
QPoint seatCell(int seat) {
    return QPoint((seat - 1) / 8, (seat - 1) % 8);
}

void expectEntry(const SeatEntry &e, const char *seat, const char *att, const char *name, const char *reading) {
    EXPECT_EQ(e.seatText, sj(seat));
    EXPECT_EQ(e.attendance, sj(att));
    EXPECT_EQ(e.name, sj(name));
    EXPECT_EQ(e.reading, sj(reading));
}

} // namespace

class Chart : public WindowTest {
protected:
    TForm1 &f() { return form(); }
    QString chart(int c, int r) { return cellText(f().StringGrid1, c, r); }
    void expectChartIsLayout() {
        for (int c = 0; c < 6; ++c)
            for (int r = 0; r < 8; ++r)
                EXPECT_EQ(chart(c, r), cellText(f().StringGrid_Settei, c, r)) << c << "," << r;
    }
};

TEST_F(Chart, RosterWithoutSeatsGivesAnEmptyTableAndTheSeatNumbers) {
    createWindow();
    // Whatever a former fill left in the table goes.
    fillRoster(f(), {{"01", "1", "青木", "あおき", "12"}});
    f().ZasekiYomikomi();
    ASSERT_EQ(chart(1, 3), QStringLiteral("青木"));

    fillRoster(f(), {{"", "", "", "", ""}});
    f().ZasekiYomikomi();
    for (int s = 0; s <= 48; ++s)
        expectEntry(f().seatTable[SeatNumber(s)], "", "", "", "");
    expectChartIsLayout();
    EXPECT_EQ(chart(0, 0), QStringLiteral("1"));
    EXPECT_EQ(chart(5, 7), QStringLiteral("48"));
}

TEST_F(Chart, StudentsAtSeatsThreeAndSevenShowTheirNames) {
    createWindow();
    fillRoster(f(), {{"01", "4", "佐藤 花子", "さとう はなこ", "7"},
                     {"02", "9", "田中", "たなか", ""},
                     {"03", "12", "鈴木", "すずき", "3"}});
    f().ZasekiYomikomi();
    expectEntry(f().seatTable[SeatNumber(3)], "3", "12", "鈴木", "すずき");
    expectEntry(f().seatTable[SeatNumber(7)], "7", "4", "佐藤 花子", "さとう はなこ");
    for (int s = 1; s <= 48; ++s)
        if (s != 3 && s != 7)
            expectEntry(f().seatTable[SeatNumber(s)], "", "", "", "");
    for (int s = 1; s <= 48; ++s) {
        const QPoint p = seatCell(s);
        const QString want = s == 3   ? QStringLiteral("鈴木")
                             : s == 7 ? QStringLiteral("佐藤 花子")
                                      : QString::number(s);
        EXPECT_EQ(chart(p.x(), p.y()), want) << s;
    }
    EXPECT_EQ(chart(0, 2), QStringLiteral("鈴木"));
    EXPECT_EQ(chart(0, 6), QStringLiteral("佐藤 花子"));

    // Running it again with nothing changed gives the same table and chart.
    const SeatTable table = f().seatTable;
    QStringList before;
    for (int c = 0; c < 6; ++c)
        for (int r = 0; r < 8; ++r)
            before << chart(c, r);
    f().ZasekiYomikomi();
    QStringList after;
    for (int c = 0; c < 6; ++c)
        for (int r = 0; r < 8; ++r)
            after << chart(c, r);
    EXPECT_EQ(after, before);
    for (int s = 1; s <= 48; ++s) {
        EXPECT_EQ(f().seatTable[SeatNumber(s)].seatText, table[SeatNumber(s)].seatText);
        EXPECT_EQ(f().seatTable[SeatNumber(s)].name, table[SeatNumber(s)].name);
    }
}

TEST_F(Chart, SeatTextsAreReadAsIntegerText) {
    struct Case {
        const char *what;
        std::vector<Student> roster;
        int seat;
        Student entry; // the row that SeatTable[seat] must hold (order unused)
        const char *shown;
    } cases[] = {
        {"an empty name shows the seat number", {{"01", "5", "", "", "5"}}, 5, {"", "5", "", "", "5"}, "5"},
        {"5 then 05: the later row stays",
         {{"01", "1", "一郎", "いちろう", "5"}, {"02", "2", "二郎", "じろう", "05"}},
         5,
         {"", "2", "二郎", "じろう", "05"},
         "二郎"},
        {"a leading blank is kept in the table",
         {{"01", "3", "三郎", "さぶろう", " 5"}},
         5,
         {"", "3", "三郎", "さぶろう", " 5"},
         "三郎"},
        {"hexadecimal", {{"01", "4", "四郎", "しろう", "$A"}}, 10, {"", "4", "四郎", "しろう", "$A"}, "四郎"},
    };
    createWindow();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        fillRoster(f(), c.roster);
        f().ZasekiYomikomi();
        expectEntry(f().seatTable[SeatNumber(c.seat)], c.entry.seat, c.entry.attendance, c.entry.name,
                    c.entry.reading);
        const QPoint p = seatCell(c.seat);
        EXPECT_EQ(chart(p.x(), p.y()), QString::fromUtf8(c.shown));
    }
}

TEST_F(Chart, MarksKeepWhatTheNumberingCopiedAndALayoutClickBringsNumbersBack) {
    createWindow();
    clickCell(f().StringGrid_Settei, 0, 0); // (0, 0) is no seat, seat 1 moves to (0, 1)
    fillRoster(f(), {{"01", "1", "山本", "やまもと", "1"}, {"02", "2", "中村", "なかむら", "47"}});
    f().ZasekiYomikomi();
    EXPECT_EQ(chart(0, 0), QStringLiteral("×"));
    EXPECT_EQ(chart(0, 1), QStringLiteral("山本"));
    EXPECT_EQ(chart(5, 7), QStringLiteral("中村"));

    {
        // Students hold seats: the click asks first.
        ModalDriver driver;
        driver.press(QStringLiteral("はい(&Y)"));
        clickCell(f().StringGrid_Settei, 3, 3);
    }
    expectChartIsLayout();
    EXPECT_EQ(chart(0, 1), QStringLiteral("1"));
    EXPECT_EQ(chart(3, 3), QStringLiteral("×"));
    // The table keeps the last fill until the next one.
    EXPECT_EQ(f().seatTable[SeatNumber(47)].name, sj("中村"));

    f().ZasekiYomikomi();
    EXPECT_EQ(chart(0, 1), QStringLiteral("山本"));
    EXPECT_EQ(chart(3, 3), QStringLiteral("×"));
    // 中村 kept the place at the back and took its new number, 46.
    EXPECT_EQ(cellText(f().StringGrid2, 4, 2), QStringLiteral("46"));
    EXPECT_TRUE(f().seatTable[SeatNumber(47)].name.isEmpty());
    EXPECT_EQ(chart(5, 6), QStringLiteral("45"));
    EXPECT_EQ(chart(5, 7), QStringLiteral("中村"));
}

// Only a hand-edited settings file puts such numbers into the layout.
TEST_F(Chart, LayoutNumbersWithoutASeatShowTheLayoutText) {
    createWindow();
    const char *odd[] = {"0", "49", "-1", "2147483647", "$FFFFFFFF", "-2147483648"};
    for (int r = 0; r < 6; ++r)
        f().StringGrid_Settei->setCell(2, r, sj(odd[r]));
    fillRoster(f(), {{"01", "1", "井上", "いのうえ", "48"}, {"02", "2", "木村", "きむら", "17"}});
    f().ZasekiYomikomi();
    for (int r = 0; r < 6; ++r)
        EXPECT_EQ(chart(2, r), QString::fromUtf8(odd[r])) << r;
    EXPECT_EQ(chart(2, 6), QStringLiteral("23"));
    EXPECT_EQ(chart(5, 7), QStringLiteral("井上"));
    EXPECT_EQ(f().seatTable[SeatNumber(17)].name, sj("木村"));
}

// The roster check keeps such seats from a fill; called anyway, the table is
// never written outside its 48 rows.
TEST_F(Chart, RosterSeatsOutsideTheTableAreLeftOut) {
    createWindow();
    fillRoster(f(), {{"01", "1", "ゼロ", "", "0"},
                     {"02", "2", "外", "", "49"},
                     {"03", "3", "負", "", "-5"},
                     {"04", "4", "林", "はやし", "48"}});
    f().ZasekiYomikomi();
    expectEntry(f().seatTable[SeatNumber(0)], "", "", "", "");
    expectEntry(f().seatTable[SeatNumber(48)], "48", "4", "林", "はやし");
    for (int s = 1; s < 48; ++s)
        EXPECT_TRUE(f().seatTable[SeatNumber(s)].name.isEmpty()) << s;
    EXPECT_EQ(chart(5, 7), QStringLiteral("林"));
    EXPECT_EQ(chart(0, 0), QStringLiteral("1"));
}

TEST_F(Chart, ALayoutCellThatIsNoIntegerEndsTheFillWhereItStands) {
    createWindow();
    fillRoster(f(), {{"01", "1", "伊藤", "いとう", "2"}, {"02", "2", "渡辺", "わたなべ", "20"}});
    f().StringGrid_Settei->setCell(1, 3, sj("x")); // a lookalike of the mark, after seat 2, before seat 20
    try {
        f().ZasekiYomikomi();
        ADD_FAILURE() << "no conversion error";
    } catch (const ConversionError &e) {
        EXPECT_EQ(e.message(), QStringLiteral("'x' は整数ではありません"));
    }
    EXPECT_EQ(f().seatTable[SeatNumber(20)].name, sj("渡辺")); // the table is complete
    EXPECT_EQ(chart(0, 1), QStringLiteral("伊藤"));
    EXPECT_EQ(chart(1, 2), QStringLiteral("11"));
    EXPECT_EQ(chart(1, 3), QStringLiteral("12")); // still the last numbering's text
    EXPECT_EQ(chart(2, 3), QStringLiteral("20"));
}

TEST_F(Chart, ASeatTextThatIsNoIntegerLeavesTheChartUntouched) {
    createWindow();
    fillRoster(f(), {{"01", "1", "伊藤", "いとう", "2"}, {"02", "2", "渡辺", "わたなべ", "20"}});
    f().ZasekiYomikomi();
    fillRoster(f(), {{"01", "1", "小林", "こばやし", "3"},
                     {"02", "2", "加藤", "かとう", "5 "},
                     {"03", "3", "吉田", "よしだ", "4"}});
    EXPECT_THROW(f().ZasekiYomikomi(), ConversionError);
    EXPECT_EQ(f().seatTable[SeatNumber(3)].name, sj("小林"));
    EXPECT_TRUE(f().seatTable[SeatNumber(2)].name.isEmpty());
    EXPECT_TRUE(f().seatTable[SeatNumber(4)].name.isEmpty());
    EXPECT_EQ(chart(0, 1), QStringLiteral("伊藤"));
    EXPECT_EQ(chart(0, 2), QStringLiteral("3"));
    EXPECT_EQ(chart(2, 3), QStringLiteral("渡辺"));
}

class ChartHighlight : public Chart {
protected:
    // The chart has no header row, so its client coordinates are those of its viewport.
    QImage shot() { return f().StringGrid1->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32); }
    // The rectangle the cell is drawn in, grid lines excluded.
    QRect drawnRect(int col, int row) { return f().StringGrid1->visualRect(f().StringGrid1->model()->index(row, col)); }
};

TEST_F(ChartHighlight, PaintCellTurnsOneCellRedWithItsTextAndBackAgain) {
    createWindow();
    const QImage before = shot();
    const QRect cell = drawnRect(2, 3); // seat 20
    const QColor base = f().StringGrid1->palette().base().color();
    ASSERT_EQ(before.pixelColor(cell.bottomRight()), base);

    f().PaintCell(2, 3, true);
    EXPECT_EQ(f().StringGrid1->object(2, 3), 255);
    const QImage red = shot();
    int redPixels = 0;
    int textPixels = 0;
    for (int y = cell.top(); y <= cell.bottom(); ++y)
        for (int x = cell.left(); x <= cell.right(); ++x) {
            const QColor px = red.pixelColor(x, y);
            if (px == QColor(255, 0, 0))
                ++redPixels;
            else if (px.red() < 160 && x < cell.left() + 30 && y < cell.top() + 20)
                ++textPixels; // the digits "20", dark on red, near the top-left corner
        }
    EXPECT_GT(redPixels, cell.width() * cell.height() * 3 / 4);
    EXPECT_GT(textPixels, 10);
    EXPECT_EQ(red.pixelColor(cell.bottomRight()), QColor(255, 0, 0));
    EXPECT_EQ(red.pixelColor(cell.topLeft()), QColor(255, 0, 0));
    // Every pixel outside the cell is as it was.
    for (int y = 0; y < before.height(); ++y)
        for (int x = 0; x < before.width(); ++x)
            if (!cell.contains(x, y) && red.pixel(x, y) != before.pixel(x, y)) {
                ADD_FAILURE() << "pixel " << x << "," << y << " changed";
                y = before.height();
                break;
            }

    f().PaintCell(2, 3, false);
    EXPECT_EQ(f().StringGrid1->object(2, 3), 0);
    EXPECT_TRUE(shot() == before);
}

// Records the regions painted on a widget.
class PaintSpy : public QObject {
public:
    explicit PaintSpy(QWidget *w) { w->installEventFilter(this); }
    QRegion painted;
    bool eventFilter(QObject *, QEvent *e) override {
        if (e->type() == QEvent::Paint)
            painted += static_cast<QPaintEvent *>(e)->region();
        return false;
    }
};

TEST_F(ChartHighlight, PaintCellRepaintsThatCellAlone) {
    createWindow();
    {
        // Shown without a page change: no draw preparation runs.
        const QSignalBlocker quiet(f().PageControl1);
        f().PageControl1->setCurrentWidget(f().TabSheet1);
    }
    QTest::qWait(50);
    QWidget *viewport = f().StringGrid1->viewport();
    PaintSpy spy(viewport);
    f().PaintCell(4, 6, true);
    QTest::qWait(50);
    EXPECT_EQ(spy.painted, QRegion(drawnRect(4, 6)));
}

TEST_F(ChartHighlight, TheHighlightSurvivesFillAndNumberingAndShowsTheName) {
    createWindow();
    f().PaintCell(0, 4, true);
    fillRoster(f(), {{"01", "1", "WWWW", "", "5"}});
    f().ZasekiYomikomi();
    {
        ModalDriver driver;
        driver.press(QStringLiteral("はい(&Y)")); // a student holds a seat
        clickCell(f().StringGrid_Settei, 5, 0);
    }
    f().ZasekiYomikomi();
    EXPECT_EQ(f().StringGrid1->object(0, 4), 255);
    const QImage img = shot();
    const QRect cell = drawnRect(0, 4);
    EXPECT_EQ(img.pixelColor(cell.bottomRight()), QColor(255, 0, 0));
    int dark = 0;
    for (int x = cell.left(); x <= cell.right(); ++x)
        for (int y = cell.top(); y <= cell.bottom(); ++y)
            if (img.pixelColor(x, y).red() < 160)
                ++dark;
    EXPECT_GT(dark, 10); // "WWWW" drawn on the red
}

TEST_F(ChartHighlight, APositionOutsideTheChartChangesNothing) {
    createWindow();
    const QImage before = shot();
    f().PaintCell(-1, -1, true);
    f().PaintCell(6, 0, true);
    f().PaintCell(0, 8, true);
    for (int c = 0; c < 6; ++c)
        for (int r = 0; r < 8; ++r)
            EXPECT_EQ(f().StringGrid1->object(c, r), 0);
    EXPECT_EQ(f().StringGrid1->object(6, 0), 0);
    EXPECT_EQ(f().StringGrid1->object(0, 8), 0);
    EXPECT_TRUE(shot() == before);
}
