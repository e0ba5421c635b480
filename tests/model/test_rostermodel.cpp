#include "model/ModelFixture.h"

#include "roster/PastedText.h"

#include <QStringList>

namespace {

// The students as lines "order,attendance,name,reading,seat", for failure
// messages that show the roster.
QStringList lines(const Roster &roster) {
    QStringList out;
    for (int r = 1; r < roster.rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < roster::columns; ++c)
            cells << roster.cell(c, r).toUnicode();
        out << cells.join(QLatin1Char(','));
    }
    return out;
}

// A roster of these student lines.
void fill(Roster &roster, const QStringList &students) {
    roster.writeHeader();
    roster.cells().setRowCount(static_cast<int>(students.size()) + 1);
    for (int r = 1; r <= students.size(); ++r) {
        const QStringList cells = students.at(r - 1).split(QLatin1Char(','));
        for (int c = 0; c < roster::columns; ++c) {
            SjisText text;
            ASSERT_TRUE(SjisText::tryFromUnicode(cells.value(c), text));
            roster.setCell(c, r, text);
        }
    }
}

std::string show(const QStringList &l) {
    return l.join(QStringLiteral(" | ")).toStdString();
}

} // namespace

TEST(PastedText, SplitsASpreadsheetsBlockIntoRowsOfCells) {
    const struct {
        const char *what;
        QString text;
        std::vector<QStringList> rows;
    } cases[] = {
        {"nothing", QString(), {}},
        {"one cell", QStringLiteral("山田"), {{QStringLiteral("山田")}}},
        {"lines with LF, the last ended", QStringLiteral("a\tb\nc\td\n"), {{"a", "b"}, {"c", "d"}}},
        {"lines with CR LF, the last not ended", QStringLiteral("a\tb\r\nc\td"), {{"a", "b"}, {"c", "d"}}},
        {"lines with CR alone", QStringLiteral("a\rb\r"), {{"a"}, {"b"}}},
        {"empty cells and an empty line", QStringLiteral("\ta\t\n\nb\n"), {{"", "a", ""}, {""}, {"b"}}},
        {"a quoted cell holding a tab, a line break and a quote",
         QStringLiteral("\"山田\t太郎\r\nやまだ \"\"たろう\"\"\"\tx\n"),
         {{QStringLiteral("山田\t太郎 やまだ \"たろう\""), "x"}}},
        {"text after the closing quote", QStringLiteral("\"a\"b\tc"), {{"ab", "c"}}},
        {"a quote never closed is text", QStringLiteral("\"a\tb\nc"), {{"\"a", "b"}, {"c"}}},
        {"a quote inside a cell is text", QStringLiteral("a\"b\"\tc"), {{"a\"b\"", "c"}}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(pastedtext::split(c.text), c.rows) << c.what;
}

TEST(RosterMade, ANewRosterHasTheHeaderAndNumberedEmptyRows) {
    Roster roster;
    // A longer class before: none of its text may come back.
    fill(roster, {"05,7,山田,やまだ,3", "06,8,川本,かわもと,4", "07,9,田中,たなか,5", "08,10,林,はやし,6"});
    roster.makeNew(3);
    EXPECT_EQ(roster.bytes(), SjisText::lit("くじ順,出席番号,氏名,ふりがな,座席番号\r\n"
                                            "01,1,,,\r\n02,2,,,\r\n03,3,,,\r\n")
                                  .bytes());
    roster.cells().setRowCount(5);
    EXPECT_EQ(lines(roster).mid(3), QStringList({",,,,"})) << show(lines(roster));

    roster.makeNew(40);
    EXPECT_EQ(roster.studentCount(), 40);
    EXPECT_EQ(lines(roster).last(), QStringLiteral("40,40,,,"));
}

TEST(RosterMade, RowsAddedAndRemovedKeepTheNumbersSensible) {
    using A = Roster::Attendance;
    enum Op { Insert, Remove };
    const struct {
        const char *what;
        QStringList before;
        Op op;
        int first, last;
        A attendance;
        QStringList after;
    } cases[] = {
        {"a row inserted into the sequence moves the rows below on",
         {"01,1,a,,", "02,2,b,,", "03,3,c,,"}, Insert, 2, 2, A::FollowRows,
         {"01,1,a,,", "02,2,,,", "03,3,b,,", "04,4,c,,"}},
        {"an attendance number kept: the new student takes the next free one",
         {"01,1,a,,", "02,2,b,,", "03,3,c,,"}, Insert, 2, 2, A::Kept,
         {"01,1,a,,", "02,4,,,", "03,2,b,,", "04,3,c,,"}},
        {"numbers typed out of sequence stay; the new row takes the next free ones",
         {"22,1,a,,", "06,2,b,,", "16,5,c,,"}, Insert, 4, 4, A::FollowRows,
         {"22,1,a,,", "06,2,b,,", "16,5,c,,", "23,6,,,"}},
        {"a row inserted into the starting empty row's roster", {",,,,"}, Insert, 1, 1, A::FollowRows,
         {"01,1,,,", ",,,,"}},
        {"rows removed from the sequence close it up",
         {"01,1,a,,", "02,2,b,,", "03,3,c,,", "04,4,d,,"}, Remove, 2, 3, A::FollowRows,
         {"01,1,a,,", "02,2,d,,"}},
        {"attendance numbers kept leave the gap",
         {"01,1,a,,", "02,2,b,,", "03,3,c,,", "04,4,d,,"}, Remove, 2, 3, A::Kept,
         {"01,1,a,,", "02,4,d,,"}},
        {"numbers typed out of sequence stay as they are",
         {"22,1,a,,", "06,2,b,,", "16,3,c,,"}, Remove, 1, 1, A::FollowRows,
         {"06,1,b,,", "16,2,c,,"}},
        {"the sequence in another form of integer text closes up in the program's form",
         {"1,01,a,,", "2,02,b,,", "3,03,c,,"}, Remove, 1, 1, A::FollowRows,
         {"01,1,b,,", "02,2,c,,"}},
        {"removing every student leaves one empty row", {"01,1,a,,", "02,2,b,,"}, Remove, 1, 2,
         A::FollowRows, {",,,,"}},
        {"rows beyond the students are no rows to remove", {"01,1,a,,", "02,2,b,,"}, Remove, 3, 9,
         A::FollowRows, {"01,1,a,,", "02,2,b,,"}},
    };
    for (const auto &c : cases) {
        Roster roster;
        fill(roster, c.before);
        if (c.op == Insert)
            EXPECT_EQ(roster.insertRow(c.first, c.attendance), c.first) << c.what;
        else
            roster.removeRows(c.first, c.last, c.attendance);
        EXPECT_EQ(lines(roster), c.after) << c.what << ": " << show(lines(roster));
    }
}

// A row removed from the end and added again comes back empty, not with
// the text of the student who left.
TEST(RosterMade, ARowAddedAfterARemovalStartsEmpty) {
    Roster roster;
    fill(roster, {"01,1,a,あ,5", "02,2,b,い,6"});
    roster.removeRows(2, 2, Roster::Attendance::Kept);
    roster.insertRow(2, Roster::Attendance::Kept);
    EXPECT_EQ(lines(roster), QStringList({"01,1,a,あ,5", "02,2,,,"}));
}

TEST(RosterMade, APasteWritesCellByCellAndGrowsTheRoster) {
    const struct {
        const char *what;
        QStringList before;
        int col, row;
        QString text;
        QStringList after;
    } cases[] = {
        {"names into the name column of a new roster", {"01,1,,,", "02,2,,,"}, roster::nameCol, 1,
         QStringLiteral("山田\r\n川本\r\n"), {"01,1,山田,,", "02,2,川本,,"}},
        {"a block past the last row adds numbered rows", {"01,1,,,"}, roster::nameCol, 1,
         QStringLiteral("山田\tやまだ\n川本\tかわもと\n田中\tたなか\n"),
         {"01,1,山田,やまだ,", "02,2,川本,かわもと,", "03,3,田中,たなか,"}},
        {"rows added after typed numbers take the next free ones", {"22,7,a,,"}, roster::nameCol, 2,
         QStringLiteral("b\nc"), {"22,7,a,,", "23,8,b,,", "24,9,c,,"}},
        {"numbers the block gives stand; the other rows number on from them", {"01,1,a,,"},
         roster::orderCol, 2, QStringLiteral("05\t\tb\n\t\tc\n"), {"01,1,a,,", "05,2,b,,", "06,3,c,,"}},
        {"cells right of the last column are left out", {"01,1,,,"}, roster::readingCol, 1,
         QStringLiteral("やまだ\t3\t余り\t余り"), {"01,1,,やまだ,3"}},
        {"whole rows copied from another roster", {",,,,"}, roster::orderCol, 1,
         QStringLiteral("1\t12\t山田 太郎\tやまだ\t\n2\t5\t川本\tかわもと\t4\n"),
         {"1,12,山田 太郎,やまだ,", "2,5,川本,かわもと,4"}},
        {"an empty cell empties the cell", {"01,1,a,,"}, roster::nameCol, 1, QStringLiteral("\n"),
         {"01,1,,,"}},
        {"nothing to paste changes nothing", {"01,1,a,,"}, roster::nameCol, 1, QString(), {"01,1,a,,"}},
    };
    for (const auto &c : cases) {
        Roster roster;
        fill(roster, c.before);
        QString bad;
        EXPECT_TRUE(roster.paste(c.col, c.row, pastedtext::split(c.text), bad)) << c.what;
        EXPECT_EQ(lines(roster), c.after) << c.what << ": " << show(lines(roster));
    }
}

// All or nothing: a paste whose last cell Shift-JIS cannot hold changes not
// even the cells before it, nor the row count.
TEST(RosterMade, APasteWithTextShiftJisCannotHoldChangesNothing) {
    Roster roster;
    fill(roster, {"01,1,a,,", "02,2,b,,"});
    const QByteArray before = roster.bytes();
    const unsigned long long revision = roster.cells().revision();
    QString bad;
    EXPECT_FALSE(roster.paste(roster::nameCol, 1, pastedtext::split(QStringLiteral("山田\n川本\n田中\n吉田\n𠮷田😀\n")),
                              bad));
    EXPECT_EQ(bad, QStringLiteral("𠮷"));
    EXPECT_EQ(roster.bytes(), before);
    EXPECT_EQ(roster.rowCount(), 3);
    EXPECT_EQ(roster.cells().revision(), revision);
}
