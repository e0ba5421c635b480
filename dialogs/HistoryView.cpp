#include "dialogs/HistoryView.h"

#include "history/ClassHistory.h"
#include "widgets/Dialogs.h"
#include "widgets/Guard.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

HistoryView::HistoryView(QWidget *parent, ClassHistory &history, std::function<void(int)> deleted)
    : QDialog(parent), history(history), deleted(std::move(deleted)) {
    setObjectName(QStringLiteral("HistoryView"));
    setWindowTitle(QStringLiteral("席替えの履歴"));
    auto *column = new QVBoxLayout(this);
    auto *top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("回:"), this));
    rounds = new QComboBox(this);
    rounds->setObjectName(QStringLiteral("Rounds"));
    top->addWidget(rounds, 1);
    remove = new QPushButton(QStringLiteral("この回を削除"), this);
    remove->setObjectName(QStringLiteral("DeleteRound"));
    remove->setAutoDefault(false);
    top->addWidget(remove);
    column->addLayout(top);

    table = new QTableWidget(0, 4, this);
    table->setObjectName(QStringLiteral("RoundSeats"));
    table->setHorizontalHeaderLabels({QStringLiteral("座席番号"), QStringLiteral("出席番号"), QStringLiteral("氏名"),
                                      QStringLiteral("隣の人")});
    table->verticalHeader()->setVisible(false);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    column->addWidget(table, 1);

    auto *close = new QPushButton(QStringLiteral("閉じる"), this);
    close->setDefault(true);
    auto *bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(close);
    column->addLayout(bottom);

    connect(rounds, &QComboBox::currentIndexChanged, this, [this] { showRound(); });
    connect(remove, &QPushButton::clicked, this, [this] { runGuarded([this] { deleteRound(); }); });
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    showRounds();
    resize(480, 520);
}

void HistoryView::showRounds() {
    rounds->clear();
    for (const ClassHistory::Round &r : history.rounds())
        rounds->addItem(QStringLiteral("第%1回 (%2)").arg(r.number).arg(r.date.toString(Qt::ISODate)), r.number);
    // The latest round first in view.
    rounds->setCurrentIndex(rounds->count() - 1);
    remove->setEnabled(rounds->count() > 0);
    showRound();
}

void HistoryView::showRound() {
    table->setRowCount(0);
    const int number = rounds->currentData().toInt();
    for (const ClassHistory::Round &r : history.rounds()) {
        if (r.number != number)
            continue;
        std::vector<ClassHistory::Seat> seats = r.seats;
        std::sort(seats.begin(), seats.end(), [](const auto &a, const auto &b) { return a.seat < b.seat; });
        table->setRowCount(static_cast<int>(seats.size()));
        for (int i = 0; i < table->rowCount(); ++i) {
            const ClassHistory::Seat &s = seats[static_cast<size_t>(i)];
            table->setItem(i, 0, new QTableWidgetItem(s.seat.text().toUnicode()));
            table->setItem(i, 1, new QTableWidgetItem(s.attendance.toUnicode()));
            table->setItem(i, 2, new QTableWidgetItem(s.name.toUnicode()));
            table->setItem(i, 3, new QTableWidgetItem(s.mateName.toUnicode()));
        }
    }
    table->resizeColumnsToContents();
}

void HistoryView::deleteRound() {
    if (rounds->count() == 0)
        return;
    const int number = rounds->currentData().toInt();
    if (messageDlg(QStringLiteral("第%1回の記録を削除しますか？").arg(number), MsgKind::Confirmation,
                   {MsgButton::Yes, MsgButton::No})
        != MsgButton::Yes)
        return;
    history.removeRound(number);
    showRounds();
    deleted(number);
}
