#include "platform/Collate.h"
#include "roster/QuickSort.h"
#include "support/WindowTest.h"

#include <QToolButton>

#include <algorithm>
#include <vector>

namespace {

// Sorts keys with the roster's quicksort and answers where each entry came from.
std::vector<int> sortedOrigins(const std::vector<const char *> &keys) {
    struct Entry {
        QString key;
        int origin;
    };
    std::vector<Entry> list;
    for (const char *k : keys)
        list.push_back({QString::fromUtf8(k), static_cast<int>(list.size())});
    const TextCollator collator;
    ordering::quickSort(list, [&](const Entry &a, const Entry &b) { return collator.compare(a.key, b.key); });
    std::vector<int> origins;
    for (const Entry &e : list)
        origins.push_back(e.origin);
    return origins;
}

struct Row {
    const char *order, *seat;
};

// Puts students into the roster grid as an opened roster file would; student
// i (from 0) carries "A<i>", "N<i>", "R<i>" in its middle cells, so that a
// row can be followed when it moves.
void fillRoster(TForm1 &f, const std::vector<Row> &rows) {
    f.StringGrid2->setGridRowCount(static_cast<int>(rows.size()) + 1);
    for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
        const int r = i + 1;
        f.StringGrid2->setCell(0, r, sj(rows[static_cast<size_t>(i)].order));
        f.StringGrid2->setCell(1, r, SjisText(QByteArray("A") + QByteArray::number(i)));
        f.StringGrid2->setCell(2, r, SjisText(QByteArray("N") + QByteArray::number(i)));
        f.StringGrid2->setCell(3, r, SjisText(QByteArray("R") + QByteArray::number(i)));
        f.StringGrid2->setCell(4, r, sj(rows[static_cast<size_t>(i)].seat));
    }
}

// Each student row as "order|attendance|name|reading|seat".
QStringList rosterRows(const TForm1 &f) {
    QStringList rows;
    for (int r = 1; r < f.StringGrid2->gridRowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < 5; ++c)
            cells << cellText(f.StringGrid2, c, r);
        rows << cells.join(QLatin1Char('|'));
    }
    return rows;
}

QString student(const QString &order, int i, const char *seat) {
    return QStringLiteral("%1|A%2|N%2|R%2|%3").arg(order).arg(i).arg(QString::fromUtf8(seat));
}
QString student(const char *order, int i, const char *seat) {
    return student(QString::fromUtf8(order), i, seat);
}

// Leaves the first `seats` positions of the layout as seats, marks the rest.
void setSeatCount(TForm1 &f, int seats) {
    for (int i = 0; i < 48; ++i)
        f.StringGrid_Settei->setCell(i / 8, i % 8, i < seats ? SjisText() : sj("×"));
    f.ZasekiNoNyuryoku();
    ASSERT_EQ(f.SeatAmount(), seats);
}

} // namespace

TEST(TextCollator, RanksEmptyFirstAndIgnoresCase) {
    const TextCollator collator;
    const struct {
        const char *a, *b;
        int sign;
    } cases[] = {
        {"", "", 0},      {"", "0", -1},    {"0", "", 1},      {"", " ", -1},   {"a", "A", 0},   {"abc", "ABD", -1},
        {"01", "02", -1}, {"02", "10", -1}, {"100", "11", -1}, {"50", "01", 1}, {"50", "50", 0},
    };
    for (const auto &c : cases) {
        const int got = collator.compare(QString::fromUtf8(c.a), QString::fromUtf8(c.b));
        EXPECT_EQ((got > 0) - (got < 0), c.sign) << "'" << c.a << "' vs '" << c.b << "'";
    }
}

TEST(QuickSort, EqualKeysMoveAsTheStepsDecide) {
    const struct {
        const char *what;
        std::vector<const char *> keys;
        std::vector<int> origins;
    } cases[] = {
        {"no entries", {}, {}},
        {"one entry", {"05"}, {0}},
        {"two equal keys swap", {"50", "50"}, {1, 0}},
        {"three equal keys reverse", {"50", "50", "50"}, {2, 1, 0}},
        {"50, 50, 01, 50", {"50", "50", "01", "50"}, {2, 3, 0, 1}},
        {"empty keys first", {"", "05", "", "03"}, {2, 0, 3, 1}},
        {"sorted stays", {"01", "02", "10"}, {0, 1, 2}},
        {"keys are text", {"11", "100", "2"}, {1, 0, 2}},
        {"reverse", {"04", "03", "02", "01"}, {3, 2, 1, 0}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(sortedOrigins(c.keys), c.origins) << c.what;
}

TEST(QuickSort, OrdersManyKeys) {
    std::vector<QByteArray> store;
    for (int i = 0; i < 500; ++i)
        store.push_back(QByteArray::number((i * 7919) % 97)); // many repeats, scattered
    std::vector<const char *> keys;
    for (const QByteArray &k : store)
        keys.push_back(k.constData());
    const std::vector<int> origins = sortedOrigins(keys);
    ASSERT_EQ(origins.size(), keys.size());
    const TextCollator collator;
    std::vector<bool> seen(keys.size());
    for (size_t i = 0; i < origins.size(); ++i) {
        seen[static_cast<size_t>(origins[i])] = true;
        if (i > 0) {
            EXPECT_LE(collator.compare(QString::fromUtf8(keys[static_cast<size_t>(origins[i - 1])]),
                                       QString::fromUtf8(keys[static_cast<size_t>(origins[i])])),
                      0)
                << i;
        }
    }
    EXPECT_EQ(std::count(seen.begin(), seen.end(), true), 500);
}

class Ordering : public WindowTest {
protected:
    TForm1 &f() { return form(); }
};

TEST_F(Ordering, ErrorCheckReportsTheFirstFaultyRow) {
    const QString invalid = QStringLiteral("番の座席番号に正しい座席番号以外が入力されています");
    const QString twice = QStringLiteral("名簿の座席番号5が重複しています。");
    const struct {
        const char *what;
        int seats;
        std::vector<Row> rows;
        QString message; // empty: no fault
    } cases[] = {
        {"all seats empty", 48, {{"01", ""}, {"02", ""}}, {}},
        {"valid seats", 48, {{"01", "1"}, {"02", "48"}, {"03", " 7"}, {"04", "+9"}}, {}},
        {"zero", 48, {{"01", "3"}, {"07", "0"}}, QStringLiteral("くじ順07") + invalid},
        {"negative", 48, {{"02", "-1"}}, QStringLiteral("くじ順02") + invalid},
        {"above the seat count", 30, {{"01", "30"}, {"12", "31"}}, QStringLiteral("くじ順12") + invalid},
        {"letters", 48, {{"03", "abc"}}, QStringLiteral("くじ順03") + invalid},
        {"trailing blank", 48, {{"04", "5 "}}, QStringLiteral("くじ順04") + invalid},
        {"blank only", 48, {{"05", " "}}, QStringLiteral("くじ順05") + invalid},
        {"empty order cell", 48, {{"", "99"}}, QStringLiteral("くじ順") + invalid},
        {"order text shown as it stands", 48, {{"三", "x"}}, QStringLiteral("くじ順三") + invalid},
        {"hexadecimal with 10 seats", 10, {{"01", "$A"}}, {}},
        {"hexadecimal with 9 seats", 9, {{"01", "$A"}}, QStringLiteral("くじ順01") + invalid},
        {"5 and 05 differ", 48, {{"01", "5"}, {"02", "05"}}, {}},
        {"empty seats are no duplicates", 48, {{"01", ""}, {"02", "5"}, {"03", ""}}, {}},
        {"duplicate", 48, {{"01", "7"}, {"02", "5"}, {"03", "5"}}, twice},
        {"duplicate before a later invalid row", 48, {{"01", "5"}, {"02", "abc"}, {"03", "5"}}, twice},
        {"invalid row before a later duplicate",
         48,
         {{"01", "abc"}, {"02", "5"}, {"03", "5"}},
         QStringLiteral("くじ順01") + invalid},
        {"an invalid duplicate is invalid", 10, {{"01", "11"}, {"02", "11"}}, QStringLiteral("くじ順01") + invalid},
    };
    createWindow();
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        setSeatCount(f(), c.seats);
        fillRoster(f(), c.rows);
        const QStringList before = rosterRows(f());
        ModalDriver driver;
        driver.pressIfShown(QStringLiteral("OK"));
        EXPECT_EQ(f().ErrorCheck(), !c.message.isEmpty());
        if (c.message.isEmpty()) {
            EXPECT_TRUE(driver.seen().isEmpty());
        } else {
            ASSERT_EQ(driver.seen().size(), 1);
            const SeenBox &box = driver.seen().first();
            EXPECT_EQ(box.caption, QStringLiteral("エラー"));
            EXPECT_EQ(box.icon, QMessageBox::Critical);
            EXPECT_EQ(box.buttons, QStringList{QStringLiteral("OK")});
            EXPECT_EQ(box.text, c.message);
        }
        EXPECT_EQ(rosterRows(f()), before);
        EXPECT_FALSE(f().Modified);
    }
}

TEST_F(Ordering, SortMovesWholeRowsAndLeavesHeaderAndHiddenRows) {
    createWindow();
    fillRoster(f(), {{"", ""}, {"05", ""}, {"", ""}, {"03", ""}, {"01", "hidden"}});
    f().StringGrid2->setGridRowCount(5); // the fifth student is hidden
    f().classRoster.sortBy(0);
    EXPECT_EQ(rosterRows(f()),
              (QStringList{student("", 2, ""), student("", 0, ""), student("03", 3, ""), student("05", 1, "")}));
    EXPECT_EQ(cellText(f().StringGrid2, 0, 0), QStringLiteral("くじ順"));
    EXPECT_EQ(cellText(f().StringGrid2, 4, 0), QStringLiteral("座席番号"));
    EXPECT_EQ(cellText(f().StringGrid2, 0, 5), QStringLiteral("01"));
    EXPECT_EQ(cellText(f().StringGrid2, 4, 5), QStringLiteral("hidden"));

    // Any column serves as the key.
    f().classRoster.sortBy(2);
    EXPECT_EQ(rosterRows(f()),
              (QStringList{student("", 0, ""), student("05", 1, ""), student("", 2, ""), student("03", 3, "")}));
}

TEST_F(Ordering, SortByDrawOrderWritesTwoDigitsAndSorts) {
    const struct {
        const char *what;
        std::vector<Row> rows;
        QStringList expected;
    } cases[] = {
        {"1, 10, 2",
         {{"1", "4"}, {"10", ""}, {"2", "9"}},
         {student("01", 0, "4"), student("02", 2, "9"), student("10", 1, "")}},
        {"three digits sort as text",
         {{"11", ""}, {"100", ""}, {"7", ""}},
         {student("07", 2, ""), student("100", 1, ""), student("11", 0, "")}},
        {"empty orders come first",
         {{"3", ""}, {"", ""}, {"", ""}},
         {student("", 2, ""), student("", 1, ""), student("03", 0, "")}},
        {"integer text forms",
         {{" 4", ""}, {"$A", ""}, {"+3", ""}, {"09", ""}},
         {student("03", 2, ""), student("04", 0, ""), student("09", 3, ""), student("10", 1, "")}},
        {"negative", {{"-5", ""}}, {student("-05", 0, "")}},
        {"equal orders swap", {{"2", "1"}, {"02", "2"}}, {student("02", 1, "2"), student("02", 0, "1")}},
    };
    createWindow();
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        fillRoster(f(), c.rows);
        f().ToolButton6->click();
        EXPECT_EQ(rosterRows(f()), c.expected);
        EXPECT_FALSE(f().Modified);
    }
    f().Modified = true;
    f().ToolButton6->click();
    EXPECT_TRUE(f().Modified);
}

TEST_F(Ordering, SortByDrawOrderStopsAtAnOrderThatIsNoInteger) {
    const char *bad[] = {" ", "1 ", "abc", "１"};
    createWindow();
    for (const char *b : bad) {
        SCOPED_TRACE(b);
        fillRoster(f(), {{"3", "1"}, {b, "2"}, {"1", "3"}});
        ModalDriver driver;
        driver.press(QStringLiteral("OK"));
        f().ToolButton6->click();
        ASSERT_EQ(driver.seen().size(), 1);
        const SeenBox &box = driver.seen().first();
        EXPECT_EQ(box.caption, QStringLiteral("Kirabo"));
        EXPECT_EQ(box.icon, QMessageBox::Critical);
        EXPECT_EQ(box.text, QStringLiteral("'%1' は整数ではありません.").arg(QString::fromUtf8(b)));
        // The rows before it keep their new form; nothing is sorted.
        EXPECT_EQ(rosterRows(f()), (QStringList{student("03", 0, "1"), student(b, 1, "2"), student("1", 2, "3")}));
        EXPECT_FALSE(f().Modified);
    }
}

TEST_F(Ordering, SeatNumbersBecomeTheDrawOrder) {
    createWindow();
    std::vector<QByteArray> seats;
    std::vector<Row> rows;
    for (int i = 0; i < 30; ++i)
        seats.push_back(QByteArray::number((i * 7) % 30 + 1)); // seats 1 to 30, shuffled
    for (const QByteArray &s : seats)
        rows.push_back({"", s.constData()});
    fillRoster(f(), rows);
    f().ToolButton4->click();
    std::vector<int> holders;
    QStringList expected;
    for (int s = 1; s <= 30; ++s) {
        const int holder =
            static_cast<int>(std::find(seats.begin(), seats.end(), QByteArray::number(s)) - seats.begin());
        holders.push_back(holder);
        expected << student(QStringLiteral("%1").arg(s, 2, 10, QLatin1Char('0')), holder, "");
    }
    EXPECT_EQ(rosterRows(f()), expected);
    EXPECT_FALSE(f().Modified);

    // Again at once: every seat is empty, so every order is 50, and the rows
    // move as the quicksort moves thirty equal keys.
    f().ToolButton4->click();
    const std::vector<int> origins = sortedOrigins(std::vector<const char *>(30, "50"));
    QStringList again;
    for (int k : origins)
        again << student("50", holders[static_cast<size_t>(k)], "");
    EXPECT_EQ(rosterRows(f()), again);
    QStringList unchanged;
    for (int h : holders)
        unchanged << student("50", h, "");
    EXPECT_NE(again, unchanged); // equal keys do not keep their places
    EXPECT_FALSE(f().Modified);
}

TEST_F(Ordering, SeatNumbersToDrawOrderPutsStudentsWithoutSeatLast) {
    createWindow();
    fillRoster(f(), {{"07", "2"}, {"08", ""}, {"09", "$1"}});
    f().Modified = true;
    f().ToolButton4->click();
    EXPECT_EQ(rosterRows(f()), (QStringList{student("01", 2, ""), student("02", 0, ""), student("50", 1, "")}));
    EXPECT_TRUE(f().Modified);
}

TEST_F(Ordering, SeatNumbersToDrawOrderLeavesAFaultyRosterUntouched) {
    createWindow();
    setSeatCount(f(), 20);
    const std::vector<std::pair<std::vector<Row>, QString>> cases = {
        {{{"01", "3"}, {"02", "21"}, {"03", ""}},
         QStringLiteral("くじ順02番の座席番号に正しい座席番号以外が入力されています")},
        {{{"01", "4"}, {"02", "4"}}, QStringLiteral("名簿の座席番号4が重複しています。")},
    };
    for (const auto &[rows, message] : cases) {
        fillRoster(f(), rows);
        const QStringList before = rosterRows(f());
        ModalDriver driver;
        driver.press(QStringLiteral("OK"));
        f().ToolButton4->click();
        ASSERT_EQ(driver.seen().size(), 1);
        EXPECT_EQ(driver.seen().first().caption, QStringLiteral("エラー"));
        EXPECT_EQ(driver.seen().first().text, message);
        EXPECT_EQ(rosterRows(f()), before);
        EXPECT_FALSE(f().Modified);
    }
}
