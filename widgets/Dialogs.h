#pragma once

#include <QPoint>
#include <QString>
#include <QStringList>

#include <initializer_list>

class QDialog;
class QObject;
class QWidget;

// The four kinds of message dialog, each with its caption and icon.
enum class MsgKind { Warning, Error, Information, Confirmation };
// Buttons, always shown in this order whatever order they are given in.
enum class MsgButton { Yes, No, Ok, Cancel };

// A modal message dialog; answers the button pressed. The default button is
// OK when present, else yes; Esc and the close box answer cancel when that
// button is present, else no, else OK.
MsgButton messageDlg(const QString &text, MsgKind kind, std::initializer_list<MsgButton> buttons);

// A modal box captioned with the application title, without icon, with the
// single button "OK", centred on the screen.
void showMessage(const QString &text);
// The same box with the top-left corner of its frame at a point of the screen.
void showMessageAt(const QString &text, QPoint topLeft);
// The same for a text given as phrases in a row, such as an announcement
// read in front of the class: the text stands on one line where it fits,
// and breaks only between phrases where it does not. Over a stage a phrase
// too long for a line gets a smaller face, so that no word is ever split.
void showMessageAt(const QStringList &phrases, QPoint topLeft);

// The application's error box: the application title, the error icon, "OK".
// A message ending in a double-byte character or a character above "." gets
// a "." appended.
void showErrorBox(const QString &message);
QString errorBoxText(const QString &message);

// While a stage is set (a full-screen view the class watches), the
// application's own boxes show centred over it, in a font of the given pixel
// size, instead of where they stand otherwise; the message dialogs open on
// top of it. nullptr puts every box back in its usual place.
void setBoxStage(QWidget *stage, int fontPixels);

// Every modal box of the program runs through here.
int runModal(QDialog &dialog);
