#pragma once

#include "conditions/SeatConditions.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QListWidget;
class QTableWidget;
class Roster;

// The teacher's conditions for the open roster's students: who sits in the
// first rows of seats, and which pairs are kept apart. Conditions whose
// names no longer match the roster are shown apart and kept as they are,
// not applied until the teacher confirms them.
class ConditionsDialog : public QDialog {
public:
    ConditionsDialog(QWidget *parent, const Roster &roster, const SeatConditions &conditions);

    // The conditions as the dialog now holds them.
    SeatConditions result() const;

private:
    void addPair();
    void showPairs();

    const Roster &roster;
    SeatConditions pending; // conditions that do not match the roster
    std::vector<SeatConditions::Apart> pairs;
    QTableWidget *frontTable;
    QListWidget *pairList;
    QComboBox *first;
    QComboBox *second;
    QCheckBox *confirm = nullptr;
};
