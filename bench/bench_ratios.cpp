#include "app/Main.h"
#include "BenchRoster.h"
#include "platform/IntText.h"
#include "widgets/StringGrid.h"
#include "platform/System.h"
#include "platform/TextFile.h"
#include "print/ChartPage.h"
#include "print/PageCanvas.h"
#include "printing/ReportSystem.h"
#include "roster/Columns.h"
#include "roster/RosterCsv.h"
#include "roster/Roster.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <functional>
#include <stdexcept>
#include <vector>

extern char **environ;

// Each benchmark here times what the program does beside a baseline that does
// the least of the same kind of work, in the same run and alternating with it,
// and reports the ratio of the medians: the machine is shared, and only a
// ratio measured side by side means something.

namespace {

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double millisecondsOf(const std::function<void()> &work) {
    QElapsedTimer clock;
    clock.start();
    work();
    return static_cast<double>(clock.nsecsElapsed()) / 1e6;
}

void report(benchmark::State &state, const std::vector<double> &subject, const std::vector<double> &base) {
    state.counters["subject_ms"] = median(subject);
    state.counters["baseline_ms"] = median(base);
    state.counters["ratio"] = median(subject) / median(base);
}

// The system's copy command, as a teacher would copy the file.
void systemCopy(const QString &from, const QString &to) {
    const QByteArray a = QFile::encodeName(from), b = QFile::encodeName(to);
    char cp[] = "cp";
    char *argv[] = {cp, const_cast<char *>(a.constData()), const_cast<char *>(b.constData()), nullptr};
    pid_t pid = 0;
    int status = 0;
    if (posix_spawnp(&pid, "cp", nullptr, nullptr, argv, environ) != 0 || waitpid(pid, &status, 0) != pid
        || status != 0)
        throw std::runtime_error("cp failed");
}

// A 10,000-student roster read into the roster grid and saved back over the
// file, beside copying that file.
void BM_RatioRosterOpenSave(benchmark::State &state) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("roster.csv"));
    const QString copy = dir.filePath(QStringLiteral("copy.csv"));
    textfile::save(path, benchRosterFile(static_cast<int>(state.range(0))));
    std::vector<double> subject, base;
    for (auto _ : state) {
        base.push_back(millisecondsOf([&] { systemCopy(path, copy); }));
        subject.push_back(millisecondsOf([&] {
            Roster students;
            StringGrid grid(roster::columns, 2, nullptr);
            grid.setFixedRows(1);
            grid.showTable(students.cells());
            students.read(textfile::readAll(path));
            textfile::save(path, students.bytes());
        }));
    }
    state.counters["file_kb"] = static_cast<double>(QFile(path).size()) / 1024.0;
    report(state, subject, base);
}
BENCHMARK(BM_RatioRosterOpenSave)->Arg(10'000)->Iterations(15)->Unit(benchmark::kMillisecond);

// The settings file as the close writes it, over the file of the last close,
// beside one write of the same bytes by the same safe write.
void BM_RatioCloseSettingsWrite(benchmark::State &state) {
    QTemporaryDir dir;
    sys::setExecutablePathForTesting(dir.filePath(QStringLiteral("kirabo")));
    TForm1 form;
    const QString path = form.startupSettingsPath();
    form.SaveSetting(path);
    const QByteArray bytes = textfile::readAll(path);
    const QString plain = dir.filePath(QStringLiteral("plain.ini"));
    std::vector<double> subject, base;
    for (auto _ : state) {
        base.push_back(millisecondsOf([&] { textfile::save(plain, bytes); }));
        subject.push_back(millisecondsOf([&] { form.SaveSetting(path); }));
    }
    state.counters["file_bytes"] = static_cast<double>(bytes.size());
    report(state, subject, base);
}
BENCHMARK(BM_RatioCloseSettingsWrite)->Iterations(40)->Unit(benchmark::kMillisecond);

// Answers the print options with the file destination and `file`, and starts
// the clock as OK is clicked.
void answerOptionsWithFile(const QString &file, QElapsedTimer &clock) {
    auto *poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, file, &clock] {
        QWidget *dialog = QApplication::activeModalWidget();
        if (!dialog)
            return;
        poll->deleteLater();
        for (auto *b : dialog->findChildren<QRadioButton *>())
            if (b->text() == QStringLiteral("ファイル"))
                b->click();
        dialog->findChild<QLineEdit *>()->setText(file);
        for (auto *b : dialog->findChildren<QPushButton *>())
            if (b->text() == QStringLiteral("OK")) {
                clock.start();
                b->click();
            }
    });
    poll->start(0);
}

// The face a PDF embeds, as its font descriptor names it, without the tag of
// six letters that marks a subset.
QByteArray embeddedFace(const QString &pdf) {
    static const QRegularExpression name(QStringLiteral("/FontName\\s*/(?:[A-Z]{6}\\+)?([^\\s/>]+)"));
    const QRegularExpressionMatch m = name.match(QString::fromLatin1(textfile::readAll(pdf)));
    return m.hasMatch() ? m.captured(1).toLatin1() : QByteArray();
}

// The seat chart of a full class of 48 composed and written as a PDF, from
// the OK of the print options to the file in place, beside a one-page PDF
// written by QPrinter at the same resolution that holds one line of Japanese
// in the chart's face: both embed the face, which is most of the work.
void BM_RatioPrintPdf(benchmark::State &state) {
    QTemporaryDir dir;
    sys::setExecutablePathForTesting(dir.filePath(QStringLiteral("kirabo")));
    TForm1 form;
    QByteArray roster = "h,h,h,h,h\r\n";
    for (int i = 1; i <= 48; ++i)
        roster += QByteArray::number(i) + ',' + QByteArray::number(i) + ",name" + QByteArray::number(i) + ",r,"
                  + QByteArray::number(i) + "\r\n";
    form.classRoster.read(roster);
    form.ZasekiYomikomi();
    const QString pdf = dir.filePath(QStringLiteral("chart.pdf"));
    const QString line = dir.filePath(QStringLiteral("line.pdf"));
    std::vector<double> subject, base;
    for (auto _ : state) {
        base.push_back(millisecondsOf([&] {
            QPrinter printer(QPrinter::HighResolution);
            printer.setResolution(form.RvSystem1->settings().pdfResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(line);
            QPainter painter(&printer);
            PainterCanvas canvas(painter);
            canvas.setFont(chartpage::face(), 20);
            canvas.text(25, 20, QStringLiteral("席替えのくじ引きをします"));
            painter.end();
        }));
        QElapsedTimer clock;
        answerOptionsWithFile(pdf, clock);
        form.RvSystem1->execute();
        subject.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
        if (QFile(pdf).size() == 0)
            state.SkipWithError("no PDF was written");
    }
    const QByteArray face = embeddedFace(pdf);
    if (face.isEmpty() || embeddedFace(line) != face)
        state.SkipWithError("the baseline does not embed the chart's face");
    state.SetLabel(face.toStdString());
    report(state, subject, base);
}
BENCHMARK(BM_RatioPrintPdf)->Iterations(15)->Unit(benchmark::kMillisecond);

} // namespace
