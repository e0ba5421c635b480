#pragma once

#include <QString>

// Text for a field of one line (a roster cell, the print title): each
// control character, tabs and line breaks among them, becomes a blank. The
// files hold such a field on one line of their own and could not give back
// a line break, a NUL or a Ctrl-Z as it was; a tab would stand unseen in a
// student's name.
QString oneLine(QString text);
