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
    };
    struct Round {
        int number = 0;
        QDate date;
        std::vector<Seat> seats;
    };

    // The history file of a roster file: "1年2組.csv" keeps "1年2組_履歴.csv".
    static QString pathFor(const QString &rosterPath);

    // Reads a history file's bytes. Answers nothing, and says why in
    // problem, for text that is no history file (a hand edit gone wrong).
    static std::optional<ClassHistory> parse(const QByteArray &bytes, QString &problem);
    QByteArray bytes() const;

    const std::vector<Round> &rounds() const { return all; }
    bool isEmpty() const { return all.empty(); }

    // The seating a finished draw produced, as a round. A round that starts
    // from the same draw order as the last one recorded redoes it and takes
    // its place; any other is added as the next round.
    void record(const Roster &roster, const SeatLayout &layout, const QDate &date);
    void removeRound(int number);

    // The pairs of attendance numbers that shared a double desk in the last
    // rounds before the seat change the roster now starts from (each pair
    // smaller first, by bytes): a round that starts from the roster's draw
    // order is the one being redone, and does not count.
    std::set<std::pair<SjisText, SjisText>> deskMates(int lastRounds, const Roster &roster) const;
    // Whether the last round starts from the roster's draw order.
    bool redoes(const Roster &roster) const;

private:
    std::vector<Round> all;
};
