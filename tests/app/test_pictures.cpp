#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QImageReader>
#include <QString>

#include <gtest/gtest.h>

// The embedded pictures must decode: the JPEG ones prove the JPEG plug-in is
// deployed, the icons must keep their transparent background.

TEST(Pictures, photosDecodeAsJpegAtTheirSize) {
    struct Case {
        const char *path;
        QSize size;
    };
    for (const Case &c : {Case{":/images/frame.jpg", QSize(200, 120)}, Case{":/images/banner.jpg", QSize(358, 71)}}) {
        SCOPED_TRACE(c.path);
        QImageReader reader(QString::fromLatin1(c.path));
        ASSERT_TRUE(reader.canRead()) << reader.errorString().toStdString();
        EXPECT_EQ(reader.format(), QByteArray("jpeg"));
        const QImage img = reader.read();
        ASSERT_FALSE(img.isNull()) << reader.errorString().toStdString();
        EXPECT_EQ(img.size(), c.size);
    }
}

TEST(Pictures, iconsAreSixteenSquareWithTransparency) {
    for (const char *name : {"tool0", "tool1", "tool2", "tool3", "tool4", "printer"}) {
        SCOPED_TRACE(name);
        QImageReader reader(QStringLiteral(":/images/%1.png").arg(QString::fromLatin1(name)));
        EXPECT_EQ(reader.format(), QByteArray("png"));
        const QImage img = reader.read();
        ASSERT_FALSE(img.isNull()) << reader.errorString().toStdString();
        EXPECT_EQ(img.size(), QSize(16, 16));
        EXPECT_TRUE(img.hasAlphaChannel());
        // The background really is see-through, and something is drawn on it.
        int clear = 0, solid = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) {
                const int alpha = qAlpha(img.pixel(x, y));
                clear += alpha == 0;
                solid += alpha == 255;
            }
        EXPECT_GT(clear, 0);
        EXPECT_GT(solid, 32);
    }
}

// Screens at 200 % get every picture drawn at twice its size; the "@2x" in the
// name is what makes the reader give it a pixel ratio of 2, so that it shows
// at the size of the plain one, sharp.
TEST(Pictures, eachHasATwiceTheSizeVariantReadAtPixelRatioTwo) {
    for (const char *name : {"frame.jpg", "banner.jpg", "tool0.png", "tool1.png", "tool2.png", "tool3.png",
                             "tool4.png", "printer.png"}) {
        SCOPED_TRACE(name);
        const QString plainPath = QStringLiteral(":/images/") + QString::fromLatin1(name);
        QString sharpPath = plainPath;
        sharpPath.insert(sharpPath.lastIndexOf(QLatin1Char('.')), QStringLiteral("@2x"));
        const QImage plain = QImageReader(plainPath).read();
        QImageReader reader(sharpPath);
        EXPECT_EQ(reader.format(), QImageReader(plainPath).format());
        const QImage sharp = reader.read();
        ASSERT_FALSE(sharp.isNull()) << reader.errorString().toStdString();
        EXPECT_EQ(sharp.size(), plain.size() * 2);
        EXPECT_EQ(sharp.devicePixelRatio(), 2.0);
        EXPECT_EQ(sharp.hasAlphaChannel(), plain.hasAlphaChannel());
    }
}

// The window's icon is made of plain RGBA copies of the icon theme's
// pictures: drawn again, the two must not drift apart.
TEST(Pictures, theWindowsIconIsTheIconThemesPicturePixelForPixel) {
    const QIcon icon = QApplication::windowIcon();
    for (const int side : {16, 22, 24, 32, 48, 64, 128, 256}) {
        SCOPED_TRACE(side);
        const QString theme = QStringLiteral(KIRABO_TEST_DATA "/../../resources/icons/hicolor/%1x%1/apps/kirabo.png")
                                  .arg(side);
        QImageReader reader(theme);
        const QImage installed = reader.read().convertToFormat(QImage::Format_ARGB32_Premultiplied);
        ASSERT_FALSE(installed.isNull()) << reader.errorString().toStdString();
        const QImage shown =
            icon.pixmap(QSize(side, side)).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
        EXPECT_EQ(shown, installed);
    }
}
