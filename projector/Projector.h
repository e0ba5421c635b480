#pragma once

#include <QWidget>

class CellTable;
class QLabel;
class QPushButton;
struct DrawScreen;

// The draw as the class sees it on a projector: the status line, the big
// number and the seat chart, scaled to the whole screen. It holds no state of
// its own: it shows the draw it is given and the chart's cells, and its
// Start/Stop only reports the click.
class ProjectorView : public QWidget {
    Q_OBJECT
public:
    ProjectorView(QWidget *owner, const CellTable &chart);

    // Shows the draw as it now stands, and the chart's cells again.
    void showDraw(const DrawScreen &draw);

    QLabel *status() const { return statusLine; }
    QLabel *number() const { return bigNumber; }
    QPushButton *startStop() const { return button; }
    QLabel *fingerprint() const { return seedLine; }
    QWidget *chart() const { return seatChart; }
    // The pixel size of the names on the chart.
    int chartFontPixels() const;

signals:
    void closed();
    void startStopClicked();

protected:
    void resizeEvent(QResizeEvent *e) override;
    void closeEvent(QCloseEvent *e) override;

private:
    QLabel *statusLine;
    QLabel *bigNumber;
    QPushButton *button;
    QLabel *seedLine;
    QWidget *seatChart;
};
