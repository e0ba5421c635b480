#pragma once

#include <QObject>

#include <functional>

// What a key does on the draw page and in the projector view.
enum class PresenterKey { None, StartStop, ToggleProjector, CloseProjector };

// Space, Enter, Page Down, Page Up, "B" and "." act as Start/Stop: a
// presenter remote sends Page Down and Page Up, the others are what people
// press. F11 opens and closes the projector view; Esc closes it. With Ctrl,
// Alt or Meta held a key is none of these.
PresenterKey presenterKey(int key, Qt::KeyboardModifiers modifiers, bool inProjector);

// Watches the keys the application receives and acts on those meant for the
// draw: on the draw page of its window and in its projector view, before any
// widget there sees them. Every other page keeps all of its keys, and so do
// the boxes that open over the draw.
class PresenterKeys : public QObject {
public:
    // Where the keys act and what they do there.
    struct Targets {
        std::function<bool(const QWidget *window)> isProjector;
        // The window is the draw's window, with its draw page shown.
        std::function<bool(const QWidget *window)> isDrawPage;
        std::function<void()> startStop;
        std::function<void()> openProjector;
        std::function<void()> closeProjector;
    };

    PresenterKeys(QObject *parent, Targets targets);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Targets targets;
};
