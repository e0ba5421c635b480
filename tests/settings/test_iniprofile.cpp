#include "platform/Errors.h"
#include "platform/IniProfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#ifndef _WIN32
#include <unistd.h>
#endif

// Failures show the bytes, escaped.
void PrintTo(const QByteArray &bytes, std::ostream *os) {
    *os << '"';
    for (const char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (c >= 0x20 && c < 0x7F && c != '\\')
            *os << ch;
        else
            *os << "\\x" << "0123456789ABCDEF"[c >> 4] << "0123456789ABCDEF"[c & 15];
    }
    *os << '"';
}

namespace {

// What the system answers for a missing file and for a folder read as one.
#ifdef _WIN32
constexpr int fileNotFound = 2; // ERROR_FILE_NOT_FOUND
constexpr int folderGiven = 5;  // ERROR_ACCESS_DENIED
#else
constexpr int fileNotFound = ENOENT;
constexpr int folderGiven = EISDIR;
#endif

SjisText b(const char *bytes) {
    return SjisText(QByteArray(bytes));
}

QByteArray readAll(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

class Ini : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString file() const { return dir.filePath(QStringLiteral("s.ini")); }
    QTemporaryDir dir;
};

struct ReadCase {
    const char *name;
    QByteArray content;
    const char *section;
    const char *key;
    QByteArray expected; // the default "?" where nothing is found
};

TEST_F(Ini, ReadsByTheSyntaxRules) {
    const ReadCase cases[] = {
        {"plain", "[s]\r\nk=v\r\n", "s", "k", "v"},
        {"names ignore ASCII case", "[Sec]\r\nKey=v\r\n", "sEC", "kEY", "v"},
        // 0x83 0x41 and 0x83 0x61 are two katakana; the second byte is no letter.
        {"double-byte names are not case-folded", "[\x83\x41]\r\nk=v\r\n", "\x83\x61", "k", "?"},
        {"double-byte name found", "[\x83\x41]\r\n\x83\x41=v\r\n", "\x83\x41", "\x83\x41", "v"},
        {"first of two equal keys", "[s]\r\nk=1\r\nK=2\r\n", "s", "k", "1"},
        {"first of two equal sections", "[s]\r\nk=1\r\n[S]\r\nk=2\r\n", "s", "k", "1"},
        {"a key only in the second equal section", "[s]\r\na=1\r\n[s]\r\nk=2\r\n", "s", "k", "?"},
        {"blanks and tabs around names and values", " \t[ s ]\t\r\n \tk \t=  v w \t\r\n", "s", "k", "v w"},
        {"full-width space is kept", "[s]\r\nk=\x81\x40v\x81\x40\r\n", "s", "k", "\x81\x40v\x81\x40"},
        {"double quotes removed", "[s]\r\nk=\" v \"\r\n", "s", "k", " v "},
        {"single quotes removed", "[s]\r\nk='v'\r\n", "s", "k", "v"},
        {"only one pair removed", "[s]\r\nk=\"\"v\"\"\r\n", "s", "k", "\"v\""},
        {"unmatched quotes kept", "[s]\r\nk=\"v'\r\n", "s", "k", "\"v'"},
        {"a lone quote kept", "[s]\r\nk=\"\r\n", "s", "k", "\""},
        {"empty value", "[s]\r\nk=\r\n", "s", "k", ""},
        {"LF-only lines", "[s]\nj=0\nk=v\n", "s", "k", "v"},
        {"no line end at the end", "[s]\r\nk=v", "s", "k", "v"},
        {"value holding =", "[s]\r\nk=a=b\r\n", "s", "k", "a=b"},
        {"comment is no key", "[s]\r\n;k=v\r\n", "s", "k", "?"},
        {"lines without = are skipped", "[s]\r\nnothing here\r\nk=v\r\n", "s", "k", "v"},
        {"an unclosed header starts no section", "[s]\r\n[0\r\nk=v\r\n", "s", "k", "v"},
        {"unclosed header", "[0\r\nk=v\r\n", "0", "k", "?"},
        {"header named [0", "[[0]\r\nk=v\r\n", "[0", "k", "v"},
        // 0x83 0x5D is one character; its second byte is no bracket.
        {"bracket as second byte", "[\x83]\r\nk=v\r\n", "\x83", "k", "?"},
        {"keys before any section belong to none", "k=v\r\n[s]\r\n", "s", "k", "?"},
        {"UTF-8 byte-order mark before the first section", "\xEF\xBB\xBF[s]\r\nk=v\r\n", "s", "k", "v"},
        {"NUL bytes are bytes", QByteArray("[s]\r\nk=a\0b\r\n\0\0\0", 15), "s", "k", QByteArray("a\0b", 3)},
        {"empty file", "", "s", "k", "?"},
    };
    for (const ReadCase &c : cases) {
        SCOPED_TRACE(c.name);
        writeAll(file(), c.content);
        const IniProfile ini(file());
        EXPECT_EQ(ini.readError(), 0);
        EXPECT_EQ(ini.readString(b(c.section), b(c.key), b("?")).bytes(), c.expected);
    }
}

TEST_F(Ini, MissingFileReadsDefaultsAndReportsIt) {
    const IniProfile ini(file());
    EXPECT_EQ(ini.readError(), fileNotFound);
    EXPECT_EQ(ini.readString(b("s"), b("k"), b("d")).bytes(), "d");
    EXPECT_EQ(ini.readInteger(b("s"), b("k"), 7), 7);
}

TEST_F(Ini, ADirectoryIsNoFile) {
    const IniProfile ini(dir.path());
    EXPECT_EQ(ini.readError(), folderGiven);
    EXPECT_EQ(ini.readString(b("s"), b("k"), b("d")).bytes(), "d");
}

TEST_F(Ini, ValuesAreCutTo2047Bytes) {
    const QByteArray big(1 << 20, 'x');
    writeAll(file(), "[s]\r\nk=" + big + "\r\nafter=1\r\n");
    const IniProfile ini(file());
    EXPECT_EQ(ini.readString(b("s"), b("k"), SjisText()).bytes(), big.left(2047));
    EXPECT_EQ(ini.readString(b("s"), b("after"), SjisText()).bytes(), "1");
}

TEST_F(Ini, ManySectionsReadAndWrite) {
    QByteArray content;
    for (int i = 0; i < 100000; ++i)
        content += "[n" + QByteArray::number(i) + "]\r\nk=" + QByteArray::number(i) + "\r\n";
    writeAll(file(), content);
    {
        IniProfile ini(file());
        EXPECT_EQ(ini.readString(b("n99999"), b("k"), SjisText()).bytes(), "99999");
        ini.writeString(b("n5"), b("k"), b("five"));
        ini.writeString(b("new"), b("k"), b("v"));
        ini.flush();
    }
    QByteArray expected = content;
    expected.replace("[n5]\r\nk=5\r\n", "[n5]\r\nk=five\r\n");
    EXPECT_EQ(readAll(file()), expected + "[new]\r\nk=v\r\n");
}

TEST_F(Ini, IntegersAreIntegerText) {
    const struct {
        QByteArray stored;
        int expected;
    } cases[] = {
        {"1", 1}, {" 1", 1}, {"0x1", 1}, {"$1", 1}, {"\"1\"", 1}, {"-2", -2}, {"0xFFFFFFFF", -1},
        {"2", 2}, {"abc", 99}, {"", 99}, {"1 x", 99}, {"\x82\x50", 99},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.stored.constData());
        writeAll(file(), "[s]\r\nk=" + c.stored + "\r\n");
        EXPECT_EQ(IniProfile(file()).readInteger(b("s"), b("k"), 99), c.expected);
    }
}

struct WriteCase {
    const char *name;
    QByteArray before;
    const char *section;
    const char *key;
    QByteArray value;
    QByteArray after;
};

TEST_F(Ini, WritesChangeOnlyTheKeysLine) {
    const WriteCase cases[] = {
        {"new file", "", "s", "k", "v", "[s]\r\nk=v\r\n"},
        {"replace keeps spacing, line ends and everything else",
         "; top\n[s]\n  k =  old \t\n\n; note\nother=1\n[t]\nk=x\n",
         "s", "k", "new",
         "; top\n[s]\n  k =  new\n\n; note\nother=1\n[t]\nk=x\n"},
        {"same value leaves the line as it is", "[s]\r\nk = \"v\"  \r\n", "s", "k", "v",
         "[s]\r\nk = \"v\"  \r\n"},
        {"names match without regard to case", "[Sec]\r\nKEY=1\r\n", "sec", "key", "2", "[Sec]\r\nKEY=2\r\n"},
        {"first of equal sections and keys", "[s]\r\nk=1\r\nk=2\r\n[s]\r\nk=3\r\n", "s", "k", "9",
         "[s]\r\nk=9\r\nk=2\r\n[s]\r\nk=3\r\n"},
        {"new key after the section's last key, before blank lines and comments",
         "[s]\r\na=1\r\n\r\n; about t\r\n[t]\r\nb=2\r\n", "s", "k", "v",
         "[s]\r\na=1\r\nk=v\r\n\r\n; about t\r\n[t]\r\nb=2\r\n"},
        {"new key in a section without keys", "[s]\r\n; none yet\r\n[t]\r\n", "s", "k", "v",
         "[s]\r\nk=v\r\n; none yet\r\n[t]\r\n"},
        {"new key when the last line has no line end", "[s]\r\na=1", "s", "k", "v", "[s]\r\na=1\r\nk=v\r\n"},
        {"new section at the end, last line ended first", "[s]\na=1", "t", "k", "v",
         "[s]\na=1\r\n[t]\r\nk=v\r\n"},
        {"new section after a last line ending in a lone CR", "[s]\r\na=1\r", "t", "k", "v",
         "[s]\r\na=1\r\n[t]\r\nk=v\r\n"},
        {"new key after a last line ending in a lone CR", "[s]\r\na=1\r", "s", "k", "v",
         "[s]\r\na=1\r\nk=v\r\n"},
        {"new key under a last header ending in a lone CR", "[s]\r", "s", "k", "v", "[s]\r\nk=v\r\n"},
        {"a lone CR inside a line is the line's", "[s]\na=1\rb=2\n", "t", "k", "v",
         "[s]\na=1\rb=2\n[t]\r\nk=v\r\n"},
        {"new section after a trailing comment", "[s]\r\na=1\r\n; end\r\n", "t", "k", "v",
         "[s]\r\na=1\r\n; end\r\n[t]\r\nk=v\r\n"},
        {"byte-order mark and binary lines stay", QByteArray("\xEF\xBB\xBF[s]\r\n\0\x01\r\n", 11), "s", "k",
         "v", QByteArray("\xEF\xBB\xBF[s]\r\nk=v\r\n\0\x01\r\n", 16)},
        {"blank at an end is quoted", "", "s", "k", " v", "[s]\r\nk=\" v\"\r\n"},
        {"tab at an end is quoted", "", "s", "k", "v\t", "[s]\r\nk=\"v\t\"\r\n"},
        {"a quoted-looking value is quoted", "", "s", "k", "'v'", "[s]\r\nk=\"'v'\"\r\n"},
        {"inner blanks and lone quotes are not", "", "s", "k", "a \"b", "[s]\r\nk=a \"b\r\n"},
    };
    for (const WriteCase &c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(file());
        if (!c.before.isEmpty())
            writeAll(file(), c.before);
        IniProfile ini(file());
        ini.writeString(b(c.section), b(c.key), SjisText(c.value));
        ini.flush();
        EXPECT_EQ(readAll(file()), c.after);
    }
}

TEST_F(Ini, EveryValueWrittenReadsBackUnchanged) {
    const QByteArray values[] = {
        "", " ", "  a  ", "\t", "\"", "\"\"", "''", "\"a\"", "'a'", "\"a'", "a\"", "=", "a=b", ";x", "[x]",
        "\x81\x40", "\x81\x7E", "\x83\x5D", QByteArray("a\0b", 3), "\x83",
    };
    IniProfile ini(file());
    int i = 0;
    for (const QByteArray &v : values)
        ini.writeString(b("s"), SjisText(QByteArray::number(i++)), SjisText(v));
    ini.flush();
    const IniProfile back(file());
    i = 0;
    for (const QByteArray &v : values) {
        SCOPED_TRACE(v.toHex().constData());
        EXPECT_EQ(back.readString(b("s"), SjisText(QByteArray::number(i++)), b("?")).bytes(), v);
    }
}

// The start-up file as an editor that ends lines with CR alone leaves it:
// the program's save must not glue the layout onto the title, and every
// later save must succeed.
TEST_F(Ini, SavesAfterALastLineEndingInALoneCarriageReturnKeepEveryKey) {
    const SjisText settings = SjisText::lit("設定");
    const SjisText title = SjisText::lit("印刷タイトル");
    const QByteArray fixture = readAll(QStringLiteral(KIRABO_TEST_DATA "/settings/lone_cr.ini"));
    ASSERT_EQ(fixture, "[" + settings.bytes() + "]\r\n" + title.bytes() + "=x\r");
    writeAll(file(), fixture);
    for (int save = 0; save < 2; ++save) {
        SCOPED_TRACE(save);
        IniProfile ini(file());
        EXPECT_EQ(ini.readString(settings, title, b("?")).bytes(), "x");
        for (int r = 0; r < 8; ++r)
            for (int c = 0; c < 6; ++c)
                ini.writeString(SjisText(QByteArray::number(c)), SjisText(QByteArray::number(r)),
                                SjisText(QByteArray::number(c * 8 + r + 1)));
        ini.writeString(settings, title, b("x"));
        ini.writeInteger(settings, SjisText::lit("お隣チェック"), 0);
        ASSERT_NO_THROW(ini.flush());
    }
    const IniProfile back(file());
    EXPECT_EQ(back.readString(settings, title, b("?")).bytes(), "x");
    for (int c = 0; c < 6; ++c)
        for (int r = 0; r < 8; ++r)
            EXPECT_EQ(back.readString(SjisText(QByteArray::number(c)), SjisText(QByteArray::number(r)), b("?")).bytes(),
                      QByteArray::number(c * 8 + r + 1));
    EXPECT_TRUE(readAll(file()).startsWith("[" + settings.bytes() + "]\r\n" + title.bytes() + "=x\r\n"));
}

// A name may end in a double-byte character whose second byte could also
// start one.
TEST_F(Ini, NamesEndingInADoubleByteCharacterReadBack) {
    // 0x88 0x9F and 0x81 0x81 are single characters.
    {
        IniProfile ini(file());
        ini.writeString(b("\x81\x81"), b("\x88\x9F"), b("v"));
        ini.writeString(b("a\x88\x9F"), b("\x81\x81\x81\x81"), b("w"));
        ini.flush();
    }
    const IniProfile back(file());
    EXPECT_EQ(back.readString(b("\x81\x81"), b("\x88\x9F"), b("?")).bytes(), "v");
    EXPECT_EQ(back.readString(b("a\x88\x9F"), b("\x81\x81\x81\x81"), b("?")).bytes(), "w");
}

TEST_F(Ini, WritesWaitForTheFlush) {
    writeAll(file(), "[s]\r\nk=1\r\n");
    {
        IniProfile ini(file());
        ini.writeString(b("s"), b("k"), b("2"));
        ini.writeInteger(b("s"), b("n"), -5);
        EXPECT_EQ(ini.readString(b("s"), b("k"), SjisText()).bytes(), "2");
        EXPECT_EQ(readAll(file()), "[s]\r\nk=1\r\n");
    }
    // An error that ends the writing routine still leaves its writes saved.
    EXPECT_EQ(readAll(file()), "[s]\r\nk=2\r\nn=-5\r\n");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList{QStringLiteral("s.ini")});
}

TEST_F(Ini, ARefusedWriteRaisesAndLeavesTheOldFile) {
    // The parent is a regular file: no user, root included, can write there.
    writeAll(dir.filePath(QStringLiteral("plain")), "x");
    const QString under = dir.filePath(QStringLiteral("plain/s.ini"));
    IniProfile ini(under);
    ini.writeString(b("s"), b("k"), b("v"));
    try {
        ini.flush();
        FAIL() << "no error";
    } catch (const SettingsWriteError &e) {
        EXPECT_EQ(e.message(), under + QStringLiteral(" に書き込めません"));
    }

    // A folder that is not there.
    IniProfile nowhere(dir.filePath(QStringLiteral("none/s.ini")));
    nowhere.writeString(b("s"), b("k"), b("v"));
    EXPECT_THROW(nowhere.flush(), SettingsWriteError);

    // A folder standing where the file should be stays, and nothing is left beside it.
    const QString folder = dir.filePath(QStringLiteral("taken.ini"));
    ASSERT_TRUE(QDir().mkdir(folder));
    writeAll(folder + QStringLiteral("/inside"), "keep");
    IniProfile taken(folder);
    taken.writeString(b("s"), b("k"), b("v"));
    EXPECT_THROW(taken.flush(), SettingsWriteError);
    EXPECT_EQ(readAll(folder + QStringLiteral("/inside")), "keep");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              (QStringList{QStringLiteral("plain"), QStringLiteral("taken.ini")}));
}

#ifndef _WIN32
TEST_F(Ini, AFileThatCannotBeReadIsNotReplaced) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions refuse nothing to root";
    writeAll(file(), "[s]\r\nmine=1\r\n");
    QFile::setPermissions(file(), QFileDevice::WriteOwner);
    IniProfile ini(file());
    EXPECT_EQ(ini.readError(), EACCES);
    ini.writeString(b("s"), b("k"), b("v"));
    EXPECT_THROW(ini.flush(), SettingsWriteError);
    QFile::setPermissions(file(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    EXPECT_EQ(readAll(file()), "[s]\r\nmine=1\r\n");
}
#endif

TEST_F(Ini, LineBreaksAndNamesTheSyntaxCannotHoldAreRefused) {
    const struct {
        const char *section;
        const char *key;
        const char *value;
    } cases[] = {
        {"s", "k", "a\nb"}, {"s", "k", "a\rb"}, {"s]", "k", "v"}, {"s", "k=", "v"},
        {"s", ";k", "v"},   {"s", "[k", "v"},   {" s", "k", "v"}, {"s", "k ", "v"},
        // A lead byte at the end of a name would take the "]" or "=" after it.
        {"s\x81", "k", "v"}, {"\xE0", "k", "v"}, {"\x81\x81\x9F", "k", "v"}, {"s", "k\x81", "v"},
        {"s", "\x88\x9F\xFC", "v"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE((c.section + QByteArray("|") + c.key + "|" + c.value).constData());
        IniProfile ini(file());
        EXPECT_THROW(ini.writeString(b(c.section), b(c.key), b(c.value)), SettingsWriteError);
        ini.flush();
        EXPECT_FALSE(QFile::exists(file()));
    }
}

TEST_F(Ini, RemovingASectionTakesAllItsLinesAndLeavesTheRest) {
    const WriteCase cases[] = {
        {"the last section", "[s]\r\na=1\r\n[t]\r\nk=1\r\n; note\r\n", "t", "", "", "[s]\r\na=1\r\n"},
        {"a section in the middle, by any case", "[s]\na=1\n[T]\nk=1\n\n[u]\nb=2", "t", "", "", "[s]\na=1\n[u]\nb=2"},
        {"every section of the name", "[t]\r\nk=1\r\n[s]\r\na=1\r\n[t]\r\nk=2\r\n", "t", "", "", "[s]\r\na=1\r\n"},
        {"the lines before any section stay", "; top\r\n[t]\r\nk=1\r\n", "t", "", "", "; top\r\n"},
        {"a section not there changes nothing", "[s]\r\na=1\r\n", "t", "", "", "[s]\r\na=1\r\n"},
    };
    for (const WriteCase &c : cases) {
        SCOPED_TRACE(c.name);
        writeAll(file(), c.before);
        IniProfile ini(file());
        ini.removeSection(b(c.section));
        EXPECT_FALSE(ini.hasSection(b(c.section)));
        ini.flush();
        EXPECT_EQ(readAll(file()), c.after);
    }
    // A section written after the removal goes at the end, and reads.
    writeAll(file(), "[t]\r\nk=1\r\n[s]\r\na=1\r\n");
    IniProfile ini(file());
    EXPECT_TRUE(ini.hasSection(b("T")));
    ini.removeSection(b("t"));
    ini.writeString(b("t"), b("k"), b("2"));
    EXPECT_EQ(ini.readString(b("s"), b("a"), b("?")).bytes(), "1");
    EXPECT_EQ(ini.readString(b("t"), b("k"), b("?")).bytes(), "2");
    ini.flush();
    EXPECT_EQ(readAll(file()), "[s]\r\na=1\r\n[t]\r\nk=2\r\n");
}

} // namespace
