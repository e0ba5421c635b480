// Any journal the program writes (its beginning, then one line an event)
// reads back whole into the same contents; and cut off anywhere, as a kill
// mid-write leaves it, it is never taken for a damaged file: it reads as
// empty, or as sound with the events written before the cut.
#include "FuzzText.h"
#include "journal/Journal.h"

#include <cstdint>
#include <cstdlib>

namespace {

drawrecord::Event anEvent(FuzzedDataProvider &in) {
    drawrecord::Event e;
    e.kind = static_cast<drawrecord::Kind>(in.ConsumeIntegralInRange<int>(0, static_cast<int>(drawrecord::Kind::Refusal)));
    // Any moment a clock of this century or the next can give.
    e.time = QDateTime::fromMSecsSinceEpoch(in.ConsumeIntegralInRange<qint64>(0, 6'000'000'000'000));
    e.row = in.ConsumeIntegral<std::int32_t>();
    e.attendance = cellText(in);
    e.name = cellText(in);
    e.seat = cellText(in, 4);
    if (in.ConsumeBool())
        e.pool = in.ConsumeIntegral<std::int32_t>();
    e.draws = in.ConsumeIntegral<std::uint64_t>();
    e.note = cellText(in, 64);
    e.className = QString::fromUtf8(cellBytes(in));
    return e;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    journal::Contents c;
    c.rosterPath = QString::fromUtf8(QByteArray::fromStdString(in.ConsumeRandomLengthString(64)));
    c.fileHash = QByteArray::fromStdString(in.ConsumeBytesAsString(in.ConsumeBool() ? 32 : 0));
    c.rosterBytes = QByteArray::fromStdString(in.ConsumeRandomLengthString(512));
    c.seed = in.ConsumeIntegral<std::uint32_t>();
    if (in.ConsumeBool())
        for (int i = 0; i < 48; ++i)
            c.layout.push_back(cellText(in, 4));
    for (int n = in.ConsumeIntegralInRange(0, 8); n > 0; --n)
        c.held[in.ConsumeIntegralInRange<std::int32_t>(1, 48)] = cellText(in, 4);
    for (int n = in.ConsumeIntegralInRange(0, 12); n > 0; --n)
        c.events.push_back(anEvent(in));
    c.firstNew = in.ConsumeIntegralInRange<std::size_t>(0, c.events.size());

    // The beginning holds the events so far; the later ones come a line each.
    const std::size_t begun = in.ConsumeIntegralInRange<std::size_t>(c.firstNew, c.events.size());
    journal::Contents atBeginning = c;
    atBeginning.events.resize(begun);
    QByteArray file = journal::beginning(atBeginning);
    for (std::size_t i = begun; i < c.events.size(); ++i)
        file += journal::line(c.events[i]);

    const journal::Read whole = journal::read(file);
    if (whole.reading != journal::Reading::Sound || whole.cutOff || !(whole.contents == c))
        std::abort();

    const qsizetype cut = in.ConsumeIntegralInRange<qsizetype>(0, file.size());
    const journal::Read part = journal::read(file.left(cut));
    if (part.reading == journal::Reading::Unreadable)
        std::abort();
    if (part.reading == journal::Reading::Sound) {
        const auto &got = part.contents.events;
        if (got.size() > c.events.size() || !std::equal(got.begin(), got.end(), c.events.begin()))
            std::abort();
    }
    return 0;
}
