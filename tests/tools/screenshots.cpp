// Takes a screenshot of each of the window's three pages on the display it
// runs on (scripts/screenshots.sh starts an Xvfb for it) and writes them as
// PNG files into the folder given as the first argument. A roster file given
// as the second argument is opened on a layout of its size, and the draw page
// shows a draw under way: a third of the class seated, the next one's turn
// and the number spinning.
//
// Given a file name as the third argument, it takes instead one picture of
// the whole screen with the projector view open over that draw: with
// "announce" in the name, at the moment the next stop is announced.
//
// With "--guide" before the folder, it takes the pictures of the teachers'
// guide instead: a first start, then the sample class opened from the guide,
// drawn, saved and printed, each step as the guide shows it.

#include "app/Application.h"
#include "app/Main.h"
#include "guide/GuideWindow.h"
#include "widgets/StringGrid.h"
#include "platform/System.h"
#include "platform/TextFile.h"
#include "roster/Roster.h"
#include "seats/NoSeatMark.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTextBrowser>
#include <QToolButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <cstdio>
#include <functional>
#include <type_traits>

static void settle() {
    for (int i = 0; i < 20; ++i) {
        QApplication::processEvents();
        QThread::msleep(20);
    }
}

// The back rows of the classroom are no seats until the class fits.
static void fitLayout(TForm1 &form) {
    const int students = form.StringGrid2->gridRowCount() - 1;
    for (int r = layout::rows - 1; r >= 0 && form.SeatAmount() > students; --r)
        for (int c = layout::columns - 1; c >= 0 && form.SeatAmount() > students; --c)
            form.StringGrid_Settei->setCell(c, r, noSeatMark());
    form.ZasekiNoNyuryoku();
}

static void drawAThird(TForm1 &form, const QString &rosterFile) {
    form.classRoster.read(textfile::readAll(rosterFile));
    form.OpenDialog1.fileName = rosterFile;
    form.SaveDialog1.fileName = rosterFile;
    fitLayout(form);
    form.Jyunbi();
    // Each announcement is closed as soon as it shows.
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
            box->accept();
    });
    closer.start(10);
    for (int i = 0; i < (form.StringGrid2->gridRowCount() - 1) / 3; ++i) {
        form.Button1->click();
        form.Timer1Timer();
        form.Button1->click();
    }
    closer.stop();
    form.Button1->click();
    form.Timer1Timer();
}

static bool saveScreen(const QString &file) {
    const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0);
    if (!shot.save(file)) {
        std::fprintf(stderr, "kirabo_screenshots: cannot write %s\n", qPrintable(file));
        return false;
    }
    return true;
}

static int projectorShot(TForm1 &form, const QString &file) {
    form.PageControl1->setCurrentIndex(1);
    form.showProjector();
    settle();
    if (!file.contains(QStringLiteral("announce")))
        return saveScreen(file) ? 0 : 1;
    bool saved = false;
    QTimer grabber;
    QObject::connect(&grabber, &QTimer::timeout, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        grabber.stop();
        settle();
        saved = saveScreen(file);
        box->accept();
    });
    grabber.start(50);
    form.Button1->click();
    return saved ? 0 : 1;
}

namespace {

class GuideShots {
public:
    GuideShots(TForm1 &form, const QString &folder) : form(form), folder(folder) {}

    int take() {
        shootWindow("first-start");
        form.showGuide(false);
        settle();
        save("guide-window", form.Guide->grab());
        // The sample class, as its link in the guide opens it.
        emit form.Guide->sampleRequested();
        form.Guide->close();
        settle();
        shootWindow("roster-page");

        form.PageControl1->setCurrentIndex(1);
        settle();
        for (int i = 0; i < 10; ++i)
            drawOne();
        form.Button1->click();
        form.Timer1Timer();
        shootWindow("draw-page");
        // The stop, with its announcement over the window.
        stopNow([this](QWidget *box) {
            const QRect area = form.frameGeometry().united(box->frameGeometry());
            save("announcement", form.screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height()));
        });
        whileModal([this] { form.Button_Record->click(); }, [this](QWidget *w) { save("draw-record", w->grab()); });

        form.Button1->click();
        form.Timer1Timer();
        form.showProjector();
        settle();
        save("projector", form.screen()->grabWindow(0));
        form.closeProjector();
        stopNow();

        while (form.Button1->isEnabled())
            drawOne();
        // Saving the roster records the finished seat change in the history.
        form.ToolButton2->click();
        form.PageControl1->setCurrentIndex(2);
        settle();
        shootWindow("settings-page");
        save("layout-rows-columns", rowsAndColumns());
        whileModal([this] { form.Button_Conditions->click(); }, [this](QWidget *w) { save("conditions", w->grab()); });
        whileModal([this] { form.Button_History->click(); }, [this](QWidget *w) { save("history", w->grab()); });
        // The print options, and the preview they lead to by default.
        bool options = true;
        auto printing = [&](QWidget *w) {
            save(options ? "print-options" : "print-preview", w->grab());
            if (options) {
                options = false;
                if (auto *d = qobject_cast<QDialog *>(w))
                    d->accept();
                return false;
            }
            return true;
        };
        whileModal([this] { form.BitBtn1->click(); }, printing);
        return failed ? 1 : 0;
    }

private:
    void save(const char *name, const QPixmap &shot) {
        const QString file = QDir(folder).filePath(QString::fromUtf8(name) + QStringLiteral(".png"));
        if (!shot.save(file)) {
            std::fprintf(stderr, "kirabo_screenshots: cannot write %s\n", qPrintable(file));
            failed = true;
        }
    }

    // The seat layout with the words the program uses for it: 列 down the
    // classroom, counted from the left as the teacher's desk sees it; 行
    // across it, counted from the front; each pair of 列 one double desk.
    QPixmap rowsAndColumns() {
        StringGrid *grid = form.StringGrid_Settei;
        const QPixmap layout = grid->grab();
        const int left = 84, top = 30, bottom = 34;
        QPixmap out(layout.width() + left + 12, layout.height() + top + bottom);
        out.fill(form.palette().window().color());
        QPainter p(&out);
        p.drawPixmap(left, top, layout);
        QFont f = form.font();
        f.setPixelSize(14);
        p.setFont(f);
        p.setPen(form.palette().windowText().color());
        for (int c = 0; c < layout::columns; ++c) {
            const QRect cell = grid->cellRect(c, 0).translated(left, 0);
            p.drawText(QRect(cell.left(), 0, cell.width(), top), Qt::AlignCenter,
                       QStringLiteral("%1列").arg(c + 1));
        }
        for (int r = 0; r < layout::rows; ++r) {
            const QRect cell = grid->cellRect(0, r).translated(0, top);
            p.drawText(QRect(0, cell.top(), left - 8, cell.height()), Qt::AlignRight | Qt::AlignVCenter,
                       QStringLiteral("前から%1行").arg(r + 1));
        }
        for (int c = 0; c < layout::columns; c += 2) {
            const QRect a = grid->cellRect(c, layout::rows - 1).translated(left, top);
            const QRect b = grid->cellRect(c + 1, layout::rows - 1).translated(left, top);
            const int y = a.bottom() + 8;
            p.drawLine(a.left() + 4, y, b.right() - 4, y);
            p.drawLine(a.left() + 4, y, a.left() + 4, y - 4);
            p.drawLine(b.right() - 4, y, b.right() - 4, y - 4);
            p.drawText(QRect(a.left(), y + 2, b.right() - a.left(), bottom - 12), Qt::AlignCenter,
                       QStringLiteral("二人机"));
        }
        return out;
    }

    void shootWindow(const char *name) {
        settle();
        save(name, form.screen()->grabWindow(form.winId()));
    }

    // Runs trigger; each modal widget that opens meanwhile is shown to look,
    // then closed, unless look answers false (it closed it itself).
    template <typename Look>
    void whileModal(const std::function<void()> &trigger, Look look) {
        QTimer watcher;
        QObject::connect(&watcher, &QTimer::timeout, [&] {
            QWidget *w = QApplication::activeModalWidget();
            if (!w || busy)
                return;
            busy = true;
            settle();
            bool close = true;
            if constexpr (std::is_same_v<decltype(look(w)), bool>)
                close = look(w);
            else
                look(w);
            if (close) {
                if (auto *d = qobject_cast<QDialog *>(w))
                    d->done(QDialog::Rejected);
            }
            busy = false;
        });
        watcher.start(50);
        trigger();
        // A box the trigger left open (the announcement of a stop pressed
        // before) is closed here.
        for (int i = 0; i < 10 && QApplication::activeModalWidget(); ++i)
            QApplication::processEvents();
    }

    // One turn: start, a tick, stop.
    void drawOne() {
        form.Button1->click();
        form.Timer1Timer();
        stopNow();
    }

    // Stops the spin; the announcement is shown to look, then closed.
    void stopNow(const std::function<void(QWidget *)> &look = {}) {
        QTimer closer;
        QObject::connect(&closer, &QTimer::timeout, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            closer.stop();
            if (look) {
                settle();
                look(box);
            }
            box->accept();
        });
        closer.start(10);
        form.Button1->click();
    }

    TForm1 &form;
    QString folder;
    bool failed = false;
    bool busy = false;
};

} // namespace

int main(int argc, char **argv) {
    if (argc < 2) {
        std::fputs("usage: kirabo_screenshots OUTPUT_FOLDER [ROSTER [PROJECTOR_PICTURE]]\n"
                   "       kirabo_screenshots --guide OUTPUT_FOLDER\n", stderr);
        return 2;
    }
    // A fresh start: no settings file of anyone's, and a home of its own for
    // the sample class's copy.
    QTemporaryDir home;
    qputenv("HOME", QFile::encodeName(home.path()));
    qunsetenv("XDG_DOCUMENTS_DIR");
    QApplication app(argc, argv);
    initApplication(app);
    sys::setExecutablePathForTesting(home.filePath(QStringLiteral("kirabo")));

    TForm1 form;
    form.move(0, 0);
    form.show();
    settle();
    if (qstrcmp(argv[1], "--guide") == 0) {
        if (argc < 3)
            return 2;
        QDir().mkpath(QString::fromLocal8Bit(argv[2]));
        return GuideShots(form, QString::fromLocal8Bit(argv[2])).take();
    }
    if (argc > 2)
        drawAThird(form, QString::fromLocal8Bit(argv[2]));
    const QString out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(out);
    if (argc > 3)
        return projectorShot(form, QDir(out).filePath(QString::fromLocal8Bit(argv[3])));
    const char *names[] = {"roster-page.png", "draw-page.png", "settings-page.png"};
    for (int page = 0; page < 3; ++page) {
        form.PageControl1->setCurrentIndex(page);
        settle();
        const QPixmap shot = form.screen()->grabWindow(form.winId());
        if (!shot.save(QDir(out).filePath(QString::fromUtf8(names[page])))) {
            std::fprintf(stderr, "kirabo_screenshots: cannot write %s\n", names[page]);
            return 1;
        }
    }
    return 0;
}
