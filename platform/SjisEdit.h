#pragma once

#include <QString>

#include <functional>

class QLineEdit;

// Keeps an edit box to text that Shift-JIS can hold, as the grid's cell
// editor does: an edit by the user (typing, input method, paste, drop) that
// leaves a character Shift-JIS cannot hold in the box is taken back at once,
// the box keeping its text and cursor from before, and refused is called with
// the character from the event loop. A line break the user brings in becomes
// a blank. Text the program sets is left as it is.
void keepShiftJis(QLineEdit *edit, std::function<void(const QString &character)> refused);
