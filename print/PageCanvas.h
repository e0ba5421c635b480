#pragma once

#include <QColor>
#include <QString>

#include <vector>

class QPainter;

// How a pen puts its colour on the page. Copy paints the pen's colour over
// whatever lies below.
enum class PenMode { Copy };

// A page as the printout composes it: positions in millimetres from the
// paper's top-left corner, X to the right, Y downward. Text stands with its
// left end at X and its baseline at Y.
class PageCanvas {
public:
    virtual ~PageCanvas() = default;

    // Later text uses this face at this size: black, regular, upright.
    virtual void setFont(const QString &name, int points) = 0;
    // Later rectangles are outlined with this pen; its width counts device
    // dots of the printer the page is drawn for.
    virtual void setPen(const QColor &colour, Qt::PenStyle style, int widthDots, PenMode mode) = 0;
    // The rectangle with these two opposite corners, outlined, not filled.
    virtual void rectangle(double left, double top, double right, double bottom) = 0;
    virtual void text(double x, double y, const QString &text) = 0;
};

// One drawing operation as it was asked for.
struct PageOp {
    enum class Kind { Font, Pen, Rectangle, Text };
    Kind kind = Kind::Font;
    QString fontName; // Font
    int points = 0;   // Font
    QColor colour;    // Pen
    Qt::PenStyle style = Qt::SolidLine;
    int widthDots = 0;
    PenMode mode = PenMode::Copy;
    double x1 = 0, y1 = 0; // Rectangle: left, top; Text: position
    double x2 = 0, y2 = 0; // Rectangle: right, bottom
    QString text;          // Text, as it is drawn
};

// Keeps the operations of a page in order, to be drawn later onto any other
// canvas: the page is composed once and then previewed, printed or saved.
class RecordingCanvas : public PageCanvas {
public:
    void setFont(const QString &name, int points) override;
    void setPen(const QColor &colour, Qt::PenStyle style, int widthDots, PenMode mode) override;
    void rectangle(double left, double top, double right, double bottom) override;
    void text(double x, double y, const QString &text) override;

    const std::vector<PageOp> &ops() const { return recorded; }
    void replay(PageCanvas &target) const;

private:
    std::vector<PageOp> recorded;
};

// Draws onto a painter that is open on a printer or a PDF, whose paint area
// starts at the paper's top-left corner (full-page mode).
class PainterCanvas : public PageCanvas {
public:
    explicit PainterCanvas(QPainter &painter);

    void setFont(const QString &name, int points) override;
    void setPen(const QColor &colour, Qt::PenStyle style, int widthDots, PenMode mode) override;
    void rectangle(double left, double top, double right, double bottom) override;
    void text(double x, double y, const QString &text) override;

private:
    double toDotsX(double mm) const { return mm * dotsPerMmX; }
    double toDotsY(double mm) const { return mm * dotsPerMmY; }

    QPainter &painter;
    double dotsPerMmX;
    double dotsPerMmY;
};
