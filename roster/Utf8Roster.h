#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Rosters that spreadsheets wrote as UTF-8 ("CSV UTF-8" exports, web
// spreadsheets), recognised so that they can be taken in as Shift-JIS.
namespace utf8roster {

bool hasByteOrderMark(QByteArrayView file);
bool isUtf8(QByteArrayView bytes);
// Every byte a single-byte character or the lead of a double-byte character
// followed by a valid second byte, as code page 932 has them.
bool isShiftJis(QByteArrayView bytes);

// A file that starts with the UTF-8 byte-order mark, or is valid UTF-8 with
// text beyond ASCII that is no valid Shift-JIS. Valid Shift-JIS is taken as
// it always was: the two meet only in rare short texts, and a roster that
// opens as today is the lesser surprise.
bool looksLikeUtf8(QByteArrayView file);

// The file's text as Shift-JIS bytes, without the byte-order mark. Answers
// false, naming the first character Shift-JIS cannot hold in badChar.
bool toShiftJis(QByteArrayView file, QByteArray &out, QString &badChar);

} // namespace utf8roster
