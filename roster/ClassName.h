#pragma once

#include <QString>

// The name a class goes by, and the names of files made for it.
namespace classname {

// The roster file's base name: "2年3組" for ".../2年3組.csv". Empty for a
// roster without a file.
QString ofRoster(const QString &rosterPath);

// What a class made in the program is called until it is saved.
QString newClass();

// A text made fit to be a file's name on Windows and on Linux: characters no
// file name may hold become "_", blanks and dots at the ends go, and a name
// Windows keeps for a device gets a "_" after it.
QString forFileName(const QString &text);

// The name proposed for the seat chart's PDF: the class's name and the print
// title joined by "_" ("2年3組_座席表.pdf"), either left out where it is
// empty, the class's name also where the title holds it; "座席表.pdf" where
// both are empty.
QString chartPdf(const QString &className, const QString &title);

} // namespace classname
