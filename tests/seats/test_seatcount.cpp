#include "controls/SeatCountView.h"
#include "support/DrawTest.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>

// The count beside the layout.
class SeatCountBeside : public DrawTest {
protected:
    void SetUp() override {
        DrawTest::SetUp();
        createWindow();
        clickTab(2);
    }
    // The count shows the state a handler leaves, once it has finished.
    QLabel *line(const char *name) {
        QCoreApplication::processEvents();
        return window->Panel_SeatCount->findChild<QLabel *>(QString::fromUtf8(name));
    }
    QString text() { return line("SeatCountText")->text(); }
    QString advice() {
        QLabel *l = line("SeatCountAdvice");
        return l->isVisible() ? l->text() : QString();
    }
    bool red() { return line("SeatCountText")->palette().color(QPalette::WindowText) == Qt::red; }
};

TEST_F(SeatCountBeside, FollowsTheLayoutAndTheRosterAndSaysWhatToChange) {
    EXPECT_EQ(text(), QStringLiteral("座席 48 ／ 名簿なし"));
    EXPECT_EQ(advice(), QString());
    EXPECT_FALSE(red());

    openRoster(classOf(30));
    EXPECT_EQ(text(), QStringLiteral("座席 48 ／ 名簿 30人"));
    EXPECT_EQ(advice(), QStringLiteral("×印をあと18個付けてください"));
    EXPECT_TRUE(red());
    EXPECT_EQ(line("SeatCountAdvice")->palette().color(QPalette::WindowText), Qt::red);

    keepSeats(30);
    EXPECT_EQ(text(), QStringLiteral("座席 30 ／ 名簿 30人"));
    EXPECT_EQ(advice(), QString());
    EXPECT_FALSE(red());

    window->Button_AddRow->click();
    EXPECT_EQ(text(), QStringLiteral("座席 30 ／ 名簿 31人"));
    EXPECT_EQ(advice(), QStringLiteral("×印を1個外してください"));
}

TEST_F(SeatCountBeside, StandsBesideTheLayoutWithoutMovingAnything) {
    openRoster(classOf(1));
    const QRect count = window->Panel_SeatCount->geometry();
    EXPECT_EQ(window->Panel_SeatCount->parentWidget(), window->Panel4);
    EXPECT_TRUE(window->Panel4->rect().contains(count));
    EXPECT_FALSE(count.intersects(window->Panel2->geometry()));
    EXPECT_FALSE(count.intersects(window->StringGrid_Settei->geometry()));
    // The longest texts show whole.
    for (const char *name : {"SeatCountText", "SeatCountAdvice"}) {
        QLabel *l = line(name);
        EXPECT_LE(l->sizeHint().width(), l->width()) << name;
        EXPECT_LE(l->sizeHint().height(), l->height()) << name;
    }
}
