// The INI reader on any file: every section and key the file names (and the
// same names in other letter cases) is looked up; no crash, no hang, and no
// value longer than the service gives.
#include "FuzzFile.h"
#include "platform/IniProfile.h"

#include <QFile>

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const QByteArray content(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    writeFuzzFile(content);
    const IniProfile ini(fuzzFilePath());
    if (ini.readError() != 0)
        std::abort();

    QByteArray section;
    for (QByteArray line : content.split('\n')) {
        line = line.trimmed();
        if (line.startsWith('[') && line.endsWith(']')) {
            section = line.mid(1, line.size() - 2).trimmed();
            continue;
        }
        const qsizetype eq = line.indexOf('=');
        if (eq < 0)
            continue;
        const QByteArray key = line.left(eq).trimmed();
        for (const auto &[s, k] : {std::pair{section, key}, std::pair{section.toUpper(), key.toLower()}}) {
            const SjisText value = ini.readString(SjisText(s), SjisText(k), SjisText());
            if (value.size() > IniProfile::maxValueBytes)
                std::abort();
            ini.readInteger(SjisText(s), SjisText(k), 0);
        }
    }
    return 0;
}
