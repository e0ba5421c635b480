#include "draw/PresenterKeys.h"

#include "app/Main.h"
#include "draw/Projector.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QTabWidget>

PresenterKey presenterKey(int key, Qt::KeyboardModifiers modifiers, bool inProjector) {
    if (modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return PresenterKey::None;
    switch (key) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_PageDown:
    case Qt::Key_PageUp:
    case Qt::Key_B:
    case Qt::Key_Period:
        return PresenterKey::StartStop;
    case Qt::Key_F11:
        return PresenterKey::ToggleProjector;
    case Qt::Key_Escape:
        return inProjector ? PresenterKey::CloseProjector : PresenterKey::None;
    default:
        return PresenterKey::None;
    }
}

PresenterKeys::PresenterKeys(TForm1 &owner) : QObject(&owner), form(owner) {}

bool PresenterKeys::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return false;
    const QWidget *window = static_cast<QWidget *>(watched)->window();
    const bool inProjector = form.Projector && window == form.Projector;
    const bool onDrawPage = window == &form && form.PageControl1->currentWidget() == form.TabSheet1;
    if (!inProjector && !onDrawPage)
        return false;

    const auto *key = static_cast<QKeyEvent *>(event);
    const PresenterKey action = presenterKey(key->key(), key->modifiers(), inProjector);
    if (action == PresenterKey::None)
        return false;
    // A key held down starts and stops nothing more than its first press did.
    if (key->isAutoRepeat())
        return true;
    switch (action) {
    case PresenterKey::StartStop:
        form.Button1->click();
        break;
    case PresenterKey::ToggleProjector:
        if (inProjector)
            form.closeProjector();
        else
            form.showProjector();
        break;
    case PresenterKey::CloseProjector:
        form.closeProjector();
        break;
    case PresenterKey::None:
        break;
    }
    return true;
}
