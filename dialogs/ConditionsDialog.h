#pragma once

#include "conditions/SeatConditions.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
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
    // Why the two students named cannot be added as a pair; empty when
    // they can.
    QString whyNotPair() const;
    // 追加 is offered only for a pair that can be added, and says why not.
    void showWhetherPairFits();

    const Roster &roster;
    SeatConditions pending; // conditions that do not match the roster
    std::vector<SeatConditions::Apart> pairs;
    QTableWidget *frontTable;
    QListWidget *pairList;
    QComboBox *first;
    QComboBox *second;
    QPushButton *add;
    QLabel *pairReason;
    QCheckBox *confirm = nullptr;
};
