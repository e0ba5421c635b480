#include "app/Main.h"

#include "projector/PresenterKeys.h"
#include "projector/Projector.h"
#include "widgets/Guard.h"
#include "widgets/StringGrid.h"
#include "printing/ReportSystem.h"
#include "roster/ClassName.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

bool TForm1::guarded(const std::function<void()> &handler, const std::function<void()> &beforeBox) {
    const bool done = runGuarded(handler, beforeBox);
    // Every change of the roster's file and of its unsaved state comes from
    // a handler, also one that failed half-way.
    showOpenClass();
    return done;
}

// Every event the program handles, and its handler. Each one runs through
// the guard, so an error ends the handler and shows the error box, and the
// window waits for the next action.
void TForm1::wireEvents() {
    auto on = [this](auto *sender, auto signal, void (TForm1::*handler)()) {
        connect(sender, signal, this, [this, handler] { guarded([this, handler] { (this->*handler)(); }); });
    };
    // The commands that change the roster are steps of its undo history.
    auto onRoster = [this](auto *sender, auto signal, void (TForm1::*handler)()) {
        connect(sender, signal, this, [this, handler] { rosterStep([this, handler] { (this->*handler)(); }); });
    };
    on(PageControl1, &QTabWidget::currentChanged, &TForm1::PageControl1Change);
    onRoster(ToolButton1, &QToolButton::clicked, &TForm1::ToolButton1Click);
    on(ToolButton3, &QToolButton::clicked, &TForm1::ToolButton3Click);
    on(ToolButton2, &QToolButton::clicked, &TForm1::ToolButton2Click);
    onRoster(ToolButton6, &QToolButton::clicked, &TForm1::ToolButton6Click);
    onRoster(ToolButton4, &QToolButton::clicked, &TForm1::ToolButton4Click);
    on(Button1, &QPushButton::clicked, &TForm1::Button1Click);
    on(Button6, &QPushButton::clicked, &TForm1::Button6Click);
    connect(Timer1, &QTimer::timeout, this, [this] { guardedTick([this] { Timer1Timer(); }); });
    on(BitBtn1, &QPushButton::clicked, &TForm1::BitBtn1Click);
    on(Button3, &QPushButton::clicked, &TForm1::Button3Click);
    on(Button4, &QPushButton::clicked, &TForm1::Button4Click);
    on(Button5, &QPushButton::clicked, &TForm1::Button5Click);
    on(Button_Projector, &QPushButton::clicked, &TForm1::ButtonProjectorClick);
    on(Button_Record, &QPushButton::clicked, &TForm1::ButtonRecordClick);
    on(Button_Conditions, &QPushButton::clicked, &TForm1::ButtonConditionsClick);
    on(Button_History, &QPushButton::clicked, &TForm1::ButtonHistoryClick);
    onRoster(Action_NewRoster, &QAction::triggered, &TForm1::NewRosterClick);
    onRoster(Action_AddRow, &QAction::triggered, &TForm1::AddRowClick);
    onRoster(Action_DeleteRows, &QAction::triggered, &TForm1::DeleteRowsClick);
    onRoster(Action_Paste, &QAction::triggered, &TForm1::PasteClick);
    onRoster(Action_Undo, &QAction::triggered, &TForm1::UndoClick);
    onRoster(Action_Redo, &QAction::triggered, &TForm1::RedoClick);
    on(StringGrid2, &StringGrid::pasteRequested, &TForm1::StringGrid2PasteRequested);
    // Called inside BitBtn1Click, so its errors end the print command there,
    // in the same guard.
    RvSystem1->onPrint = [this](PageCanvas &page) { RvSystem1Print(page); };
    RvSystem1->pdfName = [this] { return classname::chartPdf(className(), Edit_Title->text()); };
    // The close kind of button closes the window through the close query.
    connect(BitBtn2, &QPushButton::clicked, this, &QWidget::close);

    connect(StringGrid2->cells(), &StringGridModel::editTextSet, this,
            [this](int col, int row, const SjisText &text) {
                guarded([&] { StringGrid2SetEditText(col, row, text); });
            });
    connect(StringGrid2, &StringGrid::textRefused, this, &TForm1::warnNotShiftJis);
    connect(StringGrid1, &StringGrid::drawCell, this,
            [this](QPainter *p, int col, int row, const QRect &rect, const GridDrawState &state) {
                guarded([&] { StringGrid1DrawCell(p, col, row, rect, state); });
            });
    connect(StringGrid_Settei, &StringGrid::mouseUp, this,
            [this](Qt::MouseButton b, Qt::KeyboardModifiers m, int x, int y) {
                guarded([&] { StringGrid_SetteiMouseUp(b, m, x, y); });
            });

    // The presenter keys act on the draw page and in the projector view.
    presenterKeys = new PresenterKeys(this, {
        [this](const QWidget *window) { return Projector && window == Projector; },
        [this](const QWidget *window) { return window == this && PageControl1->currentWidget() == TabSheet1; },
        [this] { Button1->click(); },
        [this] { showProjector(); },
        [this] { closeProjector(); },
    });
    qApp->installEventFilter(presenterKeys);
}

void TForm1::wireProjector(ProjectorView *view) {
    const auto refresh = [this, view] { view->showDraw(draw.screen()); };
    connect(StringGrid1->cells(), &QAbstractItemModel::dataChanged, view, refresh);
    connect(StringGrid1->cells(), &QAbstractItemModel::modelReset, view, refresh);
    connect(view, &ProjectorView::startStopClicked, Button1, &QPushButton::click);
    connect(view, &ProjectorView::closed, this, &TForm1::closeProjector);
}

void TForm1::closeEvent(QCloseEvent *e) {
    bool canClose = true;
    if (guarded([&] { FormCloseQuery(canClose); }) && canClose)
        e->accept();
    else
        e->ignore();
}
