#include "platform/TextFile.h"
#include "support/Faults.h"
#include "support/WindowTest.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QToolButton>
#include <QtTest/QTest>

#include <cerrno>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

const QByteArray header = sj("くじ順,出席番号,氏名,ふりがな,座席番号\r\n").bytes();

QByteArray fixture(const char *name) {
    return readFile(QStringLiteral(KIRABO_TEST_DATA "/roster/") + QLatin1String(name));
}

// A file an open or a save is given, and the error it must show.
struct FailingFile {
    QString file;
    QString error;
};

} // namespace

class RosterFile : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        QApplication::setQuitOnLastWindowClosed(false);
        createWindow();
    }

    StringGrid *grid() { return form().StringGrid2; }

    // The cells of rows 1 onwards as "a|b|c|d|e" lines, for one comparison.
    QStringList rows(int upTo = -1) {
        QStringList out;
        const int last = upTo < 0 ? grid()->gridRowCount() - 1 : upTo;
        for (int r = 1; r <= last; ++r) {
            QStringList cells;
            for (int c = 0; c < 5; ++c)
                cells << cellText(grid(), c, r);
            out << cells.join(QLatin1Char('|'));
        }
        return out;
    }

    // Clicks a tool button; the driver answers the dialogs it was given and
    // then an error box, if one comes, with OK. Answers the error texts.
    QStringList click(QToolButton *button, ModalDriver &driver) {
        driver.pressIfShown(QStringLiteral("OK"));
        button->click();
        QStringList errors;
        for (const SeenBox &box : driver.seen()) {
            EXPECT_EQ(box.caption, QStringLiteral("Kirabo"));
            EXPECT_EQ(box.icon, QMessageBox::Critical);
            errors << box.text;
        }
        return errors;
    }

    QStringList open(const QString &file) {
        ModalDriver driver;
        driver.chooseFile(file);
        return click(form().ToolButton1, driver);
    }

    QStringList saveAs(const QString &file) {
        ModalDriver driver;
        driver.chooseFile(file);
        return click(form().ToolButton3, driver);
    }

    // Saves over the current file, answering an error box with OK; fails
    // the test if a file dialog shows instead.
    QStringList saveOver() {
        ModalDriver driver;
        QStringList errors;
        driver.thenIfShown([&](QWidget *w) {
            auto *box = qobject_cast<QMessageBox *>(w);
            if (!box) {
                ADD_FAILURE() << "a dialog showed";
                static_cast<QDialog *>(w)->reject();
                return;
            }
            const SeenBox seen = describe(box);
            EXPECT_EQ(seen.caption, QStringLiteral("Kirabo"));
            EXPECT_EQ(seen.icon, QMessageBox::Critical);
            errors << seen.text;
            box->defaultButton()->click();
        });
        form().ToolButton2->click();
        return errors;
    }

    // Types into a cell through the grid's editor and closes it with Return.
    void typeIntoCell(int col, int row, const QString &text) {
        const QModelIndex index = grid()->cells()->index(row - 1, col);
        grid()->setCurrentIndex(index);
        grid()->edit(index);
        auto *editor = grid()->viewport()->findChild<QLineEdit *>();
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        QKeyEvent typed(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
        QApplication::sendEvent(editor, &typed);
        QTest::keyClick(editor, Qt::Key_Return);
    }

    QString placed(const char *fixtureName, const QString &name) {
        const QString p = path(name);
        writeFile(p, fixture(fixtureName));
        return p;
    }
};

TEST_F(RosterFile, OpensEditsSavesOverAndReopens) {
    const QString file = placed("crlf.csv", QStringLiteral("class.csv"));
    EXPECT_TRUE(open(file).isEmpty());
    EXPECT_EQ(grid()->gridRowCount(), 3);
    EXPECT_EQ(rows(), (QStringList{QStringLiteral("1|12|山田|やまだ|3"), QStringLiteral("2|5|川本|かわもと|")}));
    EXPECT_EQ(form().SaveDialog1.fileName, file);
    EXPECT_EQ(form().OpenDialog1.initialDir(), dir.path());
    EXPECT_FALSE(form().Modified);

    typeIntoCell(2, 1, QStringLiteral("山本"));
    EXPECT_TRUE(form().Modified);
    EXPECT_TRUE(saveOver().isEmpty());
    EXPECT_FALSE(form().Modified);
    EXPECT_EQ(readFile(file), header + sj("1,12,山本,やまだ,3\r\n2,5,川本,かわもと,\r\n").bytes());

    grid()->setCell(2, 1, sj("消した"));
    EXPECT_TRUE(open(file).isEmpty());
    EXPECT_EQ(cellText(grid(), 2, 1), QStringLiteral("山本"));
}

// Rows beyond the row count keep their text, and a short line leaves the
// cells it has no field for as they were.
TEST_F(RosterFile, ShortLinesAndFewerRowsKeepEarlierText) {
    writeFile(path(QStringLiteral("three.csv")), header + sj("1,1,a,b,1\r\n2,2,c,d,2\r\n3,3,e,f,3\r\n").bytes());
    writeFile(path(QStringLiteral("one.csv")), header + "9,8,x\r\n1,2,3,4,5,6,7\r\n");
    ASSERT_TRUE(open(path(QStringLiteral("three.csv"))).isEmpty());
    ASSERT_TRUE(open(path(QStringLiteral("one.csv"))).isEmpty());
    EXPECT_EQ(grid()->gridRowCount(), 3);
    EXPECT_EQ(grid()->model()->rowCount(), 2);
    EXPECT_EQ(rows(3), (QStringList{QStringLiteral("9|8|x|b|1"), QStringLiteral("1|2|3|4|5"),
                                    QStringLiteral("3|3|e|f|3")}));
    // Saving writes the shown rows only.
    ASSERT_TRUE(saveOver().isEmpty());
    EXPECT_EQ(readFile(path(QStringLiteral("one.csv"))), header + "9,8,x,b,1\r\n1,2,3,4,5\r\n");
}

TEST_F(RosterFile, FilesWithoutStudentLinesChangeNothingButTheFileName) {
    ASSERT_TRUE(open(placed("crlf.csv", QStringLiteral("class.csv"))).isEmpty());
    const QStringList before = rows();
    QDir(dir.path()).mkdir(QStringLiteral("other"));
    for (const char *name : {"empty.csv", "header_only.csv", "blank_only.csv"}) {
        const QString file = placed(name, QStringLiteral("other/") + QLatin1String(name));
        EXPECT_TRUE(open(file).isEmpty()) << name;
        EXPECT_EQ(rows(), before) << name;
        EXPECT_EQ(grid()->gridRowCount(), 3) << name;
        EXPECT_EQ(form().SaveDialog1.fileName, file) << name;
        EXPECT_EQ(form().OpenDialog1.initialDir(), path(QStringLiteral("other"))) << name;
    }
}

// Bytes that are not Shift-JIS are kept as bytes: a file opened and saved
// comes back unchanged, header line aside, which is always the grid's.
TEST_F(RosterFile, OddBytesOpenAndSaveBackByteForByte) {
    for (const char *name : {"invalid_sjis.csv", "utf8.csv"}) {
        const QByteArray original = fixture(name);
        const QString file = placed(name, QLatin1String(name));
        // A UTF-8 file is taken as it is when the teacher declines converting it.
        const bool utf8 = QLatin1String(name) == QLatin1String("utf8.csv");
        ModalDriver driver;
        driver.chooseFile(file);
        if (utf8)
            driver.press(QStringLiteral("いいえ(&N)"));
        form().ToolButton1->click();
        ASSERT_EQ(driver.seen().size(), utf8 ? 1 : 0) << name;
        ASSERT_TRUE(saveOver().isEmpty()) << name;
        EXPECT_EQ(readFile(file), header + original.mid(original.indexOf('\n') + 1)) << name;
    }
    ASSERT_TRUE(open(placed("nul_bytes.csv", QStringLiteral("binary.csv"))).isEmpty());
    EXPECT_EQ(grid()->gridRowCount(), 3);
    EXPECT_EQ(grid()->cell(1, 1).bytes(), QByteArray("ab"));
    EXPECT_EQ(grid()->cell(1, 2).bytes(), QByteArray("x"));
}

TEST_F(RosterFile, CancelledDialogsWriteNothingAndSaveUnderANameAddsTheExtension) {
    // Each driver answers only while it lives, so each gets its own scope.
    {
        ModalDriver cancelOpen;
        cancelOpen.chooseFile(QString());
        EXPECT_TRUE(click(form().ToolButton1, cancelOpen).isEmpty());
        EXPECT_TRUE(form().SaveDialog1.fileName.isEmpty());
    }
    typeIntoCell(2, 1, QStringLiteral("山田"));
    {
        ModalDriver cancelSave;
        cancelSave.chooseFile(QString());
        EXPECT_TRUE(click(form().ToolButton2, cancelSave).isEmpty());
        EXPECT_EQ(cancelSave.fileDialogs().size(), 1);
        EXPECT_TRUE(form().Modified);
        EXPECT_TRUE(form().SaveDialog1.fileName.isEmpty());
    }

    EXPECT_TRUE(saveAs(path(QStringLiteral("new"))).isEmpty());
    const QString saved = path(QStringLiteral("new.CSV"));
    EXPECT_EQ(form().SaveDialog1.fileName, saved);
    EXPECT_EQ(readFile(saved), header + sj(",,山田,,\r\n").bytes());
    EXPECT_FALSE(form().Modified);
    EXPECT_EQ(form().OpenDialog1.initialDir(), dir.path());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("new.CSV")});

    // The dialog proposes the current file; cancelling it saves nothing.
    typeIntoCell(2, 1, QStringLiteral("川本"));
    ModalDriver again;
    again.chooseFile(QString());
    EXPECT_TRUE(click(form().ToolButton3, again).isEmpty());
    ASSERT_EQ(again.fileDialogs().size(), 1);
    EXPECT_EQ(again.fileDialogs().first(), qMakePair(dir.path(), QStringLiteral("new.CSV")));
    EXPECT_EQ(readFile(saved), header + sj(",,山田,,\r\n").bytes());
    EXPECT_TRUE(form().Modified);
}

// The window words the grid's refusal of a character Shift-JIS cannot hold.
TEST_F(RosterFile, ACharacterShiftJisCannotHoldIsRefusedWithAWarning) {
    ASSERT_TRUE(open(placed("crlf.csv", QStringLiteral("class.csv"))).isEmpty());
    const QString before = cellText(grid(), 2, 1);
    ModalDriver driver;
    driver.press(QStringLiteral("OK"));
    typeIntoCell(2, 1, QStringLiteral("山😀"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return driver.seen().size() == 1; }, 2000));
    const SeenBox &box = driver.seen().first();
    EXPECT_EQ(box.caption, QStringLiteral("警告"));
    EXPECT_EQ(box.icon, QMessageBox::Warning);
    EXPECT_EQ(box.buttons, QStringList{QStringLiteral("OK")});
    EXPECT_EQ(box.text, QStringLiteral("「😀」(U+1F600) はシフトJISで表せない文字のため入力できません"));
    EXPECT_EQ(cellText(grid(), 2, 1), before);
}

TEST_F(RosterFile, EveryUseOfTheEditorSetsModifiedAndOpeningKeepsIt) {
    const QString file = placed("crlf.csv", QStringLiteral("class.csv"));
    ASSERT_TRUE(open(file).isEmpty());
    typeIntoCell(2, 1, QStringLiteral("山田"));
    EXPECT_EQ(cellText(grid(), 2, 1), QStringLiteral("山田"));
    EXPECT_TRUE(form().Modified);
    ASSERT_TRUE(open(file).isEmpty());
    EXPECT_TRUE(form().Modified);
}

// Each failure through a real file: the system's error, and the grid as it
// was. The roster's file name is the chosen file even so. A file another
// program holds gives the sharing violation (32) on Windows, whether others
// may read it or not; elsewhere the other program's write lock gives EAGAIN.
TEST_F(RosterFile, OpenFailuresShowTheSystemsErrorAndKeepTheGrid) {
    ASSERT_TRUE(open(placed("crlf.csv", QStringLiteral("class.csv"))).isEmpty());
    const QStringList before = rows();
    QDir(dir.path()).mkdir(QStringLiteral("folder.csv"));
#ifdef _WIN32
    const QString edited = placed("no_header.csv", QStringLiteral("edited.csv"));
    HeldOpen editor(edited, FILE_SHARE_READ);
    ASSERT_TRUE(editor.inPlace());
    const QString exclusive = placed("no_header.csv", QStringLiteral("exclusive.csv"));
    HeldOpen owner(exclusive, 0);
    ASSERT_TRUE(owner.inPlace());
    // The messages of codes 2, 3 and 5, then the sharing violations.
    const FailingFile cases[] = {
        {path(QStringLiteral("missing.csv")), QStringLiteral("ファイルが見つかりません.")},
        {path(QStringLiteral("no/such/folder/class.csv")), QStringLiteral("ファイル名の指定が間違っています.")},
        {path(QStringLiteral("folder.csv")), QStringLiteral("ファイルへのアクセスが拒否されました.")},
        {edited, QStringLiteral("I/O エラー (32)")},
        {exclusive, QStringLiteral("I/O エラー (32)")},
    };
#else
    const QString locked = placed("no_header.csv", QStringLiteral("locked.csv"));
    WriteLock lock(locked);
    ASSERT_TRUE(lock.inPlace());
    const FailingFile cases[] = {
        {path(QStringLiteral("missing.csv")), QStringLiteral("ファイルが見つかりません.")},
        {path(QStringLiteral("no/such/folder/class.csv")), QStringLiteral("ファイル名の指定が間違っています.")},
        {path(QStringLiteral("class.csv/class.csv")), QStringLiteral("ファイル名の指定が間違っています.")},
        {path(QStringLiteral("folder.csv")), QStringLiteral("I/O エラー (21)")},
        {locked, QStringLiteral("I/O エラー (%1)").arg(EAGAIN)},
        {QStringLiteral("/dev/zero"), QStringLiteral("I/O エラー (%1)").arg(EINVAL)}, // would never end
    };
#endif
    for (const FailingFile &c : cases) {
        ModalDriver driver;
        // Chosen as the dialog's answer, since the dialog itself would step
        // into a folder rather than hand it over.
        driver.then([&](QWidget *w) {
            auto *dialog = qobject_cast<QFileDialog *>(w);
            ASSERT_NE(dialog, nullptr);
            dialog->selectFile(c.file);
            static_cast<QDialog *>(dialog)->done(QDialog::Accepted);
        });
        EXPECT_EQ(click(form().ToolButton1, driver), QStringList{c.error}) << c.file.toStdString();
        EXPECT_EQ(form().SaveDialog1.fileName, c.file);
        EXPECT_EQ(form().OpenDialog1.fileName, c.file);
        EXPECT_EQ(form().OpenDialog1.initialDir(), dir.path());
        EXPECT_EQ(rows(), before);
    }
}

// A save that fails shows the system's error and leaves the old file,
// Modified and the initial folder as they were, and no stray file behind.
TEST_F(RosterFile, SaveFailuresShowTheSystemsErrorAndKeepTheOldFile) {
    const QString file = placed("crlf.csv", QStringLiteral("class.csv"));
    ASSERT_TRUE(open(file).isEmpty());
    typeIntoCell(2, 1, QStringLiteral("山本"));
    const QString elsewhere = path(QStringLiteral("elsewhere"));
    form().OpenDialog1.setInitialDir(elsewhere);

    const QString readOnly = placed("crlf.csv", QStringLiteral("readonly.csv"));
    // On Windows, the read-only attribute.
    ASSERT_TRUE(QFile::setPermissions(readOnly,
                                      QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther));
    QDir(dir.path()).mkdir(QStringLiteral("folder.csv"));
#ifdef _WIN32
    const QString held = placed("crlf.csv", QStringLiteral("exclusive.csv"));
    HeldOpen owner(held, 0);
    ASSERT_TRUE(owner.inPlace());
    const FailingFile cases[] = {
        {path(QStringLiteral("no/such/class.csv")), QStringLiteral("ファイル名の指定が間違っています.")},
        {readOnly, QStringLiteral("ファイルへのアクセスが拒否されました.")},
        {held, QStringLiteral("I/O エラー (32)")},
        {path(QStringLiteral("folder.csv")), QStringLiteral("ファイルへのアクセスが拒否されました.")},
    };
    // The held file cannot be read either while no sharing is allowed.
    const QStringList untouched{readOnly};
#else
    const QString held = placed("crlf.csv", QStringLiteral("locked.csv"));
    WriteLock lock(held);
    ASSERT_TRUE(lock.inPlace());
    const FailingFile cases[] = {
        {path(QStringLiteral("no/such/class.csv")), QStringLiteral("ファイル名の指定が間違っています.")},
        {readOnly, QStringLiteral("ファイルへのアクセスが拒否されました.")},
        {held, QStringLiteral("I/O エラー (%1)").arg(EAGAIN)},
        {path(QStringLiteral("folder.csv")), QStringLiteral("I/O エラー (21)")},
        {QStringLiteral("/dev/full"), QStringLiteral("I/O エラー (28)")},
    };
    const QStringList untouched{readOnly, held};
#endif
    for (const FailingFile &c : cases) {
        form().SaveDialog1.fileName = c.file;
        EXPECT_EQ(saveOver(), QStringList{c.error}) << c.file.toStdString();
        EXPECT_TRUE(form().Modified);
        EXPECT_EQ(form().OpenDialog1.initialDir(), elsewhere);
    }
    for (const QString &kept : untouched)
        EXPECT_EQ(readFile(kept), fixture("crlf.csv")) << kept.toStdString();
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("no"))));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              (QStringList{QStringLiteral("class.csv"), QFileInfo(held).fileName(), QStringLiteral("readonly.csv")}));
    // Writable again, for the folder to be removed on Windows.
    QFile::setPermissions(readOnly, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

#ifndef _WIN32
TEST_F(RosterFile, OpeningAFileWithoutReadPermissionIsRefused) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root reads any file whatever its permissions";
    const QString file = placed("crlf.csv", QStringLiteral("secret.csv"));
    ASSERT_EQ(::chmod(QFile::encodeName(file).constData(), 0200), 0);
    EXPECT_EQ(open(file), QStringList{QStringLiteral("ファイルへのアクセスが拒否されました.")});
    EXPECT_EQ(grid()->gridRowCount(), 2);
}
#endif

#ifndef _WIN32
// The file size limit makes the write fail half-way, as a full disk would.
TEST_F(RosterFile, WriteFailingHalfWayLeavesTheOldFileWhole) {
    const QString file = placed("crlf.csv", QStringLiteral("class.csv"));
    ASSERT_TRUE(open(file).isEmpty());
    typeIntoCell(3, 2, QString(100000, QLatin1Char('x')));
    QStringList errors;
    {
        FileSizeLimit limit(4096);
        ASSERT_TRUE(limit.inPlace());
        errors = saveOver();
    }
    EXPECT_EQ(errors, QStringList{QStringLiteral("I/O エラー (%1)").arg(EFBIG)});
    EXPECT_EQ(readFile(file), fixture("crlf.csv"));
    EXPECT_TRUE(form().Modified);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("class.csv")});
}
#endif

#ifndef _WIN32
TEST_F(RosterFile, SavingKeepsPermissionsAndWritesThroughALink) {
    QDir(dir.path()).mkdir(QStringLiteral("real"));
    const QString target = placed("crlf.csv", QStringLiteral("real/class.csv"));
    ASSERT_EQ(::chmod(QFile::encodeName(target).constData(), 0640), 0);
    const QString link = path(QStringLiteral("link.csv"));
    ASSERT_TRUE(QFile::link(QStringLiteral("real/class.csv"), link));
    ASSERT_TRUE(open(link).isEmpty());
    typeIntoCell(4, 2, QStringLiteral("7"));
    ASSERT_TRUE(saveOver().isEmpty());
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(readFile(target), header + sj("1,12,山田,やまだ,3\r\n2,5,川本,かわもと,7\r\n").bytes());
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(target).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(QDir(path(QStringLiteral("real"))).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("class.csv")});
    EXPECT_EQ(form().OpenDialog1.initialDir(), dir.path());
}
#endif

TEST_F(RosterFile, BigFilesOpenAndTheGridStaysUsable) {
    // About 50 MB of students, then one line of 10 MB.
    QByteArray big = header;
    int students = 0;
    while (big.size() < 50 * 1024 * 1024) {
        ++students;
        const QByteArray n = QByteArray::number(students);
        big += n + ',' + n + ',' + sj("生徒").bytes() + n + ',' + sj("せいと").bytes() + n + ',' + n + "\r\n";
    }
    const QString bigFile = path(QStringLiteral("big.csv"));
    writeFile(bigFile, big);
    ASSERT_TRUE(open(bigFile).isEmpty());
    ASSERT_EQ(grid()->gridRowCount(), students + 1);
    const QByteArray last = QByteArray::number(students);
    EXPECT_EQ(grid()->cell(2, students).bytes(), sj("生徒").bytes() + last);

    grid()->scrollToBottom();
    QApplication::processEvents();
    const QModelIndex bottom = grid()->cells()->index(students - 1, 4);
    EXPECT_TRUE(grid()->viewport()->rect().intersects(grid()->visualRect(bottom)));
    typeIntoCell(4, students, QStringLiteral("1"));
    ASSERT_TRUE(saveOver().isEmpty());
    QByteArray expected = big;
    expected.chop(last.size() + 2);
    EXPECT_EQ(readFile(bigFile), expected + "1\r\n");

    const QByteArray longLine = header + "1,2," + QByteArray(10 * 1024 * 1024, 'n') + ",r,5\r\n";
    const QString longFile = path(QStringLiteral("long.csv"));
    writeFile(longFile, longLine);
    ASSERT_TRUE(open(longFile).isEmpty());
    EXPECT_EQ(grid()->gridRowCount(), 2);
    EXPECT_EQ(grid()->cell(2, 1).size(), 10 * 1024 * 1024);
    EXPECT_EQ(grid()->cell(4, 1).bytes(), QByteArray("5"));
    grid()->viewport()->repaint();
    ASSERT_TRUE(saveOver().isEmpty());
    EXPECT_EQ(readFile(longFile), longLine);
}

class RosterQuestion : public RosterFile {
protected:
    // Asks the window to close; a driver made before answers its boxes.
    bool closeWindow() {
        const bool closed = form().close();
        EXPECT_EQ(closed, !form().isVisible());
        return closed;
    }
};

TEST_F(RosterQuestion, UnchangedRosterClosesWithoutAsking) {
    ModalDriver driver;
    driver.pressIfShown(QStringLiteral("キャンセル"));
    EXPECT_TRUE(closeWindow());
    EXPECT_TRUE(driver.seen().isEmpty());
}

TEST_F(RosterQuestion, CancelAndEscapeKeepTheWindowOpenAndNoClosesWithoutSaving) {
    const QString file = placed("crlf.csv", QStringLiteral("class.csv"));
    ASSERT_TRUE(open(file).isEmpty());
    typeIntoCell(2, 1, QStringLiteral("山本"));

    ModalDriver cancel;
    cancel.press(QStringLiteral("キャンセル"));
    EXPECT_FALSE(closeWindow());
    ASSERT_EQ(cancel.seen().size(), 1);
    const SeenBox &box = cancel.seen().first();
    EXPECT_EQ(box.caption, QStringLiteral("確認"));
    EXPECT_EQ(box.text, QStringLiteral("ファイルを保存しますか"));
    EXPECT_EQ(box.icon, QMessageBox::Question);
    EXPECT_EQ(box.buttons,
              (QStringList{QStringLiteral("はい(&Y)"), QStringLiteral("いいえ(&N)"), QStringLiteral("キャンセル")}));
    EXPECT_EQ(box.defaultButton, QStringLiteral("はい(&Y)"));
    EXPECT_EQ(box.escapeButton, QStringLiteral("キャンセル"));

    ModalDriver escape;
    escape.escape();
    EXPECT_FALSE(closeWindow());
    EXPECT_EQ(escape.seen().size(), 1);

    ModalDriver no;
    no.press(QStringLiteral("いいえ(&N)"));
    EXPECT_TRUE(closeWindow());
    EXPECT_EQ(readFile(file), fixture("crlf.csv"));
}

TEST_F(RosterQuestion, YesSavesAndCancellingItsSaveDialogStillCloses) {
    typeIntoCell(2, 1, QStringLiteral("山本"));
    ModalDriver driver;
    driver.press(QStringLiteral("はい(&Y)")).chooseFile(QString());
    EXPECT_TRUE(closeWindow());
    EXPECT_EQ(driver.fileDialogs().size(), 1);
    EXPECT_EQ(QDir(dir.path()).entryList({QStringLiteral("*.CSV"), QStringLiteral("*.csv")}, QDir::Files),
              QStringList());
}

TEST_F(RosterQuestion, YesWritesTheRosterFile) {
    const QString file = placed("crlf.csv", QStringLiteral("class.csv"));
    ASSERT_TRUE(open(file).isEmpty());
    typeIntoCell(2, 1, QStringLiteral("山本"));
    ModalDriver driver;
    driver.press(QStringLiteral("はい(&Y)"));
    EXPECT_TRUE(closeWindow());
    EXPECT_EQ(readFile(file), header + sj("1,12,山本,やまだ,3\r\n2,5,川本,かわもと,\r\n").bytes());
    EXPECT_FALSE(form().Modified);
}

// A failed save ends the close: the window stays open, the settings are not
// written on that attempt, and the next attempt asks again.
TEST_F(RosterQuestion, FailedSaveKeepsTheWindowOpen) {
    typeIntoCell(2, 1, QStringLiteral("山本"));
    form().SaveDialog1.fileName = path(QStringLiteral("no/such/class.csv"));
    ModalDriver driver;
    driver.press(QStringLiteral("はい(&Y)")).press(QStringLiteral("OK"));
    EXPECT_FALSE(closeWindow());
    ASSERT_EQ(driver.seen().size(), 2);
    EXPECT_EQ(driver.seen()[1].text, QStringLiteral("ファイル名の指定が間違っています."));
    EXPECT_FALSE(QFileInfo::exists(startupIni()));
    EXPECT_TRUE(form().Modified);

    ModalDriver again;
    again.press(QStringLiteral("いいえ(&N)"));
    EXPECT_TRUE(closeWindow());
    EXPECT_EQ(again.seen().size(), 1);
}

TEST(TextFile, FolderOfAFileIsItsPathUpToTheLastSeparator) {
    const struct {
        const char *file;
        const char *folder;
    } cases[] = {
        {"/home/t/class.csv", "/home/t"},
        {"/class.csv", "/"},
        {"/home/t/", "/home/t"},
        {"class.csv", ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(textfile::folderOf(QString::fromUtf8(c.file)), QString::fromUtf8(c.folder)) << c.file;
}
