#pragma once

#include "seats/SeatCount.h"

#include <QWidget>

#include <functional>
#include <initializer_list>

class QAbstractItemModel;
class QLabel;

// The count of seats and students beside the seat layout, marked in red with
// what to change where the two differ. It shows the counts again after every
// change of the cells it follows, once the handler under way has finished,
// so that it shows the state that handler leaves.
class SeatCountView : public QWidget {
public:
    // counts answers the counts as they stand.
    SeatCountView(QWidget *parent, std::function<SeatCount()> counts);

    // The cells whose changes can change the counts.
    void follow(std::initializer_list<const QAbstractItemModel *> cells);
    // Shows the counts as they stand now.
    void refresh();

private:
    void refreshSoon();

    std::function<SeatCount()> counts;
    QLabel *countLine;
    QLabel *adviceLine;
    bool pending = false;
};
