#pragma once

#include "platform/SjisText.h"
#include "seats/SeatNumber.h"

#include <QDateTime>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <vector>

class Draw;
class Roster;

// The record of a seat change: every event of the draw, kept in memory for
// the run and written nowhere unless the teacher saves it.
namespace drawrecord {

enum class Kind { Preparation, Repreparation, Start, Stop, Refusal };

struct Event {
    Kind kind = Kind::Preparation;
    QDateTime time;
    std::int32_t row = 0; // roster row of the student whose turn it was; 0 for a preparation
    SjisText attendance;
    SjisText name;
    SjisText seat;          // the seat given, or refused
    // Free seats after the event; none for a preparation that was refused,
    // which drew up no pool.
    std::optional<std::int32_t> pool;
    // How often the generator was used since the seed: the moment of a stop.
    // Each spin tick uses it once, and so can more than the ticks of one spin.
    std::uint64_t draws = 0;
    SjisText note;          // what a failed preparation showed in the status line
    QString className;      // the class the event belongs to (the roster file's base name)

    bool operator==(const Event &) const = default;
};

// The event as it happens now: the draw's turn (for a start or a stop), the
// student's data, the pool after it and the generator's draws so far.
Event event(Kind kind, const Draw &draw, const Roster &roster, const QString &className, SeatNumber seat = {},
            const SjisText &note = {});

// The record's columns, left to right. The class stands last, so that a
// record saved before it had the column reads as every later one does.
enum Column {
    TimeCol,
    KindCol,
    RowCol,
    AttendanceCol,
    NameCol,
    SeatCol,
    PoolCol,
    DrawsCol,
    NoteCol,
    ClassCol,
    columnCount
};

// The event's name as the record shows it: 準備, 再準備, スタート, 決定, やりなおし.
QString kindText(Kind kind);

// The record's column captions, left to right.
QStringList header();
// One event as the record's cells, each as shown.
QStringList cells(const Event &e);

// The record as a Shift-JIS CSV file: the header line, a line naming the
// generator's seed, then one line per event, each ending in CR LF.
QByteArray csv(std::uint32_t seed, const std::vector<Event> &events);

} // namespace drawrecord
