#include "controls/SeatCountView.h"

#include <QAbstractItemModel>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

SeatCountView::SeatCountView(QWidget *parent, std::function<SeatCount()> counts)
    : QWidget(parent), counts(std::move(counts)), countLine(new QLabel(this)), adviceLine(new QLabel(this)) {
    countLine->setObjectName(QStringLiteral("SeatCountText"));
    adviceLine->setObjectName(QStringLiteral("SeatCountAdvice"));
    auto *lines = new QVBoxLayout(this);
    lines->setContentsMargins(0, 0, 0, 0);
    lines->setSpacing(0);
    for (QLabel *l : {countLine, adviceLine}) {
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        lines->addWidget(l);
    }
    lines->addStretch(1);
    refresh();
}

void SeatCountView::follow(std::initializer_list<const QAbstractItemModel *> cells) {
    for (const QAbstractItemModel *m : cells) {
        connect(m, &QAbstractItemModel::dataChanged, this, &SeatCountView::refreshSoon);
        connect(m, &QAbstractItemModel::modelReset, this, &SeatCountView::refreshSoon);
        connect(m, &QAbstractItemModel::rowsInserted, this, &SeatCountView::refreshSoon);
        connect(m, &QAbstractItemModel::rowsRemoved, this, &SeatCountView::refreshSoon);
    }
}

void SeatCountView::refresh() {
    pending = false;
    const SeatCount now = counts();
    countLine->setText(now.text());
    adviceLine->setText(now.advice());
    adviceLine->setVisible(now.differs());
    QPalette pal = palette();
    if (now.differs())
        pal.setColor(QPalette::WindowText, Qt::red);
    for (QLabel *l : {countLine, adviceLine})
        l->setPalette(pal);
}

void SeatCountView::refreshSoon() {
    // A cell change comes in the middle of a handler: many of them, and
    // before the handler has set what the counts read (a roster made has its
    // rows before the window knows it is made).
    if (pending)
        return;
    pending = true;
    QTimer::singleShot(0, this, &SeatCountView::refresh);
}
