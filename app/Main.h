#pragma once

#include "draw/Record.h"
#include "platform/FileDialog.h"
#include "platform/SjisText.h"
#include "seats/Classroom.h"

#include <QMainWindow>

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTimer;
class QToolButton;
class QWidget;
class PageCanvas;
class ReportSystem;
class StringGrid;
class TextList;
class ProjectorView;
class PresenterKeys;
struct GridDrawState;

// Per-seat copy of the roster data of the student holding a seat.
struct SeatEntry {
    SjisText seatText;   // 0: the seat column's text as the roster holds it
    SjisText attendance; // 1: attendance number
    SjisText name;       // 2: name
    SjisText reading;    // 3: reading of the name
};

// The one window. It owns every component for the whole run; the grids are
// the stores of the roster, the layout and the chart, and five state fields
// carry the rest. Each subsystem's folder defines its methods.
class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm1(QWidget *parent = nullptr);
    ~TForm1() override;

    // ---- Form state fields ----
    std::int32_t SpinIndex = 0; // pool index of the number the latest spin tick showed
    std::int32_t TurnRow = 0;   // roster row of the student whose turn it is
    std::array<SeatEntry, layout::maxSeats + 1> SeatTable{}; // indexed by seat number 1 to 48; entry 0 unused
    bool Modified = false;  // the roster grid holds changes not yet saved
    bool SpinShown = false; // a tick has shown a number since the last accepted stop

    // The bytes the settings file held for the title and the two folders.
    // While the text shown is unchanged they go back to the file as they
    // came, also where Shift-JIS decoding cannot show them exactly (bytes
    // that are no character, codes that share a character).
    struct SettingsBytes {
        SjisText title;
        SjisText folder;
        SjisText folder2;
    } settingsRead;

    // ---- Window ----
    QTabWidget *PageControl1 = nullptr;
    QWidget *TabSheet2 = nullptr; // roster page, tab 0
    QWidget *TabSheet1 = nullptr; // draw page, tab 1
    QWidget *TabSheet3 = nullptr; // print and seat settings page, tab 2

    // ---- Roster page ----
    QWidget *ToolBar1 = nullptr;        // the tool bar
    QToolButton *ToolButton1 = nullptr; // open file
    QToolButton *ToolButton3 = nullptr; // save under a file name
    QToolButton *ToolButton2 = nullptr; // save over the file
    QWidget *ToolButton5 = nullptr;     // separator
    QToolButton *ToolButton6 = nullptr; // sort into draw order
    QToolButton *ToolButton4 = nullptr; // seat numbers to draw order
    StringGrid *StringGrid2 = nullptr;  // the roster grid
    std::array<QPixmap, 5> ImageList1;  // the tool icons

    // ---- Draw page ----
    QFrame *Panel1 = nullptr;
    QLabel *Label_N = nullptr; // status line
    QLabel *Image1 = nullptr;  // frame picture
    QLabel *Label1 = nullptr;  // big number display
    QPushButton *Button1 = nullptr; // Start/Stop
    QPushButton *Button6 = nullptr; // re-prepare
    QFrame *Panel5 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Panel3 = nullptr;          // "教卓" above the chart
    StringGrid *StringGrid1 = nullptr; // the seat chart grid
    QLabel *Image2 = nullptr;          // banner
    QLabel *Label5 = nullptr;          // version
    TextList *Memo1 = nullptr;         // hidden: the free-seat pool

    // ---- Print and seat settings page ----
    QLabel *Label3 = nullptr;
    QLineEdit *Edit_Title = nullptr; // print title
    QPushButton *BitBtn1 = nullptr;  // print
    QRadioButton *RadioButton1 = nullptr; // teacher's view
    QRadioButton *RadioButton2 = nullptr; // students' view
    QLabel *Label4 = nullptr;
    QFrame *Panel4 = nullptr;
    QLabel *Panel2 = nullptr;                // "教卓" above the layout
    StringGrid *StringGrid_Settei = nullptr; // the seat layout grid
    QComboBox *ComboBox1 = nullptr;          // hidden, unused
    QPushButton *Button4 = nullptr; // open settings file
    QPushButton *Button3 = nullptr; // save settings under a name
    QPushButton *Button5 = nullptr; // save settings over the file
    QCheckBox *CB_tonari = nullptr; // neighbour-rule switch
    QPushButton *BitBtn2 = nullptr; // close

    // ---- Components without a place on a page ----
    QTimer *Timer1 = nullptr; // spin timer, 100 ms
    FileDialog OpenDialog1{FileDialog::Mode::Open}; // roster
    FileDialog SaveDialog1{FileDialog::Mode::Save};
    FileDialog OpenDialog2{FileDialog::Mode::Open}; // settings
    FileDialog SaveDialog2{FileDialog::Mode::Save};

    // ---- Main window (app/) ----
    void FormCreate();
    void FormCloseQuery(bool &canClose);
    void PageControl1Change();
    // The warning that typed text was refused: Shift-JIS cannot hold this
    // character, and the cell or the title kept its text.
    void warnNotShiftJis(const QString &character);
    // The start-up settings file: beside the executable, or in the user's
    // configuration folder where that folder is not writable.
    QString startupSettingsPath() const { return settingsPath; }

    // ---- Seat layout (seats/) ----
    void ZasekiNoNyuryoku();
    void StringGrid_SetteiMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    int SeatAmount() const;
    void SeatToCell(int seat, int &col, int &row) const;

    // ---- Seat chart (seats/) ----
    void ZasekiYomikomi();
    void StringGrid1DrawCell(QPainter *canvas, int col, int row, const QRect &rect, const GridDrawState &state);
    void PaintCell(int col, int row, bool highlight);

    // ---- Roster file (roster/) ----
    void ToolButton1Click();
    void ToolButton3Click();
    void ToolButton2Click();
    void SaveMeibo();
    void StringGrid2SetEditText(int col, int row, const SjisText &text);
    void RosterQuestion(bool &canClose);
    // A roster file written as UTF-8: asks whether to take it in as
    // Shift-JIS and converts content when so. Answers false when the open is
    // refused; converted tells that content was converted.
    bool takeUtf8Roster(QByteArray &content, bool &converted);

    // ---- Roster checks and ordering (roster/) ----
    bool ErrorCheck();
    void GridSort(StringGrid *grid, int col);
    void ToolButton6Click();
    void ToolButton4Click();

    // ---- Draw preparation (draw/Prepare.cpp) ----
    void Jyunbi();
    bool NoCheck(std::int32_t seat) const;
    void Button6Click();

    // ---- Spinning draw (draw/Spin.cpp) ----
    void Button1Click();
    void kujistart();
    void Timer1Timer();
    void kujistop();
    // Runs one tick handler through the guard. An error stops the spin before
    // its box shows, so that the next ticks cannot open box after box.
    void guardedTick(const std::function<void()> &tick);

    // ---- Neighbour rule (draw/Neighbour.cpp) ----
    std::int32_t Otonari(std::int32_t seat) const;
    bool Otonaricheck(std::int32_t row, std::int32_t drawn) const;

    // ---- In front of the class (draw/Projector.cpp, draw/PresenterKeys.cpp, draw/RecordView.cpp) ----
    QPushButton *Button_Projector = nullptr; // opens the projector view (F11)
    QPushButton *Button_Record = nullptr;    // shows the record of the draw
    ProjectorView *Projector = nullptr;      // the full-screen view while it is open
    std::vector<drawrecord::Event> DrawRecord; // every event of the draw in this run
    FileDialog SaveDialogRecord{FileDialog::Mode::Save};
    void createPresenterControls();
    void ButtonProjectorClick();
    void showProjector();
    void closeProjector();
    void ButtonRecordClick();
    void saveDrawRecord();
    void record(drawrecord::Kind kind, const SjisText &seat = {}, const SjisText &note = {});

    // ---- Settings (settings/) ----
    void LoadSetting(const QString &path);
    void SaveSetting(const QString &path);
    void LoadSettingFile();
    void SaveSettingFile();
    void Button3Click();
    void Button4Click();
    void Button5Click();

    // ---- Printing (print/) ----
    ReportSystem *RvSystem1 = nullptr; // the printing service: options, status, preview, printer, PDF
    void BitBtn1Click();
    void RvSystem1Print(PageCanvas &sender); // composes the one page of the seat chart
    static int printCC(bool teachersView, int i); // the layout column shown at print position i

protected:
    void closeEvent(QCloseEvent *e) override;

private:
    void createRosterPage();
    void createDrawPage();
    void createSettingsPage();
    void wireEvents();
    // Runs one handler; an error it raises is shown in the error box.
    // Answers false when the handler ended with an error.
    // beforeBox runs first when there is an error to show.
    bool guarded(const std::function<void()> &handler, const std::function<void()> &beforeBox = {});

    // The draw's own steps.
    void showDrawFailure(const char *message);
    void showTurn();
    void advanceTurn();
    bool isStudentWithoutSeat(std::int32_t row) const;
    bool shownSeatIsInPool() const;

    QString settingsPath;
    // Button6 prepares again; every other preparation is recorded as one.
    drawrecord::Kind preparationKind = drawrecord::Kind::Preparation;
    PresenterKeys *presenterKeys = nullptr;
};
