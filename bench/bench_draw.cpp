#include "app/Main.h"
#include "widgets/StringGrid.h"
#include "platform/System.h"
#include "widgets/TextList.h"
#include "roster/Roster.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QEventLoop>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <vector>

// The spin as the class sees it: how evenly the real Timer1 ticks in the real
// window, what spinning costs the processor, and how soon Stop shows its box.
// Each figure stands beside a baseline measured in the same run.

namespace {

constexpr int ticks = 200;

double cpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

struct Periods {
    double median = 0;
    double p99 = 0;
    double cpuShare = 0; // of one core, while ticking
};

// Runs the event loop over `ticks` timeouts of a timer and measures the time
// between them.
Periods measureTicks(QTimer *timer, const std::function<void()> &startTimer) {
    std::vector<double> gaps;
    QElapsedTimer clock;
    QEventLoop loop;
    qint64 last = -1;
    const auto conn = QObject::connect(timer, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        if (last >= 0)
            gaps.push_back(static_cast<double>(now - last) / 1e6);
        last = now;
        if (static_cast<int>(gaps.size()) == ticks)
            loop.quit();
    });
    clock.start();
    const double cpuBefore = cpuSeconds();
    startTimer();
    loop.exec();
    const double wall = static_cast<double>(clock.nsecsElapsed()) / 1e9;
    const double cpu = cpuSeconds() - cpuBefore;
    timer->stop();
    QObject::disconnect(conn);
    std::sort(gaps.begin(), gaps.end());
    Periods p;
    p.median = gaps[gaps.size() / 2];
    p.p99 = gaps[std::min(gaps.size() - 1, static_cast<size_t>(static_cast<double>(gaps.size()) * 0.99))];
    p.cpuShare = cpu / wall;
    return p;
}

// A window with a prepared draw of 48 students on 48 seats.
void prepareDraw(TForm1 &form, const QString &folder) {
    QByteArray roster = "h,h,h,h,h\r\n";
    for (int i = 1; i <= 48; ++i)
        roster += QByteArray::number(i) + ',' + QByteArray::number(i) + ",name" + QByteArray::number(i) + ",r,\r\n";
    form.classRoster.read(roster);
    form.OpenDialog1.fileName = folder + QStringLiteral("/class.csv");
    form.Jyunbi();
}

void BM_SpinTick(benchmark::State &state) {
    QTemporaryDir dir;
    // The draw's journal goes into the bench's folder, never the user's.
    sys::setUserDataFolderForTesting(dir.filePath(QStringLiteral("data")));
    for (auto _ : state) {
        QLabel bareLabel(QStringLiteral("1"));
        bareLabel.resize(160, 87);
        bareLabel.show();
        QTimer bare;
        bare.setTimerType(Qt::PreciseTimer);
        bare.setInterval(100);
        int n = 0;
        QObject::connect(&bare, &QTimer::timeout, [&] { bareLabel.setText(QString::number(++n % 48 + 1)); });
        const Periods base = measureTicks(&bare, [&] { bare.start(); });

        TForm1 form;
        form.show();
        prepareDraw(form, dir.path());
        const Periods spin = measureTicks(form.Timer1, [&] { form.Button1->click(); });

        state.counters["bare_median_ms"] = base.median;
        state.counters["bare_p99_ms"] = base.p99;
        state.counters["tick_median_ms"] = spin.median;
        state.counters["tick_p99_ms"] = spin.p99;
        state.counters["median_minus_bare_ms"] = spin.median - base.median;
        state.counters["p99_minus_bare_ms"] = spin.p99 - base.p99;
        state.counters["bare_cpu_pct"] = base.cpuShare * 100;
        state.counters["spin_cpu_pct"] = spin.cpuShare * 100;
    }
}
BENCHMARK(BM_SpinTick)->Iterations(1)->Unit(benchmark::kSecond);

// From the click on Stop to the announcement on screen, against a click that
// shows the same plain box and nothing else.
double clickToBox(QAbstractButton *button) {
    QElapsedTimer clock;
    double shownAfter = -1;
    QTimer watch;
    watch.setInterval(0);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()); box && box->isVisible()) {
            if (shownAfter < 0)
                shownAfter = static_cast<double>(clock.nsecsElapsed()) / 1e6;
            box->buttons().first()->click();
        }
    });
    watch.start();
    clock.start();
    button->click();
    watch.stop();
    return shownAfter;
}

void BM_StopToAnnouncement(benchmark::State &state) {
    QTemporaryDir dir;
    sys::setUserDataFolderForTesting(dir.filePath(QStringLiteral("data")));
    TForm1 form;
    form.show();
    prepareDraw(form, dir.path());
    QPushButton plain(QStringLiteral("OK"));
    QObject::connect(&plain, &QPushButton::clicked, [&] {
        QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Kirabo"), QStringLiteral("名前さんの座席は12番に決まりました。"),
                        QMessageBox::Ok);
        box.exec();
    });
    std::vector<double> stops;
    std::vector<double> bares;
    for (auto _ : state) {
        if (form.Memo1->count() == 0) {
            state.PauseTiming();
            for (int r = 1; r <= 48; ++r)
                form.StringGrid2->setCell(4, r, SjisText());
            form.Jyunbi();
            state.ResumeTiming();
        }
        form.Button1->click(); // start
        form.Timer1Timer();
        stops.push_back(clickToBox(form.Button1));
        bares.push_back(clickToBox(&plain));
    }
    std::sort(stops.begin(), stops.end());
    std::sort(bares.begin(), bares.end());
    state.counters["stop_to_box_ms"] = stops[stops.size() / 2];
    state.counters["bare_click_to_box_ms"] = bares[bares.size() / 2];
    state.counters["ratio"] = stops[stops.size() / 2] / bares[bares.size() / 2];
}
BENCHMARK(BM_StopToAnnouncement)->Iterations(60)->Unit(benchmark::kMillisecond);

// The journal's price at the stop: the same stop, from the click to the
// announcement on screen, in a window whose journal is written and flushed
// and in one that has none (its data folder cannot be made), taken in turns.
void BM_StopJournal(benchmark::State &state) {
    QTemporaryDir dir;
    TForm1 plain;
    plain.show();
    {
        // A file where the data folder would be: this window keeps no journal.
        QFile blocker(dir.filePath(QStringLiteral("blocked")));
        blocker.open(QIODevice::WriteOnly);
        sys::setUserDataFolderForTesting(blocker.fileName());
        prepareDraw(plain, dir.path());
    }
    TForm1 journaled;
    journaled.show();
    sys::setUserDataFolderForTesting(dir.filePath(QStringLiteral("data")));
    prepareDraw(journaled, dir.path());
    if (plain.drawJournal.isOpen() || !journaled.drawJournal.isOpen()) {
        state.SkipWithError("the two windows are not as meant");
        return;
    }
    std::vector<double> with;
    std::vector<double> without;
    for (auto _ : state) {
        for (TForm1 *form : {&journaled, &plain}) {
            if (form->Memo1->count() == 0) {
                state.PauseTiming();
                for (int r = 1; r <= 48; ++r)
                    form->StringGrid2->setCell(4, r, SjisText());
                form->Button6->click();
                state.ResumeTiming();
            }
            form->Button1->click(); // start
            form->Timer1Timer();
            (form == &plain ? without : with).push_back(clickToBox(form->Button1));
        }
    }
    std::sort(with.begin(), with.end());
    std::sort(without.begin(), without.end());
    const auto p99 = [](const std::vector<double> &v) { return v[std::min(v.size() - 1, v.size() * 99 / 100)]; };
    state.counters["journal_median_ms"] = with[with.size() / 2];
    state.counters["journal_p99_ms"] = p99(with);
    state.counters["plain_median_ms"] = without[without.size() / 2];
    state.counters["plain_p99_ms"] = p99(without);
    state.counters["p99_difference_ms"] = p99(with) - p99(without);
    sys::setUserDataFolderForTesting(QString());
}
BENCHMARK(BM_StopJournal)->Iterations(200)->Unit(benchmark::kMillisecond);

} // namespace
