// One key written into any file, then the file read again: the key reads back
// as written, another key reads as before, and every other line of the file
// is byte for byte as it was (the last line may only gain its CR LF). A
// refused write leaves the file untouched.
//
// Input: section, key, value, a second section and key to watch (each as
// FuzzedDataProvider's random-length string), then the file's bytes.
#include "FuzzFile.h"
#include "platform/Errors.h"
#include "platform/IniProfile.h"

#include <QFile>

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>

namespace {

QByteArray take(FuzzedDataProvider &in) {
    return QByteArray::fromStdString(in.ConsumeRandomLengthString(64));
}

// Names as the service compares them: ASCII letters in one case, the second
// byte of a double-byte character as it is.
QByteArray folded(QByteArray name) {
    for (qsizetype i = 0; i < name.size(); ++i) {
        const auto c = static_cast<unsigned char>(name[i]);
        if (isSjisLeadByte(c) && i + 1 < name.size())
            ++i;
        else if (c >= 'A' && c <= 'Z')
            name[i] = static_cast<char>(c + 32);
    }
    return name;
}

// Lines with their line ends; a last line without one too.
QList<QByteArray> lines(const QByteArray &bytes) {
    QList<QByteArray> out;
    for (qsizetype p = 0; p < bytes.size();) {
        const qsizetype lf = bytes.indexOf('\n', p);
        const qsizetype end = lf < 0 ? bytes.size() : lf + 1;
        out << bytes.mid(p, end - p);
        p = end;
    }
    return out;
}

// The same line, or the file's last line given the CR LF it lacked.
bool sameLine(const QByteArray &before, const QByteArray &after, bool lastBefore) {
    if (before == after)
        return true;
    if (!lastBefore || before.endsWith('\n'))
        return false;
    return after == before + "\r\n" || (before.endsWith('\r') && after == before + "\n");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const QByteArray section = take(in);
    const QByteArray key = take(in);
    const QByteArray value = take(in);
    const QByteArray otherSection = take(in);
    const QByteArray otherKey = take(in);
    const std::string rest = in.ConsumeRemainingBytesAsString();
    const QByteArray before = QByteArray::fromStdString(rest);
    writeFuzzFile(before);

    const SjisText unset(QByteArray("\x01unset"));
    const SjisText otherBefore = IniProfile(fuzzFilePath()).readString(SjisText(otherSection), SjisText(otherKey), unset);
    {
        IniProfile ini(fuzzFilePath());
        try {
            ini.writeString(SjisText(section), SjisText(key), SjisText(value));
        } catch (const SettingsWriteError &) {
            ini.flush();
            QFile f(fuzzFilePath());
            if (!f.open(QIODevice::ReadOnly) || f.readAll() != before)
                std::abort();
            return 0;
        }
        ini.flush();
    }

    QFile f(fuzzFilePath());
    if (!f.open(QIODevice::ReadOnly))
        std::abort();
    const QByteArray after = f.readAll();
    const IniProfile back(fuzzFilePath());
    if (back.readString(SjisText(section), SjisText(key), unset).bytes() != value.left(IniProfile::maxValueBytes))
        std::abort();
    const bool sameKey = folded(otherSection) == folded(section) && folded(otherKey) == folded(key);
    if (!sameKey && back.readString(SjisText(otherSection), SjisText(otherKey), unset) != otherBefore)
        std::abort();

    // At most one line replaced, or one or two inserted, around lines as they were.
    const QList<QByteArray> a = lines(before);
    const QList<QByteArray> b = lines(after);
    qsizetype head = 0;
    while (head < a.size() && head < b.size() && sameLine(a[head], b[head], head == a.size() - 1))
        ++head;
    qsizetype tail = 0;
    while (tail < a.size() - head && tail < b.size() - head
           && sameLine(a[a.size() - 1 - tail], b[b.size() - 1 - tail], tail == 0))
        ++tail;
    const qsizetype removed = a.size() - head - tail;
    const qsizetype added = b.size() - head - tail;
    if (removed > 1 || added > 2 || (removed == 1 && added != 1))
        std::abort();
    return 0;
}
