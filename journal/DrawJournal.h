#pragma once

#include "journal/Journal.h"
#include "platform/AppendFile.h"

#include <QString>

#include <memory>
#include <vector>

class QLockFile;

// The journal file of this program's draw, in a folder of the user's data
// (never beside the roster, which may lie on a share nobody may write).
// Each running program writes a file of its own, held under a lock while it
// runs, so that two windows never share one; a file whose lock nobody holds
// any more was left by a program that ended without closing it.
class DrawJournal {
public:
    DrawJournal();
    ~DrawJournal();
    DrawJournal(const DrawJournal &) = delete;
    DrawJournal &operator=(const DrawJournal &) = delete;

    // Begins the journal afresh with these contents: the whole file is
    // replaced, on the disk before this returns. Raises InOutError.
    void begin(const journal::Contents &contents);
    // Adds one event, on the disk before this returns. Raises InOutError;
    // after a failure nothing more is written until the next begin, so the
    // file never holds a line after a broken one.
    void append(const drawrecord::Event &e);
    bool isOpen() const { return out.isOpen(); }
    // The draw ended cleanly (saved, or left on purpose): the file goes.
    void end();
    QString path() const { return file; }

    // The folder of the journals.
    static QString folder();

    // A journal some earlier program left behind, held under its lock.
    struct Left {
        QString path;
        std::shared_ptr<QLockFile> lock;
    };
    // Those in the folder, newest first; none that a running program holds.
    static std::vector<Left> leftBehind();
    // Keeps it under another name that no later start asks about.
    static QString setAside(const Left &left);
    static void remove(const Left &left);

private:
    QString file;
    std::unique_ptr<QLockFile> lock;
    AppendFile out;
};
