#include "draw/DrawTest.h"
#include "platform/System.h"
#include "print/PrintTools.h"
#include "roster/Columns.h"

#include <QCheckBox>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTabWidget>
#include <QToolButton>
#include <QtTest/QTest>

#include <csignal>
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

// Bad input and failing saves through the real window: a clear message, and
// nothing lost.
namespace {

QByteArray hashOf(const QString &file) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(&f);
    return hash.result();
}

// A roster of 48 students in Shift-JIS; each line is made by the function.
QByteArray rosterOf48(const std::function<QByteArray(int)> &line) {
    QByteArray out = sj("くじ順,出席番号,氏名,ふりがな,座席番号\r\n").bytes();
    for (int i = 1; i <= 48; ++i)
        out += line(i) + "\r\n";
    return out;
}

QByteArray student(int i, const QByteArray &seat = {}) {
    const QByteArray two = QByteArray::number(i).rightJustified(2, '0');
    return two + ',' + QByteArray::number(i) + ',' + sj("生徒").bytes() + two + ',' + sj("せいと").bytes() + two + ','
           + seat;
}

QByteArray utf16le(const QString &s) {
    QByteArray out("\xFF\xFE");
    for (const QChar ch : s)
        out += char(ch.unicode() & 0xFF), out += char(ch.unicode() >> 8);
    return out;
}

// A numbered layout of 48 seats whose cell (0, 0) holds the given text.
QByteArray layoutWithFirstCell(const QByteArray &first) {
    QByteArray out;
    for (int c = 0; c < 6; ++c) {
        out += "[" + QByteArray::number(c) + "]\r\n";
        for (int r = 0; r < 8; ++r)
            out += QByteArray::number(r) + "=" + (c == 0 && r == 0 ? first : QByteArray::number(8 * c + r + 1)) + "\r\n";
    }
    return out;
}

enum class RosterEnd {
    Drawn,        // prepared, and every student draws a seat
    CountRefused, // the status line says the numbers do not match
    CheckRefused, // the seat check's box, then the status line
};

struct Hostile {
    const char *name;
    std::function<QByteArray()> roster;
    std::function<QByteArray()> settings; // empty: the same bytes as the roster
    RosterEnd end;
    // What the named settings file shows once opened: the print title and
    // the text of layout cell (0, 0). Names are Shift-JIS: a UTF-8 file's
    // "設定" is another section, and its title is not found.
    std::function<QString()> title;
    const char *firstCell; // its bytes
};

QString defaultTitle() {
    return QStringLiteral("座席表");
}

QByteArray iniTitled(const QByteArray &title) {
    return sj("[設定]\r\n印刷タイトル=").bytes() + title + "\r\n";
}

// clang-format off
const Hostile hostileFiles[] = {
    {"Empty", [] { return QByteArray(); }, {}, RosterEnd::CountRefused, defaultTitle, ""},
    {"Binary",
     [] {
         QRandomGenerator gen(9);
         QByteArray out(256 * 1024, Qt::Uninitialized);
         for (char &c : out)
             c = static_cast<char>(gen.bounded(256));
         return out;
     },
     {}, RosterEnd::CountRefused, defaultTitle, ""},
    {"NulBytes",
     [] { return QByteArray(4096, '\0') + rosterOf48([](int i) { return student(i).replace(sj("生徒").bytes(), sj("生徒").bytes() + '\0'); }); },
     [] { return QByteArray(4096, '\0') + "\r\n" + iniTitled(QByteArray("ab\0cd", 5)); },
     RosterEnd::Drawn, [] { return QStringLiteral("ab") + QChar(0) + QStringLiteral("cd"); }, ""},
    {"Utf8",
     [] { return rosterOf48([](int i) { return QByteArray::number(i) + ",1,生徒,せいと,"; }); },
     [] { return QByteArray("[設定]\r\n印刷タイトル=3年2組\r\n[0]\r\n0=×\r\n"); },
     RosterEnd::Drawn, defaultTitle, "\xC3\x97"},
    {"Utf8WithByteOrderMark",
     [] { return "\xEF\xBB\xBF" + rosterOf48([](int i) { return QByteArray::number(i) + ",1,生徒,せいと,"; }); },
     [] { return QByteArray("\xEF\xBB\xBF[設定]\r\n印刷タイトル=3年2組\r\n[0]\r\n0=×\r\n"); },
     RosterEnd::Drawn, defaultTitle, "\xC3\x97"},
    {"Utf16",
     [] {
         QString text = QStringLiteral("くじ順,出席番号,氏名,ふりがな,座席番号\r\n");
         for (int i = 1; i <= 48; ++i)
             text += QStringLiteral("%1,%1,生徒,せいと,\r\n").arg(i);
         return utf16le(text);
     },
     [] { return utf16le(QStringLiteral("[設定]\r\n印刷タイトル=3年2組\r\n[0]\r\n0=×\r\n")); },
     RosterEnd::Drawn, defaultTitle, ""},
    {"InvalidShiftJis",
     [] {
         return rosterOf48([](int i) {
             static const QByteArray odd[] = {"\x81\x20", "\xA0", "\xFD\xFE\xFF", "\x82", "\x80\x81"};
             return QByteArray::number(i) + ",1," + odd[i % 5] + "," + odd[(i + 1) % 5] + ",";
         });
     },
     [] { return iniTitled("\xFD\x82") + "[0]\r\n0=\x81\r\n"; },
     RosterEnd::Drawn, [] { return SjisText(QByteArray("\xFD\x82")).toUnicode(); }, "\x81"},
    // A thousand students whose names are 100 KB each.
    {"HundredMegabytes",
     [] {
         QByteArray out = sj("くじ順,出席番号,氏名,ふりがな,座席番号\r\n").bytes();
         out.reserve(101 * 1024 * 1024);
         const QByteArray name(100 * 1024, 'n');
         for (int i = 1; i <= 1000; ++i)
             out += QByteArray::number(i) + ',' + QByteArray::number(i) + ',' + name + ",r,\r\n";
         return out;
     },
     {}, RosterEnd::CountRefused, defaultTitle, ""},
    {"OneTenMegabyteLine",
     [] { return sj("くじ順,出席番号,氏名,ふりがな,座席番号\r\n1,1,").bytes() + QByteArray(10 * 1024 * 1024, 'n') + ",r,\r\n"; },
     {}, RosterEnd::CountRefused, defaultTitle, ""},
    {"LinesOfTenThousandCommas", [] { return rosterOf48([](int) { return QByteArray(10000, ','); }); }, {},
     RosterEnd::Drawn, defaultTitle, ""},
    {"IniOfHundredThousandSections",
     [] {
         QByteArray out;
         for (int i = 0; i < 100000; ++i)
             out += "[s" + QByteArray::number(i) + "]\r\nk=v\r\n";
         return out + layoutWithFirstCell("1");
     },
     {}, RosterEnd::CountRefused, defaultTitle, "1"},
    {"IniWithOneMegabyteValue", [] { return iniTitled(QByteArray(1 << 20, 'T')); }, {}, RosterEnd::CountRefused,
     [] { return QString(2047, QLatin1Char('T')); }, ""},
    {"SeatHex7FFFFFFF", [] { return rosterOf48([](int i) { return student(i, i == 1 ? "$7FFFFFFF" : ""); }); },
     [] { return layoutWithFirstCell("$7FFFFFFF"); }, RosterEnd::CheckRefused, defaultTitle, "$7FFFFFFF"},
    {"SeatMinusZero", [] { return rosterOf48([](int i) { return student(i, i == 1 ? "-0" : ""); }); },
     [] { return layoutWithFirstCell("-0"); }, RosterEnd::CheckRefused, defaultTitle, "-0"},
    {"SeatFullWidth48", [] { return rosterOf48([](int i) { return student(i, i == 1 ? sj("４８").bytes() : ""); }); },
     [] { return layoutWithFirstCell(sj("４８").bytes()); }, RosterEnd::CheckRefused, defaultTitle, "\x82\x53\x82\x57"},
    {"Seat49", [] { return rosterOf48([](int i) { return student(i, i == 1 ? "49" : ""); }); },
     [] { return layoutWithFirstCell("49"); }, RosterEnd::CheckRefused, defaultTitle, "49"},
    {"Seat0", [] { return rosterOf48([](int i) { return student(i, i == 1 ? "0" : ""); }); },
     [] { return layoutWithFirstCell("0"); }, RosterEnd::CheckRefused, defaultTitle, "0"},
    // Hexadecimal integer text is a seat number.
    {"SeatHex30", [] { return rosterOf48([](int i) { return student(i, i == 1 ? "$30" : ""); }); },
     [] { return layoutWithFirstCell("$30"); }, RosterEnd::Drawn, defaultTitle, "$30"},
};
// clang-format on

void PrintTo(const Hostile &c, std::ostream *os) {
    *os << c.name;
}

// Runs an action, answering every message box it shows with OK; answers
// what they showed.
QList<SeenBox> answeringOk(const std::function<void()> &action) {
    ModalDriver driver;
    for (int i = 0; i < 4; ++i)
        driver.pressIfShown(QStringLiteral("OK"));
    action();
    return driver.seen();
}

class HostileFile : public DrawTest, public ::testing::WithParamInterface<Hostile> {
protected:
    // Chooses a file in the next file dialog after a click; answers every
    // message box with OK and returns what they showed.
    QList<SeenBox> openWith(QAbstractButton *opener, const QString &file) {
        ModalDriver driver;
        driver.chooseFile(file);
        for (int i = 0; i < 4; ++i)
            driver.pressIfShown(QStringLiteral("OK"));
        opener->click();
        EXPECT_EQ(driver.fileDialogs().size(), 1);
        return driver.seen();
    }
};

TEST_P(HostileFile, OpensAsARosterAndAsASettingsFileWithoutHarm) {
    const Hostile &c = GetParam();
    const QString csv = path(QStringLiteral("hostile.csv"));
    const QString krb = path(QStringLiteral("hostile.krb"));
    {
        const QByteArray bytes = c.roster();
        writeFile(csv, bytes);
        if (c.settings)
            writeFile(krb, c.settings());
        else
            ASSERT_EQ(::link(QFile::encodeName(csv).constData(), QFile::encodeName(krb).constData()), 0);
    }
    const QByteArray csvHash = hashOf(csv);
    const QByteArray krbHash = hashOf(krb);

    TForm1 &f = createWindow();

    // As a roster: the file opens, and the draw prepares or says why not.
    const QList<SeenBox> boxes = openWith(f.ToolButton1, csv);
    EXPECT_EQ(hashOf(csv), csvHash) << "opening changed the file";
    EXPECT_FALSE(f.Modified);
    const QList<SeenBox> drawPageBoxes = answeringOk([&] { clickTab(1); });
    switch (c.end) {
    case RosterEnd::Drawn: {
        EXPECT_TRUE(boxes.isEmpty());
        EXPECT_TRUE(drawPageBoxes.isEmpty());
        ASSERT_TRUE(f.Button1->isEnabled()) << status().toStdString();
        int stops = 0;
        while (f.Button1->isEnabled() && stops++ < 100) {
            const int row = f.TurnRow;
            const SeenBox box = drawOnce();
            // The name's bytes and the words around it are one text: a name
            // that ends in half a character takes a byte of the next word.
            EXPECT_TRUE(box.text.endsWith(QStringLiteral("の座席は%1番に決まりました。").arg(seatOf(row))))
                << box.text.toStdString();
            EXPECT_EQ(box.caption, QStringLiteral("Kirabo"));
        }
        EXPECT_EQ(status(), completeText);
        for (int row = 1; row <= 48; ++row)
            EXPECT_FALSE(seatOf(row).isEmpty()) << row;
        EXPECT_TRUE(f.Modified);
        break;
    }
    case RosterEnd::CountRefused:
        EXPECT_TRUE(boxes.isEmpty());
        EXPECT_TRUE(drawPageBoxes.isEmpty());
        EXPECT_EQ(status(), QStringLiteral("座席の数と人数があいません！"));
        EXPECT_FALSE(f.Button1->isEnabled());
        break;
    case RosterEnd::CheckRefused: {
        // Once when the file opened, once when the draw page was shown.
        ASSERT_EQ(boxes.size(), 1);
        ASSERT_EQ(drawPageBoxes.size(), 1);
        EXPECT_EQ(drawPageBoxes[0].text, boxes[0].text);
        EXPECT_EQ(boxes[0].caption, QStringLiteral("エラー"));
        EXPECT_EQ(boxes[0].icon, QMessageBox::Critical);
        EXPECT_EQ(boxes[0].text, QStringLiteral("くじ順01番の座席番号に正しい座席番号以外が入力されています"));
        EXPECT_EQ(status(), QStringLiteral("名簿の座席指定に誤りがあります！"));
        EXPECT_FALSE(f.Button1->isEnabled());
        break;
    }
    }
    EXPECT_EQ(hashOf(csv), csvHash);

    // As a named settings file: the cells and the title as stored.
    clickTab(2);
    EXPECT_TRUE(openWith(f.Button4, krb).isEmpty());
    EXPECT_EQ(hashOf(krb), krbHash) << "opening changed the file";
    EXPECT_EQ(f.Edit_Title->text(), c.title());
    EXPECT_EQ(f.StringGrid_Settei->cell(0, 0).bytes(), QByteArray(c.firstCell));
    EXPECT_FALSE(f.CB_tonari->isChecked());

    // The window works on, and what it read is written back at closing.
    clickCell(f.StringGrid_Settei, 5, 7);
    EXPECT_EQ(cellText(f.StringGrid_Settei, 5, 7), QStringLiteral("×"));
    ModalDriver driver;
    driver.pressIfShown(QStringLiteral("いいえ(&N)"));
    EXPECT_TRUE(f.close());
    EXPECT_EQ(driver.seen().size(), c.end == RosterEnd::Drawn ? 1 : 0);
    window.reset();
    TForm1 &g = createWindow();
    EXPECT_EQ(g.Edit_Title->text(), c.title());
    EXPECT_EQ(cellText(g.StringGrid_Settei, 5, 7), QStringLiteral("×"));
    EXPECT_EQ(hashOf(csv), csvHash);
    EXPECT_EQ(hashOf(krb), krbHash);
}

INSTANTIATE_TEST_SUITE_P(Faults, HostileFile, ::testing::ValuesIn(hostileFiles),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
