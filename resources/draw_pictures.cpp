// Draws the window's pictures: the frame behind the big number, the banner of
// the draw page, the five tool icons, the print button's printer and the close
// button's cross; and the application's icon for the desktop.
//
//   kirabo_draw_pictures <pictures folder> <icon theme folder> <window icon folder>
//
// writes frame.jpg, banner.jpg, tool0.png .. tool4.png, printer.png and
// close.png into <pictures folder>, each also at twice the size as
// frame@2x.jpg and so on, and the icon in the hicolor sizes 16 to 256 plus an
// SVG into <icon theme folder>; and the same icon sizes once more as plain
// premultiplied RGBA bytes (kirabo-<size>.rgba) into <window icon folder>,
// which the program makes its window's icon of without decoding anything.
// Everything is drawn here, so the pictures can always be made anew.

#include <QFont>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QString>
#include <QTextStream>

#include <QDir>
#include <QFile>

#include <cmath>
#include <numbers>
#include <vector>

namespace {

// Outlines and fills shared by the icons, so that they look like one set.
const QColor kFolderBack(0xD9, 0xA2, 0x1E);
const QColor kFolderFront(0xFF, 0xD8, 0x4A);
const QColor kFolderLine(0x7A, 0x55, 0x08);
const QColor kGreen(0x2E, 0xA8, 0x3A);
const QColor kGreenLine(0x12, 0x5A, 0x1A);
const QColor kPaper(0xFF, 0xFF, 0xFF);
const QColor kPaperLine(0x70, 0x74, 0x7C);
const QColor kText(0xA8, 0xB0, 0xC0);

// Every picture is drawn in the coordinates of its 1x size; `scale` 2 draws
// the same picture with twice as many pixels for screens at 200 %.
QImage blankIcon(int scale) {
    QImage img(16 * scale, 16 * scale, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    return img;
}

void setupPainter(QPainter &p, int scale) {
    p.setRenderHint(QPainter::Antialiasing, true);
    p.scale(scale, scale);
}

QPen pen(const QColor &c, qreal width = 1.0) {
    QPen result(c, width);
    result.setJoinStyle(Qt::MiterJoin);
    result.setCapStyle(Qt::FlatCap);
    return result;
}

// A sheet with the top right corner folded; lines of "text" when asked.
void drawSheet(QPainter &p, const QRectF &r, bool lines) {
    const qreal fold = 3.0;
    QPolygonF sheet;
    sheet << r.topLeft() << QPointF(r.right() - fold, r.top()) << QPointF(r.right(), r.top() + fold)
          << r.bottomRight() << r.bottomLeft();
    p.setPen(pen(kPaperLine));
    p.setBrush(kPaper);
    p.drawPolygon(sheet);
    QPolygonF corner;
    corner << QPointF(r.right() - fold, r.top()) << QPointF(r.right() - fold, r.top() + fold)
           << QPointF(r.right(), r.top() + fold);
    p.setBrush(QColor(0xD8, 0xDC, 0xE4));
    p.drawPolygon(corner);
    if (lines) {
        p.setPen(pen(kText));
        for (qreal y = r.top() + fold + 2; y < r.bottom() - 1; y += 2)
            p.drawLine(QPointF(r.left() + 2, y), QPointF(r.right() - 2, y));
    }
}

// The back of a folder with its tab, from (x, y) to (x + w, y + h).
void drawFolderBack(QPainter &p, qreal x, qreal y, qreal w, qreal h) {
    QPolygonF back;
    back << QPointF(x, y) << QPointF(x + 5, y) << QPointF(x + 6, y + 1.5) << QPointF(x + w, y + 1.5)
         << QPointF(x + w, y + h) << QPointF(x, y + h);
    p.setPen(pen(kFolderLine));
    p.setBrush(kFolderBack);
    p.drawPolygon(back);
}

// A filled arrow head whose tip is at `tip`, pointing along `dir` (unit).
void drawHead(QPainter &p, QPointF tip, QPointF dir, qreal length, qreal halfWidth, const QColor &fill,
              const QColor &line) {
    const QPointF normal(-dir.y(), dir.x());
    const QPointF base = tip - dir * length;
    QPolygonF head;
    head << tip << base + normal * halfWidth << base - normal * halfWidth;
    p.setPen(pen(line, 0.8));
    p.setBrush(fill);
    p.drawPolygon(head);
}

// Open: an opened folder, a green arrow coming down into it.
QImage drawTool0(int scale) {
    QImage img = blankIcon(scale);
    QPainter p(&img);
    setupPainter(p, scale);
    drawFolderBack(p, 0.5, 5.5, 11.0, 9.0);
    // The front flap falls open towards the viewer.
    QPolygonF front;
    front << QPointF(0.5, 14.5) << QPointF(3.5, 9.0) << QPointF(15.0, 9.0) << QPointF(12.0, 14.5);
    p.setPen(pen(kFolderLine));
    p.setBrush(kFolderFront);
    p.drawPolygon(front);
    // The arrow bends from the upper left down into the opening.
    QPainterPath path;
    path.moveTo(3.5, 2.5);
    path.quadTo(10.5, 1.5, 10.5, 6.0);
    p.setBrush(Qt::NoBrush);
    p.setPen(pen(kGreenLine, 3.0));
    p.drawPath(path);
    p.setPen(pen(kGreen, 1.6));
    p.drawPath(path);
    drawHead(p, QPointF(10.5, 10.0), QPointF(0, 1), 4.5, 3.2, kGreen, kGreenLine);
    return img;
}

// Save: a blue floppy disk with its metal shutter and white label.
QImage drawTool1(int scale) {
    QImage img = blankIcon(scale);
    QPainter p(&img);
    setupPainter(p, scale);
    QPolygonF body;
    body << QPointF(0.5, 0.5) << QPointF(13.0, 0.5) << QPointF(15.5, 3.0) << QPointF(15.5, 15.5)
         << QPointF(0.5, 15.5);
    p.setPen(pen(QColor(0x14, 0x2C, 0x66)));
    p.setBrush(QColor(0x2F, 0x62, 0xC4));
    p.drawPolygon(body);
    // Shutter with its slot.
    p.setPen(pen(QColor(0x5A, 0x60, 0x6C)));
    p.setBrush(QColor(0xD4, 0xD9, 0xE2));
    p.drawRect(QRectF(3.5, 0.5, 8.0, 5.0));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x2A, 0x30, 0x3C));
    p.drawRect(QRectF(8.0, 1.5, 2.0, 3.0));
    // Label.
    p.setPen(pen(QColor(0x14, 0x2C, 0x66)));
    p.setBrush(kPaper);
    p.drawRect(QRectF(2.5, 8.5, 11.0, 7.0));
    p.setPen(pen(QColor(0x8C, 0xA4, 0xD8)));
    p.drawLine(QPointF(4.0, 11.0), QPointF(12.0, 11.0));
    p.drawLine(QPointF(4.0, 13.0), QPointF(12.0, 13.0));
    return img;
}

// Save as: a folder holding a sheet, a green arrow leaving to the right.
QImage drawTool2(int scale) {
    QImage img = blankIcon(scale);
    QPainter p(&img);
    setupPainter(p, scale);
    drawFolderBack(p, 0.5, 4.5, 11.0, 10.0);
    drawSheet(p, QRectF(2.5, 1.5, 7.0, 9.0), true);
    p.setPen(pen(kFolderLine));
    p.setBrush(kFolderFront);
    p.drawRect(QRectF(0.5, 8.5, 11.0, 6.0));
    // Shaft and head of the arrow, over the folder's lower right corner.
    p.setPen(pen(kGreenLine, 0.8));
    p.setBrush(kGreen);
    p.drawRect(QRectF(6.5, 10.0, 5.0, 3.0));
    drawHead(p, QPointF(15.6, 11.5), QPointF(1, 0), 4.6, 3.6, kGreen, kGreenLine);
    // Hide the seam between shaft and head.
    p.setPen(Qt::NoPen);
    p.drawRect(QRectF(10.0, 10.45, 2.2, 2.1));
    return img;
}

// Sort: an orange arrow pointing down beside green bars, longest on top.
QImage drawTool3(int scale) {
    QImage img = blankIcon(scale);
    QPainter p(&img);
    setupPainter(p, scale);
    const QColor orange(0xF5, 0x8A, 0x1A);
    const QColor orangeLine(0x8C, 0x42, 0x04);
    p.setPen(pen(orangeLine, 0.8));
    p.setBrush(orange);
    p.drawRect(QRectF(2.4, 0.5, 2.6, 10.0));
    drawHead(p, QPointF(3.7, 15.6), QPointF(0, 1), 6.0, 3.3, orange, orangeLine);
    p.setPen(Qt::NoPen);
    p.drawRect(QRectF(2.8, 8.0, 1.8, 3.0));
    p.setPen(pen(kGreenLine, 0.8));
    p.setBrush(kGreen);
    const qreal widths[] = {8.0, 6.0, 4.0, 2.0};
    for (int i = 0; i < 4; ++i)
        p.drawRect(QRectF(7.5, 0.5 + i * 4.0, widths[i], 2.6));
    return img;
}

// Refresh: a sheet with two green arrows chasing each other round a circle.
QImage drawTool4(int scale) {
    QImage img = blankIcon(scale);
    QPainter p(&img);
    setupPainter(p, scale);
    drawSheet(p, QRectF(0.5, 0.5, 12.0, 15.0), false);
    const QPointF centre(8.5, 9.5);
    const qreal radius = 4.5;
    const QRectF circle(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    const qreal span = 140.0;
    const QColor green(0x1C, 0x96, 0x2A);
    for (qreal start : {20.0, 200.0}) {
        p.setBrush(Qt::NoBrush);
        p.setPen(pen(green, 1.8));
        p.drawArc(circle, qRound(start * 16), qRound(span * 16));
        // Head at the counter-clockwise end of the arc.
        const qreal a = (start + span) * std::numbers::pi / 180.0;
        const QPointF end = centre + QPointF(std::cos(a), -std::sin(a)) * radius;
        const QPointF along(-std::sin(a), -std::cos(a));
        drawHead(p, end + along * 2.8, along, 4.2, 3.0, green, green);
    }
    return img;
}

// Print: a grey printer with a sheet of paper standing in its feed.
QImage drawPrinter(int scale) {
    QImage img = blankIcon(scale);
    QPainter p(&img);
    setupPainter(p, scale);
    drawSheet(p, QRectF(3.5, 0.5, 9.0, 8.0), true);
    const QColor line(0x40, 0x44, 0x4C);
    QLinearGradient body(0, 6, 0, 13);
    body.setColorAt(0.0, QColor(0xE4, 0xE7, 0xEC));
    body.setColorAt(1.0, QColor(0x9A, 0xA0, 0xAA));
    p.setPen(pen(line));
    p.setBrush(body);
    p.drawRoundedRect(QRectF(0.5, 6.5, 15.0, 7.0), 1.5, 1.5);
    // The printed sheet coming out at the front.
    p.setBrush(kPaper);
    p.drawRect(QRectF(3.5, 11.5, 9.0, 4.0));
    p.setPen(pen(kText));
    p.drawLine(QPointF(5.0, 13.5), QPointF(11.0, 13.5));
    // Power lamp.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x30, 0xD0, 0x40));
    p.drawRect(QRectF(12.0, 8.0, 2.0, 1.5));
    return img;
}

// Close: a dark cross, as on the settings page's close button.
QImage drawClose(int scale) {
    QImage img = blankIcon(scale);
    QPainter p(&img);
    setupPainter(p, scale);
    QPen cross(QColor(0x30, 0x34, 0x3C), 2.2);
    cross.setCapStyle(Qt::RoundCap);
    p.setPen(cross);
    p.drawLine(QPointF(4.0, 4.0), QPointF(12.0, 12.0));
    p.drawLine(QPointF(12.0, 4.0), QPointF(4.0, 12.0));
    return img;
}

// The frame behind the big number: a white field inside a border shading
// from grey-blue (left and top) to light grey (right and bottom). The number
// label covers (17, 16)-(177, 103), well inside the white field.
QImage drawFrame(int scale) {
    QImage img(200 * scale, 120 * scale, QImage::Format_RGB32);
    QPainter p(&img);
    setupPainter(p, scale);
    QLinearGradient shade(0, 0, 200, 120);
    shade.setColorAt(0.0, QColor(0x5E, 0x78, 0xA0));
    shade.setColorAt(0.45, QColor(0x9C, 0xAC, 0xC4));
    shade.setColorAt(1.0, QColor(0xE4, 0xE6, 0xEA));
    p.fillRect(QRectF(0, 0, 200, 120), shade);
    // Outer edge, then a sunken rim around the white field.
    p.setPen(pen(QColor(0x44, 0x58, 0x7C)));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, 199.0, 119.0));
    const QRectF field(12, 11, 176, 98);
    p.setPen(pen(QColor(0x3C, 0x4C, 0x68), 2.0));
    p.drawLine(field.topLeft() + QPointF(-1, -1), field.topRight() + QPointF(1, -1));
    p.drawLine(field.topLeft() + QPointF(-1, -1), field.bottomLeft() + QPointF(-1, 1));
    p.setPen(pen(QColor(0xF8, 0xF9, 0xFB), 2.0));
    p.drawLine(field.bottomLeft() + QPointF(-1, 1), field.bottomRight() + QPointF(1, 1));
    p.drawLine(field.topRight() + QPointF(1, -1), field.bottomRight() + QPointF(1, 1));
    p.fillRect(field, Qt::white);
    return img;
}

// The bold sans used for the program's name, named by family so that the
// banner does not depend on the machine's default font.
QFont bannerFont() {
    for (const char *family : {"DejaVu Sans", "IPAGothic"}) {
        QFont font(QString::fromLatin1(family));
        font.setWeight(QFont::Bold);
        font.setStyleStrategy(QFont::PreferAntialias);
        font.setHintingPreference(QFont::PreferNoHinting);
        if (QFontInfo(font).family() == font.family())
            return font;
    }
    QTextStream(stderr) << "kirabo_draw_pictures: neither DejaVu Sans nor IPAGothic is installed; "
                           "the banner falls back to the default sans\n";
    QFont font;
    font.setStyleHint(QFont::SansSerif);
    font.setWeight(QFont::Bold);
    return font;
}

// The banner: "Kirabo" in blue on a bevelled bronze plate with fine lines.
// The version label covers (256, 32)-(329, 44), so the name stays left of it.
QImage drawBanner(int scale) {
    const int w = 358, h = 71, bevel = 5;
    QImage img(w * scale, h * scale, QImage::Format_RGB32);
    QPainter p(&img);
    setupPainter(p, scale);
    QLinearGradient plate(0, 0, 0, h);
    plate.setColorAt(0.0, QColor(0xD2, 0x9C, 0x5C));
    plate.setColorAt(0.5, QColor(0xB8, 0x80, 0x40));
    plate.setColorAt(1.0, QColor(0x96, 0x62, 0x2A));
    p.fillRect(QRectF(0, 0, w, h), plate);
    // Fine horizontal lines, as in brushed metal.
    for (int y = bevel; y < h - bevel; y += 2) {
        p.setPen(pen(QColor(0x6A, 0x40, 0x14, 46)));
        p.drawLine(QPointF(bevel, y + 0.5), QPointF(w - bevel, y + 0.5));
    }
    // Bevel: light from the upper left.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xF0, 0xD0, 0x98));
    p.drawPolygon(QPolygonF({QPointF(0, 0), QPointF(w, 0), QPointF(w - bevel, bevel), QPointF(bevel, bevel),
                             QPointF(bevel, h - bevel), QPointF(0, h)}));
    p.setBrush(QColor(0x5C, 0x38, 0x12));
    p.drawPolygon(QPolygonF({QPointF(w, h), QPointF(0, h), QPointF(bevel, h - bevel),
                             QPointF(w - bevel, h - bevel), QPointF(w - bevel, bevel), QPointF(w, 0)}));
    p.setPen(pen(QColor(0x40, 0x26, 0x08)));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, w - 1, h - 1));

    // The name, as large as fits between the bevel and the version label.
    const QString name = QStringLiteral("Kirabo");
    const QRectF room(16, bevel + 4, 226, h - 2 * bevel - 8);
    QFont font = bannerFont();
    int size = 60;
    for (; size > 10; --size) {
        font.setPixelSize(size);
        const QRectF box = QFontMetricsF(font).tightBoundingRect(name);
        if (box.width() <= room.width() && box.height() <= room.height())
            break;
    }
    font.setPixelSize(size);
    const QFontMetricsF metrics(font);
    const QRectF box = metrics.tightBoundingRect(name);
    const QPointF origin(room.left() - box.left(), room.center().y() - box.center().y());
    QPainterPath text;
    text.addText(origin, font, name);
    // A dark shadow and a pale rim keep the blue legible on the bronze.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x3A, 0x22, 0x08, 150));
    p.drawPath(text.translated(2.0, 2.0));
    p.setPen(pen(QColor(0xFF, 0xF4, 0xDC), 2.2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(text);
    QLinearGradient blue(0, origin.y() + box.top(), 0, origin.y() + box.bottom());
    blue.setColorAt(0.0, QColor(0x3C, 0x78, 0xF0));
    blue.setColorAt(1.0, QColor(0x10, 0x38, 0xB0));
    p.setPen(Qt::NoPen);
    p.setBrush(blue);
    p.drawPath(text);
    return img;
}

// The application's icon: a seat chart seen from the teacher's desk, one
// seat drawn in red. It is a short list of rounded boxes on a 256 square, so
// that the bitmaps of every size and the scalable SVG come from one drawing.
struct IconBox {
    QRectF rect;
    qreal radius;
    QColor fill;
    QColor line;
    qreal lineWidth;
};

std::vector<IconBox> appIconBoxes() {
    const QColor seat(0xFF, 0xFB, 0xF0);
    const QColor seatLine(0x14, 0x30, 0x6E);
    std::vector<IconBox> boxes;
    boxes.push_back({QRectF(10, 10, 236, 236), 44, QColor(0x2F, 0x62, 0xC4), QColor(0x14, 0x2C, 0x66), 12});
    // The desk plate at the front.
    boxes.push_back({QRectF(78, 36, 100, 34), 8, QColor(0xFF, 0xFF, 0xFF), seatLine, 6});
    // Two rows of three seats; the middle one of the back row is the one drawn.
    for (int row = 0; row < 2; ++row)
        for (int col = 0; col < 3; ++col) {
            const bool drawn = row == 1 && col == 1;
            boxes.push_back({QRectF(34 + col * 66, 94 + row * 72, 56, 56), 8,
                             drawn ? QColor(0xE5, 0x39, 0x35) : seat, drawn ? QColor(0x7F, 0x10, 0x10) : seatLine,
                             6});
        }
    return boxes;
}

QImage drawAppIcon(int size) {
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.scale(size / 256.0, size / 256.0);
    for (const IconBox &b : appIconBoxes()) {
        // Below 32 pixels an outline would blur the boxes together.
        p.setPen(size < 32 && b.lineWidth < 10 ? QPen(Qt::NoPen) : pen(b.line, b.lineWidth));
        p.setBrush(b.fill);
        p.drawRoundedRect(b.rect, b.radius, b.radius);
    }
    return img;
}

QString appIconSvg() {
    QString svg;
    QTextStream out(&svg);
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" viewBox=\"0 0 256 256\">\n";
    for (const IconBox &b : appIconBoxes())
        out << "  <rect x=\"" << b.rect.x() << "\" y=\"" << b.rect.y() << "\" width=\"" << b.rect.width()
            << "\" height=\"" << b.rect.height() << "\" rx=\"" << b.radius << "\" fill=\"" << b.fill.name()
            << "\" stroke=\"" << b.line.name() << "\" stroke-width=\"" << b.lineWidth << "\"/>\n";
    out << "</svg>\n";
    return svg;
}

bool save(const QImage &img, const QString &folder, const QString &name) {
    const QString path = folder + QLatin1Char('/') + name;
    const bool jpeg = path.endsWith(QLatin1String(".jpg"));
    if (img.save(path, jpeg ? "JPG" : "PNG", jpeg ? 90 : -1))
        return true;
    QTextStream(stderr) << "kirabo_draw_pictures: cannot write " << path << '\n';
    return false;
}

bool saveSvg(const QString &svg, const QString &path) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(svg.toUtf8()) >= 0 && file.flush())
        return true;
    QTextStream(stderr) << "kirabo_draw_pictures: cannot write " << path << '\n';
    return false;
}

// The pixels row by row, four bytes each (red, green, blue, alpha, the colour
// premultiplied), whatever the machine's byte order.
bool saveRgba(const QImage &img, const QString &path) {
    const QImage rgba = img.convertToFormat(QImage::Format_RGBA8888_Premultiplied);
    QFile file(path);
    bool ok = file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    for (int y = 0; ok && y < rgba.height(); ++y)
        ok = file.write(reinterpret_cast<const char *>(rgba.constScanLine(y)), qint64(rgba.width()) * 4) >= 0;
    if (ok && file.flush())
        return true;
    QTextStream(stderr) << "kirabo_draw_pictures: cannot write " << path << '\n';
    return false;
}

// The icon theme's sizes, each in hicolor/<size>x<size>/apps/kirabo.png, and
// the scalable one in hicolor/scalable/apps/kirabo.svg; the window's copies as
// <window folder>/kirabo-<size>.rgba.
bool saveAppIcons(const QString &themeFolder, const QString &windowFolder) {
    bool ok = true;
    QDir().mkpath(windowFolder);
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(themeFolder).arg(size);
        QDir().mkpath(folder);
        const QImage icon = drawAppIcon(size);
        ok = save(icon, folder, QStringLiteral("kirabo.png")) && ok;
        ok = saveRgba(icon, QStringLiteral("%1/kirabo-%2.rgba").arg(windowFolder).arg(size)) && ok;
    }
    const QString scalable = themeFolder + QStringLiteral("/scalable/apps");
    QDir().mkpath(scalable);
    return saveSvg(appIconSvg(), scalable + QStringLiteral("/kirabo.svg")) && ok;
}

} // namespace

int main(int argc, char **argv) {
    // Fonts need a GUI application, not a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 4) {
        QTextStream(stderr)
            << "usage: kirabo_draw_pictures <pictures folder> <icon theme folder> <window icon folder>\n";
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    bool ok = true;
    // Each picture at its own size, and again at twice the size as name@2x.
    for (int scale : {1, 2}) {
        const QString at = scale == 1 ? QString() : QStringLiteral("@%1x").arg(scale);
        auto name = [&](const char *stem, const char *ext) {
            return QString::fromLatin1(stem) + at + QString::fromLatin1(ext);
        };
        ok = save(drawFrame(scale), folder, name("frame", ".jpg")) && ok;
        ok = save(drawBanner(scale), folder, name("banner", ".jpg")) && ok;
        ok = save(drawTool0(scale), folder, name("tool0", ".png")) && ok;
        ok = save(drawTool1(scale), folder, name("tool1", ".png")) && ok;
        ok = save(drawTool2(scale), folder, name("tool2", ".png")) && ok;
        ok = save(drawTool3(scale), folder, name("tool3", ".png")) && ok;
        ok = save(drawTool4(scale), folder, name("tool4", ".png")) && ok;
        ok = save(drawPrinter(scale), folder, name("printer", ".png")) && ok;
        ok = save(drawClose(scale), folder, name("close", ".png")) && ok;
    }
    ok = saveAppIcons(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3])) && ok;
    return ok ? 0 : 1;
}
