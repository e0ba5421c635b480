#pragma once

#include <QMenu>

class RecentRosters;

// The rosters opened last, to open one of them again in one step: the
// newest first, each by its file name and its folder. The list is read
// afresh each time the menu opens.
class RecentRostersMenu : public QMenu {
    Q_OBJECT
public:
    RecentRostersMenu(const RecentRosters &recent, QWidget *parent);

signals:
    void chosen(const QString &path);

private:
    void fill();

    const RecentRosters &recent;
};
