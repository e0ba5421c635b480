#include "platform/Errors.h"
#include "print/PageCanvas.h"
#include "support/PrintTools.h"
#include "printing/ReportSystem.h"
#include "support/CaseName.h"
#include "support/WindowTest.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimer>
#include <QtTest/QTest>

#ifndef _WIN32
#include "print/PrivateCups.h"

#include <unistd.h>
#endif

#include <cmath>
#include <functional>
#include <optional>
#include <vector>

namespace {

#ifndef _WIN32
// Every test of this program sees the print server of its own, and no
// printer of the machine.
class PrivatePrintServer : public ::testing::Environment {
public:
    void SetUp() override { usePrivatePrintServer(); }
};
const auto *const printServer = ::testing::AddGlobalTestEnvironment(new PrivatePrintServer);
#endif

const QString gothic = QStringLiteral("MSゴシック");

// A rectangle or a text of a recorded page, with the font it was drawn in.
struct DrawnText {
    double x, y;
    QString text;
    QString font;
    int points;
};
struct DrawnPage {
    std::vector<PageOp> rects;
    std::vector<DrawnText> texts;
};

DrawnPage drawn(const RecordingCanvas &page) {
    DrawnPage out;
    QString font;
    int points = 0;
    for (const PageOp &op : page.ops()) {
        switch (op.kind) {
        case PageOp::Kind::Font:
            font = op.fontName;
            points = op.points;
            break;
        case PageOp::Kind::Rectangle:
            out.rects.push_back(op);
            break;
        case PageOp::Kind::Text:
            out.texts.push_back({op.x1, op.y1, op.text, font, points});
            break;
        case PageOp::Kind::Pen:
            break;
        }
    }
    return out;
}

std::optional<DrawnText> textAt(const DrawnPage &page, double x, double y) {
    for (const DrawnText &t : page.texts)
        if (t.x == x && t.y == y)
            return t;
    return std::nullopt;
}

bool hasRect(const DrawnPage &page, double l, double t, double r, double b) {
    for (const PageOp &op : page.rects)
        if (op.x1 == l && op.y1 == t && op.x2 == r && op.y2 == b)
            return true;
    return false;
}

// The texts of the seat whose student the fixture gives: "A7", "N7", "R7".
QString attendanceOf(int seat) {
    return seat ? QStringLiteral("A%1").arg(seat) : QString();
}
QString nameOf(int seat) {
    return seat ? QStringLiteral("名%1").arg(seat) : QString();
}
QString readingOf(int seat) {
    return seat ? QStringLiteral("よみ%1").arg(seat) : QString();
}

} // namespace

// The page as RvSystem1Print composes it, from the window's own layout,
// roster, title and view buttons.
class PrintPage : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        createWindow();
        // The student of roster row n sits at seat n.
        Roster &students = form().classRoster;
        students.cells().setRowCount(layout::maxSeats + 1);
        for (int n = 1; n <= layout::maxSeats; ++n) {
            students.setCell(roster::attendanceCol, n, SjisText::lit(attendanceOf(n).toUtf8().constData()));
            students.setCell(roster::nameCol, n, SjisText::lit(nameOf(n).toUtf8().constData()));
            students.setCell(roster::readingCol, n, SjisText::lit(readingOf(n).toUtf8().constData()));
            students.setSeat(n, SeatNumber(n));
        }
    }
    RecordingCanvas compose() {
        RecordingCanvas page;
        form().RvSystem1Print(page);
        return page;
    }
};

struct SeatBox {
    int seat; // whose texts the box shows; 0: an empty box
    double x, y;
};

struct PageCase {
    const char *what;
    bool teachersView;
    // Layout cells changed after the start-up numbering (seat c * 8 + r + 1
    // at column c, row r): column, row, text.
    std::vector<std::tuple<int, int, const char *>> cells;
    std::vector<int> vacantSeats; // seats no student holds
    const char *title;
    std::vector<SeatBox> boxes; // some of the boxes, where they must be
    int boxCount;               // seat boxes on the page
    double deskTop;
};

std::vector<std::tuple<int, int, const char *>> wholeRow(int row) {
    std::vector<std::tuple<int, int, const char *>> cells;
    for (int c = 0; c < 6; ++c)
        cells.emplace_back(c, row, "×");
    return cells;
}

std::vector<std::tuple<int, int, const char *>> everyCell() {
    std::vector<std::tuple<int, int, const char *>> cells;
    for (int r = 0; r < 8; ++r)
        for (const auto &cell : wholeRow(r))
            cells.push_back(cell);
    return cells;
}

// clang-format off
const PageCase pageCases[] = {
    {"TeachersView48Seats", true, {}, {}, "座席表",
     // Back row (7) first, column 0 at the right; the front row (0) last.
     {{8, 235, 25}, {16, 192, 25}, {24, 149, 25}, {32, 106, 25}, {40, 63, 25}, {48, 20, 25},
      {1, 235, 172}, {9, 192, 172}, {17, 149, 172}, {25, 106, 172}, {33, 63, 172}, {41, 20, 172}, {20, 149, 109}},
     48, 193},
    {"StudentsView48Seats", false, {}, {}, "座席表",
     {{1, 20, 40}, {9, 63, 40}, {17, 106, 40}, {25, 149, 40}, {33, 192, 40}, {41, 235, 40},
      {8, 20, 187}, {48, 235, 187}, {20, 106, 103}},
     48, 25},
    {"TeachersViewNoSeats", true, everyCell(), {}, "座席表", {}, 0, 25},
    {"StudentsViewNoSeats", false, everyCell(), {}, "座席表", {}, 0, 25},
    {"TeachersViewRowWithoutSeatsLeavesNoGap", true, wholeRow(3), {}, "座席表",
     {{8, 235, 25}, {5, 235, 88}, {3, 235, 109}, {1, 235, 151}}, 42, 172},
    {"StudentsViewRowWithoutSeatsLeavesNoGap", false, wholeRow(3), {}, "座席表",
     {{1, 20, 40}, {3, 20, 82}, {5, 20, 103}, {8, 20, 166}}, 42, 25},
    {"BlankPositionKeepsItsNeighboursInPlace", true, {{2, 0, "×"}, {0, 7, "×"}}, {}, "座席表",
     {{9, 192, 172}, {25, 106, 172}, {16, 192, 25}}, 46, 193},
    {"EmptyTitleKeepsEverythingElseInPlace", true, {}, {}, "", {{8, 235, 25}, {1, 235, 172}}, 48, 193},
    {"SeatWithoutStudentIsAnEmptyBox", false, {}, {1, 48}, "座席表",
     {{0, 20, 40}, {0, 235, 187}, {9, 63, 40}}, 48, 25},
    // Integer text in any of its forms names a seat; a number no seat has
    // gives an empty box and reads nothing outside the table.
    {"SeatNumbersOutsideTheTableAreEmptyBoxes", true,
     {{0, 0, "0"}, {1, 0, "49"}, {2, 0, "-1"}, {3, 0, "$7FFFFFFF"}, {4, 0, "$A"}, {5, 0, " +12"}}, {}, "座席表",
     {{0, 235, 172}, {0, 192, 172}, {0, 149, 172}, {0, 106, 172}, {10, 63, 172}, {12, 20, 172}}, 48, 193},
};
// clang-format on

void PrintTo(const PageCase &c, std::ostream *os) {
    *os << c.what;
}

class PageCases : public PrintPage, public ::testing::WithParamInterface<PageCase> {};

TEST_P(PageCases, ComposesThePage) {
    const PageCase &c = GetParam();
    if (!c.teachersView)
        QTest::mouseClick(form().RadioButton2, Qt::LeftButton);
    ASSERT_EQ(form().RadioButton1->isChecked(), c.teachersView);
    for (const auto &[col, row, text] : c.cells)
        form().StringGrid_Settei->setCell(col, row, SjisText::lit(text));
    for (int seat : c.vacantSeats)
        form().classRoster.setCell(roster::seatCol, seat, SjisText());
    form().Edit_Title->setText(QString::fromUtf8(c.title));

    const RecordingCanvas recording = compose();
    const std::vector<PageOp> &ops = recording.ops();

    // The title, then the one pen of every rectangle.
    ASSERT_GE(ops.size(), 3u);
    EXPECT_EQ(ops[0].kind, PageOp::Kind::Font);
    EXPECT_EQ(ops[0].fontName, gothic);
    EXPECT_EQ(ops[0].points, 20);
    EXPECT_EQ(ops[1].kind, PageOp::Kind::Text);
    EXPECT_EQ(ops[1].text, QString::fromUtf8(c.title));
    EXPECT_EQ(ops[1].x1, 25);
    EXPECT_EQ(ops[1].y1, 20);
    EXPECT_EQ(ops[2].kind, PageOp::Kind::Pen);
    EXPECT_EQ(ops[2].colour, QColor(Qt::black));
    EXPECT_EQ(ops[2].style, Qt::SolidLine);
    EXPECT_EQ(ops[2].widthDots, 10);
    EXPECT_EQ(ops[2].mode, PenMode::Copy);
    for (size_t i = 3; i < ops.size(); ++i)
        EXPECT_NE(ops[i].kind, PageOp::Kind::Pen) << "op " << i;

    const DrawnPage page = drawn(recording);
    for (const DrawnText &t : page.texts)
        EXPECT_EQ(t.font, gothic);
    EXPECT_EQ(page.rects.size(), static_cast<size_t>(c.boxCount) + 1);
    // Every seat box is 40 by 18 and stands at a print position.
    for (const PageOp &r : page.rects) {
        if (r.x1 == 125)
            continue;
        EXPECT_EQ(r.x2 - r.x1, 40);
        EXPECT_EQ(r.y2 - r.y1, 18);
        EXPECT_EQ(std::fmod(235 - r.x1, 43), 0) << r.x1;
    }

    for (const SeatBox &b : c.boxes) {
        SCOPED_TRACE(testing::Message() << "seat " << b.seat << " at " << b.x << ", " << b.y);
        EXPECT_TRUE(hasRect(page, b.x, b.y, b.x + 40, b.y + 18));
        const auto attendance = textAt(page, b.x + 3, b.y + 5);
        const auto name = textAt(page, b.x + 3, b.y + 11);
        const auto reading = textAt(page, b.x + 3, b.y + 16);
        ASSERT_TRUE(attendance && name && reading);
        EXPECT_EQ(attendance->text, attendanceOf(b.seat));
        EXPECT_EQ(attendance->points, 13);
        EXPECT_EQ(name->text, nameOf(b.seat));
        EXPECT_EQ(name->points, 13);
        EXPECT_EQ(reading->text, readingOf(b.seat));
        EXPECT_EQ(reading->points, 9);
    }

    // The desk comes last.
    ASSERT_GE(ops.size(), 3u);
    const PageOp &deskFont = ops[ops.size() - 3];
    const PageOp &desk = ops[ops.size() - 2];
    const PageOp &deskLabel = ops.back();
    EXPECT_EQ(deskFont.kind, PageOp::Kind::Font);
    EXPECT_EQ(deskFont.points, 16);
    EXPECT_EQ(desk.kind, PageOp::Kind::Rectangle);
    EXPECT_EQ(desk.x1, 125);
    EXPECT_EQ(desk.y1, c.deskTop);
    EXPECT_EQ(desk.x2, 170);
    EXPECT_EQ(desk.y2, c.deskTop + 12);
    EXPECT_EQ(deskLabel.kind, PageOp::Kind::Text);
    EXPECT_EQ(deskLabel.text, QStringLiteral("教卓"));
    EXPECT_EQ(deskLabel.x1, 142);
    EXPECT_EQ(deskLabel.y1, c.deskTop + 8);
}

INSTANTIATE_TEST_SUITE_P(Print, PageCases, ::testing::ValuesIn(pageCases), ByWhat());

TEST_F(PrintPage, TheViewIsReadWhenThePageIsComposed) {
    QTest::mouseClick(form().RadioButton2, Qt::LeftButton);
    EXPECT_EQ(drawn(compose()).rects.back().y1, 25);
    QTest::mouseClick(form().RadioButton1, Qt::LeftButton);
    EXPECT_EQ(drawn(compose()).rects.back().y1, 193);
}

TEST_F(PrintPage, CellThatIsNoIntegerEndsTheComposition) {
    for (const char *bad : {"", " ", "7 ", "abc", "７", "1.5", "99999999999"}) {
        SCOPED_TRACE(bad);
        form().StringGrid_Settei->setCell(3, 4, SjisText::lit(bad));
        RecordingCanvas page;
        try {
            form().RvSystem1Print(page);
            ADD_FAILURE() << "no error";
        } catch (const ConversionError &e) {
            EXPECT_EQ(e.message(),
                      QStringLiteral("'") + QString::fromUtf8(bad) + QStringLiteral("' は整数ではありません"));
        }
    }
}

// The print command as the teacher runs it: the print button, the options
// dialog, the status window, then the preview or a PDF file.
class PrintCommand : public PrintPage {
protected:
    void clickPrint() { QTest::mouseClick(form().BitBtn1, Qt::LeftButton); }
    // When the print command has ended, none of its windows stays on screen.
    void expectNoDialogShown() {
        for (const QDialog *d : form().findChildren<QDialog *>())
            EXPECT_FALSE(d->isVisible()) << d->windowTitle().toStdString();
    }
    QStringList filesInDir() const {
        return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }
    ShownWindows shown;
};

TEST_F(PrintCommand, OptionsDialogOffersTheDestinationsAndCancelPrintsNothing) {
    ModalDriver driver;
    driver.then([](QWidget *w) {
        auto *dialog = qobject_cast<QDialog *>(w);
        ASSERT_TRUE(dialog);
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("印刷のオプション"));
        ASSERT_TRUE(radio(dialog, "プリンタ") && radio(dialog, "プレビュー") && radio(dialog, "ファイル"));
        EXPECT_TRUE(radio(dialog, "プレビュー")->isChecked());
        // This machine's test has no printer: the printer cannot be chosen.
        EXPECT_FALSE(radio(dialog, "プリンタ")->isEnabled());
        auto *printers = dialog->findChild<QComboBox *>();
        ASSERT_TRUE(printers);
        EXPECT_FALSE(printers->isEnabled());
        EXPECT_EQ(printers->currentText(), QStringLiteral("（プリンタがありません）"));
        EXPECT_EQ(dialog->findChild<QSpinBox *>()->value(), 1);
        // The file name is asked only for the file destination.
        auto *fileName = dialog->findChild<QLineEdit *>();
        EXPECT_FALSE(fileName->isEnabled());
        EXPECT_FALSE(button(dialog, "参照...")->isEnabled());
        radio(dialog, "ファイル")->click();
        EXPECT_TRUE(fileName->isEnabled());
        EXPECT_TRUE(button(dialog, "参照...")->isEnabled());
        fileName->clear();
        EXPECT_FALSE(button(dialog, "OK")->isEnabled());
        button(dialog, "キャンセル")->click();
    });
    clickPrint();
    EXPECT_EQ(driver.pending(), 0);
    EXPECT_EQ(shown.titles(), QStringList{QStringLiteral("印刷のオプション")});
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(filesInDir(), QStringList());
}

TEST_F(PrintCommand, PreviewShowsThePageAtHalfSizeAndSavesItAsPdf) {
    const QString pdf = path(QStringLiteral("preview.pdf"));
    ModalDriver driver;
    driver.then([](QWidget *w) { button(w, "OK")->click(); });
    driver.then([this](QWidget *w) {
        EXPECT_EQ(w->windowTitle(), QStringLiteral("座席表のプレビュー"));
        auto *view = w->findChild<QPrintPreviewWidget *>();
        ASSERT_TRUE(view);
        EXPECT_EQ(view->zoomFactor(), 0.5);
        EXPECT_EQ(view->pageCount(), 1);
        EXPECT_EQ(view->orientation(), QPageLayout::Landscape);
        // Without a printer the page can only be saved.
        EXPECT_FALSE(button(w, "印刷")->isEnabled());
        QPushButton *save = button(w, "PDFとして保存...");
        auto *preview = qobject_cast<QDialog *>(w);
        // The save's file dialog is the next modal box; the preview closes after it.
        QTimer::singleShot(0, preview, [save, preview] {
            save->click();
            preview->reject();
        });
    });
    driver.chooseFile(pdf);
    clickPrint();
    EXPECT_EQ(driver.pending(), 0);
    EXPECT_EQ(shown.titles(), (QStringList{QStringLiteral("印刷のオプション"), QStringLiteral("レポートの状態"),
                                           QStringLiteral("座席表のプレビュー"), QStringLiteral("名前を付けて保存")}));
    EXPECT_EQ(shown.labelsOf(QStringLiteral("レポートの状態")), QStringList{QStringLiteral("作成中 1")});
    ASSERT_EQ(driver.fileDialogs().size(), 1);
    EXPECT_EQ(driver.fileDialogs()[0].second, QStringLiteral("座席表.pdf"));
    const PdfInfo info = pdfInfo(pdf);
    EXPECT_EQ(info.pages, 1);
    EXPECT_GT(info.widthMm, info.heightMm);
}

// Where a text must stand on the paper: its left end and its baseline, in
// millimetres from the top-left corner, and its size in points.
struct PlacedText {
    const char *text;
    double x, baseline;
    int points;
};

struct PdfCase {
    const char *what;
    bool teachersView;
    std::vector<PlacedText> texts;
};

// clang-format off
const PdfCase pdfCases[] = {
    {"TeachersView", true,
     {{"座席表", 25, 20, 20}, {"教卓", 142, 201, 16},
      // Seat 1 at the front right, seat 48 at the back left, seat 20 inside.
      {"A1", 238, 177, 13}, {"名1", 238, 183, 13}, {"よみ1", 238, 188, 9},
      {"A48", 23, 30, 13}, {"名48", 23, 36, 13}, {"よみ48", 23, 41, 9},
      {"A20", 152, 114, 13}, {"名20", 152, 120, 13}, {"よみ20", 152, 125, 9}}},
    {"StudentsView", false,
     {{"座席表", 25, 20, 20}, {"教卓", 142, 33, 16},
      {"A1", 23, 45, 13}, {"名1", 23, 51, 13}, {"よみ1", 23, 56, 9},
      {"A48", 238, 192, 13}, {"名48", 238, 198, 13}, {"よみ48", 238, 203, 9},
      {"A20", 109, 108, 13}, {"名20", 109, 114, 13}, {"よみ20", 109, 119, 9}}},
};
// clang-format on

void PrintTo(const PdfCase &c, std::ostream *os) {
    *os << c.what;
}

class PdfCases : public PrintCommand, public ::testing::WithParamInterface<PdfCase> {};

TEST_P(PdfCases, FileDestinationWritesThePageWhereTheChartPutsIt) {
    const PdfCase &c = GetParam();
    if (!c.teachersView)
        QTest::mouseClick(form().RadioButton2, Qt::LeftButton);
    const QString pdf = path(QStringLiteral("座席表.pdf"));
    ModalDriver driver;
    driver.then([&](QWidget *w) {
        printToFile(w, pdf);
    });
    clickPrint();
    EXPECT_EQ(driver.pending(), 0);
    EXPECT_EQ(shown.titles(), (QStringList{QStringLiteral("印刷のオプション"), QStringLiteral("レポートの状態")}));
    expectNoDialogShown();
    // Only the PDF itself: nothing half-written is left beside it.
    EXPECT_EQ(filesInDir(), QStringList{QStringLiteral("座席表.pdf")});

    // Without a printer the paper is A4, turned to landscape.
    const PdfInfo info = pdfInfo(pdf);
    EXPECT_EQ(info.pages, 1);
    EXPECT_NEAR(info.widthMm, 297, 0.5);
    EXPECT_NEAR(info.heightMm, 210, 0.5);
    // "MSゴシック" is drawn in the IPA Gothic face, embedded.
    EXPECT_TRUE(info.fonts.contains(QStringLiteral("IPAGothic"))) << info.fonts.toStdString();

    // Poppler gives each word's box from the face's ascent to its descent,
    // as the embedded font's descriptor gives them.
    ASSERT_GT(info.ascent, 0);
    ASSERT_LT(info.descent, 0);
    const double ascentShare = info.ascent / (info.ascent - info.descent);
    const double heightPerPoint = (info.ascent - info.descent) / 1000 * 25.4 / 72;

    if (!pdfTextReadable())
        GTEST_SKIP() << "no tool reads a PDF's words here";
    const QList<PdfWord> words = pdfWords(pdf);
    for (const PlacedText &t : c.texts) {
        SCOPED_TRACE(t.text);
        const auto found = std::find_if(words.begin(), words.end(),
                                        [&](const PdfWord &w) { return w.text == QString::fromUtf8(t.text); });
        ASSERT_NE(found, words.end());
        EXPECT_NEAR(found->left, t.x, 0.5);
        EXPECT_NEAR(found->top + (found->bottom - found->top) * ascentShare, t.baseline, 0.5);
        EXPECT_NEAR(found->bottom - found->top, t.points * heightPerPoint, 0.5);
    }
}

INSTANTIATE_TEST_SUITE_P(Print, PdfCases, ::testing::ValuesIn(pdfCases), ByWhat());

struct UnwritableCase {
    const char *what;
    const char *file; // in the test's folder
    std::function<void(const QString &folder)> prepare;
    const char *message;
};

// clang-format off
const UnwritableCase unwritableCases[] = {
    {"FileNobodyMayWrite", "old.pdf",
     [](const QString &folder) {
         writeFile(folder + QStringLiteral("/old.pdf"), "old content");
         // The read-only attribute on Windows.
         QFile::setPermissions(folder + QStringLiteral("/old.pdf"),
                               QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
     },
     "ファイルへのアクセスが拒否されました."},
    {"MissingFolder", "none/chart.pdf", [](const QString &) {}, "ファイル名の指定が間違っています."},
    {"FolderInTheFilesPlace", "chart.pdf",
     [](const QString &folder) { QDir(folder).mkdir(QStringLiteral("chart.pdf")); },
#ifdef _WIN32
     // Windows answers a folder in the file's place as a denied access.
     "ファイルへのアクセスが拒否されました."},
#else
     "I/O エラー (21)"},
#endif
};
// clang-format on

void PrintTo(const UnwritableCase &c, std::ostream *os) {
    *os << c.what;
}

class UnwritableFile : public PrintCommand, public ::testing::WithParamInterface<UnwritableCase> {};

TEST_P(UnwritableFile, GivesTheSystemsMessageAndLeavesNoFileBehind) {
    const UnwritableCase &c = GetParam();
    c.prepare(dir.path());
    const QStringList before = filesInDir();
    const QByteArray oldContent = readFile(path(QString::fromUtf8(c.file)));
    ModalDriver driver;
    driver.then([&](QWidget *w) {
        printToFile(w, path(QString::fromUtf8(c.file)));
    });
    driver.press(QStringLiteral("OK"));
    clickPrint();
    EXPECT_EQ(driver.pending(), 0);
    ASSERT_EQ(driver.seen().size(), 1);
    EXPECT_EQ(driver.seen()[0].caption, QStringLiteral("Kirabo"));
    EXPECT_EQ(driver.seen()[0].icon, QMessageBox::Critical);
    EXPECT_EQ(driver.seen()[0].text, QString::fromUtf8(c.message));
    EXPECT_EQ(filesInDir(), before);
    EXPECT_EQ(readFile(path(QString::fromUtf8(c.file))), oldContent);
}

INSTANTIATE_TEST_SUITE_P(Print, UnwritableFile, ::testing::ValuesIn(unwritableCases), ByWhat());

// The layout a named settings file with a missing key leaves: an empty cell.
TEST_F(PrintCommand, CellThatIsNoIntegerShowsTheErrorAndNothingIsPreviewedOrWritten) {
    form().StringGrid_Settei->setCell(2, 5, SjisText());
    const QString pdf = path(QStringLiteral("chart.pdf"));
    for (const char *destination : {"プレビュー", "ファイル"}) {
        SCOPED_TRACE(destination);
        ShownWindows windows;
        ModalDriver driver;
        driver.then([&](QWidget *w) {
            radio(w, destination)->click();
            w->findChild<QLineEdit *>()->setText(pdf);
            button(w, "OK")->click();
        });
        driver.press(QStringLiteral("OK"));
        clickPrint();
        EXPECT_EQ(driver.pending(), 0);
        ASSERT_EQ(driver.seen().size(), 1);
        EXPECT_EQ(driver.seen()[0].caption, QStringLiteral("Kirabo"));
        EXPECT_EQ(driver.seen()[0].text, QStringLiteral("'' は整数ではありません."));
        EXPECT_EQ(windows.titles(), (QStringList{QStringLiteral("印刷のオプション"), QStringLiteral("レポートの状態"),
                                                 QStringLiteral("Kirabo")}));
        // Each print shows the status window again, and the error took it away.
        EXPECT_EQ(windows.labelsOf(QStringLiteral("レポートの状態")), QStringList{QStringLiteral("作成中 1")});
        expectNoDialogShown();
        EXPECT_FALSE(QFile::exists(pdf));
    }
}

#ifndef _WIN32
// A real print queue on a print server of the test's own.
class PrintQueue : public PrintCommand {
protected:
    void SetUp() override {
        PrintCommand::SetUp();
        if (!cups.start()) {
            // As root, as on the CI machine, the daemon always can start.
            if (::geteuid() == 0)
                FAIL() << cups.error().toStdString();
            GTEST_SKIP() << "a private cupsd cannot start here: " << cups.error().toStdString();
        }
        ASSERT_TRUE(cups.addQueue(QStringLiteral("kirabo-test"))) << cups.error().toStdString();
    }
    void TearDown() override {
        cups.stop();
        PrintCommand::TearDown();
    }

    // The scheduler's records once the queue has finished this many jobs, or
    // what it holds after half a minute.
    // The scheduler rewrites its records as the job moves on, so the ones
    // returned are those read when the job was seen finished.
    QList<PrivateCups::JobRecord> finishedJobs(qsizetype count) {
        QList<PrivateCups::JobRecord> jobs;
        [[maybe_unused]] const bool finished = QTest::qWaitFor(
            [&] {
                jobs = cups.jobRecords();
                return jobs.size() >= count && jobs.back().state == 9 && cups.jobFiles().size() >= count;
            },
            30000);
        return jobs;
    }

    // The page a job holds: one landscape page with the chart on it.
    void expectChart(const QString &job) {
        const PdfInfo info = pdfInfo(job);
        EXPECT_EQ(info.pages, 1);
        EXPECT_GT(info.widthMm, info.heightMm);
        QStringList texts;
        for (const PdfWord &w : pdfWords(job))
            texts << w.text;
        for (const char *text : {"座席表", "教卓", "A1", "名1", "よみ1", "A48"})
            EXPECT_TRUE(texts.contains(QString::fromUtf8(text))) << text;
    }

    PrivateCups cups;
};

TEST_F(PrintQueue, PrinterGetsOneJobNamedKiraboWithTheCopiesChosen) {
    ModalDriver driver;
    driver.then([](QWidget *w) {
        auto *printers = w->findChild<QComboBox *>();
        ASSERT_TRUE(printers);
        EXPECT_TRUE(printers->isEnabled());
        EXPECT_EQ(printers->count(), 1);
        EXPECT_EQ(printers->currentText(), QStringLiteral("kirabo-test"));
        radio(w, "プリンタ")->click();
        auto *copies = w->findChild<QSpinBox *>();
        copies->selectAll();
        QTest::keyClicks(copies, QStringLiteral("2"));
        button(w, "OK")->click();
    });
    clickPrint();
    EXPECT_EQ(driver.pending(), 0);
    EXPECT_EQ(shown.titles(), (QStringList{QStringLiteral("印刷のオプション"), QStringLiteral("レポートの状態")}));

    const auto jobs = finishedJobs(1);
    ASSERT_EQ(jobs.size(), 1);
    EXPECT_EQ(jobs[0].name, QStringLiteral("Kirabo"));
    EXPECT_EQ(jobs[0].copies, 2);
    EXPECT_EQ(jobs[0].state, 9);
    // The queue passes the document on as it came, the copies left to the
    // printer.
    ASSERT_EQ(cups.jobFiles(), QStringList{QStringLiteral("job-%1").arg(jobs[0].id)});
    expectChart(cups.jobFile(cups.jobFiles()[0]));
}

TEST_F(PrintQueue, PreviewPrintsToThePrinterChosen) {
    ModalDriver driver;
    driver.then([](QWidget *w) {
        EXPECT_TRUE(radio(w, "プレビュー")->isChecked());
        button(w, "OK")->click();
    });
    driver.then([](QWidget *w) {
        QPushButton *print = button(w, "印刷");
        ASSERT_TRUE(print);
        EXPECT_TRUE(print->isEnabled());
        print->click();
        qobject_cast<QDialog *>(w)->reject();
    });
    clickPrint();
    EXPECT_EQ(driver.pending(), 0);

    const auto jobs = finishedJobs(1);
    ASSERT_EQ(jobs.size(), 1);
    EXPECT_EQ(jobs[0].name, QStringLiteral("Kirabo"));
    EXPECT_EQ(jobs[0].copies, 1);
    EXPECT_EQ(jobs[0].state, 9);
    ASSERT_EQ(cups.jobFiles().size(), 1);
    expectChart(cups.jobFile(cups.jobFiles()[0]));
}

#endif

// The replay onto a painter: millimetres become the device's dots, and the
// pen is 10 of the device's dots wide whatever its resolution.
TEST_F(PrintPage, ReplayDrawsInTheDevicesDots) {
    for (const int dotsPerMm : {10, 20}) {
        SCOPED_TRACE(dotsPerMm);
        QImage paper(297 * dotsPerMm, 210 * dotsPerMm, QImage::Format_RGB32);
        paper.setDotsPerMeterX(dotsPerMm * 1000);
        paper.setDotsPerMeterY(dotsPerMm * 1000);
        paper.fill(Qt::white);
        {
            QPainter painter(&paper);
            PainterCanvas canvas(painter);
            compose().replay(canvas);
        }
        auto dark = [&](int x, int y) { return qGray(paper.pixel(x, y)) < 128; };
        // Across the left edge of the desk box (125, 193)-(170, 205), half
        // way down: the line is centred on X 125 and 10 dots wide.
        const int edge = 125 * dotsPerMm;
        const int middle = 199 * dotsPerMm;
        EXPECT_FALSE(dark(edge - 6, middle));
        for (int x = edge - 5; x < edge + 5; ++x)
            EXPECT_TRUE(dark(x, middle)) << x;
        EXPECT_FALSE(dark(edge + 5, middle));
        // Down across the top edge of seat 1's box (235, 172)-(275, 190).
        const int top = 172 * dotsPerMm;
        const int across = 270 * dotsPerMm;
        EXPECT_FALSE(dark(across, top - 6));
        EXPECT_TRUE(dark(across, top - 5));
        EXPECT_TRUE(dark(across, top + 4));
        EXPECT_FALSE(dark(across, top + 5));
    }
}
