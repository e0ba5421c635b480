#pragma once

#include "support/WindowTest.h"

#include <QStringList>

#include <functional>
#include <vector>

// One student as a roster file line holds them.
struct Pupil {
    QString order, attendance, name, reading, seat;
};

// A window with a real roster file, driven through its real buttons, tabs,
// timer and boxes.
class DrawTest : public WindowTest {
protected:
    void SetUp() override;

    // n students named 生徒01, 生徒02, ..., in draw order, without seats.
    static std::vector<Pupil> classOf(int n);

    // Writes the students into a Shift-JIS roster file and opens it with the
    // open button and its dialog; the preparation at the end of the command
    // runs. Boxes it shows are answered with OK and returned.
    QList<SeenBox> openRoster(const std::vector<Pupil> &students);
    QString rosterFile() const { return path(QStringLiteral("class.csv")); }

    // Leaves this many seats by marking the last positions, column by column
    // from the back of column 5, with real clicks on the layout.
    void keepSeats(int seats);

    // Changes the page as the user does: a click on its tab.
    void clickTab(int index);

    // Waits for the next tick of the real spin timer.
    bool waitForTick();

    // Clicks Start/Stop where no box may come; one that does fails the test.
    void clickWithoutBox();

    // Clicks Stop and closes the box it shows with OK, after running inspect
    // on it while it is open. Answers what it showed.
    SeenBox stop(const std::function<void(QWidget *)> &inspect = {});

    // Start, one tick of the tick handler itself, Stop: one student's draw,
    // without waiting for the timer. Answers the box the stop showed.
    SeenBox drawOnce();

    // Draws on to the end of a class of this many students: the draw ends
    // complete, and no seat is given twice.
    void finishDraw(int students);

    // Writes these bytes as the roster file and opens it with the open
    // button and its dialog.
    void openRosterFile(const QByteArray &bytes);

    // Replays a saved record of the draw: seeds the generator with its seed
    // and, for each stop and refusal it holds, ticks until the generator has
    // drawn as often as it had then and stops, expecting the box it showed.
    struct Replayed {
        int stops = 0;
        int refusals = 0;
    };
    Replayed replay(const QByteArray &record);

    QString seatOf(int row) const;
    void setSeat(int row, const QString &seat);
    QStringList pool() const;
    QString status() const;
};

QString turnText(const QString &name);
QString announcement(const QString &name, const QString &seat);
extern const QString refusalText;
extern const QString completeText;
