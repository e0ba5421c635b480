#include "platform/IniProfile.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

SjisText num(int n) {
    return SjisText(QByteArray::number(n));
}

// What one close writes: the 52 keys of a settings file into a file that
// already holds them, flushed once.
void BM_SettingsSave(benchmark::State &state) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("kirabo.ini"));
    const SjisText section = SjisText::lit("設定");
    const SjisText keys[] = {SjisText::lit("印刷タイトル"), SjisText::lit("フォルダ"), SjisText::lit("フォルダ2")};
    for (auto _ : state) {
        IniProfile ini(file);
        for (int r = 0; r < 8; ++r)
            for (int c = 0; c < 6; ++c)
                ini.writeString(num(c), num(r), num(c * 8 + r + 1));
        for (const SjisText &k : keys)
            ini.writeString(section, k, SjisText::lit("座席表"));
        ini.writeInteger(section, SjisText::lit("お隣チェック"), 1);
        ini.flush();
    }
}
BENCHMARK(BM_SettingsSave)->Unit(benchmark::kMicrosecond);

// Reading the 48 layout keys from a file that also holds many sections of
// others.
void BM_SettingsLoadAmongSections(benchmark::State &state) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("big.ini"));
    {
        IniProfile ini(file);
        for (int i = 0; i < state.range(0); ++i)
            ini.writeString(SjisText("x" + QByteArray::number(i)), num(0), num(i));
        for (int c = 0; c < 6; ++c)
            for (int r = 0; r < 8; ++r)
                ini.writeString(num(c), num(r), num(c * 8 + r + 1));
        ini.flush();
    }
    for (auto _ : state) {
        IniProfile ini(file);
        for (int r = 0; r < 8; ++r)
            for (int c = 0; c < 6; ++c)
                benchmark::DoNotOptimize(ini.readString(num(c), num(r), SjisText()));
    }
}
BENCHMARK(BM_SettingsLoadAmongSections)->Arg(0)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace
