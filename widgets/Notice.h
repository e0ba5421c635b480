#pragma once

#include <QString>

class QWidget;

// A word to the user that asks for nothing: it stands over the foot of a
// window for a few seconds and then fades away. It takes no click and no
// key, moves no component, and a newer word on the same window takes its
// place.
void showNotice(QWidget *window, const QString &text);
