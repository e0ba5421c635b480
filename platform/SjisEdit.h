#pragma once

class QLineEdit;

// Keeps an edit box to text that Shift-JIS can hold, as the grid's cell
// editor does: an edit by the user (typing, input method, paste, drop) that
// leaves a character Shift-JIS cannot hold in the box is taken back at once,
// the box keeping its text and cursor from before, and a warning names the
// character. Text the program sets is left as it is.
void keepShiftJis(QLineEdit *edit);
