#pragma once

#include "platform/SjisText.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

class Roster;

// What a class needs beyond chance, kept beside the roster in a Shift-JIS
// CSV file named after it, by attendance number with the name: students who
// sit in the first rows of seats, and pairs of students kept apart. A
// condition whose name no longer matches the roster's name for its
// attendance number is not applied until the teacher confirms it.
class SeatConditions {
public:
    // A student to sit in the first one, two or three rows of seats nearest
    // the teacher's desk.
    struct Front {
        SjisText attendance;
        SjisText name;
        int rows = 1;

        bool operator==(const Front &) const = default;
    };
    // Two students who never sit at one double desk, nor in positions next
    // to each other (sideways, front to back or across a corner).
    struct Apart {
        SjisText attendance;
        SjisText name;
        SjisText otherAttendance;
        SjisText otherName;

        bool operator==(const Apart &) const = default;
    };

    // The conditions file of a roster file: "1年2組.csv" keeps "1年2組_条件.csv".
    static QString pathFor(const QString &rosterPath);

    static std::optional<SeatConditions> parse(const QByteArray &bytes, QString &problem);
    QByteArray bytes() const;

    std::vector<Front> front;
    std::vector<Apart> apart;

    bool isEmpty() const { return front.empty() && apart.empty(); }

    // The roster row of a student named by attendance number and name: 0
    // where the roster has no such attendance number or another name there.
    static int rowOf(const Roster &roster, const SjisText &attendance, const SjisText &name);
    // The names taken from the roster for every attendance number it holds:
    // what confirming the conditions does.
    void confirmNames(const Roster &roster);
};
