#include "app/Main.h"

#include "projector/Projector.h"
#include "draw/Random.h"
#include "widgets/Dialogs.h"
#include "widgets/StringGrid.h"
#include "platform/TextFile.h"

#include <QDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>

// In front of the class: the projector view, and the record of the draw
// shown as a table and saved as a CSV file when the teacher asks for it.

void TForm1::ButtonProjectorClick() {
    showProjector();
}

void TForm1::showProjector() {
    if (Projector) {
        Projector->activateWindow();
        return;
    }
    Projector = new ProjectorView(this, StringGrid1->cells()->table());
    ProjectorView *view = Projector;
    wireProjector(view);
    view->showDraw(draw.screen());

    QScreen *where = screen() ? screen() : QGuiApplication::primaryScreen();
    view->setGeometry(where->geometry());
    view->showFullScreen();
    view->activateWindow();
    view->setFocus();
}

void TForm1::closeProjector() {
    if (!Projector)
        return;
    ProjectorView *view = Projector;
    Projector = nullptr;
    setBoxStage(nullptr, 0);
    disconnect(view, &ProjectorView::closed, this, &TForm1::closeProjector);
    view->hide();
    view->deleteLater();
    activateWindow();
}

void TForm1::ButtonRecordClick() {
    QDialog view(this);
    view.setObjectName(QStringLiteral("DrawRecordView"));
    view.setWindowTitle(QStringLiteral("くじ引きの記録"));
    auto *column = new QVBoxLayout(&view);

    // Anyone can replay the draw from the seed and how often the generator
    // had been used at each stop.
    auto *seed = new QLabel(QStringLiteral("乱数の種: %1").arg(rng::seedValue()), &view);
    column->addWidget(seed);

    const QStringList header = drawrecord::header();
    auto *table = new QTableWidget(static_cast<int>(DrawRecord.size()), static_cast<int>(header.size()), &view);
    table->setObjectName(QStringLiteral("DrawRecordTable"));
    table->setHorizontalHeaderLabels(header);
    table->horizontalHeaderItem(drawrecord::DrawsCol)
        ->setToolTip(QStringLiteral("乱数の種を決めてから乱数を使った回数です。数字が1回切り替わるごとに1回使います"));
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
