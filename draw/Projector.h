#pragma once

#include <QWidget>

class QLabel;
class QPushButton;
class TForm1;

// The draw as the class sees it on a projector: the status line, the big
// number and the seat chart, scaled to the whole screen. It holds no state of
// its own: everything it shows is read from the window's components, and its
// Start/Stop is the window's Button1.
class ProjectorView : public QWidget {
    Q_OBJECT
public:
    explicit ProjectorView(TForm1 &form);

    // Shows again what the window's components now show.
    void refresh();

    QLabel *status() const { return statusLine; }
    QLabel *number() const { return bigNumber; }
    QPushButton *startStop() const { return button; }
    QWidget *chart() const { return seatChart; }
    // The pixel size of the names on the chart.
    int chartFontPixels() const;

signals:
    void closed();

protected:
    void resizeEvent(QResizeEvent *e) override;
    void closeEvent(QCloseEvent *e) override;

private:
    TForm1 &form;
    QLabel *statusLine;
    QLabel *bigNumber;
    QPushButton *button;
    QWidget *seatChart;
};
