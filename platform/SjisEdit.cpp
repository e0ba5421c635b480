#include "platform/SjisEdit.h"

#include "platform/Dialogs.h"
#include "platform/SjisText.h"

#include <QLineEdit>

#include <memory>

namespace {

// The text and cursor of the box before the user's latest edit.
struct Kept {
    QString text;
    int cursor = 0;
};

} // namespace

void keepShiftJis(QLineEdit *edit) {
    auto kept = std::make_shared<Kept>(Kept{edit->text(), edit->cursorPosition()});
    // The box reports a user's edit before it reports the new text and
    // cursor, so at that moment these still hold the ones before the edit.
    QObject::connect(edit, &QLineEdit::textChanged, edit, [edit, kept](const QString &text) {
        // After a refusal the box still reports the refused text; it no
        // longer shows it.
        if (text == edit->text())
            kept->text = text;
    });
    QObject::connect(edit, &QLineEdit::cursorPositionChanged, edit,
                     [kept](int, int now) { kept->cursor = now; });
    QObject::connect(edit, &QLineEdit::textEdited, edit, [edit, kept](const QString &text) {
        SjisText unused;
        QString bad;
        if (SjisText::tryFromUnicode(text, unused, &bad))
            return;
        const int cursor = kept->cursor;
        edit->setText(kept->text);
        edit->setCursorPosition(cursor);
        warnRefusedCharacter(edit, bad);
    });
}
