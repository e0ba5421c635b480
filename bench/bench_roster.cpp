#include "BenchRoster.h"
#include "platform/SjisText.h"
#include "widgets/StringGrid.h"
#include "platform/TextFile.h"
#include "roster/RosterCsv.h"
#include "roster/Roster.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

void BM_ReadRoster(benchmark::State &state) {
    const QByteArray file = benchRosterFile(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(rostercsv::readStudents(file));
    state.SetBytesProcessed(state.iterations() * file.size());
}
BENCHMARK(BM_ReadRoster)->Arg(10'000)->Unit(benchmark::kMillisecond);

void BM_WriteRoster(benchmark::State &state) {
    const std::vector<rostercsv::Fields> rows = rostercsv::readStudents(benchRosterFile(static_cast<int>(state.range(0))));
    qsizetype bytes = 0;
    for (auto _ : state) {
        QByteArray out;
        for (const rostercsv::Fields &row : rows)
            rostercsv::appendRow(out, row);
        bytes = out.size();
        benchmark::DoNotOptimize(out);
    }
    state.SetBytesProcessed(state.iterations() * bytes);
}
BENCHMARK(BM_WriteRoster)->Arg(10'000)->Unit(benchmark::kMillisecond);

// What opening costs the window: the file read and put into the roster grid.
void BM_OpenRosterFile(benchmark::State &state) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("roster.csv"));
    const QByteArray file = benchRosterFile(static_cast<int>(state.range(0)));
    textfile::save(path, file);
    for (auto _ : state) {
        Roster students;
        StringGrid grid(5, 2, nullptr);
        grid.setFixedRows(1);
        grid.showTable(students.cells());
        students.read(textfile::readAll(path));
        benchmark::DoNotOptimize(grid.gridRowCount());
    }
    state.SetBytesProcessed(state.iterations() * file.size());
}
BENCHMARK(BM_OpenRosterFile)->Arg(10'000)->Unit(benchmark::kMillisecond);
// About 50 MB.
BENCHMARK(BM_OpenRosterFile)->Arg(1'000'000)->Unit(benchmark::kMillisecond)->Iterations(3);

// One line of 10 MB.
void BM_OpenLongLine(benchmark::State &state) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("long.csv"));
    textfile::save(path, "h\r\n1,2," + QByteArray(10 * 1024 * 1024, 'n') + ",r,5\r\n");
    for (auto _ : state) {
        Roster students;
        StringGrid grid(5, 2, nullptr);
        grid.setFixedRows(1);
        grid.showTable(students.cells());
        students.read(textfile::readAll(path));
        benchmark::DoNotOptimize(grid.gridRowCount());
    }
}
BENCHMARK(BM_OpenLongLine)->Unit(benchmark::kMillisecond);

// The process's resident memory in bytes: now, and at its highest since the
// last resetPeakMemory() (Linux keeps the peak; writing 5 to clear_refs
// starts it again from the current size).
qint64 memoryKb(const char *field) {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(qsizetype(qstrlen(field))).trimmed().split(' ').value(0).toLongLong();
    return 0;
}
void resetPeakMemory() {
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    if (f.open(QIODevice::WriteOnly))
        f.write("5");
}

// One line of 100 MB of commas: the grid keeps five cells of it, so opening
// it needs little more than the file's bytes. The counter is the highest
// memory the open took beyond what the process held before, per byte of the
// file (1 is the file read whole and nothing more).
void BM_OpenCommaLine(benchmark::State &state) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("commas.csv"));
    const qsizetype size = state.range(0) * 1024 * 1024;
    textfile::save(path, "h\r\n" + QByteArray(size, ','));
    const qint64 before = memoryKb("VmRSS:");
    resetPeakMemory();
    for (auto _ : state) {
        Roster students;
        StringGrid grid(5, 2, nullptr);
        grid.setFixedRows(1);
        grid.showTable(students.cells());
        students.read(textfile::readAll(path));
        benchmark::DoNotOptimize(grid.gridRowCount());
    }
    state.counters["peak_per_file_byte"] = double(memoryKb("VmHWM:") - before) * 1024 / double(size);
    state.SetBytesProcessed(state.iterations() * size);
}
BENCHMARK(BM_OpenCommaLine)->Arg(100)->Unit(benchmark::kMillisecond)->Iterations(1);

// What saving costs: the grid's rows written out, flushed to the disk and
// renamed over the old file.
void BM_SaveRosterFile(benchmark::State &state) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("roster.csv"));
    Roster students;
    students.read(benchRosterFile(static_cast<int>(state.range(0))));
    qsizetype bytes = 0;
    for (auto _ : state) {
        const QByteArray content = students.bytes();
        textfile::save(path, content);
        bytes = content.size();
    }
    state.SetBytesProcessed(state.iterations() * bytes);
}
BENCHMARK(BM_SaveRosterFile)->Arg(10'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveRosterFile)->Arg(1'000'000)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

// A roster file of this many students, as the program writes them.
QByteArray benchRosterFile(int students) {
    QByteArray out;
    rostercsv::appendRow(out, rostercsv::Fields{SjisText::lit("くじ順").bytes(), SjisText::lit("出席番号").bytes(),
                                                SjisText::lit("氏名").bytes(), SjisText::lit("ふりがな").bytes(),
                                                SjisText::lit("座席番号").bytes()});
    const QByteArray name = SjisText::lit("山田　花子").bytes();
    const QByteArray reading = SjisText::lit("やまだ はなこ").bytes();
    for (int i = 1; i <= students; ++i) {
        const QByteArray n = QByteArray::number(i);
        rostercsv::appendRow(out, rostercsv::Fields{n, n, name + n, reading + n, QByteArray::number(i % 48 + 1)});
    }
    return out;
}
