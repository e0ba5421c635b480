#pragma once

#include <QByteArray>

// A roster file of this many students, as the program writes them.
QByteArray benchRosterFile(int students);
