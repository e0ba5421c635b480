#include "platform/SjisText.h"
#include "roster/RosterCsv.h"

#include <QFile>

#include <gtest/gtest.h>

#include <random>

using rostercsv::Fields;

namespace {

// Shift-JIS bytes of a UTF-8 literal.
QByteArray s(const char *utf8) {
    return SjisText::lit(utf8).bytes();
}

QByteArray fixture(const char *name) {
    QFile f(QStringLiteral(KIRABO_TEST_DATA "/roster/") + QLatin1String(name));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name;
    return f.readAll();
}

// Rows as readable text, so that a failure shows every field.
std::string show(const std::vector<Fields> &rows) {
    QByteArray out;
    for (const Fields &row : rows) {
        out += '[';
        for (const QByteArray &f : row)
            out += '<' + f.toPercentEncoding(" \",") + '>';
        out += ']';
    }
    return out.toStdString();
}

} // namespace

// Each fixture file shows one rule of the reader; the rows are what the
// student lines read as, header line dropped.
TEST(RosterReader, ReadsEachFixtureIntoItsStudentFields) {
    const std::vector<Fields> twoStudents = {{"1", "12", s("山田"), s("やまだ"), "3"},
                                             {"2", "5", s("川本"), s("かわもと"), ""}};
    const struct {
        const char *file;
        std::vector<Fields> rows;
    } cases[] = {
        {"crlf.csv", twoStudents},
        {"lf_only.csv", twoStudents},
        {"no_final_eol.csv", twoStudents},
        {"blank_lines.csv", twoStudents},
        {"no_header.csv", {twoStudents[1]}},
        {"empty.csv", {}},
        {"header_only.csv", {}},
        {"blank_only.csv", {}},
        {"bare_blanks.csv",
         {{"1", "12", s("山田"), s("太郎"), s("やまだ")},
          {"2", "5", s("川本　花子"), s("かわもと"), "4"},
          {"3", "7", s("田中"), s("たなか"), "8"}}},
        {"quotes.csv", {{"1, 2", "a \"b\" c", "x\"y\"z", "ab", "cd"}, {"tail, \"open"}}},
        {"field_counts.csv",
         {{"1", "2", "3", "4", ""},
          {"1", "2", "3", "4"},
          {"", "", "", "", ""},
          {"1", "2", "3"},
          {"1", "2", "3", "4", "5"}}},
        {"ctrl_z_line.csv", {{"1", "a"}}},
        {"ctrl_z_inside.csv", {{"1", "a"}, {"2", "b"}, {"3", "c"}}},
        {"cr_inside.csv", {{"1", "ab", "c"}}},
        {"nul_bytes.csv", {{"1", "ab"}, {"2", "x"}}},
        {"invalid_sjis.csv",
         {{"1", "\xff\x81", "\x82\xa0\x82", "\x80\xa0", "5"}, {"2", "\xfd\xfe", "\x81", "\x81\x81", ""}}},
        {"utf8.csv", {{"1", "12", "山田", "やまだ", "3"}, {"2", "5", "Zoë😀", "ぞえ", "4"}}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(show(rostercsv::readStudents(fixture(c.file))), show(c.rows)) << c.file;
}

TEST(RosterReader, HandsOverLinesWithoutLengthLimitOrCarriageReturns) {
    QByteArray file = "h\r\n";
    const QByteArray longName(3'000'000, 'x');
    file += "1," + longName + "\r\r\n";
    const std::vector<QByteArray> lines = rostercsv::readLines(file);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "h");
    EXPECT_EQ(lines[1], "1," + longName);
}

TEST(RosterSplit, SplitsLineTextIntoFields) {
    const struct {
        QByteArray line;
        Fields fields;
    } cases[] = {
        {"", {}},
        {"  \t ", {}},
        {"a", {"a"}},
        {"a,,b", {"a", "", "b"}},
        {",", {"", ""}},
        {"a,", {"a", ""}},
        {"a, ", {"a"}},
        {"a ,\tb", {"a", "b"}},
        {"a b\tc", {"a", "b", "c"}},
        {"\"a b\" c", {"a b", "c"}},
        {"\"\"", {""}},
        {"\"\",\"\"", {"", ""}},
        {"\"a\"\"\"", {"a\""}},
        {"\"a\"b", {"a", "b"}},
        {"\"open, to end", {"open, to end"}},
        // Only the five fields the grid keeps are taken.
        {"1,2,3,4,5,6,7", {"1", "2", "3", "4", "5"}},
        {"1,2,3,4,", {"1", "2", "3", "4", ""}},
        {"1,2,3,4,5,", {"1", "2", "3", "4", "5"}},
        {"1 2 3 4 \"5 6\" 7", {"1", "2", "3", "4", "5 6"}},
        {QByteArray(1'000'000, ','), {"", "", "", "", ""}},
        {"a\x01" "b", {"a", "b"}},
        {QByteArray("a,b\0c,d", 7), {"a", "b"}},
        // The second byte of "表" is 0x5C and of "ソ" 0x83 0x5C: bytes, not blanks.
        {s("表,ソ"), {s("表"), s("ソ")}},
        {s("全角　空白"), {s("全角　空白")}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(show({rostercsv::splitFields(c.line)}), show({c.fields})) << c.line.left(80).toPercentEncoding().toStdString();
}

TEST(RosterWriter, QuotesOnlyCellsThatWouldNotReadBack) {
    const struct {
        Fields cells;
        QByteArray line;
    } cases[] = {
        {{"", "", "", "", ""}, ",,,,\r\n"},
        {{"1", "12", s("山田"), s("やまだ"), "3"}, s("1,12,山田,やまだ,3\r\n")},
        {{"a b", "", "", "", ""}, "\"a b\",,,,\r\n"},
        {{"say \"hi\"", "", "", "", ""}, "\"say \"\"hi\"\"\",,,,\r\n"},
        {{"\"", "", "", "", ""}, "\"\"\"\",,,,\r\n"},
        {{"a,b", "\t", "\x01", "\x7f", ""}, "\"a,b\",\"\t\",\"\x01\",\x7f,\r\n"},
        {{s("山田　花子"), s("表"), "", "", ""}, s("山田　花子,表,,,\r\n")},
        {{QByteArray("a\0b", 3), "", "", "", ""}, QByteArray("a\0b,,,,\r\n", 9)},
    };
    for (const auto &c : cases) {
        QByteArray out;
        rostercsv::appendRow(out, c.cells);
        EXPECT_EQ(out, c.line) << c.line.toPercentEncoding().toStdString();
    }
}

// Any roster the writer makes reads back into the same cells, whatever bytes
// the cells hold other than NUL, CR, LF and Ctrl-Z.
TEST(RosterRoundTrip, WrittenRostersReadBackIntoTheSameCells) {
    std::mt19937 gen(20261210);
    // Bytes the reader and writer treat specially come often.
    const QByteArray special(" \t\",\x01\x1f\x81\x82\x5c\xff", 10);
    auto randomByte = [&]() -> char {
        for (;;) {
            char c = (gen() % 3 == 0) ? special[static_cast<qsizetype>(gen() % special.size())]
                                      : static_cast<char>(gen() % 256);
            if (c != '\0' && c != '\r' && c != '\n' && c != '\x1a')
                return c;
        }
    };
    for (int roster = 0; roster < 500; ++roster) {
        std::vector<Fields> rows(gen() % 12);
        QByteArray file;
        rostercsv::appendRow(file, Fields{"h1", "h 2", "", "\"", ","});
        for (Fields &row : rows) {
            for (int c = 0; c < 5; ++c) {
                QByteArray cell;
                const unsigned len = gen() % 4 == 0 ? 0 : gen() % 10;
                for (unsigned i = 0; i < len; ++i)
                    cell += randomByte();
                row.push_back(cell);
            }
            rostercsv::appendRow(file, row);
        }
        ASSERT_EQ(show(rostercsv::readStudents(file)), show(rows)) << "roster " << roster;
    }
}
