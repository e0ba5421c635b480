#include "projector/Projector.h"

#include "draw/Draw.h"
#include "platform/CellTable.h"
#include "widgets/Dialogs.h"
#include "widgets/ChartColours.h"
#include "seats/Classroom.h"
#include "seats/NoSeatMark.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTimer>

// The projector view: the draw page's status line, number, Start/Stop and
// seat chart, drawn large.

namespace {

const QColor paleGreen(225, 252, 209); // the status line's panel
const QColor cream(255, 251, 240);     // behind the big number
const QColor frameBlue(120, 140, 170); // the big number's frame

// Names on the chart are read from the back of a classroom: never smaller
// than this part of the screen's height.
constexpr int readableFraction = 30;

QFont face(int pixels, bool bold = false) {
    QFont f(QStringLiteral("ＭＳ Ｐゴシック"));
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(std::max(1, pixels));
    f.setBold(bold);
    return f;
}

// The seat chart drawn large: the teacher's desk at the top, the double
// desks in pairs of columns with an aisle between the pairs, each seat with
// the name (or number) the window's chart shows and its highlight.
class ProjectorChart : public QWidget {
public:
    ProjectorChart(const CellTable &source, QWidget *parent) : QWidget(parent), cells(source) {}

    int fontPixels = 12;
    int minimumPixels = 12;

protected:
    void paintEvent(QPaintEvent *) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const int aisle = width() / 40;
        const int cellW = (width() - 2 * aisle) / layout::columns;
        const int rowH = height() / (layout::rows + 1);
        const int left = (width() - (cellW * layout::columns + 2 * aisle)) / 2;

        const QRect desk(left + cellW * 2 + aisle, 0, cellW * 2, rowH * 4 / 5);
        p.setPen(QPen(Qt::darkGray, 2));
        p.setBrush(Qt::white);
        p.drawRect(desk);
        p.setFont(face(fontPixels));
        p.setPen(Qt::black);
        p.drawText(desk, Qt::AlignCenter, QStringLiteral("教卓"));

        for (int c = 0; c < layout::columns; ++c)
            for (int r = 0; r < layout::rows; ++r) {
                const QRect cell(left + c * cellW + (c / 2) * aisle, rowH * (r + 1), cellW, rowH);
                drawSeat(p, cell.adjusted(2, 2, -2, -2), c, r);
            }
    }

private:
    void drawSeat(QPainter &p, const QRect &r, int col, int row) {
        const SjisText &text = cells.cell(col, row);
        if (text == noSeatMark()) {
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(230, 230, 230));
            p.drawRect(r);
            return;
        }
        const int colour = cells.object(col, row);
        const bool lit = colour != 0;
        p.setPen(QPen(Qt::gray, 1));
        p.setBrush(lit ? chartcolours::fromBgr(colour) : QColor(Qt::white));
        p.drawRect(r);

        const QString name = text.toUnicode();
        QFont f = face(fontPixels, lit);
        // A long name gets a smaller face, but never one too small to read
        // from the back; what still does not fit is cut with an ellipsis.
        while (f.pixelSize() > minimumPixels && QFontMetrics(f).horizontalAdvance(name) > r.width() - 8)
            f.setPixelSize(f.pixelSize() - 1);
        p.setFont(f);
        p.setPen(lit ? Qt::white : Qt::black);
        p.drawText(r, Qt::AlignCenter, QFontMetrics(f).elidedText(name, Qt::ElideRight, r.width() - 8));
    }

    const CellTable &cells;
};

} // namespace

namespace {

// Screen readers and window managers see the view as what it is: the
// program's full-screen window, with a name and a window's focus states.
class ProjectorAccessible : public QAccessibleWidget {
public:
    explicit ProjectorAccessible(QWidget *w) : QAccessibleWidget(w, QAccessible::Window) {}
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.focusable = true;
        s.active = widget()->isActiveWindow();
        s.focused = widget()->isActiveWindow();
        return s;
    }
};

QAccessibleInterface *projectorAccessible(const QString &className, QObject *object) {
    if (className == QLatin1String("ProjectorView") && object && object->isWidgetType())
        return new ProjectorAccessible(static_cast<QWidget *>(object));
    return nullptr;
}

} // namespace

ProjectorView::ProjectorView(QWidget *owner, const CellTable &chart) : QWidget(owner, Qt::Window) {
    setObjectName(QStringLiteral("Projector"));
    setWindowTitle(QStringLiteral("Kirabo"));
    static const bool accessible = [] {
        QAccessible::installFactory(projectorAccessible);
        return true;
    }();
    (void)accessible;
    setAccessibleName(QStringLiteral("Kirabo プロジェクター表示"));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(246, 246, 240));
    setPalette(pal);
    setFocusPolicy(Qt::StrongFocus);

    statusLine = new QLabel(this);
    statusLine->setAlignment(Qt::AlignCenter);
    statusLine->setAutoFillBackground(true);
    QPalette green = statusLine->palette();
    green.setColor(QPalette::Window, paleGreen);
    statusLine->setPalette(green);
    statusLine->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);

    bigNumber = new QLabel(this);
    bigNumber->setAlignment(Qt::AlignCenter);
    bigNumber->setAutoFillBackground(true);
    QPalette numberPal = bigNumber->palette();
    numberPal.setColor(QPalette::Window, cream);
    bigNumber->setPalette(numberPal);
    bigNumber->setStyleSheet(QStringLiteral("QLabel { border: %1px solid %2; background: %3; }")
                                 .arg(6)
                                 .arg(frameBlue.name(), cream.name()));

    button = new QPushButton(this);
    // Keys go to the view itself, where they are presenter keys.
    button->setFocusPolicy(Qt::NoFocus);
    connect(button, &QPushButton::clicked, this, &ProjectorView::startStopClicked);

    seedLine = new QLabel(this);
    seedLine->setObjectName(QStringLiteral("ProjectorFingerprint"));
    seedLine->setAlignment(Qt::AlignCenter);

    seatChart = new ProjectorChart(chart, this);
}

void ProjectorView::showDraw(const DrawScreen &draw) {
    statusLine->setText(draw.status);
    bigNumber->setText(draw.number);
    button->setText(draw.button);
    button->setEnabled(draw.buttonEnabled);
    seedLine->setText(draw.fingerprint);
    seatChart->update();
}

int ProjectorView::chartFontPixels() const {
    return static_cast<ProjectorChart *>(seatChart)->fontPixels;
}

void ProjectorView::resizeEvent(QResizeEvent *) {
    const int w = width();
    const int h = height();
    const int margin = h / 60;

    const int statusH = h * 9 / 100;
    statusLine->setGeometry(margin, margin, w - 2 * margin, statusH);
    statusLine->setFont(face(statusH * 7 / 10));

    // The number alone fills more than a third of the screen's height.
    const int numberTop = margin * 2 + statusH;
    const int numberH = h * 41 / 100;
    const int numberW = std::min(w * 42 / 100, numberH * 16 / 10);
    bigNumber->setGeometry((w - numberW) / 2, numberTop, numberW, numberH);
    bigNumber->setFont(face(numberH * 90 / 100, true));

    const int buttonW = std::min(w * 22 / 100, (w - numberW) / 2 - 2 * margin);
    const int buttonH = numberH * 40 / 100;
    button->setGeometry((w + numberW) / 2 + margin * 2, numberTop + (numberH - buttonH) / 2, buttonW, buttonH);
    button->setFont(face(buttonH * 45 / 100, true));
    seedLine->setGeometry(button->x(), button->geometry().bottom() + margin, buttonW, statusH / 2);
    seedLine->setFont(face(statusH * 3 / 10));

    const int chartTop = numberTop + numberH + margin;
    seatChart->setGeometry(margin, chartTop, w - 2 * margin, h - chartTop - margin);
    auto *chart = static_cast<ProjectorChart *>(seatChart);
    chart->minimumPixels = std::max(1, (h + readableFraction - 1) / readableFraction);
    chart->fontPixels = std::max(chart->minimumPixels, seatChart->height() / (layout::rows + 1) * 55 / 100);

    setBoxStage(this, chart->fontPixels);
}

void ProjectorView::closeEvent(QCloseEvent *e) {
    e->accept();
    emit closed();
}
