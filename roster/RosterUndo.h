#pragma once

#include "roster/Roster.h"

#include <array>
#include <deque>
#include <optional>
#include <vector>

// The roster's undo history: the teacher's steps (a cell edited, a paste,
// rows added or removed, an ordering) taken back and done again. A step is
// whatever changed the roster between two checkpoints; the window sets one
// before and after each command and each edit of a cell. The history keeps
// the roster's cells as they stood between the steps, rows hidden below
// the last student included, so a step taken back leaves every cell as it
// was.
//
// Changes that are none of the teacher's steps (Roster::outsideChanges: a
// file read, a new class made, a seat the draw gave) end the history there:
// undo never takes back a seat the draw gave, nor goes back to a roster from
// before it, and a roster opened or made starts with no history.
//
// A roster far beyond any class (a file of many thousand lines) keeps no
// history: each step would copy it whole.
class RosterUndo {
public:
    // Where a step taken back or done again changed the roster first, row by
    // row, left to right. A step that only changed the row count names the
    // first row it added or removed.
    struct Cell {
        int col;
        int row;
    };

    explicit RosterUndo(Roster &roster);

    // A change of the roster since the last checkpoint becomes a step to
    // undo; the steps undone before it can no longer be done again.
    void checkpoint();
    bool canUndo() const;
    bool canRedo() const;
    // Takes the last step back, or does the step last taken back again;
    // nothing where there is none.
    std::optional<Cell> undo();
    std::optional<Cell> redo();

private:
    using Row = std::array<SjisText, roster::columns>;
    struct State {
        int rowCount = 0;
        std::vector<Row> rows; // up to the last row that holds text
        bool operator==(const State &) const = default;
    };
    int rowsHoldingText() const;
    State now() const;
    bool fenced() const { return roster.outsideChanges() != outsideSeen; }
    bool tooLarge() const;
    // The history begins again at the roster as it stands.
    void startAfresh();
    // The roster as the last checkpoint saw it.
    void markSeen();
    // Moves the roster to the last state of from, keeping the state it
    // leaves at the end of to.
    std::optional<Cell> step(std::deque<State> &from, std::deque<State> &to);
    void keepWithinBounds(std::deque<State> &states);

    Roster &roster;
    // The roster at the last checkpoint; nothing while it is too large.
    std::optional<State> current;
    std::deque<State> undoable;
    std::deque<State> redoable;
    unsigned long long outsideSeen = 0;
    unsigned long long revisionSeen = 0;
    int rowCountSeen = 0;
};
