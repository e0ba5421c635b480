#pragma once

#include "conditions/SeatConditions.h"
#include "draw/Draw.h"
#include "draw/Record.h"
#include "widgets/FileDialog.h"
#include "platform/SjisText.h"
#include "history/ClassHistory.h"
#include "journal/DrawJournal.h"
#include "roster/Roster.h"
#include "roster/RosterUndo.h"
#include "seats/SeatLayout.h"
#include "roster/SeatTable.h"
#include "settings/RecentRosters.h"
#include "settings/SettingsFile.h"

#include <QMainWindow>

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class QTimer;
class QToolButton;
class QWidget;
class PageCanvas;
class ReportSystem;
class StringGrid;
class TextList;
class ProjectorView;
class GuideWindow;
class OpenClassLabel;
class PresenterKeys;
class RecentRostersMenu;
class SeatCountView;
struct GridDrawState;

// The one window. It owns every component for the whole run, and the plain
// classes that hold the class's data and rules: the roster, the seat layout,
// who sits where and the draw. Its handlers are where the widgets meet them.
class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm1(QWidget *parent = nullptr);
    ~TForm1() override;

    // ---- What the window shows and changes ----
    Roster classRoster;   // the roster grid shows and edits its cells
    RosterUndo rosterUndo{classRoster}; // the teacher's steps in the roster, to undo and redo
    SeatLayout seatLayout; // the layout grid shows its cells
    SeatTable seatTable;  // who sits where, as the chart and the printout show it
    Draw draw;            // the pool, the turn and the spin
    bool Modified = false; // the roster holds changes not yet saved
    // The bytes the settings file held for the title and the two folders.
    settings::StoredBytes settingsRead;
    // The class's files beside the roster: its conditions and its history;
    // nothing where a file is missing, or unusable (then never written over).
    std::optional<SeatConditions> classConditions;
    std::optional<ClassHistory> classHistory;
    bool conditionsUnusable = false;
    bool historyUnusable = false;
    // The history with the round of a finished draw, until the roster is
    // saved with it; the draw and the history view work on the saved one.
    std::optional<ClassHistory> unsavedHistory;

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
    QLabel *Label_Seed = nullptr;      // the fingerprint of the generator's seed
    QLabel *Label_NoRoster = nullptr;  // why Start waits, until a roster comes
    TextList *Memo1 = nullptr;         // hidden: shows the free-seat pool

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
    QLabel *Label_Rounds = nullptr;
    QSpinBox *SpinBox_Rounds = nullptr;   // how many past seat changes the neighbour rule looks at
    QPushButton *Button_Conditions = nullptr; // "座席の条件..."
    QPushButton *Button_History = nullptr;    // "席替えの履歴..."
    SeatCountView *Panel_SeatCount = nullptr; // seats and students, beside the layout

    // ---- Components without a place on a page ----
    QTimer *Timer1 = nullptr; // spin timer, 100 ms
    FileDialog OpenDialog1{FileDialog::Mode::Open}; // roster
    FileDialog SaveDialog1{FileDialog::Mode::Save};
    FileDialog OpenDialog2{FileDialog::Mode::Open}; // settings
    FileDialog SaveDialog2{FileDialog::Mode::Save};

    // ---- Main window ----
    void FormCreate();
    void FormCloseQuery(bool &canClose);
    void PageControl1Change();
    // The warning that typed text was refused: Shift-JIS cannot hold this
    // character, and the cell or the title kept its text.
    void warnNotShiftJis(const QString &character);
    // The start-up settings file: beside the executable, or in the user's
    // configuration folder where that folder is not writable.
    QString startupSettingsPath() const { return settingsPath; }

    // ---- Seat layout ----
    void ZasekiNoNyuryoku();
    void StringGrid_SetteiMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    int SeatAmount() const;
    void SeatToCell(int seat, int &col, int &row) const;

    // ---- Seat chart ----
    void ZasekiYomikomi();
    void StringGrid1DrawCell(QPainter *canvas, int col, int row, const QRect &rect, const GridDrawState &state);
    void PaintCell(int col, int row, bool highlight);

    // ---- Roster file ----
    void ToolButton1Click();
    // Reads the roster file OpenDialog1 names into the roster, with the
    // class's files beside it; openedBefore is the name to go back to where
    // the file is not taken in.
    void readRosterFile(const QString &openedBefore);
    void ToolButton3Click();
    void ToolButton2Click();
    void SaveMeibo();
    void StringGrid2SetEditText(int col, int row, const SjisText &text);
    void RosterQuestion(bool &canClose);
    // A roster file written as UTF-8: asks whether to take it in as
    // Shift-JIS and converts content when so. Answers false when the open is
    // refused; converted tells that content was converted.
    bool takeUtf8Roster(QByteArray &content, bool &converted);

    // ---- Roster checks and ordering ----
    bool ErrorCheck();
    void ToolButton6Click();
    void ToolButton4Click();

    // ---- Draw preparation ----
    void Jyunbi();
    void Button6Click();

    // ---- Spinning draw ----
    void Button1Click();
    void kujistart();
    void Timer1Timer();
    void kujistop();
    // Runs one tick handler through the guard. An error stops the spin before
    // its box shows, so that the next ticks cannot open box after box.
    void guardedTick(const std::function<void()> &tick);

    // ---- Neighbour rule ----
    std::int32_t Otonari(std::int32_t seat) const;
    bool Otonaricheck(std::int32_t row, std::int32_t drawn) const;

    // ---- In front of the class: the projector view, presenter keys, the record ----
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
    void record(drawrecord::Kind kind, SeatNumber seat = {}, const SjisText &note = {});

    // ---- The journal of the draw ----
    // Every event of the draw reaches it, on the disk before the class is
    // told; it goes when the draw ends cleanly (the roster saved after it,
    // another roster opened, the window closed).
    DrawJournal drawJournal;
    // Asks about a draw an earlier run left unsaved, and resumes it where the
    // teacher says so. Answers true when a roster was opened for it.
    bool resumeUnfinishedDraw();
    // Begins the journal afresh from the roster and the record as they stand.
    void beginJournal();
    void endJournal();
    // ---- The class made in the program: a new roster, rows, a paste ----
    QWidget *Panel_RosterCommands = nullptr;  // beside the roster grid
    QPushButton *Button_NewRoster = nullptr;  // "新しい名簿"
    QPushButton *Button_AddRow = nullptr;     // "行の追加"
    QPushButton *Button_DeleteRows = nullptr; // "行の削除"
    QPushButton *Button_Paste = nullptr;      // "貼り付け"
    // The same commands in the grid's context menu and on its keys.
    QAction *Action_NewRoster = nullptr;
    QAction *Action_AddRow = nullptr;
    QAction *Action_DeleteRows = nullptr;
    QAction *Action_Paste = nullptr;
    // The roster was made in the program and has no file yet; it draws all
    // the same, and saving it gives it one.
    bool rosterMade = false;
    QWidget *createRosterCommands();
    void NewRosterClick();
    void AddRowClick();
    void DeleteRowsClick();
    void PasteClick();
    // Paste in a cell's editor: one cell into the editor, cells into the grid.
    void StringGrid2PasteRequested();
    // Undo and redo in the roster: Ctrl+Z, Ctrl+Y and the grid's context menu.
    QAction *Action_Undo = nullptr;
    QAction *Action_Redo = nullptr;
    void UndoClick();
    void RedoClick();
    // Runs a command on the roster as one step of its undo history; an edit
    // under way is ended first, as a step of its own.
    void rosterStep(const std::function<void()> &command);

    // ---- Settings ----
    void LoadSetting(const QString &path);
    void SaveSetting(const QString &path);
    void LoadSettingFile();
    // Opens a named settings file as the open command does: from its dialog,
    // or given on the command line (a .krb file opened from the desktop).
    void openSettingsFile(const QString &file);
    // A file given on the command line: a settings file (.krb) or a roster,
    // opened as their open commands open them, with the same messages.
    void openFromCommandLine(const QStringList &arguments);
    void SaveSettingFile();
    void Button3Click();
    void Button4Click();
    void Button5Click();

    // ---- Conditions and the class history ----
    void ButtonConditionsClick();
    void ButtonHistoryClick();
    // Reads the class's conditions and history beside the roster file,
    // saying what is wrong with a file that cannot be used.
    void loadClassFiles(const QString &rosterPath);
    void saveClassHistory();

    // ---- Printing ----
    ReportSystem *RvSystem1 = nullptr; // the printing service: options, status, preview, printer, PDF
    void BitBtn1Click();
    void RvSystem1Print(PageCanvas &sender); // composes the one page of the seat chart

    // ---- The guide (F1, "使い方") and the sample class ----
    QToolButton *Button_Guide = nullptr; // "使い方", in the corner of the tab row
    GuideWindow *Guide = nullptr;        // the guide's window, once opened
    void createGuideControls();
    // Opens the guide at the section of the page shown (F1), or at its top.
    void showGuide(bool atPageSection);
    // Copies the sample class into the sample folder and opens it, with a
    // layout of its size where the layout in use has another.
    void openSampleClass();
    // Where the sample class is copied: a folder of the user's documents.
    static QString sampleFolder();

    // ---- Which class is open, and the rosters opened last ----
    RecentRosters recentRosters;
    OpenClassLabel *Label_Class = nullptr;    // in the corner of the tab row, beside "使い方"
    RecentRostersMenu *Menu_Recent = nullptr; // ToolButton1's menu
    void createOpenClassControls();
    // The class's name as the record and the PDF give it.
    QString className() const;
    // Opens a roster of the list as the open command opens one, asking
    // first about unsaved changes.
    void openRecentRoster(const QString &path);

protected:
    void closeEvent(QCloseEvent *e) override;

private:
    void createRosterPage();
    void createDrawPage();
    void createSettingsPage();
    void wireEvents();
    // Keeps an open projector view in step with the draw and the chart.
    void wireProjector(ProjectorView *view);
    // Runs one handler; an error it raises is shown in the error box. Then
    // the corner shows the class as the handler left it.
    // Answers false when the handler ended with an error.
    // beforeBox runs first when there is an error to show.
    bool guarded(const std::function<void()> &handler, const std::function<void()> &beforeBox = {});

    // The draw's own steps.
    void showDrawFailure(const char *message);
    void showDrawFailure(const QString &message);
    // The draw page (and the projector view) show the draw as it now stands.
    void showDrawState();
    // The hidden list shows the pool.
    void showPool();
    // Sets the draw to keep the conditions in force. Answers false, with the
    // conflict in the status line, where no seating keeps them.
    bool applyConditions(QString &inForce);

    // A roster was opened or made: the draw has students to seat.
    bool hasRoster() const { return !OpenDialog1.fileName.isEmpty() || rosterMade; }
    // After the layout changed under the roster's seats: the draw and its
    // journal follow it.
    void layoutChanged();

    QString settingsPath;
    // The corner shows the class as it now stands.
    void showOpenClass();
    bool resumeLeftDraw();
    // The journal could not be written: said once in the status line.
    void journalFailed();
    bool journalFailureSaid = false;
    // Button6 prepares again; every other preparation is recorded as one.
    drawrecord::Kind preparationKind = drawrecord::Kind::Preparation;
    PresenterKeys *presenterKeys = nullptr;
};
