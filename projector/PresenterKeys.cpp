#include "projector/PresenterKeys.h"

#include <QKeyEvent>
#include <QWidget>

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

PresenterKeys::PresenterKeys(QObject *parent, Targets targets) : QObject(parent), targets(std::move(targets)) {}

bool PresenterKeys::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return false;
    const QWidget *window = static_cast<QWidget *>(watched)->window();
    const bool inProjector = targets.isProjector(window);
    const bool onDrawPage = targets.isDrawPage(window);
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
        targets.startStop();
        break;
    case PresenterKey::ToggleProjector:
        if (inProjector)
            targets.closeProjector();
        else
            targets.openProjector();
        break;
    case PresenterKey::CloseProjector:
        targets.closeProjector();
        break;
    case PresenterKey::None:
        break;
    }
    return true;
}
