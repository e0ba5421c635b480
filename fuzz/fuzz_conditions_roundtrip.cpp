// Any conditions the dialog can make (front seats of one to three rows,
// pairs of two students apart) read back from their file as they were.
#include "FuzzText.h"
#include "conditions/SeatConditions.h"

#include <cstdint>
#include <cstdlib>

namespace {
// An attendance number is never empty where a condition names it.
SjisText attendance(FuzzedDataProvider &in) {
    const SjisText t = cellText(in, 6);
    return t.isEmpty() ? SjisText::lit("1") : t;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    SeatConditions c;
    for (int n = in.ConsumeIntegralInRange(0, 6); n > 0; --n)
        c.front.push_back({attendance(in), cellText(in), in.ConsumeIntegralInRange(1, 3)});
    for (int n = in.ConsumeIntegralInRange(0, 6); n > 0; --n) {
        SeatConditions::Apart a{attendance(in), cellText(in), attendance(in), cellText(in)};
        if (a.otherAttendance == a.attendance)
            a.otherAttendance += SjisText::lit("0");
        c.apart.push_back(a);
    }
    QString problem;
    const std::optional<SeatConditions> read = SeatConditions::parse(c.bytes(), problem);
    if (!read || read->front != c.front || read->apart != c.apart)
        std::abort();
    return 0;
}
