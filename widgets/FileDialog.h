#pragma once

#include <QString>
#include <QStringList>

// A file dialog as the window's code expects one: it holds a file name, an
// initial folder, a filter and a default extension between uses.
class FileDialog {
public:
    enum class Mode { Open, Save };
    explicit FileDialog(Mode mode) : mode(mode) {}

    QString fileName;
    QString defaultExt;
    // The description shown and the patterns ("*.CSV"); patterns match
    // regardless of letter case.
    QString filterName;
    QStringList patterns;

    const QString &initialDir() const { return initial; }
    // Drops one trailing separator from a folder longer than one character.
    void setInitialDir(const QString &dir);

    // Shows the dialog modally; true when a file was chosen, which then is
    // fileName. A cancelled dialog keeps the file name it held.
    bool execute();

private:
    Mode mode;
    QString initial;
};
