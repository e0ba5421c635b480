#include "support/DrawTest.h"
#include "projector/PresenterKeys.h"
#include "projector/Projector.h"
#include "draw/Random.h"
#include "widgets/TextList.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTabWidget>
#include <QToolButton>
#include <QTimer>
#include <QtTest/QTest>

#include <map>

namespace {
const QString start = QStringLiteral("スタート");
const QString stopText = QStringLiteral("ストップ");

// Red pixels of a seat highlight in a picture of the projector's chart.
int highlightedPixels(QWidget *chart) {
    const QImage image = chart->grab().toImage();
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) == QColor(255, 0, 0))
                ++n;
    return n;
}
} // namespace

TEST(PresenterKey, WhatEachKeyDoes) {
    const auto none = Qt::NoModifier;
    const struct {
        int key;
        Qt::KeyboardModifiers modifiers;
        bool inProjector;
        PresenterKey action;
    } cases[] = {
        {Qt::Key_Space, none, false, PresenterKey::StartStop},
        {Qt::Key_Return, none, true, PresenterKey::StartStop},
        {Qt::Key_Enter, Qt::KeypadModifier, false, PresenterKey::StartStop},
        {Qt::Key_PageDown, none, false, PresenterKey::StartStop},
        {Qt::Key_PageUp, none, true, PresenterKey::StartStop},
        {Qt::Key_B, none, false, PresenterKey::StartStop},
        {Qt::Key_B, Qt::ShiftModifier, false, PresenterKey::StartStop},
        {Qt::Key_Period, none, true, PresenterKey::StartStop},
        {Qt::Key_F11, none, false, PresenterKey::ToggleProjector},
        {Qt::Key_F11, none, true, PresenterKey::ToggleProjector},
        {Qt::Key_Escape, none, true, PresenterKey::CloseProjector},
        // Esc in the window is the window's; page changes and Tab are not ours.
        {Qt::Key_Escape, none, false, PresenterKey::None},
        {Qt::Key_PageDown, Qt::ControlModifier, false, PresenterKey::None},
        {Qt::Key_PageUp, Qt::ControlModifier, true, PresenterKey::None},
        {Qt::Key_Space, Qt::AltModifier, false, PresenterKey::None},
        {Qt::Key_Tab, none, false, PresenterKey::None},
        {Qt::Key_Down, none, true, PresenterKey::None},
        {Qt::Key_A, none, false, PresenterKey::None},
    };
    for (const auto &c : cases)
        EXPECT_EQ(presenterKey(c.key, c.modifiers, c.inProjector), c.action)
            << QKeySequence(c.key).toString().toStdString() << " modifiers " << c.modifiers.toInt() << " projector "
            << c.inProjector;
}

class Presenter : public DrawTest {
protected:
    // Presses a key as the keyboard does: to a widget, through the application.
    static void key(QWidget *w, int k, Qt::KeyboardModifiers m = Qt::NoModifier) {
        QTest::keyClick(w, static_cast<Qt::Key>(k), m);
    }
    // Stops with a key and closes the announcement with another, sent to the
    // box itself as the keyboard would. Answers the box's text.
    QString stopByKeys(QWidget *target, int stopKey, int closeKey, const std::function<void(QWidget *)> &inspect = {}) {
        ModalDriver driver;
        QString text;
        driver.then([&](QWidget *w) {
            auto *box = qobject_cast<QMessageBox *>(w);
            ASSERT_NE(box, nullptr);
            text = box->text();
            if (inspect)
                inspect(w);
            // The keyboard reaches the box once it has the focus.
            const bool focused = QTest::qWaitFor([box] {
                return QApplication::focusWidget() && QApplication::focusWidget()->window() == box;
            });
            if (!focused) {
                ADD_FAILURE() << "the box never got the focus";
                box->reject();
                return;
            }
            key(QApplication::focusWidget(), closeKey);
        });
        key(target, stopKey);
        EXPECT_EQ(driver.pending(), 0);
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "the key left the box open";
        return text;
    }
    ProjectorView *projector() { return form().Projector; }
};

TEST_F(Presenter, EveryPresenterKeyStartsAndStopsOnTheDrawPage) {
    TForm1 &f = createWindow();
    const int keys[] = {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter, Qt::Key_PageDown,
                        Qt::Key_PageUp, Qt::Key_B,      Qt::Key_Period};
    keepSeats(7);
    ASSERT_TRUE(openRoster(classOf(7)).isEmpty());
    clickTab(1);
    int row = 1;
    for (int k : keys) {
        SCOPED_TRACE(QKeySequence(k).toString().toStdString());
        // The focused Start button and the chart would take some of these
        // keys for themselves; the draw sees them first.
        QWidget *target = row % 2 ? static_cast<QWidget *>(f.Button1) : f.StringGrid1;
        key(target, k);
        ASSERT_EQ(f.Button1->text(), stopText);
        ASSERT_TRUE(waitForTick());
        const QString shown = f.Label1->text();
        // Enter or Space closes the announcement.
        const QString name = QStringLiteral("生徒%1").arg(row, 2, 10, QLatin1Char('0'));
        EXPECT_EQ(stopByKeys(target, k, row % 2 ? Qt::Key_Return : Qt::Key_Space), announcement(name, shown));
        EXPECT_EQ(seatOf(row), shown);
        ++row;
    }
    EXPECT_EQ(status(), completeText);
    // A held key repeats nothing, and a disabled Start starts nothing.
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(f.StringGrid1, &repeat);
    key(f.StringGrid1, Qt::Key_PageDown);
    EXPECT_EQ(f.Button1->text(), start);
    EXPECT_FALSE(f.Timer1->isActive());
}

TEST_F(Presenter, OtherPagesAndCtrlKeysKeepTheirKeys) {
    TForm1 &f = createWindow();
    keepSeats(30);
    ASSERT_TRUE(openRoster(classOf(30)).isEmpty());
    ASSERT_TRUE(f.Button1->isEnabled());
    ASSERT_EQ(f.PageControl1->currentIndex(), 0);

    // The roster grid still moves a page down with Page Down.
    f.StringGrid2->setFocus();
    f.StringGrid2->setCurrentIndex(f.StringGrid2->model()->index(0, 0));
    key(f.StringGrid2, Qt::Key_PageDown);
    EXPECT_GT(f.StringGrid2->currentRow(), 1);
    for (int k : {Qt::Key_PageUp, Qt::Key_Space, Qt::Key_B, Qt::Key_Period, Qt::Key_F11})
        key(f.StringGrid2, k);
    EXPECT_EQ(f.Button1->text(), start);
    EXPECT_FALSE(f.Timer1->isActive());
    EXPECT_EQ(projector(), nullptr);

    clickTab(2);
    key(f.CB_tonari, Qt::Key_Space);
    EXPECT_TRUE(f.CB_tonari->isChecked()) << "the check box keeps its Space";
    EXPECT_EQ(f.Button1->text(), start);

    clickTab(1);
    key(f.StringGrid1, Qt::Key_PageDown, Qt::ControlModifier);
    key(f.StringGrid1, Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(f.Button1->text(), start);
    EXPECT_FALSE(f.Timer1->isActive());
}

TEST_F(Presenter, TheProjectorViewFillsTheScreenAndFollowsTheDraw) {
    TForm1 &f = createWindow();
    keepSeats(30);
    ASSERT_TRUE(openRoster(classOf(30)).isEmpty());
    clickTab(1);
    key(f.StringGrid1, Qt::Key_F11);
    ProjectorView *view = projector();
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(view->isVisible());
    EXPECT_TRUE(view->isFullScreen());
    const QRect screen = f.screen()->geometry();
    EXPECT_EQ(view->geometry(), screen);
    const int h = screen.height();
    EXPECT_GE(view->number()->font().pixelSize() * 3, h);
    EXPECT_GE(view->number()->height() * 3, h);
    EXPECT_GE(view->chartFontPixels() * 30, h);
    EXPECT_EQ(view->status()->text(), turnText(QStringLiteral("生徒01")));
    EXPECT_EQ(view->startStop()->text(), start);
    EXPECT_TRUE(view->startStop()->isEnabled());

    // To screen readers the view is the application's window, named and showing.
    ASSERT_TRUE(QTest::qWaitForWindowActive(view));
    QAccessibleInterface *app = QAccessible::queryAccessibleInterface(qApp);
    ASSERT_NE(app, nullptr);
    QAccessibleInterface *window = nullptr;
    for (int i = 0; i < app->childCount(); ++i)
        if (app->child(i) && app->child(i)->object() == view)
            window = app->child(i);
    ASSERT_NE(window, nullptr) << "the view is a top-level child of the application";
    EXPECT_EQ(window->role(), QAccessible::Window);
    EXPECT_EQ(window->text(QAccessible::Name), QStringLiteral("Kirabo プロジェクター表示"));
    EXPECT_FALSE(window->state().invisible);
    EXPECT_TRUE(window->state().focusable);
    EXPECT_TRUE(window->state().active);
    EXPECT_TRUE(window->state().focused);
    EXPECT_EQ(window->parent(), app);

    key(view, Qt::Key_PageDown);
    EXPECT_EQ(f.Button1->text(), stopText);
    EXPECT_EQ(view->startStop()->text(), stopText);
    // A tick in the window is a tick on the projector.
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(waitForTick());
        EXPECT_EQ(view->number()->text(), f.Label1->text());
    }
    const QString shown = f.Label1->text();
    int litWhileOpen = 0;
    QPoint boxCentre;
    int boxFont = 0;
    const QString text = stopByKeys(view, Qt::Key_PageDown, Qt::Key_Return, [&](QWidget *box) {
        litWhileOpen = highlightedPixels(view->chart());
        boxCentre = box->frameGeometry().center();
        boxFont = box->font().pixelSize();
        EXPECT_EQ(view->number()->text(), shown);
    });
    EXPECT_EQ(text, announcement(QStringLiteral("生徒01"), shown));
    EXPECT_GT(litWhileOpen, 0) << "the seat is highlighted on the projector while the box is open";
    EXPECT_EQ(highlightedPixels(view->chart()), 0);
    EXPECT_LE((boxCentre - view->frameGeometry().center()).manhattanLength(), 8);
    EXPECT_GE(boxFont * 30, h);
    EXPECT_EQ(view->status()->text(), turnText(QStringLiteral("生徒02")));
    EXPECT_EQ(view->startStop()->text(), start);

    // A mouse click on the view's own Start/Stop is a click on Button1.
    QTest::mouseClick(view->startStop(), Qt::LeftButton);
    EXPECT_EQ(f.Button1->text(), stopText);
    ASSERT_TRUE(waitForTick());

    key(view, Qt::Key_F11);
    EXPECT_EQ(projector(), nullptr);
    // Without the view the announcement stands where it always does.
    QPoint corner;
    stop([&](QWidget *w) { corner = w->frameGeometry().topLeft(); });
    EXPECT_EQ(corner, f.frameGeometry().topLeft() + QPoint(256, 120));
}

TEST_F(Presenter, EscDuringASpinKeepsSpinningInTheWindow) {
    TForm1 &f = createWindow();
    keepSeats(5);
    ASSERT_TRUE(openRoster(classOf(5)).isEmpty());
    clickTab(1);
    f.Button_Projector->click();
    ASSERT_NE(projector(), nullptr);
    key(projector(), Qt::Key_B);
    ASSERT_TRUE(waitForTick());
    key(projector(), Qt::Key_Escape);
    EXPECT_EQ(projector(), nullptr);
    EXPECT_TRUE(f.Timer1->isActive());
    EXPECT_EQ(f.Button1->text(), stopText);
    QSignalSpy ticks(f.Timer1, &QTimer::timeout);
    EXPECT_TRUE(ticks.wait(1000));

    // Opened again, the view shows the spin under way, and stops it.
    key(f.StringGrid1, Qt::Key_F11);
    ASSERT_NE(projector(), nullptr);
    EXPECT_EQ(projector()->startStop()->text(), stopText);
    const QString text = stopByKeys(projector(), Qt::Key_Period, Qt::Key_Space);
    EXPECT_EQ(text, announcement(QStringLiteral("生徒01"), seatOf(1)));
}

TEST_F(Presenter, ARefusalShowsOverTheProjectorAndTheSpinGoesOn) {
    TForm1 &f = createWindow();
    // Rows 1 to 10 seated, row 3 on seat 20: row 11 sat beside row 3, whose
    // desk-mate seat is now 28.
    std::vector<Pupil> students = classOf(48);
    const std::map<int, int> seats{{1, 30}, {2, 31}, {3, 20}, {4, 33}, {5, 34},
                                   {6, 35}, {7, 36}, {8, 37}, {9, 38}, {10, 39}};
    for (const auto &[row, seat] : seats)
        students[static_cast<size_t>(row - 1)].seat = QString::number(seat);
    ASSERT_TRUE(openRoster(students).isEmpty());
    f.CB_tonari->setChecked(true);
    clickTab(1);
    key(f.StringGrid1, Qt::Key_F11);
    ProjectorView *view = projector();
    ASSERT_NE(view, nullptr);
    key(view, Qt::Key_Space);
    while (f.Label1->text() != QStringLiteral("28"))
        f.Timer1Timer();

    QPoint centre;
    const QString text = stopByKeys(view, Qt::Key_PageDown, Qt::Key_Return,
                                    [&](QWidget *box) { centre = box->frameGeometry().center(); });
    EXPECT_EQ(text, refusalText);
    EXPECT_LE((centre - view->frameGeometry().center()).manhattanLength(), 8);
    EXPECT_EQ(seatOf(11), QString());
    EXPECT_TRUE(f.Timer1->isActive());
    EXPECT_EQ(view->startStop()->text(), stopText);
    ASSERT_TRUE(waitForTick());
    EXPECT_EQ(view->number()->text(), f.Label1->text());
    EXPECT_EQ(view->status()->text(), turnText(QStringLiteral("生徒11")));
}

// A teacher's whole seat change from the projector view with the keyboard
// alone: Page Down starts and stops, Enter closes each box; afterwards the
// record is saved and read back, and the roster saved.
TEST_F(Presenter, AWholeClassDrawnFromTheProjectorWithTheKeyboardAlone) {
    TForm1 &f = createWindow();
    keepSeats(30);
    ASSERT_TRUE(openRoster(classOf(30)).isEmpty());
    // The last change becomes the draw order, so the neighbour rule has
    // former desk-mates to keep apart.
    rng::seed(7);
    for (int i = 0; i < 30; ++i)
        drawOnce();
    f.ToolButton4->click();
    f.Button6->click();
    f.CB_tonari->setChecked(true);
    f.DrawRecord.clear();
    clickTab(1);

    key(f.StringGrid1, Qt::Key_F11);
    ProjectorView *view = projector();
    ASSERT_NE(view, nullptr);
    int refusals = 0;
    int stops = 0;
    while (f.Button1->isEnabled() && stops + refusals < 300) {
        if (f.Button1->text() == start)
            key(view, Qt::Key_PageDown);
        ASSERT_TRUE(waitForTick());
        const QString text = stopByKeys(view, Qt::Key_PageDown, Qt::Key_Return);
        text == refusalText ? ++refusals : ++stops;
    }
    EXPECT_EQ(stops, 30);
    EXPECT_EQ(view->status()->text(), completeText);
    key(view, Qt::Key_Escape);
    ASSERT_EQ(projector(), nullptr);

    ModalDriver save;
    save.then([](QWidget *w) {
        auto *button = w->findChild<QPushButton *>(QStringLiteral("SaveDrawRecord"));
        ASSERT_NE(button, nullptr);
        QTimer::singleShot(0, w, [w, button] {
            button->click();
            static_cast<QDialog *>(w)->accept();
        });
    });
    save.chooseFile(path(QStringLiteral("record.csv")));
    f.Button_Record->click();

    QSet<QByteArray> seats;
    int refusedLines = 0;
    int stopLines = 0;
    for (const QByteArray &line : readFile(path(QStringLiteral("record.csv"))).split('\n')) {
        const QList<QByteArray> fields = line.split(',');
        if (fields.size() < 6)
            continue;
        if (fields[1] == sj("決定").bytes()) {
            ++stopLines;
            seats.insert(fields[5]);
        } else if (fields[1] == sj("やりなおし").bytes()) {
            ++refusedLines;
        }
    }
    EXPECT_EQ(stopLines, 30);
    EXPECT_EQ(seats.size(), 30);
    EXPECT_EQ(refusedLines, refusals);

    ModalDriver closing;
    closing.press(QStringLiteral("はい(&Y)"));
    EXPECT_TRUE(f.close());
    const QList<QByteArray> lines = readFile(rosterFile()).split('\n');
    ASSERT_EQ(lines.size(), 32);
    QSet<QByteArray> saved;
    for (int row = 1; row <= 30; ++row)
        saved.insert(lines[row].split(',').value(4).chopped(1));
    EXPECT_EQ(saved, seats);
}
