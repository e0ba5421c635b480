#include "app/Main.h"

#include "draw/Random.h"
#include "platform/Dialogs.h"
#include "platform/TextFile.h"
#include "platform/TextList.h"
#include "roster/Columns.h"
#include "platform/StringGrid.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

// The record of the draw: what each event was, shown as a table and saved
// as a CSV file when the teacher asks for it.

void TForm1::record(drawrecord::Kind kind, const SjisText &seat, const SjisText &note) {
    drawrecord::Event e;
    e.kind = kind;
    e.time = QDateTime::currentDateTime();
    if (kind != drawrecord::Kind::Preparation && kind != drawrecord::Kind::Repreparation) {
        e.row = TurnRow;
        e.attendance = StringGrid2->cell(roster::attendanceCol, TurnRow);
        e.name = StringGrid2->cell(roster::nameCol, TurnRow);
    }
    e.seat = seat;
    e.pool = Memo1->count();
    e.ticks = rng::drawsSinceSeed();
    e.note = note;
    DrawRecord.push_back(std::move(e));
}

void TForm1::ButtonRecordClick() {
    QDialog view(this);
    view.setObjectName(QStringLiteral("DrawRecordView"));
    view.setWindowTitle(QStringLiteral("くじ引きの記録"));
    auto *column = new QVBoxLayout(&view);

    // Anyone can replay the draw from the seed and the tick counts of the stops.
    auto *seed = new QLabel(QStringLiteral("乱数の種: %1").arg(rng::seedValue()), &view);
    column->addWidget(seed);

    const QStringList header = drawrecord::header();
    auto *table = new QTableWidget(static_cast<int>(DrawRecord.size()), static_cast<int>(header.size()), &view);
    table->setObjectName(QStringLiteral("DrawRecordTable"));
    table->setHorizontalHeaderLabels(header);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->setVisible(false);
    for (int r = 0; r < table->rowCount(); ++r) {
        const QStringList cells = drawrecord::cells(DrawRecord[static_cast<size_t>(r)]);
        for (int c = 0; c < cells.size(); ++c)
            table->setItem(r, c, new QTableWidgetItem(cells[c]));
    }
    table->resizeColumnsToContents();
    table->scrollToBottom();
    column->addWidget(table, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto *save = new QPushButton(QStringLiteral("CSVファイルに保存..."), &view);
    save->setObjectName(QStringLiteral("SaveDrawRecord"));
    save->setAutoDefault(false);
    auto *close = new QPushButton(QStringLiteral("閉じる"), &view);
    close->setDefault(true);
    buttons->addWidget(save);
    buttons->addWidget(close);
    column->addLayout(buttons);
    connect(save, &QPushButton::clicked, &view, [this] { guarded([this] { saveDrawRecord(); }); });
    connect(close, &QPushButton::clicked, &view, &QDialog::accept);

    view.resize(std::min(1000, table->horizontalHeader()->length() + 60), 480);
    runModal(view);
}

void TForm1::saveDrawRecord() {
    if (SaveDialogRecord.fileName.isEmpty()) {
        SaveDialogRecord.setInitialDir(OpenDialog1.initialDir());
        SaveDialogRecord.fileName = QStringLiteral("くじ引きの記録.CSV");
    }
    if (!SaveDialogRecord.execute())
        return;
    textfile::save(SaveDialogRecord.fileName, drawrecord::csv(rng::seedValue(), DrawRecord));
}
