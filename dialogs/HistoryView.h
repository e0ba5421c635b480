#pragma once

#include <QDialog>

#include <functional>

class ClassHistory;
class QComboBox;
class QPushButton;
class QTableWidget;

// The class's seat changes: a round chosen from the list shows who sat
// where and with whom; a round can be deleted.
class HistoryView : public QDialog {
public:
    // deleted writes the history after this round was deleted; an error it
    // raises is shown and the round stays deleted in the view.
    HistoryView(QWidget *parent, ClassHistory &history, std::function<void(int number)> deleted);

private:
    void showRounds();
    void showRound();
    void deleteRound();

    ClassHistory &history;
    std::function<void(int)> deleted;
    QComboBox *rounds;
    QTableWidget *table;
    QPushButton *remove;
};
