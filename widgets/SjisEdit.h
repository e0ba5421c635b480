#pragma once

#include <QString>

#include <functional>

class QLineEdit;

// Keeps an edit box to one line of text that Shift-JIS can hold: an edit by
// the user (typing, input method, paste, drop) that leaves a character
// Shift-JIS cannot hold in the box is taken back at once, the box keeping its
// text and cursor from before, and refused is called with the character from
// the event loop. A control character the user brings in (a line break, a
// tab) becomes a blank (platform/OneLine.h). Each edit the box keeps is handed
// to taken, where given. Text the program sets is left as it is.
void keepShiftJis(QLineEdit *edit, std::function<void(const QString &character)> refused,
                  std::function<void(const QString &text)> taken = {});
