#include "support/DrawTest.h"

#include "projector/Projector.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QWindow>

// The announcement of a seat read in front of the class, on the projector
// screens the pictures in docs/ show (1920 × 1080 and 1280 × 800, two
// screens of the offscreen platform): it stands on one line where it fits,
// breaks between the name's phrase and the seat's where it does not, and
// never inside a word.

namespace {

struct Case {
    const char *what;
    int screenWidth; // of the projector's screen: 1920 × 1080 or 1280 × 800
    QString name;
    bool oneLine;
};

void PrintTo(const Case &c, std::ostream *os) {
    *os << c.what;
}

// Names as long as a class may hold: a family and a given name with the
// full-width space, then longer and longer ones.
const QString usual = QStringLiteral("吉田　湊");
const QString longer = QStringLiteral("勘解由小路　ひまわり");
const QString veryLong = QStringLiteral("寿限無寿限無五劫の擦り切れ海砂利水魚");
const QString longest = QStringLiteral("寿限無寿限無五劫の擦り切れ海砂利水魚の水行末雲来末風来末");

class Announcement : public DrawTest, public ::testing::WithParamInterface<Case> {};

TEST_P(Announcement, StandsWholeOnTheProjector) {
    const Case &c = GetParam();
    QScreen *projector = nullptr;
    for (QScreen *s : QGuiApplication::screens())
        if (s->geometry().width() == c.screenWidth)
            projector = s;
    if (!projector)
        GTEST_SKIP() << "the projector screens are not given here";

    TForm1 &f = createWindow();
    f.windowHandle()->setScreen(projector);
    f.move(projector->geometry().topLeft() + QPoint(40, 40));
    // The others hold seats 1 to 9: the student named is given seat 10,
    // a number of two digits, as most seats are.
    keepSeats(10);
    std::vector<Pupil> students = classOf(10);
    students[0].name = c.name;
    for (int row = 2; row <= 10; ++row)
        students[static_cast<size_t>(row - 1)].seat = QString::number(row - 1);
    ASSERT_TRUE(openRoster(students).isEmpty());
    clickTab(1);
    f.Button_Projector->click();
    auto *view = f.findChild<ProjectorView *>();
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(view->geometry(), projector->geometry());

    f.Button1->click();
    f.Timer1Timer();
    const QString seat = f.Label1->text();
    ASSERT_EQ(seat, QStringLiteral("10"));
    QString text;
    QStringList overflowing;
    int face = 0;
    QRect box;
    stop([&](QWidget *w) {
        auto *label = w->findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
        ASSERT_NE(label, nullptr);
        text = label->text();
        face = label->font().pixelSize();
        box = w->frameGeometry();
        const QFontMetrics metrics(label->font());
        for (const QString &line : text.split(QLatin1Char('\n')))
            if (metrics.horizontalAdvance(line) > label->contentsRect().width())
                overflowing << line;
    });
    const QString who = c.name + QStringLiteral("さんの座席は");
    const QString where = seat + QStringLiteral("番に決まりました。");
    EXPECT_EQ(text, c.oneLine ? who + where : who + QLatin1Char('\n') + where);
    EXPECT_TRUE(overflowing.isEmpty()) << "the box wraps inside: " << overflowing.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(projector->geometry().contains(box)) << "the box stands on the projector's screen";
    // Read from the back of the room: a long name takes two thirds of the
    // face at the least.
    EXPECT_GE(face * 3, view->chartFontPixels() * 2);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Projectors, Announcement, ::testing::Values(
    Case{"usual_1920", 1920, usual, true},
    Case{"usual_1280", 1280, usual, true},
    Case{"longer_1920", 1920, longer, true},
    Case{"longer_1280", 1280, longer, true},
    Case{"veryLong_1920", 1920, veryLong, false},
    Case{"veryLong_1280", 1280, veryLong, false},
    Case{"longest_1920", 1920, longest, false},
    Case{"longest_1280", 1280, longest, false}),
    [](const ::testing::TestParamInfo<Case> &info) { return std::string(info.param.what); });
// clang-format on

} // namespace
