#include "support/DrawTest.h"
#include "platform/IntText.h"
#include "platform/System.h"
#include "support/PrintTools.h"
#include "roster/Columns.h"
#include "support/CaseName.h"
#include "support/Faults.h"

#include <QCheckBox>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QTabWidget>
#include <QToolButton>
#include <QtTest/QTest>

#include <cerrno>
#include <optional>
#include <set>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

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
    const char *what;
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
    {"SeatLargestIntegerInHex", [] { return rosterOf48([](int i) { return student(i, i == 1 ? "$7FFFFFFF" : ""); }); },
     [] { return layoutWithFirstCell("$7FFFFFFF"); }, RosterEnd::CheckRefused, defaultTitle, "$7FFFFFFF"},
    {"SeatMinusZero", [] { return rosterOf48([](int i) { return student(i, i == 1 ? "-0" : ""); }); },
     [] { return layoutWithFirstCell("-0"); }, RosterEnd::CheckRefused, defaultTitle, "-0"},
    {"SeatInFullWidthDigits", [] { return rosterOf48([](int i) { return student(i, i == 1 ? sj("４８").bytes() : ""); }); },
     [] { return layoutWithFirstCell(sj("４８").bytes()); }, RosterEnd::CheckRefused, defaultTitle, "\x82\x53\x82\x57"},
    {"SeatBeyondTheLast", [] { return rosterOf48([](int i) { return student(i, i == 1 ? "49" : ""); }); },
     [] { return layoutWithFirstCell("49"); }, RosterEnd::CheckRefused, defaultTitle, "49"},
    {"SeatBelowTheFirst", [] { return rosterOf48([](int i) { return student(i, i == 1 ? "0" : ""); }); },
     [] { return layoutWithFirstCell("0"); }, RosterEnd::CheckRefused, defaultTitle, "0"},
    // Hexadecimal integer text is a seat number.
    {"SeatInHex", [] { return rosterOf48([](int i) { return student(i, i == 1 ? "$30" : ""); }); },
     [] { return layoutWithFirstCell("$30"); }, RosterEnd::Drawn, defaultTitle, "$30"},
};
// clang-format on

void PrintTo(const Hostile &c, std::ostream *os) {
    *os << c.what;
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
#ifdef _WIN32
            ASSERT_TRUE(QFile::copy(csv, krb));
#else
            ASSERT_EQ(::link(QFile::encodeName(csv).constData(), QFile::encodeName(krb).constData()), 0);
#endif
    }
    const QByteArray csvHash = hashOf(csv);
    const QByteArray krbHash = c.settings ? hashOf(krb) : csvHash; // else the same file

    TForm1 &f = createWindow();

    // As a roster: the file opens, and the draw prepares or says why not.
    const QList<SeenBox> boxes = openWith(f.ToolButton1, csv);
    EXPECT_EQ(hashOf(csv), csvHash) << "opening changed the file";
    EXPECT_FALSE(f.Modified);
    const QList<SeenBox> drawPageBoxes = answeringOk([&] { clickTab(1); });
    switch (c.end) {
    case RosterEnd::Drawn: {
        // A file with the UTF-8 mark is asked about first; closing the
        // question as Esc does answers いいえ, and the bytes open as they are.
        QStringList shown;
        for (const SeenBox &box : boxes)
            shown << box.text;
        const QString utf8Question = QStringLiteral("この名簿は UTF-8 で書かれているようです。シフトJIS に変換して読み込みますか？");
        EXPECT_EQ(shown, QByteArray(c.what) == "Utf8WithByteOrderMark" ? QStringList{utf8Question} : QStringList());
        EXPECT_TRUE(drawPageBoxes.isEmpty());
        ASSERT_TRUE(f.Button1->isEnabled()) << status().toStdString();
        int stops = 0;
        while (f.Button1->isEnabled() && stops++ < 100) {
            const int row = f.draw.turnRow();
            const SeenBox box = drawOnce();
            // The name's bytes and the words around it are one text: a name
            // that ends in half a character takes a byte of the next word.
            EXPECT_TRUE(box.text.endsWith(QStringLiteral("の座席は%1番に決まりました。").arg(seatOf(row))))
                << box.text.toStdString();
            EXPECT_EQ(box.caption, QStringLiteral("Kirabo"));
        }
        EXPECT_EQ(status(), completeText);
        std::set<std::int32_t> held; // by value: "$30" is seat 48
        for (int row = 1; row <= 48; ++row) {
            std::int32_t seat = 0;
            EXPECT_TRUE(inttext::tryParse(f.StringGrid2->cell(roster::seatCol, row).bytes(), seat)) << row;
            EXPECT_TRUE(held.insert(seat).second) << "seat " << seat << " given twice";
        }
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

    // As a named settings file: the cells and the title as stored. Where
    // its layout puts the seats the roster holds elsewhere, the teacher is
    // asked first, and says to open it.
    const QString yes = QStringLiteral("はい(&Y)");
    clickTab(2);
    {
        ModalDriver driver;
        driver.chooseFile(krb).pressIfShown(yes);
        f.Button4->click();
        for (const SeenBox &box : driver.seen())
            EXPECT_TRUE(box.text.endsWith(QStringLiteral("設定ファイルを開きますか？"))) << box.text.toStdString();
    }
    EXPECT_EQ(hashOf(krb), krbHash) << "opening changed the file";
    EXPECT_EQ(f.Edit_Title->text(), c.title());
    EXPECT_EQ(f.StringGrid_Settei->cell(0, 0).bytes(), QByteArray(c.firstCell));
    EXPECT_FALSE(f.CB_tonari->isChecked());

    // The window works on, and what it read is written back at closing. A
    // click where the seat column holds anything asks first; the seats take
    // their places' new numbers, or go where they name no place.
    bool asked = false;
    {
        ModalDriver driver;
        driver.pressIfShown(yes);
        clickCell(f.StringGrid_Settei, 5, 7);
        asked = !driver.seen().isEmpty();
    }
    EXPECT_TRUE(asked || c.end != RosterEnd::Drawn);
    EXPECT_EQ(cellText(f.StringGrid_Settei, 5, 7), QStringLiteral("×"));
    ModalDriver driver;
    driver.pressIfShown(QStringLiteral("いいえ(&N)"));
    EXPECT_TRUE(f.close());
    // The seats drawn, or moved by the click, are not saved.
    EXPECT_EQ(driver.seen().size(), asked ? 1 : 0);
    window.reset();
    TForm1 &g = createWindow();
    EXPECT_EQ(g.Edit_Title->text(), c.title());
    EXPECT_EQ(cellText(g.StringGrid_Settei, 5, 7), QStringLiteral("×"));
    EXPECT_EQ(hashOf(csv), csvHash);
    if (c.settings) {
        EXPECT_EQ(hashOf(krb), krbHash);
    }
}

INSTANTIATE_TEST_SUITE_P(Faults, HostileFile, ::testing::ValuesIn(hostileFiles), ByWhat());

// Faults made with the system's own means: a small file system of our own,
// a file size limit, a folder's permissions. The Windows build proves its
// saves in the platform suite instead.
#ifndef _WIN32
enum class Target { Roster, NamedSettings, StartupSettings, Pdf };
enum class Fault { FullDevice, ReadOnlyFolder, FolderRemoved, FileIsFolder };

struct SaveFault {
    const char *what;
    Target target;
    Fault fault;
};

// clang-format off
const SaveFault saveFaults[] = {
    {"RosterOnAFullDevice", Target::Roster, Fault::FullDevice},
    {"RosterInAReadOnlyFolder", Target::Roster, Fault::ReadOnlyFolder},
    {"RosterFolderRemoved", Target::Roster, Fault::FolderRemoved},
    {"RosterReplacedByAFolder", Target::Roster, Fault::FileIsFolder},
    {"NamedSettingsOnAFullDevice", Target::NamedSettings, Fault::FullDevice},
    {"NamedSettingsInAReadOnlyFolder", Target::NamedSettings, Fault::ReadOnlyFolder},
    {"NamedSettingsFolderRemoved", Target::NamedSettings, Fault::FolderRemoved},
    {"NamedSettingsReplacedByAFolder", Target::NamedSettings, Fault::FileIsFolder},
    {"StartupSettingsOnAFullDevice", Target::StartupSettings, Fault::FullDevice},
    {"StartupSettingsInAReadOnlyFolder", Target::StartupSettings, Fault::ReadOnlyFolder},
    {"StartupSettingsFolderRemoved", Target::StartupSettings, Fault::FolderRemoved},
    {"StartupSettingsReplacedByAFolder", Target::StartupSettings, Fault::FileIsFolder},
    {"PdfOnAFullDevice", Target::Pdf, Fault::FullDevice},
    {"PdfInAReadOnlyFolder", Target::Pdf, Fault::ReadOnlyFolder},
    {"PdfFolderRemoved", Target::Pdf, Fault::FolderRemoved},
    {"PdfReplacedByAFolder", Target::Pdf, Fault::FileIsFolder},
};
// clang-format on

void PrintTo(const SaveFault &c, std::ostream *os) {
    *os << c.what;
}

// A save into a folder of its own that then fails. Where the machine lets the
// test mount a small file system of its own (as root), that one fills up or
// turns read-only for root too; elsewhere a file size limit stands in for the
// full device and the folder's permissions for the read-only one.
class SaveFailure : public DrawTest, public ::testing::WithParamInterface<SaveFault> {
protected:
    void SetUp() override {
        DrawTest::SetUp();
        place = path(QStringLiteral("place"));
        ASSERT_TRUE(QDir().mkpath(place));
        const Fault fault = GetParam().fault;
        if ((fault == Fault::FullDevice || fault == Fault::ReadOnlyFolder) && ::geteuid() == 0)
            mounted = ::mount("tmpfs", QFile::encodeName(place).constData(), "tmpfs", 0, "size=256k,mode=0777") == 0;
        if (fault == Fault::ReadOnlyFolder && !mounted && ::geteuid() == 0)
            GTEST_SKIP() << "root writes into any folder, and no file system of our own can be mounted here";
        switch (GetParam().target) {
        case Target::Roster:
            file = place + QStringLiteral("/class.csv");
            oldContent = readFile(QStringLiteral(KIRABO_TEST_DATA "/e2e/class30.csv"));
            break;
        case Target::NamedSettings:
            file = place + QStringLiteral("/class.krb");
            oldContent = sj("[設定]\r\n印刷タイトル=前の題\r\n").bytes();
            break;
        case Target::StartupSettings:
            file = place + QStringLiteral("/kirabo.ini");
            oldContent = sj("[設定]\r\n印刷タイトル=前の題\r\n").bytes();
            sys::setExecutablePathForTesting(place + QStringLiteral("/kirabo"));
            break;
        case Target::Pdf:
            file = place + QStringLiteral("/chart.pdf");
            oldContent = "%PDF-1.4 the chart printed last week";
            break;
        }
        writeFile(file, oldContent);
    }

    void TearDown() override {
        lift();
        if (mounted)
            ::umount2(QFile::encodeName(place).constData(), MNT_DETACH);
        DrawTest::TearDown();
    }

    void apply() {
        applied = true;
        switch (GetParam().fault) {
        case Fault::FullDevice:
            if (mounted) {
                // Fill what is left, page by page.
                const int fd = ::open(QFile::encodeName(place + QStringLiteral("/filler")).constData(), O_WRONLY | O_CREAT, 0644);
                ASSERT_GE(fd, 0);
                const QByteArray page(4096, 'f');
                while (::write(fd, page.constData(), page.size()) > 0) {
                }
                ::close(fd);
            } else {
                sizeLimit.emplace(64);
                ASSERT_TRUE(sizeLimit->inPlace());
            }
            break;
        case Fault::ReadOnlyFolder:
            if (mounted)
                ASSERT_EQ(::mount(nullptr, QFile::encodeName(place).constData(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr), 0);
            else
                ASSERT_EQ(::chmod(QFile::encodeName(place).constData(), 0555), 0);
            readOnly = true;
            break;
        case Fault::FolderRemoved:
            ASSERT_TRUE(QDir(place).removeRecursively());
            break;
        case Fault::FileIsFolder:
            ASSERT_TRUE(QFile::remove(file));
            ASSERT_TRUE(QDir().mkdir(file));
            break;
        }
        entries = QDir(place).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }

    // Takes the fault away again, as the teacher would free some room or
    // choose another folder.
    void lift() {
        sizeLimit.reset();
        if (readOnly) {
            if (mounted)
                ::mount(nullptr, QFile::encodeName(place).constData(), nullptr, MS_REMOUNT, "size=256k,mode=0777");
            else
                ::chmod(QFile::encodeName(place).constData(), 0755);
            readOnly = false;
        }
        QFile::remove(place + QStringLiteral("/filler"));
        QDir().mkpath(place);
        if (QFileInfo(file).isDir())
            QDir().rmdir(file);
    }

    // The message the failed save must show.
    QString expectedMessage() const {
        const Target target = GetParam().target;
        if (target == Target::NamedSettings || target == Target::StartupSettings)
            return file + QStringLiteral(" に書き込めません.");
        switch (GetParam().fault) {
        case Fault::FullDevice:
            return QStringLiteral("I/O エラー (%1)").arg(mounted ? ENOSPC : EFBIG);
        case Fault::ReadOnlyFolder:
            return mounted ? QStringLiteral("I/O エラー (%1)").arg(EROFS)
                           : QStringLiteral("ファイルへのアクセスが拒否されました.");
        case Fault::FolderRemoved:
            return QStringLiteral("ファイル名の指定が間違っています.");
        case Fault::FileIsFolder:
            return QStringLiteral("I/O エラー (%1)").arg(EISDIR);
        }
        return {};
    }

    // Runs the save of the target; answers the boxes it showed, every one
    // answered with OK.
    QList<SeenBox> save(TForm1 &f) {
        ModalDriver driver;
        switch (GetParam().target) {
        case Target::Roster:
            driver.pressIfShown(QStringLiteral("OK"));
            f.ToolButton2->click();
            break;
        case Target::NamedSettings:
            driver.pressIfShown(QStringLiteral("OK"));
            QTest::mouseClick(f.Button5, Qt::LeftButton);
            break;
        case Target::StartupSettings:
            driver.pressIfShown(QStringLiteral("OK"));
            closed = f.close();
            break;
        case Target::Pdf:
            driver.then([&](QWidget *w) {
                radio(w, "ファイル")->click();
                w->findChild<QLineEdit *>()->setText(file);
                // The folder goes while the dialog is open, after the choice.
                if (GetParam().fault == Fault::FolderRemoved && !applied)
                    apply();
                button(w, "OK")->click();
            });
            driver.pressIfShown(QStringLiteral("OK"));
            QTest::mouseClick(f.BitBtn1, Qt::LeftButton);
            break;
        }
        return driver.seen();
    }

    QString place;
    QString file;
    QByteArray oldContent;
    QStringList entries; // of the folder once the fault is in place
    bool mounted = false;
    bool applied = false;
    bool readOnly = false;
    bool closed = false;
    std::optional<FileSizeLimit> sizeLimit; // standing in for the full device
};

TEST_P(SaveFailure, ShowsTheMessageAndLosesNothing) {
    const SaveFault &c = GetParam();
    TForm1 &f = createWindow();

    // Something unsaved, in a file chosen before the fault.
    switch (c.target) {
    case Target::Roster: {
        ModalDriver driver;
        driver.chooseFile(file);
        f.ToolButton1->click();
        ASSERT_EQ(f.StringGrid2->gridRowCount(), 31);
        typeIntoCell(f.StringGrid2, roster::seatCol, 1, QStringLiteral("7"));
        ASSERT_TRUE(f.Modified);
        break;
    }
    case Target::NamedSettings: {
        clickTab(2);
        ModalDriver driver;
        driver.chooseFile(file);
        QTest::mouseClick(f.Button4, Qt::LeftButton);
        ASSERT_EQ(f.Edit_Title->text(), QStringLiteral("前の題"));
        clickCell(f.StringGrid_Settei, 0, 0);
        break;
    }
    case Target::StartupSettings:
        ASSERT_EQ(f.startupSettingsPath(), file);
        ASSERT_EQ(f.Edit_Title->text(), QStringLiteral("前の題"));
        clickCell(f.StringGrid_Settei, 0, 0);
        break;
    case Target::Pdf:
        clickTab(2);
        break;
    }
    if (c.target != Target::Pdf || c.fault != Fault::FolderRemoved)
        apply();

    const QList<SeenBox> boxes = save(f);
    lift();
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_EQ(boxes[0].caption, QStringLiteral("Kirabo"));
    EXPECT_EQ(boxes[0].icon, QMessageBox::Critical);
    EXPECT_EQ(boxes[0].text, expectedMessage());
    // The old file whole where it was left, and nothing half-written beside it.
    if (c.fault == Fault::FullDevice || c.fault == Fault::ReadOnlyFolder) {
        EXPECT_EQ(readFile(file), oldContent);
    }
    QStringList now = QDir(place).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    now.removeAll(QStringLiteral("filler"));
    entries.removeAll(QStringLiteral("filler"));
    if (c.fault == Fault::FileIsFolder)
        entries.removeAll(QFileInfo(file).fileName()); // lift() took the folder away
    EXPECT_EQ(now, entries);
    if (c.target == Target::Roster) {
        EXPECT_TRUE(f.Modified);
    }
    if (c.target == Target::StartupSettings) {
        EXPECT_FALSE(closed);
        EXPECT_TRUE(f.isVisible());
    }

    // Nothing was lost: with the fault gone, the same save succeeds.
    const QList<SeenBox> again = save(f);
    EXPECT_TRUE(again.isEmpty()) << again.value(0).text.toStdString();
    switch (c.target) {
    case Target::Roster:
        EXPECT_FALSE(f.Modified);
        EXPECT_TRUE(readFile(file).contains(sj("\r\n22,1,佐藤　翔太,さとう　しょうた,7\r\n").bytes()));
        break;
    case Target::NamedSettings:
    case Target::StartupSettings:
        EXPECT_TRUE(readFile(file).contains("[0]\r\n0=\x81\x7E\r\n1=1\r\n"));
        EXPECT_TRUE(readFile(file).contains(sj("印刷タイトル=前の題\r\n").bytes()));
        if (c.target == Target::StartupSettings) {
            EXPECT_TRUE(closed);
        }
        break;
    case Target::Pdf:
        EXPECT_TRUE(readFile(file).startsWith("%PDF-"));
        EXPECT_EQ(pdfInfo(file).pages, 1);
        break;
    }
}

INSTANTIATE_TEST_SUITE_P(Faults, SaveFailure, ::testing::ValuesIn(saveFaults), ByWhat());

#endif
} // namespace
