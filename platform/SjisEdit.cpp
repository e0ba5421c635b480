#include "platform/SjisEdit.h"

#include "platform/Dialogs.h"
#include "platform/SjisText.h"

#include <QEvent>
#include <QLineEdit>

namespace {

// Remembers what the box showed before the user's latest edit and takes
// back an edit that brings in what Shift-JIS cannot hold.
class ShiftJisKeeper : public QObject {
public:
    explicit ShiftJisKeeper(QLineEdit *edit) : QObject(edit), edit(edit), keptText(edit->text()) {
        edit->installEventFilter(this);
        // After a refusal the box still reports the refused text, which it no
        // longer shows.
        connect(edit, &QLineEdit::textChanged, this, [this](const QString &text) {
            if (text == this->edit->text())
                keptText = text;
        });
        connect(edit, &QLineEdit::textEdited, this, &ShiftJisKeeper::check);
    }

protected:
    // Every edit of the user's comes with one of these events; the cursor
    // is taken before the box handles it.
    bool eventFilter(QObject *, QEvent *event) override {
        switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::InputMethod:
        case QEvent::Drop:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::ContextMenu:
            keptCursor = edit->cursorPosition();
            break;
        default:
            break;
        }
        return false;
    }

private:
    void check(const QString &text) {
        SjisText unused;
        QString bad;
        if (SjisText::tryFromUnicode(text, unused, &bad))
            return;
        const int cursor = keptCursor;
        edit->setText(keptText);
        edit->setCursorPosition(cursor);
        warnRefusedCharacter(edit, bad);
    }

    QLineEdit *edit;
    QString keptText;
    int keptCursor = 0;
};

} // namespace

void keepShiftJis(QLineEdit *edit) {
    new ShiftJisKeeper(edit);
}
