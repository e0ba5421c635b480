#include "model/ModelFixture.h"

#include "draw/Draw.h"
#include "draw/Random.h"
#include "roster/PastedText.h"
#include "roster/RosterUndo.h"

#include <QStringList>

#include <functional>

namespace {

// Every row the roster holds, hidden rows below the last student included,
// after its row count: what a step taken back must give back.
QStringList picture(const Roster &roster) {
    QStringList out{QStringLiteral("rows %1").arg(roster.rowCount())};
    for (int r = 0; r < roster.cells().heldRows(); ++r) {
        QStringList cells;
        for (int c = 0; c < roster::columns; ++c)
            cells << roster.cell(c, r).toUnicode();
        out << cells.join(QLatin1Char(','));
    }
    while (out.size() > 1 && out.last() == QStringLiteral(",,,,"))
        out.removeLast();
    return out;
}

std::string show(const QStringList &l) {
    return l.join(QStringLiteral(" | ")).toStdString();
}

QByteArray file(const char *utf8) {
    return SjisText::lit(utf8).bytes();
}

class RosterUndoTest : public ModelTest {
protected:
    // A roster file of n students s1, s2, ..., read as the open command
    // reads it: no step to undo.
    void readClassOf(int n) {
        QByteArray bytes = "h\r\n";
        for (int r = 1; r <= n; ++r)
            bytes += QByteArray::number(r) + ',' + QByteArray::number(r) + ",s" + QByteArray::number(r) + "\r\n";
        students.read(bytes);
    }

    RosterUndo history{students};
};

TEST_F(RosterUndoTest, EveryStepGoesBackAndComesAgainCellForCell) {
    // A longer roster first: the rows below the second one's last student
    // keep its text, hidden.
    students.read(file("h\r\n1,1,a\r\n2,2,b\r\n3,3,c\r\n4,4,d\r\n5,5,e,え,5\r\n"));
    students.read(file("h\r\n01,1,山田,やまだ,\r\n02,2,川本,かわもと,\r\n03,3,田中,たなか,\r\n"));
    history.checkpoint();
    ASSERT_FALSE(history.canUndo());

    const struct {
        const char *what;
        std::function<void()> command;
        RosterUndo::Cell first; // where the step changed the roster first
    } steps[] = {
        {"a cell edited", [&] { students.setCell(roster::nameCol, 2, SjisText::lit("川本 花子")); }, {2, 2}},
        {"a block pasted past the last row",
         [&] {
             QString bad;
             ASSERT_TRUE(
                 students.paste(roster::nameCol, 3, pastedtext::split(QStringLiteral("林\tはやし\n森\tもり\n")), bad));
         },
         {2, 3}},
        {"a row added", [&] { students.insertRow(1, Roster::Attendance::Kept); }, {1, 1}},
        {"rows removed", [&] { students.removeRows(2, 3, Roster::Attendance::Kept); }, {1, 2}},
        {"draw orders and seats typed",
         [&] {
             students.setCell(roster::orderCol, 1, SjisText("3"));
             students.setCell(roster::orderCol, 3, SjisText("1"));
             students.setCell(roster::seatCol, 1, SjisText("2"));
             students.setCell(roster::seatCol, 2, SjisText("1"));
         },
         {0, 1}},
        {"sorted by draw order", [&] { students.sortByOrder(); }, {0, 1}},
        {"seat numbers to draw order", [&] { students.seatsToOrder(); }, {1, 1}},
    };
    std::vector<QStringList> pictures{picture(students)};
    for (const auto &s : steps) {
        s.command();
        history.checkpoint();
        pictures.push_back(picture(students));
        ASSERT_NE(pictures.back(), pictures[pictures.size() - 2]) << s.what;
    }

    for (size_t i = std::size(steps); i-- > 0;) {
        ASSERT_TRUE(history.canUndo()) << steps[i].what;
        const std::optional<RosterUndo::Cell> first = history.undo();
        ASSERT_TRUE(first) << steps[i].what;
        EXPECT_EQ(picture(students), pictures[i]) << steps[i].what << ": " << show(picture(students));
        EXPECT_EQ(first->col, steps[i].first.col) << steps[i].what;
        EXPECT_EQ(first->row, steps[i].first.row) << steps[i].what;
    }
    EXPECT_FALSE(history.canUndo());
    EXPECT_FALSE(history.undo());
    EXPECT_EQ(picture(students), pictures.front());

    for (size_t i = 0; i < std::size(steps); ++i) {
        ASSERT_TRUE(history.canRedo()) << steps[i].what;
        ASSERT_TRUE(history.redo()) << steps[i].what;
        EXPECT_EQ(picture(students), pictures[i + 1]) << steps[i].what << ": " << show(picture(students));
    }
    EXPECT_FALSE(history.canRedo());
    EXPECT_FALSE(history.redo());
}

TEST_F(RosterUndoTest, AStepIsWhatChangedBetweenTwoCheckpoints) {
    readClassOf(3);
    history.checkpoint();
    EXPECT_FALSE(history.canUndo());

    // A cell typed over and its old text typed back: no step.
    students.setCell(roster::nameCol, 1, SjisText("x"));
    students.setCell(roster::nameCol, 1, SjisText("s1"));
    history.checkpoint();
    EXPECT_FALSE(history.canUndo());

    // Many changes between two checkpoints are one step.
    students.setCell(roster::nameCol, 1, SjisText("x"));
    students.setCell(roster::nameCol, 3, SjisText("y"));
    history.checkpoint();
    history.checkpoint();
    ASSERT_TRUE(history.undo());
    EXPECT_FALSE(history.canUndo());
    EXPECT_EQ(students.cell(roster::nameCol, 1), SjisText("s1"));
    EXPECT_EQ(students.cell(roster::nameCol, 3), SjisText("s3"));

    // A new step forgets the step undone.
    ASSERT_TRUE(history.canRedo());
    students.setCell(roster::nameCol, 2, SjisText("z"));
    history.checkpoint();
    EXPECT_FALSE(history.canRedo());
    EXPECT_FALSE(history.redo());
    EXPECT_EQ(students.cell(roster::nameCol, 2), SjisText("z"));
}

// Undo never takes back a seat the draw gave, nor brings back a roster from
// before it; a roster read or made anew starts with no history.
TEST_F(RosterUndoTest, WhatIsNoneOfTheTeachersStepsEndsTheHistory) {
    const struct {
        const char *what;
        std::function<void()> change;
    } outside[] = {
        {"a seat the draw gave",
         [&] {
             Draw draw;
             rng::seed(3);
             draw.prepare(students, 3);
             draw.start();
             draw.tick(students);
             ASSERT_EQ(draw.stop(students, layout, false), Draw::Stop::Accepted);
             draw.accept(students);
         }},
        {"a file read", [&] { students.read(file("h\r\n1,1,r1\r\n2,2,r2\r\n3,3,r3\r\n")); }},
        {"a new class made", [&] { students.makeNew(3); }},
    };
    for (const auto &o : outside) {
        readClassOf(3);
        history.checkpoint();
        students.setCell(roster::nameCol, 1, SjisText("x"));
        history.checkpoint();
        students.setCell(roster::nameCol, 2, SjisText("y"));
        history.checkpoint();
        ASSERT_TRUE(history.undo()) << o.what;
        ASSERT_TRUE(history.canUndo() && history.canRedo()) << o.what;

        o.change();
        const QStringList after = picture(students);
        EXPECT_FALSE(history.canUndo()) << o.what;
        EXPECT_FALSE(history.canRedo()) << o.what;
        EXPECT_FALSE(history.undo()) << o.what;
        EXPECT_FALSE(history.redo()) << o.what;
        EXPECT_EQ(picture(students), after) << o.what << ": " << show(picture(students));

        // The teacher's next step goes back to the roster as the change left it.
        history.checkpoint();
        students.setCell(roster::readingCol, 3, SjisText("z"));
        history.checkpoint();
        ASSERT_TRUE(history.undo()) << o.what;
        EXPECT_EQ(picture(students), after) << o.what << ": " << show(picture(students));
        EXPECT_FALSE(history.canUndo()) << o.what;
    }
}

// Each step would copy such a roster whole.
TEST_F(RosterUndoTest, ARosterBeyondAnyClassKeepsNoHistory) {
    readClassOf(10'001);
    history.checkpoint();
    students.setCell(roster::nameCol, 1, SjisText("x"));
    history.checkpoint();
    EXPECT_FALSE(history.canUndo());

    students.removeRows(4, 10'001, Roster::Attendance::Kept);
    history.checkpoint();
    EXPECT_FALSE(history.canUndo()) << "its history begins at a class's size";
    students.setCell(roster::nameCol, 2, SjisText("y"));
    history.checkpoint();
    ASSERT_TRUE(history.undo());
    EXPECT_EQ(students.cell(roster::nameCol, 2), SjisText("s2"));
    EXPECT_EQ(students.cell(roster::nameCol, 1), SjisText("x"));
}

} // namespace
