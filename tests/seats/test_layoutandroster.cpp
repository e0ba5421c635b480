#include "seats/NoSeatMark.h"
#include "settings/SettingsFile.h"
#include "support/DrawTest.h"
#include "support/PrintTools.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QtTest/QTest>

namespace {

const QString yes = QStringLiteral("はい(&Y)");
const QString no = QStringLiteral("いいえ(&N)");

// Answers the next modal widget, which must be a message box, with its first
// button; anything else fails the test and is closed.
void answerBox(ModalDriver &driver, SeenBox &seen) {
    driver.then([&seen](QWidget *w) {
        auto *box = qobject_cast<QMessageBox *>(w);
        if (!box) {
            ADD_FAILURE() << "not a message box: " << w->windowTitle().toStdString();
            qobject_cast<QDialog *>(w)->reject();
            return;
        }
        seen = describe(box);
        box->buttons().first()->click();
    });
}

// A layout file of five columns of six seats: seats 1 to 5 stand where they
// stand in the front five rows of six columns, every other seat elsewhere.
void writeFiveColumnsOfSix(const QString &file) {
    SeatLayout other;
    for (int c = 0; c < layout::columns; ++c)
        for (int r = 0; r < layout::rows; ++r)
            other.setCell(c, r, c == 5 || r >= 6 ? noSeatMark() : SjisText());
    other.renumber();
    settings::save(file, other, {QStringLiteral("別の教室"), {}, {}, false, 1}, {});
}

} // namespace

// A class of 30 drawn on the front five rows of the room, and saved: the
// roster's seat column holds every seat.
class HeldSeats : public DrawTest {
protected:
    void SetUp() override {
        DrawTest::SetUp();
        createWindow();
        for (int c = 0; c < layout::columns; ++c)
            for (int r = 5; r < layout::rows; ++r)
                clickCell(form().StringGrid_Settei, c, r);
        ASSERT_EQ(form().SeatAmount(), 30);
        ASSERT_TRUE(openRoster(classOf(30)).isEmpty());
        finishDraw(30);
        form().ToolButton2->click();
        ASSERT_FALSE(form().Modified);
        for (int row = 1; row <= 30; ++row)
            places.push_back(placeOf(row));
        clickTab(2);
    }

    Position placeOf(int row) const { return form().seatLayout.position(SeatNumber(seatOf(row).toInt())); }
    QString nameOf(int row) const { return QStringLiteral("生徒%1").arg(row, 2, 10, QLatin1Char('0')); }
    int rowAt(Position p) const {
        for (int row = 1; row <= 30; ++row)
            if (places[static_cast<size_t>(row - 1)] == p)
                return row;
        return 0;
    }
    QStringList seats() const {
        QStringList out;
        for (int row = 1; row <= 30; ++row)
            out << seatOf(row);
        return out;
    }
    // The chart, after the preparation of a turn to the draw page, shows the
    // students who hold seats at the places the draw gave them.
    void expectChartShowsEveryoneAtTheirPlace() {
        for (int row = 1; row <= 30; ++row) {
            if (form().classRoster.isWithoutSeat(row))
                continue;
            const Position p = places[static_cast<size_t>(row - 1)];
            EXPECT_EQ(placeOf(row), p) << nameOf(row).toStdString();
            EXPECT_EQ(cellText(form().StringGrid1, p.col, p.row), nameOf(row));
        }
    }
    TForm1 &form() const { return *window; }

    std::vector<Position> places; // where the draw put the student of each roster row
};

// The fault: one stray click on a "×" after the draw moved every later seat
// number to another place, and the printout showed the students there.
TEST_F(HeldSeats, AClickOnTheLayoutAsksFirstAndNoLeavesLayoutAndSeatsAsTheyWere) {
    const QStringList before = seats();
    ModalDriver driver;
    driver.press(no);
    clickCell(form().StringGrid_Settei, 1, 7);
    ASSERT_EQ(driver.seen().size(), 1);
    const SeenBox &box = driver.seen()[0];
    EXPECT_EQ(box.caption, QStringLiteral("確認"));
    EXPECT_EQ(box.icon, QMessageBox::Question);
    EXPECT_EQ(box.buttons, (QStringList{yes, no}));
    EXPECT_EQ(box.text, QStringLiteral("座席が決まっている生徒が30人います。\n"
                                       "座席の番号が振り直されます。生徒の席の場所は変えずに、"
                                       "20人の座席番号を新しい番号に書き換えます。\n"
                                       "座席は31席になり、名簿の30人と合わなくなります。\n"
                                       "座席の配置を変えますか？"));
    EXPECT_EQ(cellText(form().StringGrid_Settei, 1, 7), QStringLiteral("×"));
    EXPECT_EQ(form().SeatAmount(), 30);
    EXPECT_EQ(seats(), before);
    EXPECT_FALSE(form().Modified);
    clickTab(1);
    EXPECT_EQ(status(), completeText);
    expectChartShowsEveryoneAtTheirPlace();
}

TEST_F(HeldSeats, YesKeepsEveryStudentAtTheirPlaceAndNothingPrintsUntilTheCountsAgree) {
    {
        ModalDriver driver;
        driver.press(yes);
        clickCell(form().StringGrid_Settei, 1, 7);
    }
    EXPECT_EQ(form().SeatAmount(), 31);
    EXPECT_TRUE(form().Modified);
    for (int row = 1; row <= 30; ++row)
        EXPECT_EQ(placeOf(row), places[static_cast<size_t>(row - 1)]) << nameOf(row).toStdString();

    // The printout stops before anything is asked, saying why and what to do.
    {
        ShownWindows shown;
        ModalDriver driver;
        SeenBox refusal;
        answerBox(driver, refusal);
        QTest::mouseClick(form().BitBtn1, Qt::LeftButton);
        EXPECT_EQ(refusal.caption, QStringLiteral("エラー"));
        EXPECT_EQ(refusal.icon, QMessageBox::Critical);
        EXPECT_EQ(refusal.buttons, QStringList{QStringLiteral("OK")});
        EXPECT_EQ(refusal.text,
                  QStringLiteral("座席表を印刷できません。座席の数（31席）と名簿の人数（30人）があいません。"
                                 "座席表の設定の×印か名簿を直して数を合わせてから、もう一度印刷してください。"));
        EXPECT_EQ(shown.titles(), QStringList{QStringLiteral("エラー")});
    }
    // Nor does the chart show anybody.
    clickTab(1);
    EXPECT_EQ(status(), QStringLiteral("座席の数と人数があいません！"));
    for (int c = 0; c < layout::columns; ++c)
        for (int r = 0; r < layout::rows; ++r)
            EXPECT_EQ(cellText(form().StringGrid1, c, r), QString());

    // A seat taken away: the student there loses it, the others stay.
    clickTab(2);
    const int front = rowAt({0, 4});
    ASSERT_NE(front, 0);
    {
        ModalDriver driver;
        driver.press(yes);
        clickCell(form().StringGrid_Settei, 0, 4);
        ASSERT_EQ(driver.seen().size(), 1);
        EXPECT_EQ(driver.seen()[0].text, QStringLiteral("座席が決まっている生徒が30人います。\n"
                                                        "座席の番号が振り直されます。生徒の席の場所は変えずに、"
                                                        "25人の座席番号を新しい番号に書き換えます。\n"
                                                        "%1さんの席（5番）はなくなるため、座席番号を空にします。\n"
                                                        "座席の配置を変えますか？")
                                             .arg(nameOf(front)));
    }
    EXPECT_EQ(seatOf(front), QString());
    clickTab(1);
    EXPECT_EQ(status(), turnText(nameOf(front)));
    EXPECT_EQ(pool(), QStringList{QStringLiteral("10")});
    EXPECT_EQ(cellText(form().StringGrid_Settei, 1, 7), QStringLiteral("10"));
    expectChartShowsEveryoneAtTheirPlace();
    EXPECT_EQ(drawOnce().text, announcement(nameOf(front), QStringLiteral("10")));
    EXPECT_EQ(status(), completeText);

    // The counts agree again: the print command goes on to its options.
    ShownWindows shown;
    ModalDriver driver;
    driver.then([](QWidget *w) { qobject_cast<QDialog *>(w)->reject(); });
    QTest::mouseClick(form().BitBtn1, Qt::LeftButton);
    EXPECT_EQ(shown.titles(), QStringList{QStringLiteral("印刷のオプション")});
}

// The pool of a draw under way holds the seat numbers of the layout before:
// a stop made without going back to the draw page (the projector, a
// presenter key) must not give a number that now stands at another place.
TEST_F(HeldSeats, ALayoutChangedDuringASpinPreparesTheDrawAgainSoNoStopGivesAnOldNumber) {
    const int front = rowAt({0, 4});
    ASSERT_NE(front, 0);
    for (const Position p : {Position{1, 7}, Position{0, 4}}) {
        ModalDriver driver;
        driver.press(yes);
        clickCell(form().StringGrid_Settei, p.col, p.row);
    }
    clickTab(1);
    ASSERT_EQ(pool(), QStringList{QStringLiteral("10")}); // the place (1, 7)
    form().Button1->click();
    form().Timer1Timer();
    ASSERT_EQ(form().Label1->text(), QStringLiteral("10"));

    // While it spins: a seat at (0, 7) numbers every later place one up,
    // then the free place (1, 7) goes; the free place is now (0, 7), seat 5,
    // and seat 10 stands where another student sits.
    clickTab(2);
    for (const Position p : {Position{0, 7}, Position{1, 7}}) {
        ModalDriver driver;
        driver.press(yes);
        clickCell(form().StringGrid_Settei, p.col, p.row);
    }
    EXPECT_EQ(pool(), QStringList{QStringLiteral("5")});
    form().Timer1Timer();
    EXPECT_EQ(stop().text, announcement(nameOf(front), QStringLiteral("5")));
    EXPECT_EQ(placeOf(front), (Position{0, 7}));
    EXPECT_EQ(status(), completeText);
    places[static_cast<size_t>(front - 1)] = {0, 7};
    clickTab(1);
    expectChartShowsEveryoneAtTheirPlace();
}

TEST_F(HeldSeats, ASettingsFileThatPutsTheSeatsElsewhereIsOpenedOnlyWhenTheTeacherSaysSo) {
    // The layout in use, from a file: nobody's seat moves, nothing is asked.
    const QString same = path(QStringLiteral("same.krb"));
    form().SaveSetting(same);
    {
        ModalDriver driver;
        driver.chooseFile(same);
        QTest::mouseClick(form().Button4, Qt::LeftButton);
        EXPECT_TRUE(driver.seen().isEmpty());
    }
    EXPECT_EQ(form().SaveDialog2.fileName, same);

    const QString other = path(QStringLiteral("other.krb"));
    writeFiveColumnsOfSix(other);
    const QStringList before = seats();
    const QString question = QStringLiteral("座席が決まっている生徒が30人います。\n"
                                            "この設定ファイルの座席の配置では、名簿の座席番号はそのままで、"
                                            "25人の座席番号が今とは別の場所の席を指すようになります。\n"
                                            "設定ファイルを開きますか？");
    {
        ModalDriver driver;
        driver.chooseFile(other).press(no);
        QTest::mouseClick(form().Button4, Qt::LeftButton);
        ASSERT_EQ(driver.seen().size(), 1);
        EXPECT_EQ(driver.seen()[0].caption, QStringLiteral("確認"));
        EXPECT_EQ(driver.seen()[0].text, question);
    }
    EXPECT_EQ(cellText(form().StringGrid_Settei, 5, 0), QStringLiteral("26"));
    EXPECT_EQ(form().Edit_Title->text(), QStringLiteral("座席表"));
    EXPECT_EQ(form().SaveDialog2.fileName, same);

    {
        ModalDriver driver;
        driver.chooseFile(other).press(yes);
        QTest::mouseClick(form().Button4, Qt::LeftButton);
        ASSERT_EQ(driver.seen().size(), 1);
    }
    EXPECT_EQ(form().Edit_Title->text(), QStringLiteral("別の教室"));
    EXPECT_EQ(form().SaveDialog2.fileName, other);
    EXPECT_EQ(seats(), before);
    EXPECT_FALSE(form().Modified);
    // The chart no longer shows names at the places of the layout before.
    for (int c = 0; c < layout::columns; ++c)
        for (int r = 0; r < layout::rows; ++r)
            EXPECT_EQ(cellText(form().StringGrid1, c, r), cellText(form().StringGrid_Settei, c, r)) << c << "," << r;
}
