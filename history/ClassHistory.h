#pragma once

#include "platform/SjisText.h"
#include "seats/SeatNumber.h"

#include <QByteArray>
#include <QDate>
#include <QString>

#include <optional>
#include <set>
#include <utility>
#include <vector>

class Roster;
class SeatLayout;

// The seat changes a class has had, one round each, oldest first: by
// attendance number, each student's draw order, seat and desk-mate. It lives
// in one Shift-JIS CSV file beside the roster, named after it, so that it
// opens in a spreadsheet; the roster file itself is not touched.
class ClassHistory {
public:
    struct Seat {
        SjisText attendance;
        SjisText name;
        SjisText order;      // the draw order the change started from
        SeatNumber seat;
        SjisText mate;       // the desk-mate's attendance number; empty where none
        SjisText mateName;

        bool operator==(const Seat &) const = default;
    };
    struct Round {
        int number = 0;
        QDate date;
        std::vector<Seat> seats;

        bool operator==(const Round &) const = default;
    };

    // The history file of a roster file: "1年2組.csv" keeps "1年2組_履歴.csv".
    static QString pathFor(const QString &rosterPath);

    // Reads a history file's bytes. Answers nothing, and says why in
    // problem, for text that is no history file (a hand edit gone wrong).
    static std::optional<ClassHistory> parse(const QByteArray &bytes, QString &problem);
    QByteArray bytes() const;

    const std::vector<Round> &rounds() const { return all; }
    bool isEmpty() const { return all.empty(); }

    // The seating a finished draw produced, as a round. A draw finished on
    // the day of the last round and from the same draw order redoes it and
    // takes its place; any other is added as the next round (also one that
    // keeps the draw order of the last change, weeks later).
    void record(const Roster &roster, const SeatLayout &layout, const QDate &date);
    void removeRound(int number);

    // The pairs of attendance numbers that shared a double desk in the last
    // rounds before the seat change drawn today from the roster (each pair
    // smaller first, by bytes): the round a redo replaces does not count.
    std::set<std::pair<SjisText, SjisText>> deskMates(int lastRounds, const Roster &roster, const QDate &today) const;
    // Whether a draw finished today from the roster would redo the last round.
    bool redoes(const Roster &roster, const QDate &today) const;

private:
    std::vector<Round> all;
};
