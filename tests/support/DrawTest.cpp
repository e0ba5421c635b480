#include "support/DrawTest.h"

#include "draw/Random.h"
#include "widgets/TextList.h"
#include "roster/RosterCsv.h"
#include "roster/Columns.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QtTest/QTest>

#include <set>

const QString refusalText = QStringLiteral("隣の人が前回と同じです! やりなおします");
const QString completeText = QStringLiteral("座席表が完成しました！");

QString turnText(const QString &name) {
    return name + QStringLiteral("さんの番です！");
}

QString announcement(const QString &name, const QString &seat) {
    return name + QStringLiteral("さんの座席は") + seat + QStringLiteral("番に決まりました。");
}

void DrawTest::SetUp() {
    WindowTest::SetUp();
    QApplication::setQuitOnLastWindowClosed(false);
}

std::vector<Pupil> DrawTest::classOf(int n) {
    std::vector<Pupil> out;
    for (int i = 1; i <= n; ++i) {
        const QString two = QStringLiteral("%1").arg(i, 2, 10, QLatin1Char('0'));
        out.push_back({two, QString::number(i), QStringLiteral("生徒") + two, QStringLiteral("せいと") + two, {}});
    }
    return out;
}

QList<SeenBox> DrawTest::openRoster(const std::vector<Pupil> &students) {
    QByteArray bytes = sj("くじ順,出席番号,氏名,ふりがな,座席番号\r\n").bytes();
    for (const Pupil &p : students) {
        const QString line = QStringList{p.order, p.attendance, p.name, p.reading, p.seat}.join(QLatin1Char(','));
        SjisText text;
        EXPECT_TRUE(SjisText::tryFromUnicode(line, text));
        bytes += text.bytes() + "\r\n";
    }
    writeFile(rosterFile(), bytes);
    ModalDriver driver;
    driver.chooseFile(rosterFile());
    for (int i = 0; i < 4; ++i)
        driver.pressIfShown(QStringLiteral("OK"));
    form().ToolButton1->click();
    return driver.seen();
}

void DrawTest::keepSeats(int seats) {
    int marks = layout::maxSeats - seats;
    for (int c = layout::columns - 1; c >= 0 && marks > 0; --c)
        for (int r = layout::rows - 1; r >= 0 && marks > 0; --r, --marks)
            clickCell(form().StringGrid_Settei, c, r);
}

void DrawTest::clickTab(int index) {
    QTabBar *bar = form().PageControl1->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->tabRect(index).center());
}

bool DrawTest::waitForTick() {
    QSignalSpy ticks(form().Timer1, &QTimer::timeout);
    return ticks.wait(1000);
}

void DrawTest::clickWithoutBox() {
    ModalDriver guard;
    guard.thenIfShown([](QWidget *w) {
        ADD_FAILURE() << "a box showed: " << w->windowTitle().toStdString();
        static_cast<QDialog *>(w)->reject();
    });
    form().Button1->click();
}

SeenBox DrawTest::stop(const std::function<void(QWidget *)> &inspect) {
    ModalDriver driver;
    SeenBox seen;
    driver.then([&](QWidget *w) {
        if (inspect)
            inspect(w);
        auto *box = qobject_cast<QMessageBox *>(w);
        ASSERT_NE(box, nullptr);
        seen = describe(box);
        box->buttons().first()->click();
    });
    form().Button1->click();
    return seen;
}

SeenBox DrawTest::drawOnce() {
    if (form().Button1->text() == QStringLiteral("スタート"))
        form().Button1->click();
    form().Timer1Timer();
    return stop();
}

void DrawTest::finishDraw(int students) {
    int stops = 0;
    while (form().Button1->isEnabled() && stops++ < 4 * students + 10)
        drawOnce();
    EXPECT_EQ(status(), completeText);
    std::set<QString> seats;
    for (int row = 1; row <= students; ++row)
        EXPECT_TRUE(seats.insert(seatOf(row)).second) << "seat " << seatOf(row).toStdString() << " twice";
    EXPECT_EQ(static_cast<int>(seats.size()), students);
}

void DrawTest::openRosterFile(const QByteArray &bytes) {
    writeFile(rosterFile(), bytes);
    ModalDriver driver;
    driver.chooseFile(rosterFile());
    form().ToolButton1->click();
}

DrawTest::Replayed DrawTest::replay(const QByteArray &record) {
    QList<rostercsv::Fields> lines;
    for (const QByteArray &line : rostercsv::readLines(record))
        lines << rostercsv::splitAllFields(line);
    Replayed out;
    if (lines.size() < 2 || SjisText(lines[1][1]).toUnicode() != QStringLiteral("乱数の種")) {
        ADD_FAILURE() << "no seed in the record";
        return out;
    }
    rng::seed(lines[1][8].toUInt());
    for (const rostercsv::Fields &fields : lines.mid(2)) {
        const QString kind = SjisText(fields[1]).toUnicode();
        const bool accepted = kind == QStringLiteral("決定");
        if (!accepted && kind != QStringLiteral("やりなおし"))
            continue;
        if (form().Button1->text() == QStringLiteral("スタート"))
            clickWithoutBox();
        while (rng::drawsSinceSeed() < fields[7].toULongLong())
            form().Timer1Timer();
        const QString name = SjisText(fields[4]).toUnicode();
        const QString seat = SjisText(fields[5]).toUnicode();
        EXPECT_EQ(stop().text, accepted ? announcement(name, seat) : refusalText) << name.toStdString();
        ++(accepted ? out.stops : out.refusals);
    }
    return out;
}

QString DrawTest::seatOf(int row) const {
    return cellText(window->StringGrid2, roster::seatCol, row);
}

void DrawTest::setSeat(int row, const QString &seat) {
    SjisText text;
    ASSERT_TRUE(SjisText::tryFromUnicode(seat, text));
    window->StringGrid2->setCell(roster::seatCol, row, text);
}

QStringList DrawTest::pool() const {
    QStringList out;
    for (int i = 0; i < window->Memo1->count(); ++i)
        out << window->Memo1->at(i).toUnicode();
    return out;
}

QString DrawTest::status() const {
    return window->Label_N->text();
}
