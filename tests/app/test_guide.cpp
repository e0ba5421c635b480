#include "guide/GuideWindow.h"
#include "platform/SjisText.h"
#include "support/WindowTest.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolButton>
#include <QtTest/QTest>

#include <set>

namespace {

// A widget's rectangle in one of its ancestors.
QRect placeIn(const QWidget *ancestor, const QWidget *w) {
    return QRect(w->mapTo(ancestor, QPoint(0, 0)), w->size());
}

// The guide as a teacher meets it: opened from the real window with F1 or
// "使い方", read in its own window, its links clicked with the mouse.
class Guide : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        createWindow();
        QApplication::setActiveWindow(&form());
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form()));
    }

    void pressF1() {
        QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : &form();
        QTest::keyClick(target, Qt::Key_F1);
    }

    QTextBrowser *browser() {
        EXPECT_NE(form().Guide, nullptr);
        return form().Guide ? form().Guide->browser() : nullptr;
    }

    // The text of the guide's first heading.
    QString firstHeading() {
        for (QTextBlock b = browser()->document()->begin(); b.isValid(); b = b.next())
            if (b.blockFormat().headingLevel() == 1)
                return b.text().trimmed();
        return {};
    }

    // Clicks the first link showing this text, where it stands on the screen.
    void clickLink(const QString &text) {
        QTextBrowser *view = browser();
        const QTextCursor found = view->document()->find(text);
        ASSERT_FALSE(found.isNull()) << text.toStdString();
        QTextCursor inside(view->document());
        inside.setPosition(found.selectionStart() + 1);
        ASSERT_TRUE(inside.charFormat().isAnchor()) << text.toStdString();
        view->setTextCursor(inside);
        view->ensureCursorVisible();
        const QPoint at = view->cursorRect(inside).center();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    }

    // Every anchor name and every link of the guide's page.
    void linksAndAnchors(std::set<QString> &links, std::set<QString> &anchors) {
        for (QTextBlock b = browser()->document()->begin(); b.isValid(); b = b.next())
            for (auto it = b.begin(); !it.atEnd(); ++it) {
                const QTextCharFormat f = it.fragment().charFormat();
                for (const QString &name : f.anchorNames())
                    anchors.insert(name);
                if (!f.anchorHref().isEmpty())
                    links.insert(f.anchorHref());
            }
    }
};

TEST_F(Guide, F1OpensTheGuideFromAnyPageAtThatPagesSection) {
    struct Case {
        int page;
        QString fragment;
    };
    // The roster page, where a class begins, opens the guide at its start.
    for (const Case &c : {Case{1, QStringLiteral("draw")}, Case{2, QStringLiteral("settings")}, Case{0, {}}}) {
        form().PageControl1->setCurrentIndex(c.page);
        QApplication::setActiveWindow(&form());
        pressF1();
        ASSERT_NE(form().Guide, nullptr);
        EXPECT_TRUE(form().Guide->isVisible());
        EXPECT_EQ(browser()->source().fragment(), c.fragment) << c.page;
        EXPECT_EQ(browser()->source().adjusted(QUrl::RemoveFragment), GuideWindow::home());
        if (c.fragment.isEmpty())
            EXPECT_EQ(browser()->verticalScrollBar()->value(), 0);
        else
            EXPECT_GT(browser()->verticalScrollBar()->value(), 0) << c.page;
    }
    EXPECT_EQ(form().Guide->windowTitle(), QStringLiteral("Kirabo の使い方"));
    EXPECT_EQ(firstHeading(), QStringLiteral("Kirabo の使い方"));
}

TEST_F(Guide, TheControlInTheTabRowOpensTheGuideAndMovesNothing) {
    TForm1 &f = form();
    QToolButton *control = f.Button_Guide;
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->text(), QStringLiteral("使い方"));
    // In the corner, beside the name of the class open.
    ASSERT_NE(f.PageControl1->cornerWidget(Qt::TopRightCorner), nullptr);
    EXPECT_TRUE(f.PageControl1->cornerWidget(Qt::TopRightCorner)->isAncestorOf(control));
    EXPECT_EQ(control->focusPolicy(), Qt::NoFocus);

    // The same tab control without the corner control: the pages stand
    // where they stood and keep their size.
    QTabWidget bare;
    bare.setFont(f.PageControl1->font());
    for (int i = 0; i < 3; ++i)
        bare.addTab(new QWidget, f.PageControl1->tabText(i));
    bare.resize(f.PageControl1->size());
    bare.show();
    for (int i = 0; i < 3; ++i) {
        f.PageControl1->setCurrentIndex(i);
        bare.setCurrentIndex(i);
        QApplication::processEvents();
        EXPECT_EQ(placeIn(f.PageControl1, f.PageControl1->currentWidget()), placeIn(&bare, bare.currentWidget())) << i;
    }
    // In the tab row, right of the last tab.
    const QTabBar *tabs = f.PageControl1->tabBar();
    const QRect where = placeIn(f.PageControl1, control);
    EXPECT_GT(where.left(), tabs->mapTo(f.PageControl1, tabs->tabRect(2).topRight()).x());
    EXPECT_LT(where.bottom(), placeIn(f.PageControl1, f.PageControl1->currentWidget()).top());
    EXPECT_LE(where.right(), f.PageControl1->width());

    f.PageControl1->setCurrentIndex(1);
    QTest::mouseClick(control, Qt::LeftButton);
    ASSERT_NE(f.Guide, nullptr);
    EXPECT_TRUE(f.Guide->isVisible());
    EXPECT_EQ(firstHeading(), QStringLiteral("Kirabo の使い方"));
    // The control opens the guide at its start whatever the page, also
    // after F1 opened it further down or the teacher scrolled it.
    for (const bool byF1 : {true, false}) {
        if (byF1) {
            QApplication::setActiveWindow(&f);
            pressF1();
        } else {
            browser()->verticalScrollBar()->setValue(browser()->verticalScrollBar()->maximum() / 2);
        }
        ASSERT_GT(browser()->verticalScrollBar()->value(), 0) << byF1;
        QTest::mouseClick(control, Qt::LeftButton);
        EXPECT_TRUE(browser()->source().fragment().isEmpty()) << byF1;
        EXPECT_EQ(browser()->verticalScrollBar()->value(), 0) << byF1;
    }
}

TEST_F(Guide, EveryPictureOfTheGuideLoads) {
    form().showGuide(false);
    QTextBrowser *view = browser();
    int pictures = 0;
    for (QTextBlock b = view->document()->begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            if (!f.isImageFormat())
                continue;
            ++pictures;
            const QUrl url = view->source().resolved(QUrl(f.toImageFormat().name()));
            const QVariant data = view->loadResource(QTextDocument::ImageResource, url);
            const QImage picture = QImage::fromData(data.toByteArray());
            EXPECT_FALSE(picture.isNull()) << url.toString().toStdString();
            // A picture is the program's own screen, not a placeholder.
            EXPECT_GE(picture.width(), 300) << url.toString().toStdString();
        }
    EXPECT_GE(pictures, 10);
}

// A character the guide's face has no glyph for shows as an empty box.
TEST_F(Guide, EveryCharacterOfTheGuideHasAGlyphInItsFace) {
    form().showGuide(false);
    QTextBrowser *view = browser();
    QString missing;
    for (QTextBlock b = view->document()->begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QFontMetrics face(fragment.charFormat().font());
            for (const char32_t c : fragment.text().toUcs4())
                if (!QChar::isSpace(c) && c != QChar::ObjectReplacementCharacter && !face.inFontUcs4(c)
                    && !missing.contains(QString::fromUcs4(&c, 1)))
                    missing += QString::fromUcs4(&c, 1);
        }
    EXPECT_EQ(missing, QString());
}

TEST_F(Guide, EveryLinkWithinTheGuideHasItsPlaceAndAClickMovesThere) {
    form().showGuide(false);
    std::set<QString> links;
    std::set<QString> anchors;
    linksAndAnchors(links, anchors);
    int internal = 0;
    for (const QString &link : links) {
        if (link == GuideWindow::sampleLink().toString())
            continue;
        ASSERT_TRUE(link.startsWith(QLatin1Char('#'))) << link.toStdString();
        EXPECT_TRUE(anchors.count(link.mid(1))) << "no place for " << link.toStdString();
        ++internal;
    }
    EXPECT_GE(internal, 20);

    // The contents' entry for the seat conditions, clicked.
    clickLink(QStringLiteral("座席の条件"));
    EXPECT_EQ(browser()->source().fragment(), QStringLiteral("conditions"));
    const int there = browser()->verticalScrollBar()->value();
    EXPECT_GT(there, 0);
    // "戻る" returns to the contents, "目次" too.
    QList<QPushButton *> buttons = form().Guide->findChildren<QPushButton *>();
    ASSERT_EQ(buttons.size(), 3);
    EXPECT_EQ(buttons[1]->text(), QStringLiteral("戻る"));
    ASSERT_TRUE(buttons[1]->isEnabled());
    QTest::mouseClick(buttons[1], Qt::LeftButton);
    EXPECT_TRUE(browser()->source().fragment().isEmpty());
    EXPECT_LT(browser()->verticalScrollBar()->value(), there);
}

TEST_F(Guide, ALinkOutsideTheGuideIsNotFollowed) {
    form().showGuide(false);
    const QUrl before = browser()->source();
    for (const char *link : {"https://example.com/", "file:///etc/passwd", "mailto:a@example.com"}) {
        emit browser()->anchorClicked(QUrl(QString::fromUtf8(link)));
        EXPECT_EQ(browser()->source(), before) << link;
    }
    EXPECT_EQ(firstHeading(), QStringLiteral("Kirabo の使い方"));
}

// The sample class, opened from its link in the guide: a copy in the sample
// folder, opened in the window on a layout of 32 seats, ready to draw.
TEST_F(Guide, TheSampleLinkOpensACopyOfTheSampleClass) {
    TForm1 &f = form();
    f.PageControl1->setCurrentIndex(2);
    f.showGuide(false);
    clickLink(QStringLiteral("見本のクラスを開く"));

    const QString copy = QDir(TForm1::sampleFolder()).filePath(QStringLiteral("見本クラス.csv"));
    EXPECT_TRUE(copy.startsWith(dir.path())) << copy.toStdString();
    QFile shipped(QStringLiteral(":/guide/sample/sample-class.csv"));
    ASSERT_TRUE(shipped.open(QIODevice::ReadOnly));
    EXPECT_EQ(readFile(copy), shipped.readAll());
    EXPECT_EQ(f.OpenDialog1.fileName, copy);
    EXPECT_EQ(f.PageControl1->currentWidget(), f.TabSheet2);
    EXPECT_FALSE(f.Modified);

    ASSERT_EQ(f.StringGrid2->gridRowCount(), 33);
    const QStringList first{"29", "1", "青木　颯太", "あおき　そうた", ""};
    const QStringList last{"21", "32", "山口　優花", "やまぐち　ゆうか", ""};
    for (int c = 0; c < 5; ++c) {
        EXPECT_EQ(cellText(f.StringGrid2, c, 1), first[c]);
        EXPECT_EQ(cellText(f.StringGrid2, c, 32), last[c]);
    }
    // Ready to draw: the layout holds the class, the first student's turn.
    EXPECT_EQ(f.SeatAmount(), 32);
    EXPECT_EQ(f.Label_N->text(), QStringLiteral("青木　颯太さんの番です！"));
    EXPECT_TRUE(f.Button1->isEnabled());
    EXPECT_TRUE(QFile::exists(QDir(TForm1::sampleFolder()).filePath(QStringLiteral("見本クラス.krb"))));
}

// A roster with changes is not dropped for the sample without asking.
TEST_F(Guide, TheSampleAsksFirstAboutAChangedRoster) {
    TForm1 &f = form();
    const QString mine = path(QStringLiteral("mine.csv"));
    const QByteArray bytes = SjisText::lit("くじ順,出席番号,氏名,ふりがな,座席番号\r\n1,1,木下　茜,きのした　あかね,\r\n").bytes();
    writeFile(mine, bytes);
    f.OpenDialog1.fileName = mine;
    f.readRosterFile(QString());
    typeIntoCell(f.StringGrid2, 2, 1, QStringLiteral("木下　葵"));
    ASSERT_TRUE(f.Modified);

    {
        ModalDriver driver;
        driver.press(QStringLiteral("キャンセル"));
        f.openSampleClass();
        ASSERT_EQ(driver.seen().size(), 1);
        EXPECT_EQ(driver.seen()[0].text, QStringLiteral("ファイルを保存しますか"));
    }
    EXPECT_EQ(f.OpenDialog1.fileName, mine);
    EXPECT_EQ(cellText(f.StringGrid2, 2, 1), QStringLiteral("木下　葵"));
    EXPECT_FALSE(QFile::exists(TForm1::sampleFolder()));

    {
        ModalDriver driver;
        driver.press(QStringLiteral("はい(&Y)"));
        f.openSampleClass();
    }
    EXPECT_EQ(readFile(mine), SjisText::lit("くじ順,出席番号,氏名,ふりがな,座席番号\r\n1,1,木下　葵,きのした　あかね,\r\n").bytes());
    EXPECT_EQ(f.StringGrid2->gridRowCount(), 33);
}

// A layout that already holds 32 seats is the teacher's and stays.
TEST_F(Guide, TheSampleKeepsALayoutThatAlreadyFitsIt) {
    TForm1 &f = form();
    f.PageControl1->setCurrentIndex(2);
    // The back row and the last column: 48 - 6 - 7 = 35; three more make 32.
    for (int c = 0; c < 6; ++c)
        clickCell(f.StringGrid_Settei, c, 7);
    for (int r = 0; r < 7; ++r)
        clickCell(f.StringGrid_Settei, 5, r);
    for (int c = 0; c < 3; ++c)
        clickCell(f.StringGrid_Settei, c, 6);
    ASSERT_EQ(f.SeatAmount(), 32);
    f.openSampleClass();
    EXPECT_EQ(cellText(f.StringGrid_Settei, 5, 0), QStringLiteral("×"));
    EXPECT_EQ(cellText(f.StringGrid_Settei, 0, 6), QStringLiteral("×"));
    EXPECT_EQ(f.SeatAmount(), 32);
}

} // namespace
