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
    // save writes the history after a round was deleted; an error it
    // raises is shown and the round stays deleted in the view.
    HistoryView(QWidget *parent, ClassHistory &history, std::function<void()> save);

private:
    void showRounds();
    void showRound();
    void deleteRound();

    ClassHistory &history;
    std::function<void()> save;
    QComboBox *rounds;
    QTableWidget *table;
    QPushButton *remove;
};
