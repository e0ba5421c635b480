#include "widgets/SjisEdit.h"

#include "platform/OneLine.h"
#include "platform/SjisText.h"

#include <QEvent>
#include <QLineEdit>

namespace {

// Remembers what the box showed before the user's latest edit and takes
// back an edit that brings in what Shift-JIS cannot hold.
class ShiftJisKeeper : public QObject {
public:
    ShiftJisKeeper(QLineEdit *edit, std::function<void(const QString &)> refused,
                   std::function<void(const QString &)> taken)
        : QObject(edit), edit(edit), refused(std::move(refused)), taken(std::move(taken)), keptText(edit->text()) {
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
        // One line: a pasted line break becomes a blank, as the file could
        // not hold it.
        if (const QString flat = oneLine(text); flat != text) {
            const int cursor = edit->cursorPosition();
            edit->setText(flat);
            edit->setCursorPosition(cursor);
            check(flat);
            return;
        }
        SjisText unused;
        QString bad;
        if (SjisText::tryFromUnicode(text, unused, &bad)) {
            if (taken)
                taken(text);
            return;
        }
        const int cursor = keptCursor;
        edit->setText(keptText);
        edit->setCursorPosition(cursor);
        // The box is still in the middle of the user's edit: a modal box
        // opened now would take the focus from under it. The call carries its
        // own copy of refused: the box the refusal shows runs a loop of its
        // own, in which a cell's editor that has closed, and this with it, is
        // deleted.
        QMetaObject::invokeMethod(
            this, [refused = refused, bad] { refused(bad); }, Qt::QueuedConnection);
    }

    QLineEdit *edit;
    std::function<void(const QString &)> refused;
    std::function<void(const QString &)> taken;
    QString keptText;
    int keptCursor = 0;
};

} // namespace

void keepShiftJis(QLineEdit *edit, std::function<void(const QString &character)> refused,
                  std::function<void(const QString &text)> taken) {
    new ShiftJisKeeper(edit, std::move(refused), std::move(taken));
}
