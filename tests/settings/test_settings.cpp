#include "platform/IniProfile.h"
#include "settings/SettingsPath.h"
#include "support/WindowTest.h"

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTabWidget>
#include <QtTest/QTest>

namespace {

// Bytes of a file from UTF-8 source text: Japanese in Shift-JIS, "\n" as CR LF.
QByteArray crlf(const char *utf8) {
    QByteArray b = SjisText::lit(utf8).bytes();
    return b.replace("\n", "\r\n");
}

// The file a program with this layout (cells as given, column by column)
// and these settings writes from nothing.
QByteArray freshFile(const QList<QByteArray> &cells, const char *tail) {
    QByteArray out;
    for (int c = 0; c < 6; ++c) {
        out += "[" + QByteArray::number(c) + "]\r\n";
        for (int r = 0; r < 8; ++r)
            out += QByteArray::number(r) + "=" + cells[c * 8 + r] + "\r\n";
    }
    return out + crlf(tail);
}

QList<QByteArray> numbered() {
    QList<QByteArray> cells;
    for (int n = 1; n <= 48; ++n)
        cells << QByteArray::number(n);
    return cells;
}

const char *const defaultTail = "[設定]\n印刷タイトル=座席表\nフォルダ=\nフォルダ2=\nお隣チェック=0\n";

class Settings : public WindowTest {
protected:
    void toSettingsPage() { form().PageControl1->setCurrentIndex(2); }
    void click(QPushButton *button) { QTest::mouseClick(button, Qt::LeftButton); }
    QStringList filesInDir() const {
        return QDir(dir.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    }
    // The layout as its 48 cell texts, column by column.
    QStringList layout() {
        QStringList out;
        for (int c = 0; c < 6; ++c)
            for (int r = 0; r < 8; ++r)
                out << cellText(form().StringGrid_Settei, c, r);
        return out;
    }
};

TEST_F(Settings, FreshStartShowsDefaultsAndCloseWritesTheWholeFile) {
    createWindow();
    for (int c = 0; c < 6; ++c)
        for (int r = 0; r < 8; ++r)
            ASSERT_EQ(cellText(form().StringGrid_Settei, c, r), QString::number(c * 8 + r + 1));
    EXPECT_EQ(form().Edit_Title->text(), QStringLiteral("座席表"));
    EXPECT_FALSE(form().CB_tonari->isChecked());
    EXPECT_EQ(form().OpenDialog1.initialDir(), QString());
    EXPECT_EQ(form().OpenDialog2.initialDir(), QString());
    EXPECT_FALSE(QFile::exists(startupIni()));

    EXPECT_TRUE(form().close());
    const QByteArray written = readFile(startupIni());
    EXPECT_EQ(written, freshFile(numbered(), defaultTail));

    // A second run that changes nothing writes the same bytes.
    window.reset();
    createWindow();
    EXPECT_TRUE(form().close());
    EXPECT_EQ(readFile(startupIni()), written);
}

TEST_F(Settings, WhatWasShownAtCloseIsBackAtTheNextStart) {
    createWindow();
    toSettingsPage();
    clickCell(form().StringGrid_Settei, 0, 0);
    clickCell(form().StringGrid_Settei, 2, 5);
    clickCell(form().StringGrid_Settei, 5, 7);
    form().CB_tonari->click();
    form().Edit_Title->setText(QStringLiteral("3年2組 席替え"));
    form().OpenDialog1.setInitialDir(dir.filePath(QStringLiteral("rosters")));
    ASSERT_TRUE(form().close());

    QList<QByteArray> cells;
    int n = 1;
    for (int c = 0; c < 6; ++c)
        for (int r = 0; r < 8; ++r)
            cells << ((c == 0 && r == 0) || (c == 2 && r == 5) || (c == 5 && r == 7) ? sj("×").bytes()
                                                                                     : QByteArray::number(n++));
    EXPECT_EQ(readFile(startupIni()),
              freshFile(cells, "[設定]\n印刷タイトル=3年2組 席替え\nフォルダ=")
                  + QFile::encodeName(dir.filePath(QStringLiteral("rosters")))
                  + crlf("\nフォルダ2=\nお隣チェック=1\n"));

    window.reset();
    createWindow();
    EXPECT_EQ(cellText(form().StringGrid_Settei, 0, 0), QStringLiteral("×"));
    EXPECT_EQ(cellText(form().StringGrid_Settei, 2, 5), QStringLiteral("×"));
    EXPECT_EQ(cellText(form().StringGrid_Settei, 5, 7), QStringLiteral("×"));
    EXPECT_EQ(cellText(form().StringGrid_Settei, 0, 1), QStringLiteral("1"));
    EXPECT_EQ(cellText(form().StringGrid_Settei, 5, 6), QStringLiteral("45"));
    EXPECT_EQ(form().SeatAmount(), 45);
    EXPECT_EQ(cellText(form().StringGrid1, 2, 5), QStringLiteral("×"));
    EXPECT_EQ(form().Edit_Title->text(), QStringLiteral("3年2組 席替え"));
    EXPECT_EQ(form().OpenDialog1.initialDir(), dir.filePath(QStringLiteral("rosters")));
    EXPECT_TRUE(form().CB_tonari->isChecked());

    // Switched off again, it stays off although the file held 1.
    form().CB_tonari->click();
    ASSERT_TRUE(form().close());
    window.reset();
    createWindow();
    EXPECT_FALSE(form().CB_tonari->isChecked());
}

// How many past seat changes the neighbour rule looks at comes back at the
// next start. A file that never held it gets it only once it is other than
// 1, and keeps it from then on.
TEST_F(Settings, RoundsOfTheNeighbourRuleComeBackAndStayOutOfAFileThatNeverHadThem) {
    const QByteArray old = freshFile(numbered(), defaultTail);
    writeFile(startupIni(), old);
    createWindow();
    EXPECT_EQ(form().SpinBox_Rounds->value(), 1);
    EXPECT_EQ(form().SpinBox_Rounds->text(), QStringLiteral("1 回"));
    ASSERT_TRUE(form().close());
    EXPECT_EQ(readFile(startupIni()), old);

    const struct {
        Qt::Key key;
        int value;
    } steps[] = {{Qt::Key_Up, 3}, {Qt::Key_Down, 1}};
    for (const auto &step : steps) {
        window.reset();
        createWindow();
        toSettingsPage();
        for (int i = 0; i < 2; ++i)
            QTest::keyClick(form().SpinBox_Rounds, step.key);
        EXPECT_EQ(form().SpinBox_Rounds->value(), step.value);
        ASSERT_TRUE(form().close());
        EXPECT_EQ(readFile(startupIni()),
                  freshFile(numbered(), defaultTail) + crlf("お隣チェック回数=") + QByteArray::number(step.value) + "\r\n");
        window.reset();
        createWindow();
        EXPECT_EQ(form().SpinBox_Rounds->value(), step.value);
    }
}

TEST_F(Settings, StartUpFileIsReadByItsRules) {
    const struct {
        const char *name;
        QByteArray file;
        bool tonari;
        QString title;
        int seats;
    } cases[] = {
        {"1 checks", crlf("[設定]\nお隣チェック=1\n"), true, QStringLiteral("座席表"), 48},
        {"blank before", crlf("[設定]\nお隣チェック= 1\n"), true, QStringLiteral("座席表"), 48},
        {"hexadecimal 0x1", crlf("[設定]\nお隣チェック=0x1\n"), true, QStringLiteral("座席表"), 48},
        {"hexadecimal $1", crlf("[設定]\nお隣チェック=$1\n"), true, QStringLiteral("座席表"), 48},
        {"quoted", crlf("[設定]\nお隣チェック=\"1\"\n"), true, QStringLiteral("座席表"), 48},
        {"2 does not", crlf("[設定]\nお隣チェック=2\n"), false, QStringLiteral("座席表"), 48},
        {"a word does not", crlf("[設定]\nお隣チェック=abc\n"), false, QStringLiteral("座席表"), 48},
        {"empty does not", crlf("[設定]\nお隣チェック=\n"), false, QStringLiteral("座席表"), 48},
        {"empty title stays empty", crlf("[設定]\n印刷タイトル=\n"), false, QString(), 48},
        {"blanks around names and values", " [ 3 ]\n 6 \t= \x81\x7E\t\n", false, QStringLiteral("座席表"), 47},
        {"empty file", "", false, QStringLiteral("座席表"), 48},
        {"binary", QByteArray("\0\x01\xFF[0]\0=\x81\x7E\r\n\0", 13), false, QStringLiteral("座席表"), 48},
        {"UTF-8 with a byte-order mark", "\xEF\xBB\xBF[0]\r\n0=\xC3\x97\r\n[1]\r\n0=\x81\x7E\r\n", false,
         QStringLiteral("座席表"), 47},
        {"lines without = and an unclosed header", "[1]\r\njunk\r\n[0\r\n0=\x81\x7E\r\n", false,
         QStringLiteral("座席表"), 47},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        writeFile(startupIni(), c.file);
        createWindow();
        EXPECT_EQ(form().CB_tonari->isChecked(), c.tonari);
        EXPECT_EQ(form().Edit_Title->text(), c.title);
        EXPECT_EQ(form().SeatAmount(), c.seats);
        window.reset();
    }
}

TEST_F(Settings, CellIsKeyRowOfSectionColumn) {
    // Section "3", key "6" is cell (column 3, row 6); the layout is numbered after reading.
    writeFile(startupIni(), crlf("[3]\n6=×\n"));
    createWindow();
    EXPECT_EQ(cellText(form().StringGrid_Settei, 3, 6), QStringLiteral("×"));
    EXPECT_EQ(form().SeatAmount(), 47);
    EXPECT_EQ(cellText(form().StringGrid_Settei, 3, 7), QStringLiteral("31"));
}

TEST_F(Settings, HugeAndManyValuesAreReadWithoutTrouble) {
    QByteArray file = crlf("[設定]\n印刷タイトル=") + QByteArray(1 << 20, 'T') + "\r\n";
    for (int i = 0; i < 100000; ++i)
        file += "[x" + QByteArray::number(i) + "]\r\n";
    writeFile(startupIni(), file);
    createWindow();
    EXPECT_EQ(form().Edit_Title->text(), QString(2047, QLatin1Char('T')));
    EXPECT_EQ(form().SeatAmount(), 48);
    ASSERT_TRUE(form().close());
    const QByteArray written = readFile(startupIni());
    EXPECT_TRUE(written.startsWith(crlf("[設定]\n印刷タイトル=") + QByteArray(2047, 'T') + crlf("\nフォルダ=")));
    EXPECT_TRUE(written.contains("[x99999]\r\n[0]\r\n0=1\r\n"));
}

// An editor that ends lines with CR alone left the title line without a line
// feed: the close must not glue the layout onto the title.
TEST_F(Settings, StartUpFileEndingInALoneCarriageReturnSurvivesEveryClose) {
    writeFile(startupIni(), crlf("[設定]\n印刷タイトル=x") + "\r");
    createWindow();
    ASSERT_TRUE(form().close());
    const QByteArray expected =
        crlf("[設定]\n印刷タイトル=x\nフォルダ=\nフォルダ2=\nお隣チェック=0\n") + freshFile(numbered(), "");
    EXPECT_EQ(readFile(startupIni()), expected);

    window.reset();
    createWindow();
    EXPECT_EQ(form().Edit_Title->text(), QStringLiteral("x"));
    ModalDriver driver;
    driver.pressIfShown(QStringLiteral("OK"));
    EXPECT_TRUE(form().close());
    EXPECT_TRUE(driver.seen().isEmpty());
    EXPECT_EQ(readFile(startupIni()), expected);
}

TEST_F(Settings, HandEditedFileKeepsAllButTheProgramsOwnLines) {
    const QByteArray before = SjisText::lit("; 席替えの設定 (手で編集)\n"
                                            "[0]\n"
                                            "0 = 5\n"
                                            "1 = 2 \n"
                                            "\n"
                                            "[他のソフト]\n"
                                            "色=赤\n"
                                            "[設定]\n"
                                            "お隣チェック = 1\n"
                                            "印刷タイトル = \"  余白つき  \"\n"
                                            "; おわり\n")
                                  .bytes();
    writeFile(startupIni(), before);
    createWindow();
    EXPECT_EQ(form().Edit_Title->text(), QStringLiteral("  余白つき  "));
    ASSERT_TRUE(form().close());

    QByteArray expected = SjisText::lit("; 席替えの設定 (手で編集)\n"
                                        "[0]\n"
                                        "0 = 1\n"
                                        "1 = 2 \n")
                              .bytes();
    for (int r = 2; r < 8; ++r)
        expected += QByteArray::number(r) + "=" + QByteArray::number(r + 1) + "\r\n";
    expected += SjisText::lit("\n"
                              "[他のソフト]\n"
                              "色=赤\n"
                              "[設定]\n"
                              "お隣チェック = 1\n"
                              "印刷タイトル = \"  余白つき  \"\n")
                    .bytes();
    expected += crlf("フォルダ=\nフォルダ2=\n") + sj("; おわり\n").bytes();
    for (int c = 1; c < 6; ++c) {
        expected += "[" + QByteArray::number(c) + "]\r\n";
        for (int r = 0; r < 8; ++r)
            expected += QByteArray::number(r) + "=" + QByteArray::number(c * 8 + r + 1) + "\r\n";
    }
    EXPECT_EQ(readFile(startupIni()), expected);
}

TEST_F(Settings, TitleRoundTripsItsBytesAndRefusesWhatShiftJisCannotHold) {
    // 0xED 0x40 is an NEC-selected IBM extension; decoded and encoded again it
    // would turn into 0xFA 0x5C. 0xA0 is no character at all.
    writeFile(startupIni(), crlf("[設定]\n印刷タイトル=") + "\xED\x40\xA0x\r\n");
    createWindow();
    ASSERT_TRUE(form().close());
    EXPECT_TRUE(readFile(startupIni()).contains(crlf("印刷タイトル=") + "\xED\x40\xA0x\r\n"));

    window.reset();
    createWindow();
    form().Edit_Title->setText(QStringLiteral("席替え😀"));
    ModalDriver driver;
    driver.press(QStringLiteral("OK"));
    EXPECT_FALSE(form().close());
    ASSERT_EQ(driver.seen().size(), 1);
    EXPECT_EQ(driver.seen().first().text,
              QStringLiteral("印刷タイトルの「😀」(U+1F600) はシフトJISで表せない文字のため保存できません."));
    EXPECT_TRUE(form().isVisible());
}

TEST_F(Settings, RefusedStartUpWriteIsShownAndKeepsTheWindowOpen) {
    // A folder where the file should be: no user, root included, can replace it.
    ASSERT_TRUE(QDir().mkdir(startupIni()));
    createWindow();
    ModalDriver driver;
    driver.press(QStringLiteral("OK"));
    EXPECT_FALSE(form().close());
    ASSERT_EQ(driver.seen().size(), 1);
    EXPECT_EQ(driver.seen().first().caption, QStringLiteral("Kirabo"));
    EXPECT_EQ(driver.seen().first().icon, QMessageBox::Critical);
    EXPECT_EQ(driver.seen().first().text, startupIni() + QStringLiteral(" に書き込めません."));
    EXPECT_TRUE(form().isVisible());
    EXPECT_TRUE(QFileInfo(startupIni()).isDir());
}

TEST_F(Settings, OpenShowsStoredCellsAsTheyAreUntilTheNextClick) {
    const QString named = path(QStringLiteral("class.krb"));
    writeFile(named, crlf("[0]\n0=×\n1=abc\n[2]\n7=99\n[設定]\n印刷タイトル=3年2組\nフォルダ=/roster/here\n"
                          "フォルダ2=/somewhere/else\nお隣チェック=1\n"));
    createWindow();
    toSettingsPage();
    ModalDriver driver;
    driver.chooseFile(named);
    click(form().Button4);
    ASSERT_EQ(driver.pending(), 0);
    ASSERT_EQ(driver.fileDialogs().size(), 1);

    QStringList expected(48, QString());
    expected[0] = QStringLiteral("×");
    expected[1] = QStringLiteral("abc");
    expected[2 * 8 + 7] = QStringLiteral("99");
    EXPECT_EQ(layout(), expected);
    EXPECT_EQ(form().Edit_Title->text(), QStringLiteral("3年2組"));
    EXPECT_EQ(form().OpenDialog1.initialDir(), QStringLiteral("/roster/here"));
    EXPECT_EQ(form().OpenDialog2.initialDir(), dir.path());
    EXPECT_TRUE(form().CB_tonari->isChecked());
    EXPECT_EQ(form().SaveDialog2.fileName, named);

    clickCell(form().StringGrid_Settei, 4, 4);
    EXPECT_EQ(cellText(form().StringGrid_Settei, 0, 1), QStringLiteral("1"));
    EXPECT_EQ(cellText(form().StringGrid_Settei, 4, 4), QStringLiteral("×"));
    EXPECT_EQ(form().SeatAmount(), 46);

    // Overwrite-save now writes the opened file at once, without a dialog.
    form().Edit_Title->setText(QStringLiteral("新しい題"));
    click(form().Button5);
    EXPECT_EQ(driver.fileDialogs().size(), 1);
    const IniProfile back(named);
    EXPECT_EQ(back.readString(sj("設定"), sj("印刷タイトル"), SjisText()), sj("新しい題"));
    EXPECT_EQ(back.readString(sj("0"), sj("1"), SjisText()).bytes(), "1");
    EXPECT_EQ(back.readString(sj("設定"), sj("フォルダ2"), SjisText()).bytes(), QFile::encodeName(dir.path()));
}

TEST_F(Settings, OpenCancelledOrFailedChangesNothing) {
    createWindow();
    toSettingsPage();
    const QStringList before = layout();
    ModalDriver driver;
    driver.chooseFile(QString());
    click(form().Button4);
    driver.chooseFile(path(QStringLiteral("none.krb"))).press(QStringLiteral("OK"));
    click(form().Button4);
    ASSERT_EQ(driver.pending(), 0);
    ASSERT_EQ(driver.seen().size(), 1);
    EXPECT_EQ(driver.seen().first().text, QStringLiteral("ファイルが見つかりません."));
    EXPECT_EQ(layout(), before);
    EXPECT_EQ(form().Edit_Title->text(), QStringLiteral("座席表"));
    EXPECT_EQ(form().SaveDialog2.fileName, QString());
    EXPECT_EQ(form().OpenDialog2.initialDir(), QString());
}

// A settings file opened from the desktop comes as the program's argument:
// it opens as the open command opens it, a missing one with its message.
TEST_F(Settings, AFileGivenOnTheCommandLineOpensAsTheOpenCommandOpensIt) {
    const QString named = path(QStringLiteral("class.krb"));
    writeFile(named, crlf("[0]\n0=×\n[設定]\n印刷タイトル=3年2組\nお隣チェック=1\n"));
    createWindow();
    ModalDriver driver;
    form().openFromCommandLine({exePath(), named});
    EXPECT_TRUE(driver.seen().isEmpty());
    EXPECT_EQ(cellText(form().StringGrid_Settei, 0, 0), QStringLiteral("×"));
    EXPECT_EQ(form().Edit_Title->text(), QStringLiteral("3年2組"));
    EXPECT_TRUE(form().CB_tonari->isChecked());
    EXPECT_EQ(form().SaveDialog2.fileName, named);

    const QStringList before = layout();
    driver.press(QStringLiteral("OK"));
    form().openFromCommandLine({exePath(), path(QStringLiteral("none.krb"))});
    ASSERT_EQ(driver.seen().size(), 1);
    EXPECT_EQ(driver.seen().first().text, QStringLiteral("ファイルが見つかりません."));
    EXPECT_EQ(layout(), before);
    EXPECT_EQ(form().SaveDialog2.fileName, named);

    form().openFromCommandLine({exePath()}); // nothing given, nothing opened
    EXPECT_EQ(driver.seen().size(), 1);
}

TEST_F(Settings, SaveAsProposesTheTitleAndAddsTheExtension) {
    createWindow();
    toSettingsPage();
    form().Edit_Title->setText(QStringLiteral("3年2組"));
    ModalDriver driver;
    driver.chooseFile(path(QStringLiteral("mine")));
    click(form().Button3);
    ASSERT_EQ(driver.fileDialogs().size(), 1);
    EXPECT_EQ(driver.fileDialogs().first().second, QStringLiteral("3年2組"));
    const QString saved = path(QStringLiteral("mine.krb"));
    EXPECT_EQ(form().SaveDialog2.fileName, saved);
    EXPECT_EQ(form().OpenDialog2.initialDir(), dir.path());
    EXPECT_EQ(readFile(saved), freshFile(numbered(), "[設定]\n印刷タイトル=3年2組\nフォルダ=\nフォルダ2=\nお隣チェック=0\n"));

    // Overwrite-save writes the same file again without asking.
    form().CB_tonari->click();
    click(form().Button5);
    EXPECT_EQ(driver.fileDialogs().size(), 1);
    EXPECT_EQ(IniProfile(saved).readInteger(sj("設定"), sj("お隣チェック"), 0), 1);

    // The next save-as starts where the last settings file went.
    driver.chooseFile(QString());
    click(form().Button3);
    ASSERT_EQ(driver.fileDialogs().size(), 2);
    EXPECT_EQ(driver.fileDialogs().last(), qMakePair(dir.path(), QStringLiteral("3年2組")));
}

TEST_F(Settings, OverwriteSaveAsksWhileNoFileWasChosen) {
    createWindow();
    toSettingsPage();
    ModalDriver driver;

    // Nothing opened or saved yet: the dialog proposes no name.
    driver.chooseFile(QString());
    click(form().Button5);
    ASSERT_EQ(driver.fileDialogs().size(), 1);
    EXPECT_EQ(driver.fileDialogs().last().second, QString());

    // A cancelled save-as leaves the title as the current name; the next
    // overwrite-save proposes it instead of writing to a folder nobody chose.
    form().Edit_Title->setText(QStringLiteral("下書き"));
    driver.chooseFile(QString());
    click(form().Button3);
    EXPECT_EQ(form().SaveDialog2.fileName, QStringLiteral("下書き"));
    driver.chooseFile(path(QStringLiteral("chosen.krb")));
    click(form().Button5);
    ASSERT_EQ(driver.fileDialogs().size(), 3);
    EXPECT_EQ(driver.fileDialogs().last().second, QStringLiteral("下書き"));
    EXPECT_EQ(filesInDir(), QStringList{QStringLiteral("chosen.krb")});
    EXPECT_FALSE(QFile::exists(QStringLiteral("下書き")));
    EXPECT_EQ(form().SaveDialog2.fileName, path(QStringLiteral("chosen.krb")));
}

TEST_F(Settings, RefusedNamedWriteIsShown) {
    const QString named = path(QStringLiteral("a.krb"));
    writeFile(named, crlf("[設定]\n印刷タイトル=A\n"));
    createWindow();
    toSettingsPage();
    ModalDriver driver;
    driver.chooseFile(named);
    click(form().Button4);
    ASSERT_TRUE(QFile::remove(named));
    ASSERT_TRUE(QDir().mkdir(named));
    driver.press(QStringLiteral("OK"));
    click(form().Button5);
    ASSERT_EQ(driver.seen().size(), 1);
    EXPECT_EQ(driver.seen().first().text, named + QStringLiteral(" に書き込めません."));
}

TEST(SettingsPath, ExtensionReplacedBesideTheExecutable) {
    QTemporaryDir d;
    ASSERT_TRUE(QDir().mkdir(d.filePath(QStringLiteral("v1.2"))));
    const struct {
        const char *exe;
        const char *ini;
    } cases[] = {
        {"kirabo", "kirabo.ini"},
        {"kirabo.exe", "kirabo.ini"},
        {"kirabo.tar.gz", "kirabo.tar.ini"},
        {"v1.2/kirabo", "v1.2/kirabo.ini"},
        {"v1.2/.kirabo", "v1.2/.ini"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(startupSettingsFile(d.filePath(QString::fromUtf8(c.exe))), d.filePath(QString::fromUtf8(c.ini)))
            << c.exe;
}

// On Windows the fallback is proven in the platform suite.
#ifndef _WIN32
TEST(SettingsPath, UnwritableFolderFallsBackToTheConfigurationFolder) {
    QTemporaryDir d;
    const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(d.filePath(QStringLiteral("config"))));
    // A folder that is not there is not writable, for root as for anyone.
    const QString ini = startupSettingsFile(d.filePath(QStringLiteral("gone/kirabo.exe")));
    const QString config = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    qputenv("XDG_CONFIG_HOME", oldConfig);
    EXPECT_TRUE(config.startsWith(d.filePath(QStringLiteral("config"))));
    EXPECT_EQ(ini, QDir(config).filePath(QStringLiteral("kirabo.ini")));
    EXPECT_TRUE(QFileInfo(config).isDir());
}
#endif

} // namespace
