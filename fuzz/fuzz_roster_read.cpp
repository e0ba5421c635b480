// The roster reader on any bytes: no crash, no hang, and every student row
// as the grid takes it: at most five cells, none holding a byte that ends a
// line or the text.
#include "roster/Columns.h"
#include "roster/RosterCsv.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const QByteArrayView file(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    rostercsv::forEachStudent(file, [](rostercsv::Fields &fields) {
        if (fields.size() > static_cast<std::size_t>(roster::columns))
            std::abort();
        for (const QByteArray &f : fields)
            if (f.contains('\0') || f.contains('\r') || f.contains('\n') || f.contains('\x1a'))
                std::abort();
    });
    for (const QByteArray &line : rostercsv::readLines(file))
        if (line.isEmpty() || line.contains('\n') || line.contains('\r') || static_cast<unsigned char>(line[0]) <= 0x20)
            std::abort();
    return 0;
}
