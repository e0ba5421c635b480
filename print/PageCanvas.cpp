#include "print/PageCanvas.h"

#include <QFont>
#include <QPaintDevice>
#include <QPainter>

namespace {
constexpr double mmPerInch = 25.4;

QPainter::CompositionMode composition(PenMode mode) {
    switch (mode) {
    case PenMode::Copy:
        return QPainter::CompositionMode_SourceOver;
    }
    return QPainter::CompositionMode_SourceOver;
}
} // namespace

void RecordingCanvas::setFont(const QString &name, int points) {
    PageOp op;
    op.kind = PageOp::Kind::Font;
    op.fontName = name;
    op.points = points;
    recorded.push_back(std::move(op));
}

void RecordingCanvas::setPen(const QColor &colour, Qt::PenStyle style, int widthDots, PenMode mode) {
    PageOp op;
    op.kind = PageOp::Kind::Pen;
    op.colour = colour;
    op.style = style;
    op.widthDots = widthDots;
    op.mode = mode;
    recorded.push_back(std::move(op));
}

void RecordingCanvas::rectangle(double left, double top, double right, double bottom) {
    PageOp op;
    op.kind = PageOp::Kind::Rectangle;
    op.x1 = left;
    op.y1 = top;
    op.x2 = right;
    op.y2 = bottom;
    recorded.push_back(std::move(op));
}

void RecordingCanvas::text(double x, double y, const QString &text) {
    PageOp op;
    op.kind = PageOp::Kind::Text;
    op.x1 = x;
    op.y1 = y;
    op.text = text;
    recorded.push_back(std::move(op));
}

void RecordingCanvas::replay(PageCanvas &target) const {
    for (const PageOp &op : recorded) {
        switch (op.kind) {
        case PageOp::Kind::Font:
            target.setFont(op.fontName, op.points);
            break;
        case PageOp::Kind::Pen:
            target.setPen(op.colour, op.style, op.widthDots, op.mode);
            break;
        case PageOp::Kind::Rectangle:
            target.rectangle(op.x1, op.y1, op.x2, op.y2);
            break;
        case PageOp::Kind::Text:
            target.text(op.x1, op.y1, op.text);
            break;
        }
    }
}

PainterCanvas::PainterCanvas(QPainter &painter)
    : painter(painter), dotsPerMmX(painter.device()->logicalDpiX() / mmPerInch),
      dotsPerMmY(painter.device()->logicalDpiY() / mmPerInch) {
    painter.setBrush(Qt::NoBrush);
}

void PainterCanvas::setFont(const QString &name, int points) {
    // Sizes in points resolve against the device's own resolution, so the
    // painter keeps device coordinates and only positions are converted.
    QFont font(name);
    font.setPointSize(points);
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    painter.setFont(font);
}

void PainterCanvas::setPen(const QColor &colour, Qt::PenStyle style, int widthDots, PenMode mode) {
    painter.setPen(QPen(QBrush(colour), widthDots, style, Qt::SquareCap, Qt::MiterJoin));
    painter.setCompositionMode(composition(mode));
}

void PainterCanvas::rectangle(double left, double top, double right, double bottom) {
    painter.drawRect(QRectF(QPointF(toDotsX(left), toDotsY(top)), QPointF(toDotsX(right), toDotsY(bottom))));
}

void PainterCanvas::text(double x, double y, const QString &text) {
    if (text.isEmpty())
        return;
    // Text is black whatever pen outlines the rectangles.
    const QPen outline = painter.pen();
    painter.setPen(Qt::black);
    painter.drawText(QPointF(toDotsX(x), toDotsY(y)), text);
    painter.setPen(outline);
}
