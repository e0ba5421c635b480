#include "support/DrawTest.h"
#include "draw/Random.h"
#include "widgets/TextList.h"
#include "print/PageCanvas.h"
#include "support/PrintTools.h"
#include "roster/Columns.h"
#include "support/WindowTest.h"

#include <QCheckBox>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QtTest/QTest>

#include <map>
#include <set>

// A teacher's session, through the real buttons, dialogs and files.
namespace {

class EndToEnd : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        original = readFile(QStringLiteral(KIRABO_TEST_DATA "/e2e/class30.csv"));
        ASSERT_FALSE(original.isEmpty());
        roster = path(QStringLiteral("1年2組.csv"));
        writeFile(roster, original);
    }

    void openRoster(TForm1 &f) {
        ModalDriver driver;
        driver.chooseFile(roster);
        f.ToolButton1->click();
        ASSERT_EQ(driver.pending(), 0);
    }

    QByteArray original;
    QString roster;
};

TEST_F(EndToEnd, OpenEditSaveOverAndReopenKeepsEveryOtherByte) {
    TForm1 &f = createWindow();
    openRoster(f);
    ASSERT_EQ(f.StringGrid2->gridRowCount(), 31);
    EXPECT_EQ(cellText(f.StringGrid2, 2, 3), QStringLiteral("高橋　大輝"));
    EXPECT_EQ(cellText(f.StringGrid2, 3, 30), QStringLiteral("おがわ　あやか"));
    EXPECT_FALSE(f.Modified);

    typeIntoCell(f.StringGrid2, 2, 3, QStringLiteral("髙橋　大輝"));
    EXPECT_TRUE(f.Modified);
    f.ToolButton2->click(); // save over, no dialog
    EXPECT_FALSE(f.Modified);

    QByteArray expected = original;
    expected.replace(SjisText::lit("高橋　大輝").bytes(), SjisText::lit("髙橋　大輝").bytes());
    EXPECT_EQ(readFile(roster), expected);

    // Reopen in a new window: the edit is there.
    window.reset();
    TForm1 &g = createWindow();
    openRoster(g);
    EXPECT_EQ(cellText(g.StringGrid2, 2, 3), QStringLiteral("髙橋　大輝"));
}

// A roster opened from the file manager comes as the program's argument: it
// opens as the open command opens it, and a missing one gets its message.
TEST_F(EndToEnd, ARosterGivenOnTheCommandLineOpensAsTheOpenCommandOpensIt) {
    TForm1 &f = createWindow();
    {
        ModalDriver driver;
        f.openFromCommandLine({exePath(), roster});
        EXPECT_TRUE(driver.seen().isEmpty());
    }
    ASSERT_EQ(f.StringGrid2->gridRowCount(), 31);
    EXPECT_EQ(cellText(f.StringGrid2, 2, 3), QStringLiteral("高橋　大輝"));
    EXPECT_EQ(f.OpenDialog1.fileName, roster);
    EXPECT_EQ(f.SaveDialog1.fileName, roster);
    EXPECT_EQ(f.OpenDialog1.initialDir(), dir.path());
    // The draw was prepared, as after the open command: 30 students, 48 seats.
    EXPECT_EQ(f.Label_N->text(), QStringLiteral("座席の数と人数があいません！"));

    ModalDriver driver;
    driver.press(QStringLiteral("OK"));
    f.openFromCommandLine({exePath(), path(QStringLiteral("none.csv"))});
    ASSERT_EQ(driver.seen().size(), 1);
    EXPECT_EQ(driver.seen()[0].text, QStringLiteral("ファイルが見つかりません."));
    EXPECT_EQ(f.StringGrid2->gridRowCount(), 31);
    EXPECT_EQ(cellText(f.StringGrid2, 2, 3), QStringLiteral("高橋　大輝"));
}

TEST_F(EndToEnd, SortByDrawOrderThenTurnSeatsIntoTheNextOrder) {
    TForm1 &f = createWindow();
    openRoster(f);
    f.ToolButton6->click(); // くじ順に並び替え
    for (int r = 1; r <= 30; ++r)
        EXPECT_EQ(cellText(f.StringGrid2, 0, r), QString::asprintf("%02d", r));
    EXPECT_EQ(cellText(f.StringGrid2, 2, 1), QStringLiteral("中村　葵")); // draw order 1
    EXPECT_EQ(cellText(f.StringGrid2, 1, 1), QStringLiteral("8"));

    // A finished draw: the student drawn k-th sits at seat 31 - k.
    for (int r = 1; r <= 30; ++r)
        f.StringGrid2->setCell(4, r, SjisText(QByteArray::number(31 - r)));
    const QString lastDrawn = cellText(f.StringGrid2, 2, 30);
    f.ToolButton4->click(); // 座席番号をくじ順へ
    for (int r = 1; r <= 30; ++r) {
        EXPECT_EQ(cellText(f.StringGrid2, 0, r), QString::asprintf("%02d", r));
        EXPECT_TRUE(f.StringGrid2->cell(4, r).isEmpty());
    }
    EXPECT_EQ(cellText(f.StringGrid2, 2, 1), lastDrawn); // seat 1 comes first
}

TEST_F(EndToEnd, ClosingWithUnsavedEditsAsksAndCancelKeepsTheWindowOpen) {
    TForm1 &f = createWindow();
    openRoster(f);
    typeIntoCell(f.StringGrid2, 3, 1, QStringLiteral("さとう　しょおた"));
    ASSERT_TRUE(f.Modified);
    {
        ModalDriver driver;
        driver.press(QStringLiteral("キャンセル"));
        f.BitBtn2->click(); // 閉じる
        ASSERT_EQ(driver.seen().size(), 1);
        const SeenBox &box = driver.seen().first();
        EXPECT_EQ(box.caption, QStringLiteral("確認"));
        EXPECT_EQ(box.text, QStringLiteral("ファイルを保存しますか"));
        EXPECT_EQ(box.icon, QMessageBox::Question);
        EXPECT_EQ(box.buttons, (QStringList{"はい(&Y)", "いいえ(&N)", "キャンセル"}));
        EXPECT_EQ(box.defaultButton, QStringLiteral("はい(&Y)"));
        EXPECT_EQ(box.escapeButton, QStringLiteral("キャンセル"));
    }
    EXPECT_TRUE(f.isVisible());
    EXPECT_TRUE(QFile::exists(startupIni())); // written all the same
    EXPECT_EQ(readFile(roster), original);

    {
        ModalDriver driver;
        driver.press(QStringLiteral("はい(&Y)"));
        f.close();
        EXPECT_EQ(driver.seen().size(), 1);
    }
    EXPECT_FALSE(f.isVisible());
    EXPECT_FALSE(f.Modified);
    QByteArray expected = original;
    expected.replace(SjisText::lit("さとう　しょうた").bytes(), SjisText::lit("さとう　しょおた").bytes());
    EXPECT_EQ(readFile(roster), expected);
}

TEST_F(EndToEnd, LayoutTitleAndRuleComeBackAtTheNextStart) {
    TForm1 &f = createWindow();
    EXPECT_EQ(f.Edit_Title->text(), QStringLiteral("座席表"));
    EXPECT_FALSE(f.CB_tonari->isChecked());
    clickCell(f.StringGrid_Settei, 0, 0);
    clickCell(f.StringGrid_Settei, 2, 7);
    clickCell(f.StringGrid_Settei, 5, 3);
    f.CB_tonari->setChecked(true);
    f.Edit_Title->setText(QStringLiteral("2学期の座席表"));
    f.close();
    ASSERT_FALSE(f.isVisible());

    const QByteArray ini = readFile(startupIni());
    EXPECT_TRUE(ini.startsWith("[0]\r\n0=\x81\x7E\r\n1=1\r\n"));
    EXPECT_TRUE(ini.endsWith(SjisText::lit("[設定]\r\n印刷タイトル=2学期の座席表\r\nフォルダ=\r\nフォルダ2=\r\nお隣チェック=1\r\n").bytes()));
    EXPECT_EQ(ini.count("\r\n"), 52 + 7);

    window.reset();
    TForm1 &g = createWindow();
    EXPECT_EQ(cellText(g.StringGrid_Settei, 0, 0), QStringLiteral("×"));
    EXPECT_EQ(cellText(g.StringGrid_Settei, 2, 7), QStringLiteral("×"));
    EXPECT_EQ(cellText(g.StringGrid_Settei, 5, 3), QStringLiteral("×"));
    EXPECT_EQ(cellText(g.StringGrid_Settei, 5, 7), QStringLiteral("45"));
    EXPECT_EQ(g.SeatAmount(), 45);
    EXPECT_EQ(cellText(g.StringGrid1, 5, 7), QStringLiteral("45"));
    EXPECT_TRUE(g.CB_tonari->isChecked());
    EXPECT_EQ(g.Edit_Title->text(), QStringLiteral("2学期の座席表"));
}

// The road of a seat change and the next one, from a first start with no
// settings file: the layout, the roster, the draw on the real timer, the
// save, the printout, the next draw order, the close and the next start.
class SeatChange : public DrawTest {
protected:
    void SetUp() override {
        DrawTest::SetUp();
        original = readFile(QStringLiteral(KIRABO_TEST_DATA "/e2e/class30.csv"));
        ASSERT_FALSE(original.isEmpty());
        ASSERT_FALSE(original.contains('"'));
        roster = path(QStringLiteral("1年2組.csv"));
        writeFile(roster, original);
        // 18 positions without a seat: the two back rows, four of row 5 and
        // two of row 4, so that seats at both ends of row 4 have no desk-mate.
        for (int c = 0; c < 6; ++c)
            marks.insert({c, 7}), marks.insert({c, 6});
        for (int c : {0, 1, 4, 5})
            marks.insert({c, 5});
        marks.insert({1, 4});
        marks.insert({4, 4});
        int n = 0;
        for (int c = 0; c < 6; ++c)
            for (int r = 0; r < 8; ++r)
                layoutText[c][r] = marks.count({c, r}) ? QStringLiteral("×") : QString::number(++n);
        ASSERT_EQ(n, 30);
    }

    // The students' lines of a roster file, split into their fields.
    static QList<QList<QByteArray>> studentLines(const QByteArray &file) {
        QList<QByteArray> lines = file.split('\n');
        EXPECT_TRUE(lines.takeLast().isEmpty()); // every line ends in CR LF
        QList<QList<QByteArray>> out;
        for (int i = 1; i < lines.size(); ++i) {
            EXPECT_TRUE(lines[i].endsWith('\r'));
            out << lines[i].chopped(1).split(',');
        }
        return out;
    }

    static QByteArray rosterBytes(const QList<QList<QByteArray>> &students) {
        QByteArray out = sj("くじ順,出席番号,氏名,ふりがな,座席番号\r\n").bytes();
        for (const auto &fields : students)
            out += fields.join(',') + "\r\n";
        return out;
    }

    // The start-up settings file as a program with the given layout and
    // settings writes it from nothing.
    QByteArray iniBytes(const QString &title, const QString &folder, bool rule) const {
        QByteArray out;
        for (int c = 0; c < 6; ++c) {
            out += "[" + QByteArray::number(c) + "]\r\n";
            for (int r = 0; r < 8; ++r)
                out += QByteArray::number(r) + "=" + sj(layoutText[c][r].toUtf8().constData()).bytes() + "\r\n";
        }
        const QString tail = QStringLiteral("[設定]\r\n印刷タイトル=%1\r\nフォルダ=%2\r\nフォルダ2=\r\nお隣チェック=%3\r\n")
                                 .arg(title, folder, QString::number(rule ? 1 : 0));
        return out + sj(tail.toUtf8().constData()).bytes();
    }

    void expectLayoutShown(TForm1 &f) {
        for (int c = 0; c < 6; ++c)
            for (int r = 0; r < 8; ++r) {
                EXPECT_EQ(cellText(f.StringGrid_Settei, c, r), layoutText[c][r]) << c << "," << r;
                EXPECT_EQ(cellText(f.StringGrid1, c, r), layoutText[c][r]) << c << "," << r;
            }
        EXPECT_EQ(f.SeatAmount(), 30);
    }

    void openRosterFile(TForm1 &f) {
        ModalDriver driver;
        driver.chooseFile(roster);
        f.ToolButton1->click();
        ASSERT_EQ(driver.pending(), 0);
        EXPECT_TRUE(driver.seen().isEmpty());
    }

    // The layout position of a seat number, as the layout shows it.
    QPoint positionOf(int seat) const {
        for (int c = 0; c < 6; ++c)
            for (int r = 0; r < 8; ++r)
                if (layoutText[c][r] == QString::number(seat))
                    return {c, r};
        return {-1, -1};
    }
    // The seat at the desk-mate position of a seat; 0 when there is none.
    int deskMateOf(int seat) const {
        const QPoint p = positionOf(seat);
        const QString mate = layoutText[p.x() ^ 1][p.y()];
        return mate == QStringLiteral("×") ? 0 : mate.toInt();
    }

    // Draws every seat with Start, a real tick and Stop, closing each box.
    // Answers, for each roster row, how many seats were free when its stop
    // was accepted; refused stops are counted in refusals.
    std::map<int, int> drawAll(TForm1 &f, int &refusals) {
        std::map<int, int> freeAtStop;
        for (int stops = 0; f.Button1->isEnabled() && stops < 500; ++stops) {
            const int row = f.draw.turnRow();
            const QString name = cellText(f.StringGrid2, roster::nameCol, row);
            EXPECT_EQ(status(), turnText(name));
            const int free = f.Memo1->count();
            if (f.Button1->text() == QStringLiteral("スタート"))
                clickWithoutBox();
            if (!waitForTick()) {
                ADD_FAILURE() << "the spin timer did not tick";
                break;
            }
            const QString shown = f.Label1->text();
            const QPoint at = positionOf(shown.toInt());
            bool highlighted = false;
            const SeenBox box = stop([&](QWidget *) {
                highlighted = f.StringGrid1->object(at.x(), at.y()) != 0;
                EXPECT_FALSE(f.Timer1->isActive());
            });
            EXPECT_EQ(box.caption, QStringLiteral("Kirabo"));
            EXPECT_EQ(box.icon, QMessageBox::NoIcon);
            EXPECT_EQ(box.buttons, QStringList{QStringLiteral("OK")});
            if (box.text == refusalText) {
                ++refusals;
                EXPECT_GE(free, 2);
                EXPECT_TRUE(seatOf(row).isEmpty());
                EXPECT_EQ(f.draw.turnRow(), row);
                EXPECT_TRUE(f.Timer1->isActive()); // spins on
                continue;
            }
            EXPECT_EQ(box.text, announcement(name, shown));
            EXPECT_TRUE(highlighted) << "seat " << shown.toStdString() << " was not shown in red";
            EXPECT_EQ(f.StringGrid1->object(at.x(), at.y()), 0);
            EXPECT_EQ(cellText(f.StringGrid1, at.x(), at.y()), name);
            EXPECT_EQ(seatOf(row), shown);
            EXPECT_EQ(f.Memo1->count(), free - 1);
            EXPECT_TRUE(f.Modified);
            freeAtStop[row] = free;
        }
        EXPECT_EQ(status(), completeText);
        EXPECT_FALSE(f.Button1->isEnabled());
        EXPECT_EQ(f.Memo1->count(), 0);
        return freeAtStop;
    }

    // Types a text into the print title as an input method does.
    static void typeTitle(QLineEdit *edit, const QString &text) {
        edit->setFocus();
        edit->selectAll();
        QKeyEvent typed(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
        QApplication::sendEvent(edit, &typed);
    }

    QStringList filesInDir() const {
        return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }

    QByteArray original;
    QString roster;
    std::set<std::pair<int, int>> marks;
    QString layoutText[6][8];
};

TEST_F(SeatChange, AWholeSeatChangeAndTheNextOne) {
    const QString title = QStringLiteral("2年1組の座席表");
    ASSERT_FALSE(QFile::exists(startupIni()));
    TForm1 *f = &createWindow();
    rng::seed(20260401);

    // A first start: 48 seats numbered column by column, the default title,
    // the rule off, nothing prepared.
    EXPECT_EQ(f->PageControl1->currentIndex(), 0);
    for (int c = 0; c < 6; ++c)
        for (int r = 0; r < 8; ++r) {
            EXPECT_EQ(cellText(f->StringGrid_Settei, c, r), QString::number(8 * c + r + 1));
            EXPECT_EQ(cellText(f->StringGrid1, c, r), QString::number(8 * c + r + 1));
        }
    EXPECT_EQ(f->Edit_Title->text(), QStringLiteral("座席表"));
    EXPECT_FALSE(f->CB_tonari->isChecked());
    EXPECT_TRUE(status().isEmpty());
    EXPECT_FALSE(f->Button1->isEnabled());

    // The classroom of 30 seats and the title, on the settings page.
    clickTab(2);
    for (const auto &[c, r] : marks)
        clickCell(f->StringGrid_Settei, c, r);
    expectLayoutShown(*f);
    typeTitle(f->Edit_Title, title);
    EXPECT_EQ(f->Edit_Title->text(), title);
    EXPECT_FALSE(QFile::exists(startupIni()));

    // The roster: opening prepares the draw and changes no byte of the file.
    clickTab(0);
    openRosterFile(*f);
    ASSERT_EQ(f->StringGrid2->gridRowCount(), 31);
    const QList<QList<QByteArray>> students = studentLines(original);
    ASSERT_EQ(students.size(), 30);
    for (int row = 1; row <= 30; ++row)
        for (int c = 0; c < 5; ++c)
            ASSERT_EQ(f->StringGrid2->cell(c, row).bytes(), students[row - 1][c]) << row << "," << c;
    EXPECT_EQ(readFile(roster), original);
    EXPECT_FALSE(f->Modified);
    EXPECT_EQ(status(), turnText(cellText(f->StringGrid2, roster::nameCol, 1)));

    // The draw page prepares again: seats 1 to 30 free, the first student's turn.
    clickTab(1);
    QStringList all;
    for (int s = 1; s <= 30; ++s)
        all << QString::number(s);
    EXPECT_EQ(pool(), all);
    EXPECT_EQ(f->draw.turnRow(), 1);
    EXPECT_TRUE(f->Button1->isEnabled());
    EXPECT_EQ(f->Button1->text(), QStringLiteral("スタート"));

    int refusals = 0;
    drawAll(*f, refusals);
    EXPECT_EQ(refusals, 0); // the rule is off
    std::map<int, QList<QByteArray>> bySeat; // who drew which seat
    for (int row = 1; row <= 30; ++row) {
        QList<QByteArray> fields = students[row - 1];
        fields[4] = f->StringGrid2->cell(roster::seatCol, row).bytes();
        bySeat[fields[4].toInt()] = fields;
    }
    ASSERT_EQ(bySeat.size(), 30u);
    EXPECT_EQ(bySeat.begin()->first, 1);
    EXPECT_EQ(bySeat.rbegin()->first, 30);
    EXPECT_TRUE(f->Modified);
    EXPECT_EQ(readFile(roster), original); // nothing saved yet

    // Save over: no dialog, every seat in the file, nothing left beside it.
    clickTab(0);
    {
        ModalDriver none;
        none.thenIfShown([](QWidget *w) {
            ADD_FAILURE() << "a box showed: " << w->windowTitle().toStdString();
            static_cast<QDialog *>(w)->reject();
        });
        f->ToolButton2->click();
    }
    EXPECT_FALSE(f->Modified);
    QList<QList<QByteArray>> drawn;
    for (int row = 1; row <= 30; ++row) {
        QList<QByteArray> fields = students[row - 1];
        fields[4] = f->StringGrid2->cell(roster::seatCol, row).bytes();
        drawn << fields;
    }
    EXPECT_EQ(readFile(roster), rosterBytes(drawn));
    // The finished seat change went into the class history, saved with the roster.
    EXPECT_EQ(filesInDir(), (QStringList{QStringLiteral("1年2組.csv"), QStringLiteral("1年2組_履歴.csv")}));
    const QList<QByteArray> history = readFile(path(QStringLiteral("1年2組_履歴.csv"))).split('\n');
    ASSERT_EQ(history.size(), 32); // the header, 30 students, the empty rest
    EXPECT_EQ(history[0], sj("回,日付,出席番号,氏名,くじ順,座席番号,隣の出席番号,隣の氏名\r").bytes());
    EXPECT_TRUE(history[1].startsWith("1," + QDate::currentDate().toString(Qt::ISODate).toLatin1() + ','));
    EXPECT_EQ(f->OpenDialog1.initialDir(), dir.path());

    // The printout, teacher's view, to a PDF file: every student in the box
    // of their seat, the back row with seats first, the desk last.
    clickTab(2);
    const QString pdf = path(QStringLiteral("座席表.pdf"));
    {
        ModalDriver driver;
        driver.then([&](QWidget *w) {
            EXPECT_EQ(w->windowTitle(), QStringLiteral("印刷のオプション"));
            printToFile(w, pdf);
        });
        QTest::mouseClick(f->BitBtn1, Qt::LeftButton);
        EXPECT_EQ(driver.pending(), 0);
        EXPECT_TRUE(driver.seen().isEmpty());
    }
    EXPECT_EQ(filesInDir(), (QStringList{QStringLiteral("1年2組.csv"), QStringLiteral("1年2組_履歴.csv"),
                                         QStringLiteral("座席表.pdf")}));
    const PdfInfo info = pdfInfo(pdf);
    EXPECT_EQ(info.pages, 1);
    EXPECT_GT(info.widthMm, info.heightMm);
    if (!pdfTextReadable())
        GTEST_SKIP() << "no tool reads a PDF's words here";
    const QList<PdfWord> words = pdfWords(pdf);
    auto wordAt = [&](const QString &text, double left, double top, double bottom) {
        return std::any_of(words.begin(), words.end(), [&](const PdfWord &w) {
            return w.text.startsWith(text) && std::abs(w.left - left) < 0.5 && w.top >= top && w.bottom <= bottom;
        });
    };
    EXPECT_TRUE(wordAt(title, 25, 10, 22));
    // Layout rows 6 and 7 have no seat and take no space: row 5 is printed first.
    const int rowTop[8] = {130, 109, 88, 67, 46, 25, 0, 0};
    for (const auto &[seat, fields] : bySeat) {
        const QPoint at = positionOf(seat);
        const double left = 235 - 43 * at.x() + 3; // teacher's view: column 0 on the right
        const double top = rowTop[at.y()];
        const QString family = SjisText(fields[2]).toUnicode().section(QChar(0x3000), 0, 0);
        EXPECT_TRUE(wordAt(SjisText(fields[1]).toUnicode(), left, top, top + 18)) << "attendance at seat " << seat;
        EXPECT_TRUE(wordAt(family, left, top, top + 18)) << family.toStdString() << " at seat " << seat;
    }
    EXPECT_TRUE(wordAt(QStringLiteral("教卓"), 142, 151, 163));

    // The seat numbers become the next draw order; the save above stands.
    clickTab(0);
    f->ToolButton4->click();
    QList<QList<QByteArray>> next;
    for (const auto &[seat, fields] : bySeat) {
        QList<QByteArray> moved = fields;
        moved[0] = QString::asprintf("%02d", seat).toLatin1();
        moved[4].clear();
        next << moved;
    }
    for (int row = 1; row <= 30; ++row)
        for (int c = 0; c < 5; ++c)
            ASSERT_EQ(f->StringGrid2->cell(c, row).bytes(), next[row - 1][c]) << row << "," << c;
    EXPECT_FALSE(f->Modified);
    EXPECT_EQ(readFile(roster), rosterBytes(drawn)); // not saved by itself
    // A reading corrected by hand makes the roster unsaved again.
    typeIntoCell(f->StringGrid2, roster::readingCol, 5, QStringLiteral("やまだ　はなこ"));
    next[4][3] = sj("やまだ　はなこ").bytes();
    EXPECT_TRUE(f->Modified);

    // The rule on, then close: first the roster question, then the settings.
    clickTab(2);
    QTest::mouseClick(f->CB_tonari, Qt::LeftButton);
    EXPECT_TRUE(f->CB_tonari->isChecked());
    {
        ModalDriver driver;
        driver.then([&](QWidget *w) {
            EXPECT_FALSE(QFile::exists(startupIni())) << "the settings were written before the question";
            auto *box = qobject_cast<QMessageBox *>(w);
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(describe(box).text, QStringLiteral("ファイルを保存しますか"));
            for (QAbstractButton *b : box->buttons())
                if (b->text() == QStringLiteral("はい(&Y)"))
                    b->click();
        });
        QTest::mouseClick(f->BitBtn2, Qt::LeftButton);
        EXPECT_EQ(driver.pending(), 0);
    }
    EXPECT_FALSE(f->isVisible());
    EXPECT_EQ(readFile(roster), rosterBytes(next));
    // The settings, then the roster opened, to open again in one step.
    const QByteArray ini =
        iniBytes(title, dir.path(), true) + sj(("[最近の名簿]\r\n1=" + roster + "\r\n").toUtf8().constData()).bytes();
    EXPECT_EQ(readFile(startupIni()), ini);

    // The next start: the layout, the title and the rule are back.
    window.reset();
    f = &createWindow();
    rng::seed(1);
    expectLayoutShown(*f);
    EXPECT_EQ(f->Edit_Title->text(), title);
    EXPECT_TRUE(f->CB_tonari->isChecked());
    EXPECT_TRUE(status().isEmpty());
    EXPECT_EQ(readFile(startupIni()), ini); // reading it writes nothing
    {
        ModalDriver driver;
        driver.chooseFile(roster);
        f->ToolButton1->click();
        ASSERT_EQ(driver.fileDialogs().size(), 1);
        EXPECT_EQ(driver.fileDialogs()[0].first, dir.path()); // where the roster was
    }
    EXPECT_EQ(readFile(roster), rosterBytes(next));

    // The next draw: row r sat at seat r. Former desk-mates never share a
    // desk again while two or more seats are free.
    clickTab(1);
    EXPECT_EQ(pool(), all);
    const std::map<int, int> freeAtStop = drawAll(*f, refusals);
    EXPECT_GT(refusals, 0) << "the rule never had anything to refuse";
    int pairs = 0;
    for (int row = 1; row <= 30; ++row) {
        const int mate = deskMateOf(row);
        if (mate < row)
            continue; // no desk-mate, or the pair was looked at from the other side
        ++pairs;
        const int seat = seatOf(row).toInt();
        if (deskMateOf(seat) != seatOf(mate).toInt())
            continue;
        const int second = freeAtStop.at(row) < freeAtStop.at(mate) ? row : mate;
        EXPECT_EQ(freeAtStop.at(second), 1) << "rows " << row << " and " << mate << " share a desk again";
    }
    EXPECT_EQ(pairs, 14);

    // Closing without saving keeps the file as it was and writes the same settings.
    {
        ModalDriver driver;
        driver.press(QStringLiteral("いいえ(&N)"));
        EXPECT_TRUE(f->close());
        EXPECT_EQ(driver.seen().size(), 1);
    }
    EXPECT_EQ(readFile(roster), rosterBytes(next));
    EXPECT_EQ(readFile(startupIni()), ini);
}

// The printout shows the roster as it stands when it is printed, also when
// the roster was edited after the draw page last filled the chart.
class PrintedChart : public DrawTest {
protected:
    void SetUp() override {
        DrawTest::SetUp();
        createWindow();
        keepSeats(4);
        std::vector<Pupil> students = classOf(4);
        for (size_t i = 0; i < students.size(); ++i)
            students[i].seat = QString::number(4 - static_cast<int>(i));
        ASSERT_TRUE(openRoster(students).isEmpty());
        clickTab(1); // the chart is filled from the roster
        clickTab(0);
    }

    // The print command to a PDF file, through the options dialog; the
    // boxes it showed, answered with OK.
    QList<SeenBox> printTo(const QString &pdf) {
        clickTab(2);
        ModalDriver driver;
        driver.then([&](QWidget *w) {
            printToFile(w, pdf);
        });
        driver.pressIfShown(QStringLiteral("OK"));
        QTest::mouseClick(form().BitBtn1, Qt::LeftButton);
        return driver.seen();
    }
};

TEST_F(PrintedChart, ANameEditedAfterTheChartWasFilledPrintsAsEdited) {
    typeIntoCell(form().StringGrid2, 2, 2, QStringLiteral("改名"));
    EXPECT_EQ(cellText(form().StringGrid1, 0, 2), QStringLiteral("生徒02")) << "the chart waits for the draw page";

    RecordingCanvas page;
    form().RvSystem1Print(page);
    QStringList texts;
    for (const PageOp &op : page.ops())
        if (op.kind == PageOp::Kind::Text)
            texts << op.text;
    EXPECT_TRUE(texts.contains(QStringLiteral("改名")));
    EXPECT_FALSE(texts.contains(QStringLiteral("生徒02")));
    EXPECT_TRUE(texts.contains(QStringLiteral("生徒01")));

    const QString pdf = path(QStringLiteral("chart.pdf"));
    EXPECT_TRUE(printTo(pdf).isEmpty());
    ASSERT_TRUE(QFile::exists(pdf));
    if (!pdfTextReadable())
        GTEST_SKIP() << "no tool reads a PDF's words here";
    QStringList words;
    for (const PdfWord &w : pdfWords(pdf))
        words << w.text;
    EXPECT_TRUE(words.contains(QStringLiteral("改名")));
    EXPECT_FALSE(words.contains(QStringLiteral("生徒02")));
}

// The print stops before its options, saying which seat is wrong and what to do.
TEST_F(PrintedChart, ASeatEditedIntoNoNumberStopsThePrintWithWhatToDo) {
    typeIntoCell(form().StringGrid2, 4, 3, QStringLiteral("x"));
    clickTab(2);
    ShownWindows shown;
    ModalDriver driver;
    SeenBox refusal;
    driver.then([&refusal](QWidget *w) {
        auto *box = qobject_cast<QMessageBox *>(w);
        if (!box) {
            ADD_FAILURE() << "the print went on to " << w->windowTitle().toStdString();
            qobject_cast<QDialog *>(w)->reject();
            return;
        }
        refusal = describe(box);
        box->buttons().first()->click();
    });
    QTest::mouseClick(form().BitBtn1, Qt::LeftButton);
    EXPECT_EQ(refusal.caption, QStringLiteral("エラー"));
    EXPECT_EQ(refusal.text, QStringLiteral("座席表を印刷できません。"
                                           "くじ順03番の座席番号に正しい座席番号以外が入力されています。"
                                           "名簿の座席番号を直してから、もう一度印刷してください。"));
    EXPECT_EQ(shown.titles(), QStringList{QStringLiteral("エラー")});
}

} // namespace
