#include "platform/IniProfile.h"
#include "roster/ClassName.h"
#include "settings/RecentRosters.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QByteArray fileBytes(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeBytes(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

QByteArray sjis(const char *utf8) {
    return SjisText::lit(utf8).bytes();
}

} // namespace

TEST(ClassName, IsTheRosterFilesBaseName) {
    EXPECT_EQ(classname::ofRoster(QStringLiteral("/学校/2年3組.csv")), QStringLiteral("2年3組"));
    EXPECT_EQ(classname::ofRoster(QStringLiteral("/学校/2年3組.後期.CSV")), QStringLiteral("2年3組.後期"));
    EXPECT_EQ(classname::ofRoster(QStringLiteral("C:/学校/名簿")), QStringLiteral("名簿"));
    EXPECT_EQ(classname::ofRoster(QString()), QString());
}

TEST(ClassName, ProposesTheChartsPdfFromTheClassAndTheTitle) {
    const struct {
        const char *what;
        QString className, title, pdf;
    } cases[] = {
        {"class and title", QStringLiteral("2年3組"), QStringLiteral("座席表"), QStringLiteral("2年3組_座席表.pdf")},
        {"no class: a new roster not saved", QString(), QStringLiteral("座席表"), QStringLiteral("座席表.pdf")},
        {"no title", QStringLiteral("2年3組"), QString(), QStringLiteral("2年3組.pdf")},
        {"neither", QString(), QStringLiteral(" "), QStringLiteral("座席表.pdf")},
        {"a title naming the class names it once", QStringLiteral("2年3組"), QStringLiteral("2年3組　座席表"),
         QStringLiteral("2年3組　座席表.pdf")},
        {"characters no file name may hold", QStringLiteral("2年3組"), QStringLiteral("座席表 4/1 \"前期\": A|B?*<>\\"),
         QStringLiteral("2年3組_座席表 4_1 _前期__ A_B_____.pdf")},
        {"a line break in the title", QStringLiteral("2年3組"), QStringLiteral("座席表\n後期"),
         QStringLiteral("2年3組_座席表_後期.pdf")},
        {"blanks and dots at the ends", QStringLiteral("2年3組"), QStringLiteral(" 座席表。.. "),
         QStringLiteral("2年3組_座席表。.pdf")},
        {"a device name of Windows", QString(), QStringLiteral("con"), QStringLiteral("con_.pdf")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(classname::chartPdf(c.className, c.title).toStdString(), c.pdf.toStdString());
    }
}

class Recent : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString ini() const { return dir.filePath(QStringLiteral("kirabo.ini")); }
    QTemporaryDir dir;
};

TEST_F(Recent, KeepsTheNewestFirstOnceEachAndAFewAtMost) {
    RecentRosters recent;
    for (int n = 1; n <= RecentRosters::most + 2; ++n)
        recent.add(QStringLiteral("/学校/%1組.csv").arg(n));
    recent.add(QStringLiteral("/学校/./5組.csv"));
    QStringList expected{QStringLiteral("/学校/./5組.csv")};
    for (int n = RecentRosters::most + 2; n >= 3; --n)
        if (n != 5)
            expected << QStringLiteral("/学校/%1組.csv").arg(n);
    EXPECT_EQ(recent.paths(), expected);
    recent.remove(QStringLiteral("/学校/8組.csv"));
    EXPECT_EQ(recent.paths().size(), RecentRosters::most - 1);
    EXPECT_FALSE(recent.paths().contains(QStringLiteral("/学校/8組.csv")));
}

TEST_F(Recent, APathShiftJisCannotHoldOrWithALineBreakIsNotKept) {
    RecentRosters recent;
    recent.add(QStringLiteral("/学校/2年3組.csv"));
    for (const QString &path :
         {QStringLiteral("/école/ë.csv"), QStringLiteral("/学校/😀.csv"), QStringLiteral("/学校/a\nb.csv"), QString()})
        recent.add(path);
    EXPECT_EQ(recent.paths(), QStringList{QStringLiteral("/学校/2年3組.csv")});
}

TEST_F(Recent, StandInASectionOfTheirOwnAndReadBack) {
    const QByteArray before = sjis("[設定]\r\n印刷タイトル=座席表\r\n");
    writeBytes(ini(), before);
    RecentRosters none;
    none.save(ini());
    EXPECT_EQ(fileBytes(ini()), before) << "no list, no section";

    RecentRosters recent;
    recent.add(QStringLiteral("/学校/1組.csv"));
    recent.add(QStringLiteral("/学校/2組.csv"));
    recent.save(ini());
    EXPECT_EQ(fileBytes(ini()), before + sjis("[最近の名簿]\r\n1=/学校/2組.csv\r\n2=/学校/1組.csv\r\n"));

    RecentRosters back;
    back.load(ini());
    EXPECT_EQ(back.paths(), recent.paths());

    // A shorter list leaves no old entry behind; an empty one leaves no section.
    back.remove(QStringLiteral("/学校/2組.csv"));
    back.save(ini());
    EXPECT_EQ(fileBytes(ini()), before + sjis("[最近の名簿]\r\n1=/学校/1組.csv\r\n"));
    back.remove(QStringLiteral("/学校/1組.csv"));
    back.save(ini());
    EXPECT_EQ(fileBytes(ini()), before);
}

TEST_F(Recent, AHandEditedListReadsWhatItCanUse) {
    writeBytes(ini(),
               sjis("[最近の名簿]\r\n2=/学校/1組.csv\r\n1=/学校/2組.csv\r\n3=\r\n4=/学校/2組.csv\r\n") + "5=/\x82\r\n");
    RecentRosters recent;
    recent.load(ini());
    EXPECT_EQ(recent.paths(), (QStringList{QStringLiteral("/学校/2組.csv"), QStringLiteral("/学校/1組.csv")}));
}
