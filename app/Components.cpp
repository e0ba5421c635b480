#include "app/Main.h"

#include "projector/PresenterKeys.h"
#include "widgets/PageKeys.h"
#include "widgets/SjisEdit.h"
#include "widgets/StringGrid.h"
#include "widgets/TextList.h"
#include "printing/ReportSystem.h"
#include "roster/Columns.h"
#include "seats/Classroom.h"
#include "controls/SeatCountView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStyle>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <functional>

namespace {

QFont uiFont(const char *face, int pixels) {
    QFont f(QString::fromUtf8(face));
    f.setPixelSize(pixels);
    f.setStyleHint(QFont::SansSerif);
    return f;
}

QFrame *loweredPanel(QWidget *parent, QRect geometry) {
    auto *p = new QFrame(parent);
    p->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    p->setLineWidth(1);
    p->setGeometry(geometry);
    return p;
}

// The white "教卓" plate above the layout and the chart.
QLabel *deskPlate(QWidget *parent) {
    auto *l = new QLabel(QStringLiteral("教卓"), parent);
    l->setGeometry(192, 8, 113, 25);
    l->setAlignment(Qt::AlignCenter);
    l->setFont(uiFont("ＭＳ Ｐゴシック", 12));
    l->setAutoFillBackground(true);
    QPalette pal = l->palette();
    pal.setColor(QPalette::Window, Qt::white);
    l->setPalette(pal);
    return l;
}

QLabel *label(QWidget *parent, const char *text, int x, int y) {
    auto *l = new QLabel(QString::fromUtf8(text), parent);
    l->move(x, y);
    l->adjustSize();
    return l;
}

// A label sized to its text later, by the caller.
QLabel *unsizedLabel(QWidget *parent, const char *text, int x, int y) {
    auto *l = new QLabel(QString::fromUtf8(text), parent);
    l->move(x, y);
    return l;
}

// Runs a piece of work once, when the widget is about to show for the first
// time.
void whenFirstShown(QWidget *widget, std::function<void()> work) {
    class FirstShow : public QObject {
    public:
        FirstShow(QWidget *widget, std::function<void()> work) : QObject(widget), work(std::move(work)) {
            widget->installEventFilter(this);
        }
        bool eventFilter(QObject *watched, QEvent *event) override {
            if (event->type() == QEvent::Show && watched == parent()) {
                watched->removeEventFilter(this);
                work();
                deleteLater();
            }
            return false;
        }

    private:
        std::function<void()> work;
    };
    new FirstShow(widget, std::move(work));
}

QPushButton *button(QWidget *parent, const char *text, QRect geometry) {
    auto *b = new QPushButton(QString::fromUtf8(text), parent);
    b->setGeometry(geometry);
    return b;
}

// A seat grid: 6 columns of 78 by 8 rows of 24, no fixed rows, all cells shown.
StringGrid *seatGrid(QWidget *parent, QRect geometry) {
    auto *g = new StringGrid(layout::columns, layout::rows, parent);
    g->setGeometry(geometry);
    for (int c = 0; c < layout::columns; ++c)
        g->setColWidth(c, 78);
    g->setDefaultRowHeight(24);
    g->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    g->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return g;
}

// Reads a picture of the program's own by the format its name gives. Left to
// guess, the image reader would load every image format plug-in there is to
// ask each of them first.
QPixmap readPicture(const QString &path) {
    QImageReader reader(path, QFileInfo(path).suffix().toLatin1());
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

// A picture of the window, drawn again at twice the size for screens at
// 200 % as name@2x; the image reader takes the "@2x" as a pixel ratio of 2.
QPixmap picture(const QString &name) {
    if (qGuiApp->devicePixelRatio() > 1.0) {
        const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
        const QPixmap sharp =
            readPicture(QStringLiteral(":/images/") + name.left(dot) + QStringLiteral("@2x") + name.mid(dot));
        if (!sharp.isNull())
            return sharp;
    }
    return readPicture(QStringLiteral(":/images/") + name);
}

// Gives label its picture when it is first shown. The draw page's two
// pictures are JPEG files: the window opens on the roster page, and reading
// them at once loaded the JPEG decoder (half a megabyte) before the window
// could show.
void pictureWhenShown(QLabel *label, const QString &name) {
    whenFirstShown(label, [label, name] { label->setPixmap(picture(name)); });
}

} // namespace

TForm1::TForm1(QWidget *parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Kirabo"));
    setFont(uiFont("MS UI Gothic", 12));

    PageControl1 = new QTabWidget(this);
    setCentralWidget(PageControl1);
    TabSheet2 = new QWidget;
    TabSheet1 = new QWidget;
    TabSheet3 = new QWidget;
    PageControl1->addTab(TabSheet2, QStringLiteral("名簿"));
    PageControl1->addTab(TabSheet1, QStringLiteral("くじ引き"));
    PageControl1->addTab(TabSheet3, QStringLiteral("印刷と座席設定"));
    addPageKeys(PageControl1);

    createRosterPage();
    createDrawPage();
    createSettingsPage();
    createPresenterControls();
    createGuideControls();
    createOpenClassControls();

    Timer1 = new QTimer(this);
    Timer1->setInterval(100);
    // The spin's pace is what the class sees: ten numbers a second, evenly.
    Timer1->setTimerType(Qt::PreciseTimer);
    RvSystem1 = new ReportSystem(this);

    OpenDialog1.filterName = SaveDialog1.filterName = QStringLiteral("CSVファイル");
    OpenDialog1.patterns = SaveDialog1.patterns = {QStringLiteral("*.CSV"), QStringLiteral("*.TXT")};
    SaveDialog1.defaultExt = QStringLiteral("CSV");
    OpenDialog2.filterName = SaveDialog2.filterName = QStringLiteral("Kirabo設定ファイル");
    OpenDialog2.patterns = SaveDialog2.patterns = {QStringLiteral("*.krb")};
    SaveDialog2.defaultExt = QStringLiteral("krb");

    resize(578, 566);
    wireEvents();
    guarded([this] { FormCreate(); });
}

TForm1::~TForm1() = default;

void TForm1::createRosterPage() {
    auto *layout = new QVBoxLayout(TabSheet2);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    // A row of flat buttons rather than a QToolBar: a QToolBar would hide the
    // last button behind an extension arrow at the window's own width.
    ToolBar1 = new QWidget(TabSheet2);
    auto *row = new QHBoxLayout(ToolBar1);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    layout->addWidget(ToolBar1);

    for (int i = 0; i < 5; ++i)
        ImageList1[static_cast<size_t>(i)] = picture(QStringLiteral("tool%1.png").arg(i));
    auto tool = [this](const char *caption, int icon, bool hint, int width) {
        auto *b = new QToolButton(ToolBar1);
        b->setText(QString::fromUtf8(caption));
        b->setIcon(QIcon(ImageList1[static_cast<size_t>(icon)]));
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        b->setIconSize(QSize(16, 16));
        b->setAutoRaise(true);
        if (hint)
            b->setToolTip(QString::fromUtf8(caption));
        if (width > 0) {
            b->setFixedSize(width, 35);
        } else {
            b->setFixedHeight(35);
            b->setMinimumWidth(40);
            b->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
        }
        ToolBar1->layout()->addWidget(b);
        return b;
    };
    ToolButton1 = tool("ファイルを開く", 0, true, 114);
    ToolButton3 = tool("ファイル名をつけて保存", 2, true, 114);
    ToolButton2 = tool("上書き保存", 1, true, 114);
    ToolButton5 = new QWidget(ToolBar1);
    ToolButton5->setFixedWidth(8);
    row->addWidget(ToolButton5);
    ToolButton6 = tool("くじ順に並び替え", 3, false, 114);
    ToolButton4 = tool("座席番号をくじ順へ", 4, false, 0);
    row->addStretch(1);

    StringGrid2 = new StringGrid(roster::columns, 2, TabSheet2);
    StringGrid2->setObjectName(QStringLiteral("StringGrid2"));
    StringGrid2->setFixedRows(1);
    StringGrid2->showTable(classRoster.cells());
    const int widths[roster::columns] = {76, 70, 98, 115, 64};
    for (int c = 0; c < roster::columns; ++c)
        StringGrid2->setColWidth(c, widths[c]);
    StringGrid2->setDefaultRowHeight(24);
    StringGrid2->setSelectionMode(QAbstractItemView::ContiguousSelection);
    StringGrid2->setEditable(true);
    // Beside the grid, right of its last column: the commands that make and
    // change the class.
    auto *body = new QHBoxLayout;
    body->addWidget(StringGrid2, 1);
    body->addWidget(createRosterCommands());
    layout->addLayout(body, 1);
}

void TForm1::createDrawPage() {
    QWidget *page = TabSheet1;

    Panel1 = loweredPanel(page, QRect(56, 8, 425, 57));
    Panel1->setAutoFillBackground(true);
    QPalette green = Panel1->palette();
    green.setColor(QPalette::Window, QColor(225, 252, 209));
    Panel1->setPalette(green);
    Label_N = new QLabel(Panel1);
    Label_N->setGeometry(8, 16, 409, 33);
    Label_N->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label_N->setFont(uiFont("ＭＳ Ｐゴシック", 27));

    Image1 = new QLabel(page);
    Image1->setGeometry(56, 72, 200, 120);
    pictureWhenShown(Image1, QStringLiteral("frame.jpg"));

    Label1 = new QLabel(QStringLiteral("1"), page);
    Label1->setGeometry(73, 88, 160, 87);
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setFont(uiFont("ＭＳ Ｐゴシック", 87));
    Label1->setAutoFillBackground(true);
    QPalette cream = Label1->palette();
    cream.setColor(QPalette::Window, QColor(255, 251, 240));
    Label1->setPalette(cream);

    Button1 = button(page, "スタート", QRect(288, 104, 137, 57));
    Button1->setFont(uiFont("ＭＳ Ｐゴシック", 27));
    Button1->setEnabled(false);

    Button6 = button(page, "再準備", QRect(424, 176, 67, 25));
    Button6->setFocusPolicy(Qt::ClickFocus);

    Panel5 = loweredPanel(page, QRect(8, 208, 497, 249));
    Label2 = label(Panel5, "席の位置（上が前）", 8, 16);
    Panel3 = deskPlate(Panel5);
    StringGrid1 = seatGrid(Panel5, QRect(8, 35, 481, 206));
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));

    Image2 = new QLabel(page);
    Image2->setGeometry(8, 464, 358, 71);
    pictureWhenShown(Image2, QStringLiteral("banner.jpg"));

    Label5 = new QLabel(QStringLiteral("Ｖｅｒ.　2.0"), page);
    Label5->setGeometry(264, 496, 73, 12);
    Label5->setAlignment(Qt::AlignCenter);
    Label5->setAutoFillBackground(true);
    QPalette white = Label5->palette();
    white.setColor(QPalette::Window, Qt::white);
    Label5->setPalette(white);

    // Shown before the first Start: the record, once saved, reveals the seed.
    Label_Seed = new QLabel(page);
    Label_Seed->setObjectName(QStringLiteral("SeedFingerprint"));
    Label_Seed->setGeometry(288, 168, 132, 14);
    Label_Seed->setAlignment(Qt::AlignCenter);

    // Beside the frame, above Start, while no roster is there to draw: the
    // status line stays empty until a roster comes.
    Label_NoRoster = new QLabel(QStringLiteral("名簿がないのでスタートできません。\n"
                                               "「名簿」のページで開くか作ってください。"),
                                page);
    Label_NoRoster->setObjectName(QStringLiteral("NoRosterHint"));
    Label_NoRoster->setGeometry(264, 68, 241, 32);
    Label_NoRoster->setAlignment(Qt::AlignCenter);

    Memo1 = new TextList(page);
    Memo1->setGeometry(513, 0, 57, 538);
    Memo1->setReadOnly(true);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setFocusPolicy(Qt::NoFocus);
    Memo1->setFont(uiFont("ＭＳ Ｐゴシック", 13));
    Memo1->hide();
}

void TForm1::createSettingsPage() {
    QWidget *page = TabSheet3;

    Label3 = unsizedLabel(page, "印刷タイトル", 16, 36);
    Edit_Title = new QLineEdit(page);
    Edit_Title->setGeometry(104, 32, 353, 20);
    keepShiftJis(Edit_Title, [this](const QString &character) { warnNotShiftJis(character); });

    BitBtn1 = button(page, "印刷", QRect(104, 58, 89, 33));
    BitBtn1->setIcon(QIcon(picture(QStringLiteral("printer.png"))));

    RadioButton1 = new QRadioButton(QStringLiteral("教員から見た座席表"), page);
    RadioButton1->setGeometry(208, 58, 129, 17);
    RadioButton1->setChecked(true);
    RadioButton2 = new QRadioButton(QStringLiteral("生徒から見た座席表"), page);
    RadioButton2->setGeometry(208, 81, 129, 17);

    Label4 = unsizedLabel(page, "座席表の設定（不要な座席をクリックして×印を入れてください）", 16, 112);

    Panel4 = loweredPanel(page, QRect(16, 136, 497, 257));
    Panel2 = deskPlate(Panel4);
    StringGrid_Settei = seatGrid(Panel4, QRect(8, 40, 481, 209));
    StringGrid_Settei->setObjectName(QStringLiteral("StringGrid_Settei"));
    StringGrid_Settei->showTable(seatLayout.cells());

    // In the panel's free corner right of the desk, above the layout.
    Panel_SeatCount = new SeatCountView(Panel4, [this] {
        return SeatCount{SeatAmount(), hasRoster() ? std::optional(classRoster.studentCount()) : std::nullopt};
    });
    Panel_SeatCount->setGeometry(311, 5, 178, 32);
    Panel_SeatCount->follow({StringGrid_Settei->cells(), StringGrid2->cells()});

    ComboBox1 = new QComboBox(Panel4);
    ComboBox1->setGeometry(393, 11, 48, 20);
    ComboBox1->addItems({QStringLiteral("6"), QStringLiteral("7"), QStringLiteral("8")});
    ComboBox1->setCurrentText(QStringLiteral("6"));
    ComboBox1->hide();

    Button4 = button(page, "設定ファイルを開く", QRect(88, 399, 138, 25));
    Button3 = button(page, "設定に名前をつけて保存", QRect(232, 399, 137, 25));
    Button5 = button(page, "設定を上書き保存", QRect(375, 399, 137, 25));

    CB_tonari = new QCheckBox(QStringLiteral("くじ順を前の座席番号と見なし、連続して隣同士になるのを防止する"), page);
    CB_tonari->setGeometry(88, 430, 346, 17);

    Label_Rounds = unsizedLabel(page, "隣を判定する過去の席替え", 104, 453);
    SpinBox_Rounds = new QSpinBox(page);
    SpinBox_Rounds->setObjectName(QStringLiteral("SpinBox_Rounds"));
    SpinBox_Rounds->setGeometry(Label_Rounds->geometry().right() + 8, 450, 56, 20);
    SpinBox_Rounds->setRange(1, 10);
    SpinBox_Rounds->setSuffix(QStringLiteral(" 回"));
    Button_Conditions = button(page, "座席の条件...", QRect(88, 478, 138, 25));
    Button_History = button(page, "席替えの履歴...", QRect(232, 478, 137, 25));
    // Reached with the mouse, like the draw page's extra buttons: the keys
    // walk the page's controls as they always did.
    for (QWidget *w : std::initializer_list<QWidget *>{SpinBox_Rounds, Button_Conditions, Button_History})
        w->setFocusPolicy(Qt::ClickFocus);

    BitBtn2 = button(page, "閉じる(&C)", QRect(440, 440, 89, 33));
    // A picture of our own: the style's close icon is looked up in the icon
    // theme, whose first use costs more than the rest of the page.
    BitBtn2->setIcon(QIcon(picture(QStringLiteral("close.png"))));

    // Sizes that follow the faces are measured when the page first shows:
    // measuring loads the faces at the sizes this page alone uses, which the
    // window, opening on the roster page, does not need to start.
    whenFirstShown(page, [this] {
        for (QLabel *l : {Label3, Label4, Label_Rounds})
            l->adjustSize();
        SpinBox_Rounds->move(Label_Rounds->geometry().right() + 8, SpinBox_Rounds->y());
        // The stand-in Japanese faces run a little wider than the Windows
        // ones: a pixel less keeps the whole caption clear of the close button.
        for (int px = 12; px > 9 && CB_tonari->sizeHint().width() > 346; --px)
            CB_tonari->setFont(uiFont("MS UI Gothic", px - 1));
    });
}

void TForm1::createPresenterControls() {
    // Beside the banner, where the draw page has room to spare.
    Button_Projector = new QPushButton(QStringLiteral("プロジェクター (F11)"), TabSheet1);
    Button_Projector->setGeometry(374, 470, 131, 27);
    Button_Record = new QPushButton(QStringLiteral("くじ引きの記録"), TabSheet1);
    Button_Record->setGeometry(374, 503, 131, 27);
    for (QPushButton *b : {Button_Projector, Button_Record})
        b->setFocusPolicy(Qt::ClickFocus);

    SaveDialogRecord.filterName = QStringLiteral("CSVファイル");
    SaveDialogRecord.patterns = {QStringLiteral("*.CSV")};
    SaveDialogRecord.defaultExt = QStringLiteral("CSV");
}
