#include "platform/SjisText.h"

#include <benchmark/benchmark.h>

namespace {

constexpr qsizetype textBytes = 4 * 1024 * 1024;

// About 4 MB of roster text: kana, kanji, digits and commas.
QByteArray validText() {
    const QByteArray unit = SjisText::lit("1,12,山田　花子,やまだ はなこ,3\r\n").bytes();
    QByteArray out;
    while (out.size() < textBytes)
        out += unit;
    return out;
}

// The same text with one byte in eight made invalid (0xFF, or a lead byte
// without its second byte), as a file in another encoding or a damaged one
// shows.
QByteArray invalidText() {
    QByteArray out = validText();
    for (qsizetype i = 0; i < out.size(); i += 8)
        out[i] = (i / 8) % 2 ? '\xFF' : '\x81';
    return out;
}

// Showing text: the baseline is valid text, the same size with invalid
// bytes should cost about as much.
void BM_DecodeValid(benchmark::State &state) {
    const SjisText text(validText());
    for (auto _ : state)
        benchmark::DoNotOptimize(text.toUnicode());
    state.SetBytesProcessed(state.iterations() * text.size());
}
BENCHMARK(BM_DecodeValid)->Unit(benchmark::kMillisecond);

void BM_DecodeInvalid(benchmark::State &state) {
    const SjisText text(invalidText());
    for (auto _ : state)
        benchmark::DoNotOptimize(text.toUnicode());
    state.SetBytesProcessed(state.iterations() * text.size());
}
BENCHMARK(BM_DecodeInvalid)->Unit(benchmark::kMillisecond);

} // namespace
