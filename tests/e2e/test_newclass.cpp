#include "support/DrawTest.h"
#include "support/PrintTools.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QInputDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QtTest/QTest>

#include <set>

namespace {

// A new user's first class, on a fresh start with no files: the roster made
// in the program from names copied out of a spreadsheet, saved, drawn and
// printed.
class NewClass : public DrawTest {};

TEST_F(NewClass, AClassOf32PastedFromASpreadsheetIsSavedDrawnAndPrinted) {
    TForm1 &f = createWindow();
    QApplication::setActiveWindow(&f);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    keepSeats(32);

    // The number of students proposed is the layout's seats.
    {
        ModalDriver driver;
        driver.then([](QWidget *w) {
            auto *dialog = qobject_cast<QInputDialog *>(w);
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(dialog->intValue(), 32);
            dialog->accept();
        });
        f.Button_NewRoster->click();
        ASSERT_EQ(driver.pending(), 0);
    }
    ASSERT_EQ(f.StringGrid2->gridRowCount(), 33);

    // Two columns of a spreadsheet, name and reading, as it copies them.
    QString copied;
    QByteArray expected = sj("くじ順,出席番号,氏名,ふりがな,座席番号\r\n").bytes();
    for (int i = 1; i <= 32; ++i) {
        const QString two = QStringLiteral("%1").arg(i, 2, 10, QLatin1Char('0'));
        copied += QStringLiteral("児童%1\tじどう%1\r\n").arg(two);
        expected += two.toLatin1() + ',' + QByteArray::number(i) + ','
                    + sj("児童").bytes() + two.toLatin1() + ',' + sj("じどう").bytes() + two.toLatin1() + ",\r\n";
    }
    // Pasted as the guide says: a click on the first 氏名 cell, which the
    // new roster made current, opens its editor a moment later, and Ctrl+V
    // goes there. The block fills the cells all the same.
    QGuiApplication::clipboard()->setText(copied);
    QApplication::setActiveWindow(&f);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    clickCell(f.StringGrid2, 2, 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return f.StringGrid2->isEditing(); }, 5000));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_FALSE(f.StringGrid2->isEditing());
    EXPECT_EQ(cellText(f.StringGrid2, 2, 1), QStringLiteral("児童01"));
    EXPECT_EQ(cellText(f.StringGrid2, 3, 1), QStringLiteral("じどう01"));
    EXPECT_EQ(cellText(f.StringGrid2, 2, 32), QStringLiteral("児童32"));

    // "上書き保存" asks for a name: the class has no file yet.
    const QString saved = path(QStringLiteral("3年1組.csv"));
    {
        ModalDriver driver;
        driver.chooseFile(saved);
        f.ToolButton2->click();
        ASSERT_EQ(driver.fileDialogs().size(), 1);
    }
    EXPECT_EQ(readFile(saved), expected);
    EXPECT_FALSE(f.Modified);

    clickTab(1);
    EXPECT_EQ(status(), turnText(QStringLiteral("児童01")));
    std::set<QString> seats;
    for (int r = 1; r <= 32; ++r) {
        const SeenBox box = drawOnce();
        EXPECT_EQ(box.text, announcement(cellText(f.StringGrid2, 2, r), seatOf(r)));
        seats.insert(seatOf(r));
    }
    EXPECT_EQ(status(), completeText);
    EXPECT_EQ(seats.size(), 32u);

    // Saved again, without a dialog now; the history goes beside it.
    {
        ModalDriver none;
        f.ToolButton2->click();
        EXPECT_TRUE(none.fileDialogs().isEmpty());
    }
    EXPECT_TRUE(readFile(saved).contains(sj("01,1,児童01,じどう01,").bytes() + seatOf(1).toLatin1() + "\r\n"));
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("3年1組_履歴.csv"))));

    clickTab(2);
    const QString pdf = path(QStringLiteral("座席表.pdf"));
    {
        ModalDriver driver;
        driver.then([&](QWidget *w) {
            printToFile(w, pdf);
        });
        QTest::mouseClick(f.BitBtn1, Qt::LeftButton);
        EXPECT_EQ(driver.pending(), 0);
        EXPECT_TRUE(driver.seen().isEmpty());
    }
    EXPECT_EQ(pdfInfo(pdf).pages, 1);
    if (!pdfTextReadable())
        GTEST_SKIP() << "no tool reads a PDF's words here";
    QStringList words;
    for (const PdfWord &w : pdfWords(pdf))
        words << w.text;
    for (const char *name : {"児童01", "児童17", "児童32"})
        EXPECT_TRUE(words.contains(QString::fromUtf8(name))) << name;
}

} // namespace
