#include "roster/Columns.h"
#include "support/CaseName.h"
#include "support/DrawTest.h"
#include "support/Faults.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScopeGuard>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <ostream>
#include <tuple>

#ifdef _WIN32
#include <windows.h>
#endif

// The class's files beside the roster, through the real window, its real
// dialogs and real files: the seat conditions, the history of the seat
// changes, and a file the program cannot use, which it names and leaves
// alone.
namespace {

QByteArray sjis(const QString &text) {
    SjisText out;
    EXPECT_TRUE(SjisText::tryFromUnicode(text, out)) << text.toStdString();
    return out.bytes();
}

// A CSV file as the program writes it: Shift-JIS lines ending in CR LF.
QByteArray csv(const QStringList &lines) {
    QByteArray out;
    for (const QString &line : lines)
        out += sjis(line) + "\r\n";
    return out;
}

const QString conditionsHeader = QStringLiteral("条件,出席番号,氏名,相手の出席番号,相手の氏名,列数");
const QString historyHeader = QStringLiteral("回,日付,出席番号,氏名,くじ順,座席番号,隣の出席番号,隣の氏名");

#ifdef _WIN32
// Another program holds the file open for writing; it lets others read, and
// the read is refused all the same.
class Held : public HeldOpen {
public:
    explicit Held(const QString &path) : HeldOpen(path, FILE_SHARE_READ) {}
};
const QString heldError = QStringLiteral("I/O エラー (32)");
#else
using Held = WriteLock;
const QString heldError = QStringLiteral("I/O エラー (%1)").arg(EAGAIN);
#endif

// Fails the test on a modal widget that should not have come, and closes it.
void unexpected(QWidget *w) {
    ADD_FAILURE() << "opened: " << w->windowTitle().toStdString();
    if (auto *dialog = qobject_cast<QDialog *>(w))
        dialog->reject();
}

// A student where a finished seat change put them, as the roster shows it.
struct Placed {
    QString order, attendance, name, seat;
};
using Seating = std::vector<Placed>;

// The keepSeats layout of 12: seats 1-8 down the first column, 9-12 at the
// front of the second, so 1-4 share a double desk with 9-12 and 5-8 have no
// desk-mate.
int deskMateOf(int seat) {
    return seat <= 4 ? seat + 8 : seat >= 9 ? seat - 8 : 0;
}

const Placed *sittingAt(const Seating &seating, int seat) {
    const auto at = std::find_if(seating.begin(), seating.end(),
                                 [seat](const Placed &p) { return p.seat == QString::number(seat); });
    return at == seating.end() ? nullptr : &*at;
}

// The lines a round adds to the history file, in roster order.
QStringList roundLines(int number, const QDate &date, const Seating &seating) {
    QStringList lines;
    for (const Placed &p : seating) {
        const Placed *mate = sittingAt(seating, deskMateOf(p.seat.toInt()));
        lines << QStringList{QString::number(number), date.toString(Qt::ISODate), p.attendance, p.name, p.order, p.seat,
                             mate ? mate->attendance : QString(), mate ? mate->name : QString()}
                     .join(QLatin1Char(','));
    }
    return lines;
}

// The rows the history view shows for a round: by seat, with the desk-mate's name.
QStringList viewRows(const Seating &seating) {
    QStringList rows;
    for (int seat = 1; seat <= static_cast<int>(seating.size()); ++seat) {
        const Placed *p = sittingAt(seating, seat);
        const Placed *mate = sittingAt(seating, deskMateOf(seat));
        rows << QStringList{QString::number(seat), p ? p->attendance : QString(), p ? p->name : QString(),
                            mate ? mate->name : QString()}
                    .join(QLatin1Char('|'));
    }
    return rows;
}

QStringList tableRows(const QTableWidget *table) {
    QStringList rows;
    for (int r = 0; r < table->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < table->columnCount(); ++c)
            cells << (table->item(r, c) ? table->item(r, c)->text() : QString());
        rows << cells.join(QLatin1Char('|'));
    }
    return rows;
}

QStringList comboItems(const QComboBox *box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

// The conditions dialog's parts.
QComboBox *frontRows(QDialog *dialog, int rosterRow) {
    auto *table = dialog->findChild<QTableWidget *>(QStringLiteral("FrontSeats"));
    return table ? qobject_cast<QComboBox *>(table->cellWidget(rosterRow - 1, 2)) : nullptr;
}

QStringList pairsShown(QDialog *dialog) {
    QStringList out;
    if (auto *list = dialog->findChild<QListWidget *>(QStringLiteral("ApartPairs")))
        for (int i = 0; i < list->count(); ++i)
            out << list->item(i)->text();
    return out;
}

// Names a pair in the two lists and presses 追加.
void addPair(QDialog *dialog, const QString &one, const QString &other) {
    auto *first = dialog->findChild<QComboBox *>(QStringLiteral("PairFirst"));
    auto *second = dialog->findChild<QComboBox *>(QStringLiteral("PairSecond"));
    auto *add = dialog->findChild<QPushButton *>(QStringLiteral("AddPair"));
    ASSERT_TRUE(first && second && add);
    first->setCurrentIndex(first->findText(one));
    second->setCurrentIndex(second->findText(other));
    ASSERT_EQ(first->currentText(), one);
    ASSERT_EQ(second->currentText(), other);
    add->click();
}

// Why 追加 is not offered for the pair the two lists name, as the dialog
// says it beside them; empty while it is offered.
QString whyNoPair(QDialog *dialog) {
    auto *add = dialog->findChild<QPushButton *>(QStringLiteral("AddPair"));
    auto *reason = dialog->findChild<QLabel *>(QStringLiteral("PairReason"));
    if (!add || !reason)
        return QStringLiteral("(no button or reason)");
    if (add->isEnabled() != reason->text().isEmpty())
        return QStringLiteral("(the button and the reason disagree)");
    return reason->text();
}

void removePair(QDialog *dialog, int index) {
    auto *list = dialog->findChild<QListWidget *>(QStringLiteral("ApartPairs"));
    auto *remove = dialog->findChild<QPushButton *>(QStringLiteral("RemovePair"));
    ASSERT_TRUE(list && remove);
    list->setCurrentRow(index);
    remove->click();
}

void press(QDialog *dialog, QDialogButtonBox::StandardButton which) {
    auto *buttons = dialog->findChild<QDialogButtonBox *>();
    ASSERT_NE(buttons, nullptr);
    ASSERT_NE(buttons->button(which), nullptr);
    buttons->button(which)->click();
}

class ClassFiles : public DrawTest {
protected:
    static constexpr int classSize = 12;

    // A window with the 12 seats of deskMateOf.
    void SetUp() override {
        DrawTest::SetUp();
        createWindow();
        keepSeats(classSize);
    }

    QString conditionsFile() const { return path(QStringLiteral("class_条件.csv")); }
    QString historyFile() const { return path(QStringLiteral("class_履歴.csv")); }

    // Opens the conditions dialog with its button and runs act on it while
    // it is open; act ends it with OK or キャンセル.
    void inConditionsDialog(const std::function<void(QDialog *)> &act) {
        ModalDriver driver;
        driver.then([&](QWidget *w) {
            auto *dialog = qobject_cast<QDialog *>(w);
            ASSERT_NE(dialog, nullptr);
            // A check that stops act early still closes the dialog.
            const auto close = qScopeGuard([dialog] {
                if (dialog->isVisible())
                    dialog->reject();
            });
            ASSERT_EQ(dialog->objectName(), QStringLiteral("ConditionsDialog"));
            EXPECT_EQ(dialog->windowTitle(), QStringLiteral("座席の条件"));
            act(dialog);
            EXPECT_FALSE(dialog->isVisible()) << "act left the dialog open";
        });
        form().Button_Conditions->click();
    }

    // Clicks a button that must answer with one box and open nothing else.
    SeenBox onlyABox(QPushButton *button) {
        ModalDriver driver;
        driver.press(QStringLiteral("OK")).thenIfShown(unexpected);
        button->click();
        EXPECT_EQ(driver.seen().size(), 1);
        return driver.seen().value(0);
    }

    // The conditions the draw keeps, as the record of a new preparation names them.
    QString conditionsInForce() {
        form().Button6->click(); // 再準備
        const drawrecord::Event &prepared = form().DrawRecord.back();
        EXPECT_EQ(prepared.kind, drawrecord::Kind::Repreparation);
        EXPECT_EQ(status(), turnText(QStringLiteral("生徒01")));
        return prepared.note.toUnicode();
    }

    // Draws every free seat, stop after stop, to the end of the seat change.
    void drawAll() {
        for (int i = 0; i < classSize && status() != completeText; ++i)
            drawOnce();
        ASSERT_EQ(status(), completeText);
    }

    void saveRoster() { form().ToolButton2->click(); } // 上書き保存

    Seating seating() {
        Seating out;
        for (int r = 1; r <= classSize; ++r)
            out.push_back({cellText(form().StringGrid2, roster::orderCol, r),
                           cellText(form().StringGrid2, roster::attendanceCol, r),
                           cellText(form().StringGrid2, roster::nameCol, r), seatOf(r)});
        return out;
    }
};

// ---- The conditions dialog ----

TEST_F(ClassFiles, ConditionsChosenInTheDialogAreWrittenOnOkAndKeptByTheDraw) {
    ASSERT_TRUE(openRoster(classOf(classSize)).isEmpty());
    clickTab(2);

    // The roster's students, nothing chosen; what is chosen and cancelled
    // writes no file.
    inConditionsDialog([&](QDialog *d) {
        auto *table = d->findChild<QTableWidget *>(QStringLiteral("FrontSeats"));
        ASSERT_NE(table, nullptr);
        ASSERT_EQ(table->rowCount(), classSize);
        for (int r = 1; r <= classSize; ++r) {
            EXPECT_EQ(table->item(r - 1, 0)->text(), QString::number(r));
            EXPECT_EQ(table->item(r - 1, 1)->text(), QStringLiteral("生徒%1").arg(r, 2, 10, QLatin1Char('0')));
            ASSERT_NE(frontRows(d, r), nullptr);
            EXPECT_EQ(comboItems(frontRows(d, r)),
                      (QStringList{"なし", "前から1行", "前から2行", "前から3行"}));
            EXPECT_EQ(frontRows(d, r)->currentText(), QStringLiteral("なし"));
        }
        EXPECT_EQ(pairsShown(d), QStringList());
        EXPECT_EQ(d->findChild<QLabel *>(QStringLiteral("PendingConditions")), nullptr);
        EXPECT_EQ(d->findChild<QCheckBox *>(QStringLiteral("ConfirmPending")), nullptr);
        // Two students from the start: a pair is one click away.
        EXPECT_EQ(whyNoPair(d), QString());
        frontRows(d, 3)->setCurrentText(QStringLiteral("前から2行"));
        addPair(d, QStringLiteral("1 生徒01"), QStringLiteral("5 生徒05"));
        press(d, QDialogButtonBox::Cancel);
    });
    EXPECT_FALSE(QFile::exists(conditionsFile()));
    EXPECT_EQ(conditionsInForce(), QString());

    inConditionsDialog([&](QDialog *d) {
        frontRows(d, 3)->setCurrentText(QStringLiteral("前から2行"));
        addPair(d, QStringLiteral("1 生徒01"), QStringLiteral("5 生徒05"));
        // What cannot be added is not offered, and the dialog says why.
        addPair(d, QStringLiteral("5 生徒05"), QStringLiteral("1 生徒01")); // the same pair again
        EXPECT_EQ(whyNoPair(d), QStringLiteral("この二人はもう離す組に入っています"));
        addPair(d, QStringLiteral("7 生徒07"), QStringLiteral("7 生徒07")); // no pair
        EXPECT_EQ(whyNoPair(d), QStringLiteral("同じ生徒どうしは組にできません。もう一人を選んでください"));
        addPair(d, QStringLiteral("12 生徒12"), QStringLiteral("2 生徒02"));
        EXPECT_EQ(whyNoPair(d), QStringLiteral("この二人はもう離す組に入っています"));
        EXPECT_EQ(pairsShown(d), (QStringList{"1 生徒01 と 5 生徒05", "12 生徒12 と 2 生徒02"}));
        press(d, QDialogButtonBox::Ok);
    });
    const QByteArray written = csv({conditionsHeader, "前の席,3,生徒03,,,2", "離す,1,生徒01,5,生徒05,",
                                    "離す,12,生徒12,2,生徒02,"});
    EXPECT_EQ(readFile(conditionsFile()), written);
    EXPECT_EQ(conditionsInForce(), QStringLiteral("前の席: 3(2行) / 離す: 1-5 12-2"));
    drawAll();
    EXPECT_TRUE(QStringList({"1", "2", "9", "10"}).contains(seatOf(3))) << "the first two rows, not " << seatOf(3).toStdString();

    // Shown again as written; changes cancelled leave the file as it is.
    inConditionsDialog([&](QDialog *d) {
        ASSERT_NE(frontRows(d, 3), nullptr);
        EXPECT_EQ(frontRows(d, 3)->currentText(), QStringLiteral("前から2行"));
        EXPECT_EQ(pairsShown(d), (QStringList{"1 生徒01 と 5 生徒05", "12 生徒12 と 2 生徒02"}));
        removePair(d, 0);
        EXPECT_EQ(pairsShown(d), QStringList{"12 生徒12 と 2 生徒02"});
        frontRows(d, 3)->setCurrentText(QStringLiteral("なし"));
        press(d, QDialogButtonBox::Cancel);
    });
    EXPECT_EQ(readFile(conditionsFile()), written);

    inConditionsDialog([&](QDialog *d) {
        removePair(d, 0);
        frontRows(d, 1)->setCurrentText(QStringLiteral("前から1行"));
        press(d, QDialogButtonBox::Ok);
    });
    EXPECT_EQ(readFile(conditionsFile()),
              csv({conditionsHeader, "前の席,1,生徒01,,,1", "前の席,3,生徒03,,,2", "離す,12,生徒12,2,生徒02,"}));
}

TEST_F(ClassFiles, WithoutARosterTheButtonsSaySoAndOpenNothing) {
    clickTab(2);
    const struct {
        QPushButton *button;
        QString text;
    } cases[] = {
        {form().Button_Conditions, QStringLiteral("座席の条件は名簿ごとに決めます。先に名簿ファイルを開いてください")},
        {form().Button_History, QStringLiteral("席替えの履歴はまだありません")},
    };
    for (const auto &c : cases) {
        const SeenBox box = onlyABox(c.button);
        EXPECT_EQ(box.caption, QStringLiteral("情報"));
        EXPECT_EQ(box.icon, QMessageBox::Information);
        EXPECT_EQ(box.text, c.text);
        EXPECT_EQ(box.buttons, QStringList{"OK"});
    }
    EXPECT_EQ(QDir(dir.path()).entryList({QStringLiteral("*.csv")}, QDir::Files), QStringList());
}

// A conditions file that names a student by an old name (changed in the
// roster since) keeps that condition apart, unused: OK without confirming
// leaves it in the file as it was; confirming takes the roster's name.
struct Pending {
    const char *what;
    QStringList lines;         // of the conditions file, after its header
    QString shown;             // the conditions the dialog shows as not used
    QString inForce;           // what the draw keeps before the confirmation
    QStringList confirmed;     // the file's lines after it
    QString inForceConfirmed;  // what the draw keeps after it
    QString stillShown;        // what stays unused: a student no longer in the roster
};

const Pending pendingFiles[] = {
    {"besideConditionsThatMatch",
     {"前の席,1,生徒01,,,1", "前の席,3,旧姓03,,,2", "前の席,40,生徒40,,,1", "離す,2,生徒02,4,生徒04,",
      "離す,4,生徒04,5,旧姓05,"},
     "前の席: 3 旧姓03\n前の席: 40 生徒40\n離す: 4 生徒04 と 5 旧姓05",
     "前の席: 1(1行) / 離す: 2-4",
     {"前の席,1,生徒01,,,1", "前の席,3,生徒03,,,2", "前の席,40,生徒40,,,1", "離す,2,生徒02,4,生徒04,",
      "離す,4,生徒04,5,生徒05,"},
     "前の席: 1(1行) 3(2行) / 離す: 2-4 4-5",
     "前の席: 40 生徒40"},
    {"asTheOnlyConditionAPairWithOneOfItStillInTheClass",
     {"離す,2,生徒02,3,旧姓03,"},
     "離す: 2 生徒02 と 3 旧姓03",
     "",
     {"離す,2,生徒02,3,生徒03,"},
     "離す: 2-3",
     ""},
};

void PrintTo(const Pending &c, std::ostream *os) {
    *os << c.what;
}

class PendingConditions : public ClassFiles, public ::testing::WithParamInterface<Pending> {};

TEST_P(PendingConditions, WaitUntilConfirmedAndStayAsTheyWereUntilThen) {
    const Pending &c = GetParam();
    const QByteArray original = csv(QStringList{conditionsHeader} + c.lines);
    writeFile(conditionsFile(), original);
    const QList<SeenBox> boxes = openRoster(classOf(classSize));
    EXPECT_TRUE(boxes.isEmpty()) << boxes.value(0).text.toStdString();
    EXPECT_EQ(conditionsInForce(), c.inForce);
    clickTab(2);

    inConditionsDialog([&](QDialog *d) {
        auto *shown = d->findChild<QLabel *>(QStringLiteral("PendingConditions"));
        auto *confirm = d->findChild<QCheckBox *>(QStringLiteral("ConfirmPending"));
        ASSERT_TRUE(shown && confirm);
        EXPECT_EQ(shown->text(), QStringLiteral("名簿と名前が合わないため使っていない条件:\n") + c.shown);
        EXPECT_EQ(confirm->text(), QStringLiteral("名簿の名前に合わせて、これらの条件も使う"));
        EXPECT_FALSE(confirm->isChecked());
        press(d, QDialogButtonBox::Ok);
    });
    EXPECT_EQ(readFile(conditionsFile()), original);
    EXPECT_EQ(conditionsInForce(), c.inForce);

    inConditionsDialog([&](QDialog *d) {
        auto *confirm = d->findChild<QCheckBox *>(QStringLiteral("ConfirmPending"));
        ASSERT_NE(confirm, nullptr);
        confirm->setChecked(true);
        press(d, QDialogButtonBox::Ok);
    });
    EXPECT_EQ(readFile(conditionsFile()), csv(QStringList{conditionsHeader} + c.confirmed));
    EXPECT_EQ(conditionsInForce(), c.inForceConfirmed);

    inConditionsDialog([&](QDialog *d) {
        auto *shown = d->findChild<QLabel *>(QStringLiteral("PendingConditions"));
        EXPECT_EQ(shown ? shown->text() : QString(),
                  c.stillShown.isEmpty() ? QString()
                                         : QStringLiteral("名簿と名前が合わないため使っていない条件:\n") + c.stillShown);
        press(d, QDialogButtonBox::Cancel);
    });
}

INSTANTIATE_TEST_SUITE_P(ClassFiles, PendingConditions, ::testing::ValuesIn(pendingFiles), ByWhat());

// ---- Files the program cannot use ----

// A file of this class as the program writes it, for the cases where it is
// only held by another program: readable later, it must still not be used.
QByteArray goodConditions() {
    return csv({conditionsHeader, "前の席,3,生徒03,,,2"});
}
QByteArray goodHistory() {
    QStringList lines{historyHeader};
    for (int i = 1; i <= 12; ++i)
        lines << QStringLiteral("1,2025-04-08,%1,生徒%2,%2,%1,,").arg(i).arg(i, 2, 10, QLatin1Char('0'));
    return csv(lines);
}

struct Unusable {
    const char *what;
    std::function<QByteArray()> conditions; // none: no such file
    std::function<QByteArray()> history;
    bool held; // by another program while the roster opens
    QStringList problems; // the box's lines before its last
};

const QString conditionsName = QStringLiteral("座席の条件 class_条件.csv: ");
const QString historyName = QStringLiteral("席替えの履歴 class_履歴.csv: ");

const Unusable unusableFiles[] = {
    {"conditionsWithoutTheirHeader", [] { return csv({"前の席,3,生徒03,,,2"}); }, {}, false,
     {conditionsName + "座席の条件の見出しがありません"}},
    {"conditionsSavedAsUtf8", [] { return QString(conditionsHeader + "\r\n前の席,3,生徒03,,,2\r\n").toUtf8(); }, {},
     false, {conditionsName + "座席の条件の見出しがありません"}},
    {"conditionsWithFourRowsOfFrontSeats", [] { return csv({conditionsHeader, "前の席,3,生徒03,,,4"}); }, {}, false,
     {conditionsName + "座席の条件の 2 行目が読めません"}},
    {"conditionsOfAKindNotKnown",
     [] { return csv({conditionsHeader, "前の席,3,生徒03,,,1", "隣にする,1,生徒01,2,生徒02,"}); }, {}, false,
     {conditionsName + "座席の条件の 3 行目が読めません"}},
    {"conditionsOfAnotherClass",
     [] { return csv({conditionsHeader, "前の席,3,山田　花子,,,1", "離す,4,佐藤　一郎,41,鈴木　次郎,"}); }, {}, false,
     {conditionsName + "この名簿の生徒と合わない条件です（別のクラスのものかもしれません）"}},
    {"conditionsHeldByAnotherProgram", goodConditions, {}, true, {conditionsName + heldError}},
    {"historyWithoutItsHeader", {}, [] { return csv({"1,2025-04-08,1,生徒01,01,1,,"}); }, false,
     {historyName + "席替えの履歴の見出しがありません"}},
    {"historyWithADayThatIsNoDay", {},
     [] { return csv({historyHeader, "1,2025-04-08,1,生徒01,01,1,,", "1,2025-02-30,2,生徒02,02,2,,"}); }, false,
     {historyName + "席替えの履歴の 3 行目が読めません"}},
    {"historyWithASeatThatIsNoSeat", {}, [] { return csv({historyHeader, "1,2025-04-08,1,生徒01,01,窓際,,"}); },
     false, {historyName + "席替えの履歴の 2 行目が読めません"}},
    {"historyOfAnotherClass", {},
     [] { return csv({historyHeader, "1,2025-04-08,1,山田　花子,01,1,2,佐藤　一郎", "1,2025-04-08,2,佐藤　一郎,02,2,1,山田　花子"}); },
     false, {historyName + "この名簿の生徒がいない履歴です（別のクラスのものかもしれません）"}},
    {"historyHeldByAnotherProgram", {}, goodHistory, true, {historyName + heldError}},
    {"historyZeroedOut", {}, [] { return QByteArray(4096, '\0'); }, false,
     {historyName + "席替えの履歴に読めない文字があります"}},
    {"historyCutShortByAnEndOfFileMark",
     {},
     [] {
         QByteArray b = goodHistory();
         return b.insert(b.lastIndexOf("\r\n", b.size() - 3) + 2, '\x1A');
     },
     false,
     {historyName + "席替えの履歴に読めない文字があります"}},
    {"conditionsBehindAnEndOfFileMark", [] { return "\x1A" + goodConditions(); }, {}, false,
     {conditionsName + "座席の条件に読めない文字があります"}},
    {"bothFilesAtOnce", [] { return csv({"前の席,3,生徒03,,,2"}); }, [] { return QByteArray("\x81,"); }, false,
     {conditionsName + "座席の条件の見出しがありません", historyName + "席替えの履歴の見出しがありません"}},
};

void PrintTo(const Unusable &c, std::ostream *os) {
    *os << c.what;
}

class UnusableClassFile : public ClassFiles, public ::testing::WithParamInterface<Unusable> {};

TEST_P(UnusableClassFile, IsNamedInAWarningLeftAsItIsAndTheDrawRunsWithoutIt) {
    const Unusable &c = GetParam();
    const QByteArray conditions = c.conditions ? c.conditions() : QByteArray();
    const QByteArray history = c.history ? c.history() : QByteArray();
    std::vector<std::unique_ptr<Held>> held;
    for (const auto &[bytes, file, there] : {std::tuple{conditions, conditionsFile(), bool(c.conditions)},
                                             std::tuple{history, historyFile(), bool(c.history)}}) {
        if (!there)
            continue;
        writeFile(file, bytes);
        if (c.held) {
            held.push_back(std::make_unique<Held>(file));
            ASSERT_TRUE(held.back()->inPlace());
        }
    }
    const QList<SeenBox> boxes = openRoster(classOf(classSize));
    // Readable from now on, the file is still not used: nothing writes it.
    held.clear();
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_EQ(boxes[0].caption, QStringLiteral("警告"));
    EXPECT_EQ(boxes[0].icon, QMessageBox::Warning);
    EXPECT_EQ(boxes[0].buttons, QStringList{"OK"});
    EXPECT_EQ(boxes[0].text, (c.problems + QStringList{"このファイルは使わずに続けます。ファイルは書き換えません。"})
                                 .join(QLatin1Char('\n')));

    // Its button says it cannot be used, and opens nothing.
    clickTab(2);
    if (c.conditions) {
        EXPECT_EQ(onlyABox(form().Button_Conditions).text,
                  QStringLiteral("座席の条件のファイルが読めないため、条件を変えられません。"
                                 "ファイルを直すか取り除いてから名簿を開き直してください"));
    }
    if (c.history) {
        EXPECT_EQ(onlyABox(form().Button_History).text,
                  QStringLiteral("席替えの履歴のファイルが読めないため、表示できません"));
    }

    clickTab(1);
    EXPECT_EQ(status(), turnText(QStringLiteral("生徒01")));
    drawAll();
    saveRoster();
    EXPECT_FALSE(form().Modified);
    // The other file of the class does its work.
    if (!c.history) {
        EXPECT_EQ(readFile(historyFile()),
                  csv(QStringList{historyHeader} + roundLines(1, QDate::currentDate(), seating())));
    }
    form().close();
    EXPECT_FALSE(form().isVisible());
    if (c.conditions) {
        EXPECT_EQ(readFile(conditionsFile()), conditions);
    }
    if (c.history) {
        EXPECT_EQ(readFile(historyFile()), history);
    }
    EXPECT_EQ(QDir(dir.path()).entryList({QStringLiteral("*.csv")}, QDir::Files).size(),
              1 + (c.conditions ? 1 : 0) + 1)
        << "a file of the class went missing or a stray one was left";
}

INSTANTIATE_TEST_SUITE_P(ClassFiles, UnusableClassFile, ::testing::ValuesIn(unusableFiles), ByWhat());

// ---- The history ----

TEST_F(ClassFiles, EveryFinishedSeatChangeIsOneRoundOfTheHistory) {
    ASSERT_TRUE(openRoster(classOf(classSize)).isEmpty());
    EXPECT_EQ(onlyABox(form().Button_History).text, QStringLiteral("席替えの履歴はまだありません"));

    drawAll();
    // Written with the roster, not before.
    EXPECT_FALSE(QFile::exists(historyFile()));
    saveRoster();
    const QStringList header{historyHeader};
    EXPECT_EQ(readFile(historyFile()), csv(header + roundLines(1, QDate::currentDate(), seating())));

    // The same seat change drawn again, from the seats emptied by hand:
    // it takes the place of its round.
    for (int r = 1; r <= classSize; ++r)
        typeIntoCell(form().StringGrid2, roster::seatCol, r, QString());
    form().Button6->click(); // 再準備
    EXPECT_EQ(status(), turnText(QStringLiteral("生徒01")));
    drawAll();
    saveRoster();
    const Seating first = seating();
    const QDate firstDay = QDate::currentDate();
    EXPECT_EQ(readFile(historyFile()), csv(header + roundLines(1, firstDay, first)));

    // The next seat change starts from the seats turned into the draw order.
    form().ToolButton4->click(); // 座席番号をくじ順へ
    form().Button6->click();
    drawAll();
    saveRoster();
    const Seating second = seating();
    const QDate secondDay = QDate::currentDate();
    const QByteArray both = csv(header + roundLines(1, firstDay, first) + roundLines(2, secondDay, second));
    ASSERT_EQ(readFile(historyFile()), both);

    // The view lists the rounds, shows the chosen one, and deletes one after asking.
    const QString firstItem = QStringLiteral("第1回 (%1)").arg(firstDay.toString(Qt::ISODate));
    const QString secondItem = QStringLiteral("第2回 (%1)").arg(secondDay.toString(Qt::ISODate));
    ModalDriver driver;
    driver.then([&](QWidget *w) {
        auto *view = qobject_cast<QDialog *>(w);
        ASSERT_NE(view, nullptr);
        bool handedOn = false;
        // A check that fails before the steps below are queued closes the view.
        const auto close = qScopeGuard([view, &handedOn] {
            if (!handedOn)
                view->reject();
        });
        ASSERT_EQ(view->objectName(), QStringLiteral("HistoryView"));
        EXPECT_EQ(view->windowTitle(), QStringLiteral("席替えの履歴"));
        auto *rounds = view->findChild<QComboBox *>(QStringLiteral("Rounds"));
        auto *table = view->findChild<QTableWidget *>(QStringLiteral("RoundSeats"));
        auto *remove = view->findChild<QPushButton *>(QStringLiteral("DeleteRound"));
        ASSERT_TRUE(rounds && table && remove);
        EXPECT_EQ(comboItems(rounds), (QStringList{firstItem, secondItem}));
        EXPECT_EQ(rounds->currentText(), secondItem);
        EXPECT_EQ(tableRows(table), viewRows(second));
        rounds->setCurrentIndex(0);
        EXPECT_EQ(tableRows(table), viewRows(first));
        // Queued, so that the driver is free to answer the confirmations.
        QTimer::singleShot(0, view, [&, view, rounds, table, remove] {
            remove->click(); // いいえ
            EXPECT_EQ(comboItems(rounds), (QStringList{firstItem, secondItem}));
            EXPECT_EQ(readFile(historyFile()), both);
            remove->click(); // はい
            EXPECT_EQ(comboItems(rounds), QStringList{secondItem});
            EXPECT_EQ(tableRows(table), viewRows(second));
            view->accept();
        });
        handedOn = true;
    });
    driver.press(QStringLiteral("いいえ(&N)")).press(QStringLiteral("はい(&Y)"));
    form().Button_History->click();
    ASSERT_EQ(driver.seen().size(), 2);
    for (const SeenBox &box : driver.seen()) {
        EXPECT_EQ(box.caption, QStringLiteral("確認"));
        EXPECT_EQ(box.text, QStringLiteral("第1回の記録を削除しますか？"));
        EXPECT_EQ(box.buttons, (QStringList{"はい(&Y)", "いいえ(&N)"}));
    }
    EXPECT_EQ(readFile(historyFile()), csv(header + roundLines(2, secondDay, second)));

    // A finished change not yet saved waits for the roster: the view lists
    // the saved rounds only, and a deletion writes none of the waiting one.
    form().ToolButton4->click();
    form().Button6->click();
    drawAll();
    const Seating third = seating();
    ModalDriver again;
    again.then([&](QWidget *w) {
        auto *rounds = w->findChild<QComboBox *>(QStringLiteral("Rounds"));
        auto *remove = w->findChild<QPushButton *>(QStringLiteral("DeleteRound"));
        ASSERT_TRUE(rounds && remove);
        EXPECT_EQ(comboItems(rounds), QStringList{secondItem});
        QTimer::singleShot(0, w, [w, remove] {
            remove->click();
            static_cast<QDialog *>(w)->accept();
        });
    });
    again.press(QStringLiteral("はい(&Y)"));
    form().Button_History->click();
    EXPECT_EQ(again.pending(), 0);
    EXPECT_EQ(readFile(historyFile()), csv(header));
    saveRoster();
    EXPECT_EQ(readFile(historyFile()), csv(header + roundLines(3, QDate::currentDate(), third)));
}

} // namespace
