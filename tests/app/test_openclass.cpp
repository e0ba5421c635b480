#include "support/DrawTest.h"
#include "support/PrintTools.h"

#include "controls/OpenClassLabel.h"
#include "controls/RecentRostersMenu.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QtTest/QTest>

// Which class is open, in sight on every page; the rosters opened last,
// opened again in one step, also after a restart; and the word that a save
// or a PDF was written, which asks for no click.

namespace {

QByteArray stored(const QString &text) {
    SjisText out;
    EXPECT_TRUE(SjisText::tryFromUnicode(text, out));
    return out.bytes();
}

class OpenClass : public DrawTest {
protected:
    // A roster file of this name in the test's folder, of n students.
    QString writeRoster(const QString &name, int n) {
        QByteArray bytes = sj("くじ順,出席番号,氏名,ふりがな,座席番号\r\n").bytes();
        for (const Pupil &p : classOf(n))
            bytes +=
                stored(QStringList{p.order, p.attendance, p.name, p.reading, p.seat}.join(QLatin1Char(','))) + "\r\n";
        const QString file = path(name);
        writeFile(file, bytes);
        return file;
    }
    // Opens a roster file with the open button and its dialog.
    void openWithDialog(const QString &file) {
        ModalDriver driver;
        driver.chooseFile(file);
        form().ToolButton1->click();
    }
    QString corner() const { return window->Label_Class->shownText(); }
    // The recent list as the menu shows it: its entries, and the one to open.
    QList<QAction *> recentEntries() {
        RecentRostersMenu *menu = form().Menu_Recent;
        menu->popup(form().ToolButton1->mapToGlobal(QPoint(0, form().ToolButton1->height())));
        QList<QAction *> entries;
        for (QAction *a : menu->actions())
            if (a->isEnabled() && !a->isSeparator())
                entries << a;
        menu->hide();
        return entries;
    }
    QStringList recentTexts() {
        QStringList out;
        for (QAction *a : recentEntries())
            out << a->text();
        return out;
    }
    QLabel *notice() const { return window->findChild<QLabel *>(QStringLiteral("Notice")); }
    // Where the tab row, the page shown and the open button stand in the window.
    QList<QRect> places() const {
        const QTabWidget *pages = window->PageControl1;
        return {QRect(pages->tabBar()->mapTo(window.get(), QPoint()), pages->tabBar()->size()),
                QRect(pages->currentWidget()->mapTo(window.get(), QPoint()), pages->currentWidget()->size()),
                QRect(window->ToolButton1->mapTo(window.get(), QPoint()), window->ToolButton1->size())};
    }
};

TEST_F(OpenClass, TheCornerOfTheTabRowNamesTheRosterOnEveryPageAndMovesNothing) {
    TForm1 &f = createWindow();
    const QList<QRect> before = places();
    EXPECT_EQ(corner(), QStringLiteral("名簿: ファイルなし"));

    const QString file = writeRoster(QStringLiteral("2年3組.csv"), 3);
    openWithDialog(file);
    EXPECT_EQ(corner(), QStringLiteral("名簿: 2年3組.csv"));
    EXPECT_EQ(f.Label_Class->toolTip(), QDir::toNativeSeparators(file));
    for (int page = 0; page < 3; ++page) {
        f.PageControl1->setCurrentIndex(page);
        EXPECT_TRUE(f.Label_Class->isVisible()) << page;
        EXPECT_TRUE(f.Button_Guide->isVisible()) << page;
    }
    f.PageControl1->setCurrentIndex(0);

    // Changed: said until the roster is saved.
    typeIntoCell(f.StringGrid2, 2, 1, QStringLiteral("山田"));
    EXPECT_EQ(corner(), QStringLiteral("名簿: 2年3組.csv（変更あり）"));
    f.ToolButton2->click();
    EXPECT_EQ(corner(), QStringLiteral("名簿: 2年3組.csv"));

    // A name longer than the room is shortened in its middle; the word after
    // it stays, and the tabs keep all their room.
    const QString longName = QStringLiteral("令和七年度　第二学年三組　後期の座席替え用の名簿（担任　山田　花子）.csv");
    openWithDialog(writeRoster(longName, 3));
    typeIntoCell(f.StringGrid2, 2, 1, QStringLiteral("山田"));
    const QString shown = corner();
    EXPECT_NE(shown, f.Label_Class->text());
    EXPECT_TRUE(shown.startsWith(QStringLiteral("名簿: 令和"))) << shown.toStdString();
    EXPECT_TRUE(shown.endsWith(QStringLiteral(".csv（変更あり）"))) << shown.toStdString();
    EXPECT_LE(f.Label_Class->fontMetrics().horizontalAdvance(shown), f.Label_Class->width());
    QTabBar *tabs = f.PageControl1->tabBar();
    EXPECT_GE(tabs->width(), tabs->sizeHint().width());
    const QRect cornerPlace(f.Label_Class->mapTo(&f, QPoint()), f.Label_Class->size());
    EXPECT_FALSE(cornerPlace.intersects(places()[0])) << "the name stands clear of the tabs";
    EXPECT_LE(cornerPlace.bottom(), places()[1].top()) << "the name stands above the pages";
    EXPECT_LE(f.Label_Class->parentWidget()->height(), tabs->height()) << "the corner is no taller than the tabs";

    // A class made in the program has no file yet.
    ModalDriver driver;
    driver.press(QStringLiteral("いいえ(&N)")).then([](QWidget *w) { static_cast<QDialog *>(w)->accept(); });
    f.Button_NewRoster->click();
    EXPECT_EQ(corner(), QStringLiteral("名簿: 新しい名簿（未保存）"));

    EXPECT_EQ(places(), before) << "nothing in the window moved";
    EXPECT_EQ(f.ToolButton1->size(), QSize(114, 35));
}

TEST_F(OpenClass, RostersOpenedOrSavedComeBackAfterARestartAndOpenInOneStep) {
    const QString first = writeRoster(QStringLiteral("1組.csv"), 3);
    const QString second = writeRoster(QStringLiteral("2組.csv"), 4);
    createWindow();
    EXPECT_TRUE(recentTexts().isEmpty());
    openWithDialog(first);
    openWithDialog(second);
    // A roster saved under a name of its own is one opened too.
    const QString third = path(QStringLiteral("3組.csv"));
    {
        ModalDriver driver;
        driver.chooseFile(third);
        form().ToolButton3->click();
    }
    ASSERT_TRUE(QFileInfo::exists(third));
    const QString folder = QDir::toNativeSeparators(dir.path());
    EXPECT_EQ(recentTexts(), (QStringList{QStringLiteral("&1 3組.csv　（%1）").arg(folder),
                                          QStringLiteral("&2 2組.csv　（%1）").arg(folder),
                                          QStringLiteral("&3 1組.csv　（%1）").arg(folder)}));
    EXPECT_TRUE(form().close());
    // The list stands after the settings, which are as they always were.
    QByteArray settings;
    for (int c = 0; c < 6; ++c) {
        settings += "[" + QByteArray::number(c) + "]\r\n";
        for (int r = 0; r < 8; ++r)
            settings += QByteArray::number(r) + "=" + QByteArray::number(c * 8 + r + 1) + "\r\n";
    }
    settings +=
        stored(QStringLiteral("[設定]\r\n印刷タイトル=座席表\r\nフォルダ=%1\r\nフォルダ2=\r\nお隣チェック=0\r\n")
                   .arg(dir.path()));
    EXPECT_EQ(readFile(startupIni()),
              settings + stored(QStringLiteral("[最近の名簿]\r\n1=%1\r\n2=%2\r\n3=%3\r\n").arg(third, second, first)));

    window.reset();
    TForm1 &f = createWindow();
    ASSERT_EQ(recentEntries().size(), 3);
    // Unsaved changes are asked about first; Cancel opens nothing.
    typeIntoCell(f.StringGrid2, 2, 1, QStringLiteral("山田"));
    {
        ModalDriver driver;
        driver.press(QStringLiteral("キャンセル"));
        recentEntries()[2]->trigger();
        ASSERT_EQ(driver.seen().size(), 1);
        EXPECT_EQ(driver.seen()[0].text, QStringLiteral("ファイルを保存しますか"));
    }
    EXPECT_EQ(f.SaveDialog1.fileName, QString());
    {
        ModalDriver driver;
        driver.press(QStringLiteral("いいえ(&N)"));
        recentEntries()[2]->trigger();
    }
    // Opened as the open command opens it: the roster, its name, the draw prepared.
    EXPECT_EQ(f.SaveDialog1.fileName, first);
    EXPECT_EQ(f.OpenDialog1.fileName, first);
    EXPECT_EQ(f.classRoster.studentCount(), 3);
    EXPECT_EQ(cellText(f.StringGrid2, 2, 3), QStringLiteral("生徒03"));
    EXPECT_EQ(corner(), QStringLiteral("名簿: 1組.csv（変更あり）"));
    // The one opened goes first.
    EXPECT_TRUE(recentTexts().first().startsWith(QStringLiteral("&1 1組.csv")));
}

TEST_F(OpenClass, ARosterThatIsGoneIsSaidSoAndLeavesTheList) {
    const QString gone = writeRoster(QStringLiteral("1組.csv"), 3);
    TForm1 &f = createWindow();
    openWithDialog(gone);
    ASSERT_TRUE(QFile::remove(gone));
    {
        ModalDriver driver;
        driver.press(QStringLiteral("OK"));
        recentEntries()[0]->trigger();
        ASSERT_EQ(driver.seen().size(), 1);
        EXPECT_EQ(driver.seen()[0].caption, QStringLiteral("警告"));
        EXPECT_EQ(driver.seen()[0].text,
                  QStringLiteral("名簿ファイル「%1」が見つかりません。最近開いた名簿から外します")
                      .arg(QDir::toNativeSeparators(gone)));
    }
    EXPECT_TRUE(recentEntries().isEmpty());
    // An empty list leaves the start-up file as a start without one writes it.
    EXPECT_TRUE(f.close());
    EXPECT_FALSE(readFile(startupIni()).contains(sj("最近の名簿").bytes()));
}

TEST_F(OpenClass, OnlyTheStartUpFileKeepsTheListAndOnlyWhatShiftJisHolds) {
    TForm1 &f = createWindow();
    // ë has no Shift-JIS code: the roster opens, the list does not keep it.
    openWithDialog(writeRoster(QStringLiteral("Zoë.csv"), 2));
    EXPECT_EQ(corner(), QStringLiteral("名簿: Zoë.csv"));
    EXPECT_TRUE(recentEntries().isEmpty());
    openWithDialog(writeRoster(QStringLiteral("1組.csv"), 2));
    // A named settings file is the layout's and the title's alone.
    const QString named = path(QStringLiteral("教室.krb"));
    {
        ModalDriver driver;
        driver.chooseFile(named);
        f.Button3->click();
    }
    ASSERT_TRUE(QFileInfo::exists(named));
    EXPECT_FALSE(readFile(named).contains(sj("最近の名簿").bytes()));
}

TEST_F(OpenClass, SavingTheRosterSaysSoWithoutABox) {
    TForm1 &f = createWindow();
    openWithDialog(writeRoster(QStringLiteral("2年3組.csv"), 3));
    EXPECT_EQ(notice(), nullptr);
    typeIntoCell(f.StringGrid2, 2, 1, QStringLiteral("山田"));
    {
        ModalDriver none;
        none.thenIfShown([](QWidget *w) {
            ADD_FAILURE() << "a box showed: " << w->windowTitle().toStdString();
            static_cast<QDialog *>(w)->reject();
        });
        f.ToolButton2->click();
    }
    QLabel *said = notice();
    ASSERT_NE(said, nullptr);
    EXPECT_TRUE(said->isVisible());
    EXPECT_EQ(said->text(), QStringLiteral("「2年3組.csv」に保存しました"));
    EXPECT_TRUE(said->testAttribute(Qt::WA_TransparentForMouseEvents));
    EXPECT_TRUE(f.rect().contains(said->geometry())) << "within the window";
    // It goes by itself.
    QTRY_VERIFY_WITH_TIMEOUT(!said->isVisible(), 10000);
}

TEST_F(OpenClass, ThePdfIsProposedUnderTheClassAndTheTitleAndItsWritingIsSaid) {
    TForm1 &f = createWindow();
    openWithDialog(writeRoster(QStringLiteral("2年3組.csv"), 3));
    f.PageControl1->setCurrentIndex(2);
    f.Edit_Title->setText(QStringLiteral("座席表 4/1"));
    const QString pdf = path(QStringLiteral("2年3組_座席表 4_1.pdf"));
    QString proposed;
    ModalDriver driver;
    driver.then([&](QWidget *w) {
        proposed = w->findChild<QLineEdit *>()->text();
        printToFile(w, pdf);
    });
    QTest::mouseClick(f.BitBtn1, Qt::LeftButton);
    EXPECT_EQ(QFileInfo(proposed).fileName(), QStringLiteral("2年3組_座席表 4_1.pdf"));
    ASSERT_TRUE(QFileInfo::exists(pdf));
    ASSERT_NE(notice(), nullptr);
    EXPECT_TRUE(notice()->isVisible());
    EXPECT_EQ(notice()->text(), QStringLiteral("PDF「2年3組_座席表 4_1.pdf」を保存しました"));
}

} // namespace
