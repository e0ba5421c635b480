#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

// The INI service reads and writes real files: each run of a target uses one
// file of its own in the temporary folder.
inline const QString &fuzzFilePath() {
    static const QString path = [] {
        const char *tmp = std::getenv("TMPDIR");
        return QString::fromLocal8Bit(tmp && *tmp ? tmp : "/tmp") + QStringLiteral("/kirabo-fuzz-")
               + QString::number(::getpid()) + QStringLiteral(".ini");
    }();
    return path;
}

inline void writeFuzzFile(const QByteArray &bytes) {
    std::FILE *f = std::fopen(QFile::encodeName(fuzzFilePath()).constData(), "wb");
    if (!f || std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), f)
                  != static_cast<std::size_t>(bytes.size()))
        std::abort();
    std::fclose(f);
}
