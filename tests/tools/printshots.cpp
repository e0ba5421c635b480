// Prints the seat chart of a class to PDF files through the window's own
// print command, once in the teacher's view and once in the students' view,
// for scripts/printshots.sh to turn into the pictures in docs/. The first
// argument is the output folder, the second a roster file; its students get
// seats of a 32-seat layout in a fixed shuffle.

#include "app/Application.h"
#include "app/Main.h"
#include "platform/IntText.h"
#include "widgets/StringGrid.h"
#include "platform/System.h"
#include "platform/TextFile.h"
#include "roster/Columns.h"
#include "roster/Roster.h"
#include "seats/NoSeatMark.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {

// Answers the print options with the file destination and this file.
void answerOptions(const QString &file) {
    auto *poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, file] {
        QWidget *dialog = QApplication::activeModalWidget();
        if (!dialog)
            return;
        poll->deleteLater();
        for (auto *b : dialog->findChildren<QRadioButton *>())
            if (b->text() == QStringLiteral("ファイル"))
                b->click();
        dialog->findChild<QLineEdit *>()->setText(file);
        for (auto *b : dialog->findChildren<QPushButton *>())
            if (b->text() == QStringLiteral("OK"))
                b->click();
    });
    poll->start(10);
}

} // namespace

int main(int argc, char **argv) {
    if (argc < 3) {
        std::fputs("usage: kirabo_printshots OUTPUT_FOLDER ROSTER\n", stderr);
        return 2;
    }
    // No printer of the machine: the paper is A4.
    qputenv("CUPS_SERVER", "/nonexistent/cups.sock");
    QApplication app(argc, argv);
    initApplication(app);
    QTemporaryDir home;
    sys::setExecutablePathForTesting(home.filePath(QStringLiteral("kirabo")));

    TForm1 form;
    form.classRoster.read(textfile::readAll(QString::fromLocal8Bit(argv[2])));
    // Five full rows at the front and two seats behind them.
    for (int c = 0; c < layout::columns; ++c)
        for (int r = 5; r < layout::rows; ++r)
            if (r != 5 || (c != 2 && c != 3))
                form.StringGrid_Settei->setCell(c, r, noSeatMark());
    form.ZasekiNoNyuryoku();
    const int seats = form.SeatAmount();
    for (int row = 1; row < form.StringGrid2->gridRowCount() && row <= seats; ++row)
        form.StringGrid2->setCell(roster::seatCol, row, inttext::format(row * 11 % seats + 1));
    form.ZasekiYomikomi();
    form.Edit_Title->setText(QStringLiteral("1年1組 座席表"));

    const QDir out(QString::fromLocal8Bit(argv[1]));
    QDir().mkpath(out.path());
    const struct {
        QRadioButton *view;
        const char *file;
    } views[] = {{form.RadioButton1, "print-teachers-view.pdf"}, {form.RadioButton2, "print-students-view.pdf"}};
    for (const auto &v : views) {
        v.view->click();
        const QString file = out.filePath(QString::fromLatin1(v.file));
        QFile::remove(file);
        answerOptions(file);
        form.BitBtn1->click();
        if (!QFile::exists(file)) {
            std::fprintf(stderr, "kirabo_printshots: %s was not written\n", v.file);
            return 1;
        }
    }
    return 0;
}
