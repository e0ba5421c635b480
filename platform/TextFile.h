#pragma once

#include <QByteArray>
#include <QString>

// Text files as the program's handlers open and save them. Every failure
// raises InOutError with the system's error code, mapped so that the
// messages mean what the user needs to hear.
namespace textfile {

// The whole content of a file. Other programs may read it meanwhile, but it
// is refused (with the code the lock gives, EAGAIN) while another program
// holds a write lock on it. A folder is refused with EISDIR, a device or a
// pipe with EINVAL, and a missing folder on the way with ENOTDIR ("the file
// name is wrong").
QByteArray readAll(const QString &path);

// Replaces a file's content with the given bytes so that a failure at any
// point leaves the old file as it was: the new content is written beside it,
// flushed to the disk and only then renamed over it. The replaced file's
// permissions are kept, a symbolic link is written through to its target, and
// a file nobody may write (no write permission bit) is refused with EACCES,
// also for root. A device is written directly. While the new content is being
// written it is held under a write lock; a file another program holds locked
// for writing is refused.
void save(const QString &path, const QByteArray &content);

// The folder of a file: its path up to its last separator, without that
// separator unless the folder is the root.
QString folderOf(const QString &path);

} // namespace textfile
