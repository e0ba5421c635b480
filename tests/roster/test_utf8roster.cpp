#include "support/DrawTest.h"
#include "roster/Utf8Roster.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

namespace {
QByteArray fixture(const QString &name) {
    return readFile(QStringLiteral(KIRABO_TEST_DATA "/") + name);
}
const QString question = QStringLiteral("この名簿は UTF-8 で書かれているようです。シフトJIS に変換して読み込みますか？");
const QString yes = QStringLiteral("はい(&Y)");
const QString no = QStringLiteral("いいえ(&N)");
} // namespace

TEST(Utf8Roster, WhichFilesLookLikeUtf8) {
    const struct {
        const char *what;
        QByteArray bytes;
        bool utf8;
    } cases[] = {
        {"byte-order mark, ASCII after it", "\xEF\xBB\xBF" "1,2,Sato,,\r\n", true},
        {"byte-order mark alone", "\xEF\xBB\xBF", true},
        {"UTF-8 names", QStringLiteral("1,2,山田,やまだ,\r\n").toUtf8(), true},
        {"ASCII only", "1,2,Sato,,\r\n", false},
        {"empty", "", false},
        {"Shift-JIS names", SjisText::lit("1,2,山田,やまだ,\r\n").bytes(), false},
        // A short UTF-8 text can also be valid Shift-JIS; it opens as it always did.
        {"UTF-8 that is valid Shift-JIS too", QStringLiteral("ア").toUtf8(), false},
        {"neither", "\xFF\xFE", false},
        {"UTF-8 cut in a character", QByteArray("\xE5\xB1", 2), false},
        {"overlong UTF-8", "\xC0\xAF", false},
        {"a surrogate in UTF-8", "\xED\xA0\x80", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(utf8roster::looksLikeUtf8(c.bytes), c.utf8) << c.what;

    // Every Shift-JIS roster of the tests opens without the question.
    for (const QString &folder : {QStringLiteral("roster"), QStringLiteral("e2e")}) {
        const QDir d(QStringLiteral(KIRABO_TEST_DATA "/") + folder);
        for (const QString &name : d.entryList({QStringLiteral("*.csv")}, QDir::Files))
            EXPECT_EQ(utf8roster::looksLikeUtf8(readFile(d.filePath(name))), name == QStringLiteral("utf8.csv"))
                << name.toStdString();
    }
    for (const char *name : {"utf8/class30.csv", "utf8/class30_bom.csv"})
        EXPECT_TRUE(utf8roster::looksLikeUtf8(fixture(QLatin1String(name)))) << name;
}

class Utf8Open : public DrawTest {
protected:
    // Opens a file, answering the UTF-8 question with the given button (or
    // expecting none when answer is empty) and any later box with OK.
    QList<SeenBox> openAnswering(const QString &file, const QString &answer) {
        ModalDriver driver;
        driver.chooseFile(file);
        if (!answer.isEmpty())
            driver.press(answer);
        driver.pressIfShown(QStringLiteral("OK"));
        form().ToolButton1->click();
        return driver.seen();
    }
    QString placed(const char *fixtureName, const QString &as) {
        writeFile(path(as), fixture(QLatin1String(fixtureName)));
        return path(as);
    }
    QStringList roster() const {
        QStringList out;
        for (int r = 0; r < window->StringGrid2->gridRowCount(); ++r)
            for (int c = 0; c < 5; ++c)
                out << QString::fromLatin1(window->StringGrid2->cell(c, r).bytes().toHex());
        return out;
    }
};

TEST_F(Utf8Open, ShiftJisRostersNeverSeeTheQuestion) {
    createWindow();
    for (const QString &folder : {QStringLiteral("roster"), QStringLiteral("e2e")}) {
        const QDir d(QStringLiteral(KIRABO_TEST_DATA "/") + folder);
        for (const QString &name : d.entryList({QStringLiteral("*.csv")}, QDir::Files)) {
            if (name == QStringLiteral("utf8.csv"))
                continue;
            const QString file = placed(qPrintable(folder + QLatin1Char('/') + name), name);
            for (const SeenBox &box : openAnswering(file, {}))
                EXPECT_NE(box.text, question) << name.toStdString();
        }
    }
}

// A UTF-8 export of a Shift-JIS roster, with or without the byte-order mark,
// converts to the very cells of the Shift-JIS original; the file stays as it
// is until the teacher saves, and then is Shift-JIS.
TEST_F(Utf8Open, YesConvertsAndTheDrawAndTheSaveGoOnInShiftJis) {
    TForm1 &f = createWindow();
    keepSeats(30);
    const QByteArray original = fixture(QStringLiteral("e2e/class30.csv"));
    ASSERT_TRUE(openAnswering(placed("e2e/class30.csv", QStringLiteral("sjis.csv")), {}).isEmpty());
    const QStringList expected = roster();

    for (const char *name : {"utf8/class30.csv", "utf8/class30_bom.csv"}) {
        SCOPED_TRACE(name);
        f.Modified = false;
        const QString file = placed(name, QStringLiteral("export.csv"));
        const QList<SeenBox> boxes = openAnswering(file, yes);
        ASSERT_EQ(boxes.size(), 1);
        EXPECT_EQ(boxes[0].text, question);
        EXPECT_EQ(boxes[0].caption, QStringLiteral("確認"));
        EXPECT_EQ(boxes[0].icon, QMessageBox::Question);
        EXPECT_EQ(boxes[0].buttons, (QStringList{yes, no}));
        EXPECT_EQ(roster(), expected);
        EXPECT_TRUE(f.Modified);
        EXPECT_EQ(readFile(file), fixture(QLatin1String(name)));
        EXPECT_EQ(f.SaveDialog1.fileName, file);
        EXPECT_EQ(status(), turnText(QStringLiteral("佐藤　翔太")));
    }

    for (int i = 0; i < 30; ++i)
        drawOnce();
    EXPECT_EQ(status(), completeText);
    ModalDriver save;
    save.press(yes);
    EXPECT_TRUE(f.close());
    ASSERT_EQ(save.seen().size(), 1);
    EXPECT_EQ(save.seen()[0].text, QStringLiteral("ファイルを保存しますか"));
    const QList<QByteArray> saved = readFile(path(QStringLiteral("export.csv"))).split('\n');
    const QList<QByteArray> lines = original.split('\n');
    ASSERT_EQ(saved.size(), lines.size());
    for (int i = 1; i < 31; ++i) {
        // The Shift-JIS line with the seat drawn after its last comma.
        const QByteArray seat = SjisText::lit(qPrintable(seatOf(i))).bytes();
        EXPECT_EQ(saved[i], lines[i].chopped(1) + seat + '\r') << i;
    }
}

TEST_F(Utf8Open, NoReadsTheBytesAsTheyAre) {
    TForm1 &f = createWindow();
    const QString file = placed("utf8/class30_bom.csv", QStringLiteral("export.csv"));
    ASSERT_EQ(openAnswering(file, no).size(), 1);
    EXPECT_EQ(f.StringGrid2->cell(2, 1).bytes(), QStringLiteral("佐藤　翔太").toUtf8());
    EXPECT_EQ(f.StringGrid2->gridRowCount(), 31);
    EXPECT_FALSE(f.Modified);
}

TEST_F(Utf8Open, ACharacterShiftJisCannotHoldRefusesTheOpenWithNothingChanged) {
    TForm1 &f = createWindow();
    const QString before = placed("roster/crlf.csv", QStringLiteral("class.csv"));
    ASSERT_TRUE(openAnswering(before, {}).isEmpty());
    const QStringList cells = roster();
    const QString statusBefore = status();

    const QString file = placed("roster/utf8.csv", QStringLiteral("export.csv"));
    const QList<SeenBox> boxes = openAnswering(file, yes);
    ASSERT_EQ(boxes.size(), 2);
    EXPECT_EQ(boxes[1].text, QStringLiteral("「ë」(U+00EB) はシフトJISで表せない文字のため、この名簿は読み込めません"));
    EXPECT_EQ(boxes[1].caption, QStringLiteral("警告"));
    EXPECT_EQ(boxes[1].icon, QMessageBox::Warning);
    EXPECT_EQ(boxes[1].buttons, QStringList{QStringLiteral("OK")});
    EXPECT_EQ(roster(), cells);
    EXPECT_FALSE(f.Modified);
    EXPECT_EQ(f.SaveDialog1.fileName, before);
    EXPECT_EQ(f.OpenDialog1.fileName, before);
    EXPECT_EQ(status(), statusBefore);
    EXPECT_EQ(readFile(file), fixture(QStringLiteral("roster/utf8.csv")));
}
