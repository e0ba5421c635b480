#include "dialogs/ConditionsDialog.h"

#include "roster/Roster.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QString studentText(const SjisText &attendance, const SjisText &name) {
    return attendance.toUnicode() + QLatin1Char(' ') + name.toUnicode();
}

} // namespace

ConditionsDialog::ConditionsDialog(QWidget *parent, const Roster &roster, const SeatConditions &conditions)
    : QDialog(parent), roster(roster) {
    setObjectName(QStringLiteral("ConditionsDialog"));
    setWindowTitle(QStringLiteral("座席の条件"));
    auto *column = new QVBoxLayout(this);

    auto *note = new QLabel(QStringLiteral("名簿に座席番号がすでに入っている生徒は、その席のまま動きません。\n"
                                           "条件は、その席の周りに座る生徒に効きます。"),
                            this);
    column->addWidget(note);

    // 前の席: a row per student, with the rows of seats they sit within.
    column->addWidget(new QLabel(QStringLiteral("前の席（教卓に近い行に座る生徒）"), this));
    frontTable = new QTableWidget(roster.studentCount(), 3, this);
    frontTable->setObjectName(QStringLiteral("FrontSeats"));
    frontTable->setHorizontalHeaderLabels(
        {QStringLiteral("出席番号"), QStringLiteral("氏名"), QStringLiteral("前の席")});
    frontTable->verticalHeader()->setVisible(false);
    frontTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (int r = 1; r <= roster.studentCount(); ++r) {
        frontTable->setItem(r - 1, 0, new QTableWidgetItem(roster.cell(roster::attendanceCol, r).toUnicode()));
        frontTable->setItem(r - 1, 1, new QTableWidgetItem(roster.cell(roster::nameCol, r).toUnicode()));
        auto *rows = new QComboBox(frontTable);
        rows->addItems({QStringLiteral("なし"), QStringLiteral("前から1行"), QStringLiteral("前から2行"),
                        QStringLiteral("前から3行")});
        frontTable->setCellWidget(r - 1, 2, rows);
    }
    for (const SeatConditions::Front &f : conditions.front) {
        if (const int row = SeatConditions::rowOf(roster, f.attendance, f.name))
            static_cast<QComboBox *>(frontTable->cellWidget(row - 1, 2))->setCurrentIndex(f.rows);
        else
            pending.front.push_back(f);
    }
    frontTable->resizeColumnsToContents();
    column->addWidget(frontTable, 1);

    // 離す: the pairs, and two lists to name a new one.
    column->addWidget(new QLabel(QStringLiteral("離す（同じ机にも、前後左右斜めの隣にも座らない二人）"), this));
    pairList = new QListWidget(this);
    pairList->setObjectName(QStringLiteral("ApartPairs"));
    for (const SeatConditions::Apart &a : conditions.apart) {
        if (SeatConditions::rowOf(roster, a.attendance, a.name) && SeatConditions::rowOf(roster, a.otherAttendance, a.otherName))
            pairs.push_back(a);
        else
            pending.apart.push_back(a);
    }
    column->addWidget(pairList);
    auto *adding = new QHBoxLayout;
    first = new QComboBox(this);
    first->setObjectName(QStringLiteral("PairFirst"));
    second = new QComboBox(this);
    second->setObjectName(QStringLiteral("PairSecond"));
    for (int r = 1; r <= roster.studentCount(); ++r)
        for (QComboBox *box : {first, second})
            box->addItem(studentText(roster.cell(roster::attendanceCol, r), roster.cell(roster::nameCol, r)), r);
    // Two students from the start: a pair is one step away.
    if (roster.studentCount() > 1)
        second->setCurrentIndex(1);
    add = new QPushButton(QStringLiteral("追加"), this);
    add->setObjectName(QStringLiteral("AddPair"));
    auto *remove = new QPushButton(QStringLiteral("削除"), this);
    remove->setObjectName(QStringLiteral("RemovePair"));
    adding->addWidget(first);
    adding->addWidget(new QLabel(QStringLiteral("と"), this));
    adding->addWidget(second);
    adding->addWidget(add);
    adding->addWidget(remove);
    column->addLayout(adding);
    pairReason = new QLabel(this);
    pairReason->setObjectName(QStringLiteral("PairReason"));
    column->addWidget(pairReason);
    connect(add, &QPushButton::clicked, this, [this] { addPair(); });
    for (QComboBox *box : {first, second})
        connect(box, &QComboBox::currentIndexChanged, this, [this] { showWhetherPairFits(); });
    connect(remove, &QPushButton::clicked, this, [this] {
        const int i = pairList->currentRow();
        if (i >= 0 && static_cast<size_t>(i) < pairs.size()) {
            pairs.erase(pairs.begin() + i);
            showPairs();
        }
    });
    showPairs();

    if (!pending.isEmpty()) {
        QStringList lines;
        for (const SeatConditions::Front &f : pending.front)
            lines << QStringLiteral("前の席: %1").arg(studentText(f.attendance, f.name));
        for (const SeatConditions::Apart &a : pending.apart)
            lines << QStringLiteral("離す: %1 と %2")
                         .arg(studentText(a.attendance, a.name), studentText(a.otherAttendance, a.otherName));
        auto *mismatch = new QLabel(QStringLiteral("名簿と名前が合わないため使っていない条件:\n") + lines.join(QLatin1Char('\n')),
                                    this);
        mismatch->setObjectName(QStringLiteral("PendingConditions"));
        column->addWidget(mismatch);
        confirm = new QCheckBox(QStringLiteral("名簿の名前に合わせて、これらの条件も使う"), this);
        confirm->setObjectName(QStringLiteral("ConfirmPending"));
        column->addWidget(confirm);
    }

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    column->addWidget(buttons);
    resize(520, 600);
}

QString ConditionsDialog::whyNotPair() const {
    const int a = first->currentData().toInt();
    const int b = second->currentData().toInt();
    if (a < 1 || b < 1)
        return QStringLiteral("名簿に生徒がいません");
    if (a == b)
        return QStringLiteral("同じ生徒どうしは組にできません。もう一人を選んでください");
    const SjisText &one = roster.cell(roster::attendanceCol, a);
    const SjisText &other = roster.cell(roster::attendanceCol, b);
    for (const SeatConditions::Apart &p : pairs)
        if ((p.attendance == one && p.otherAttendance == other) || (p.attendance == other && p.otherAttendance == one))
            return QStringLiteral("この二人はもう離す組に入っています");
    return {};
}

void ConditionsDialog::showWhetherPairFits() {
    const QString why = whyNotPair();
    add->setEnabled(why.isEmpty());
    pairReason->setText(why);
}

void ConditionsDialog::addPair() {
    if (!whyNotPair().isEmpty())
        return;
    const int a = first->currentData().toInt();
    const int b = second->currentData().toInt();
    pairs.push_back({roster.cell(roster::attendanceCol, a), roster.cell(roster::nameCol, a),
                     roster.cell(roster::attendanceCol, b), roster.cell(roster::nameCol, b)});
    showPairs();
}

void ConditionsDialog::showPairs() {
    pairList->clear();
    for (const SeatConditions::Apart &a : pairs)
        pairList->addItem(QStringLiteral("%1 と %2").arg(studentText(a.attendance, a.name),
                                                         studentText(a.otherAttendance, a.otherName)));
    showWhetherPairFits();
}

SeatConditions ConditionsDialog::result() const {
    SeatConditions out;
    for (int r = 1; r <= roster.studentCount(); ++r) {
        const int rows = static_cast<QComboBox *>(frontTable->cellWidget(r - 1, 2))->currentIndex();
        if (rows > 0)
            out.front.push_back({roster.cell(roster::attendanceCol, r), roster.cell(roster::nameCol, r), rows});
    }
    out.apart = pairs;
    SeatConditions kept = pending;
    if (confirm && confirm->isChecked()) {
        kept.confirmNames(roster);
        // A student given a front seat in the table keeps that one.
        std::erase_if(kept.front, [&](const SeatConditions::Front &f) {
            return std::any_of(out.front.begin(), out.front.end(),
                               [&](const SeatConditions::Front &o) { return o.attendance == f.attendance; });
        });
    }
    out.front.insert(out.front.end(), kept.front.begin(), kept.front.end());
    out.apart.insert(out.apart.end(), kept.apart.begin(), kept.apart.end());
    return out;
}
