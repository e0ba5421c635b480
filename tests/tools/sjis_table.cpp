// Writes platform/SjisTableData.inc, the program's table of code page 932,
// from ICU's converter:
//   cmake --build build/test --target kirabo_sjis_table
//   build/test/tests/kirabo_sjis_table > platform/SjisTableData.inc
// SjisTable.AgreesWithTheConverterItWasMadeFrom holds the table to it.
#include "support/CodePageReference.h"

#include "platform/SjisText.h"

#include <cstdio>

namespace {

void hex(unsigned value, int &column) {
    std::printf("%s0x%04X,", column == 0 ? "    " : " ", value);
    if (++column == 12) {
        std::printf("\n");
        column = 0;
    }
}

void end(int &column) {
    std::printf(column ? "\n};\n\n" : "};\n\n");
    column = 0;
}

} // namespace

int main() {
    std::printf("// Code page 932, made by tests/tools/sjis_table.cpp from ICU's \"%s\"\n"
                "// converter. Do not edit: make it again.\n\n",
                codepage::icuName);
    int column = 0;
    std::printf("constexpr char16_t singles[256] = {\n");
    for (int b = 0; b < 256; ++b)
        hex(codepage::reference(QByteArray(1, static_cast<char>(b))).value_or(0xFFFF), column);
    end(column);
    std::printf("constexpr char16_t pairs[] = {\n");
    for (int lead = 0; lead < 256; ++lead) {
        if (!isSjisLeadByte(static_cast<unsigned char>(lead)))
            continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            const char bytes[2] = {static_cast<char>(lead), static_cast<char>(trail)};
            hex(codepage::reference(QByteArray(bytes, 2)).value_or(0xFFFF), column);
        }
    }
    end(column);
    std::printf("constexpr CharCode codes[] = {\n");
    int n = 0;
    for (unsigned c = 0; c < 0x10000; ++c) {
        if (const auto code = codepage::referenceCode(static_cast<char16_t>(c))) {
            std::printf("%s{0x%04X, 0x%04X},", n % 6 == 0 ? "    " : " ", c, unsigned(*code));
            if (++n % 6 == 0)
                std::printf("\n");
        }
    }
    std::printf(n % 6 ? "\n};\n" : "};\n");
    return 0;
}
