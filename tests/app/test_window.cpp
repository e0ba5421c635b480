#include "widgets/TextList.h"
#include "support/WindowTest.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QtTest/QTest>

namespace {

class Window : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        createWindow();
    }
};

TEST_F(Window, CaptionSizeAndPagesInTabOrder) {
    TForm1 &f = form();
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Kirabo"));
    EXPECT_EQ(f.size(), QSize(578, 566));
    ASSERT_EQ(f.PageControl1->count(), 3);
    EXPECT_EQ(f.PageControl1->tabText(0), QStringLiteral("名簿"));
    EXPECT_EQ(f.PageControl1->tabText(1), QStringLiteral("くじ引き"));
    EXPECT_EQ(f.PageControl1->tabText(2), QStringLiteral("印刷と座席設定"));
    EXPECT_EQ(f.PageControl1->widget(0), f.TabSheet2);
    EXPECT_EQ(f.PageControl1->widget(1), f.TabSheet1);
    EXPECT_EQ(f.PageControl1->widget(2), f.TabSheet3);
    EXPECT_EQ(f.PageControl1->currentWidget(), f.TabSheet2);
    EXPECT_EQ(f.font().family(), QStringLiteral("MS UI Gothic"));
    EXPECT_EQ(f.font().pixelSize(), 12);
}

TEST_F(Window, RosterPageStartsWithTheHeaderAndOneEmptyRow) {
    TForm1 &f = form();
    const QStringList header{"くじ順", "出席番号", "氏名", "ふりがな", "座席番号"};
    for (int c = 0; c < 5; ++c) {
        EXPECT_EQ(cellText(f.StringGrid2, c, 0), header[c]);
        EXPECT_EQ(f.StringGrid2->model()->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString(), header[c]);
        EXPECT_TRUE(f.StringGrid2->cell(c, 1).isEmpty());
    }
    EXPECT_EQ(f.StringGrid2->gridRowCount(), 2);
    EXPECT_EQ(f.StringGrid2->fixedRows(), 1);
    const int widths[] = {76, 70, 98, 115, 64};
    for (int c = 0; c < 5; ++c)
        EXPECT_EQ(f.StringGrid2->colWidth(c), widths[c]);
    EXPECT_EQ(f.StringGrid2->editTriggers() & QAbstractItemView::DoubleClicked, QAbstractItemView::DoubleClicked);

    const struct {
        QToolButton *button;
        const char *caption;
        const char *hint;
    } tools[] = {{f.ToolButton1, "ファイルを開く", "ファイルを開く"},
                 {f.ToolButton3, "ファイル名をつけて保存", "ファイル名をつけて保存"},
                 {f.ToolButton2, "上書き保存", "上書き保存"},
                 {f.ToolButton6, "くじ順に並び替え", ""},
                 {f.ToolButton4, "座席番号をくじ順へ", ""}};
    int lastX = -1;
    for (const auto &t : tools) {
        EXPECT_EQ(t.button->text(), QString::fromUtf8(t.caption));
        EXPECT_EQ(t.button->toolTip(), QString::fromUtf8(t.hint));
        EXPECT_EQ(t.button->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
        EXPECT_GT(t.button->x(), lastX) << t.caption;
        lastX = t.button->x();
    }
    EXPECT_EQ(f.ToolButton1->width(), 114);
    EXPECT_EQ(f.ToolButton1->height(), 35);
    EXPECT_TRUE(f.ToolButton4->isVisible());
    EXPECT_LE(f.ToolButton4->geometry().right(), f.TabSheet2->width());
}

TEST_F(Window, DrawPageComponents) {
    TForm1 &f = form();
    EXPECT_EQ(f.Label_N->text(), QString());
    EXPECT_EQ(f.Label1->text(), QStringLiteral("1"));
    EXPECT_EQ(f.Button1->text(), QStringLiteral("スタート"));
    EXPECT_FALSE(f.Button1->isEnabled());
    EXPECT_EQ(f.Button6->text(), QStringLiteral("再準備"));
    EXPECT_EQ(f.Button6->focusPolicy() & Qt::TabFocus, 0);
    EXPECT_EQ(f.Label2->text(), QStringLiteral("席の位置（上が前）"));
    EXPECT_EQ(f.Panel3->text(), QStringLiteral("教卓"));
    EXPECT_EQ(f.Label5->text(), QStringLiteral("Ｖｅｒ.　2.0"));
    EXPECT_TRUE(f.Memo1->isHidden());
    EXPECT_TRUE(f.Memo1->isReadOnly());
    EXPECT_TRUE(f.Memo1->toPlainText().isEmpty());
    EXPECT_FALSE(f.Timer1->isActive());
    EXPECT_EQ(f.Timer1->interval(), 100);
    EXPECT_EQ(f.Panel1->palette().color(QPalette::Window), QColor(225, 252, 209));
    EXPECT_EQ(f.Label1->palette().color(QPalette::Window), QColor(255, 251, 240));

    const struct {
        QWidget *w;
        QRect geometry;
    } placed[] = {
        {f.Panel1, {56, 8, 425, 57}},   {f.Label_N, {8, 16, 409, 33}},    {f.Image1, {56, 72, 200, 120}},
        {f.Label1, {73, 88, 160, 87}},  {f.Button1, {288, 104, 137, 57}}, {f.Button6, {424, 176, 67, 25}},
        {f.Panel5, {8, 208, 497, 249}}, {f.Panel3, {192, 8, 113, 25}},    {f.StringGrid1, {8, 35, 481, 206}},
        {f.Image2, {8, 464, 358, 71}},  {f.Label5, {264, 496, 73, 12}},
    };
    for (const auto &p : placed)
        EXPECT_EQ(p.w->geometry(), p.geometry) << p.w->metaObject()->className();
}

// The draw page's pictures are read when the page first opens, not before
// the window can show.
TEST_F(Window, TheDrawPagesPicturesShowWhenThePageOpens) {
    TForm1 &f = form();
    EXPECT_TRUE(f.Image1->pixmap().isNull());
    EXPECT_TRUE(f.Image2->pixmap().isNull());
    f.PageControl1->setCurrentWidget(f.TabSheet1);
    EXPECT_EQ(f.Image1->pixmap().size(), QSize(200, 120));
    EXPECT_EQ(f.Image2->pixmap().size(), QSize(358, 71));
}

TEST_F(Window, SettingsPageComponents) {
    TForm1 &f = form();
    // The sizes that follow the faces are measured as the page opens.
    f.PageControl1->setCurrentWidget(f.TabSheet3);
    EXPECT_EQ(f.Label3->text(), QStringLiteral("印刷タイトル"));
    EXPECT_EQ(f.BitBtn1->text(), QStringLiteral("印刷"));
    EXPECT_EQ(f.RadioButton1->text(), QStringLiteral("教員から見た座席表"));
    EXPECT_EQ(f.RadioButton2->text(), QStringLiteral("生徒から見た座席表"));
    EXPECT_TRUE(f.RadioButton1->isChecked());
    EXPECT_FALSE(f.RadioButton2->isChecked());
    EXPECT_EQ(f.Label4->text(), QStringLiteral("座席表の設定（不要な座席をクリックして×印を入れてください）"));
    EXPECT_EQ(f.Panel2->text(), QStringLiteral("教卓"));
    EXPECT_TRUE(f.ComboBox1->isHidden());
    EXPECT_EQ(f.ComboBox1->count(), 3);
    EXPECT_EQ(f.ComboBox1->itemText(2), QStringLiteral("8"));
    EXPECT_EQ(f.ComboBox1->currentText(), QStringLiteral("6"));
    EXPECT_EQ(f.Button4->text(), QStringLiteral("設定ファイルを開く"));
    EXPECT_EQ(f.Button3->text(), QStringLiteral("設定に名前をつけて保存"));
    EXPECT_EQ(f.Button5->text(), QStringLiteral("設定を上書き保存"));
    EXPECT_EQ(f.CB_tonari->text(), QStringLiteral("くじ順を前の座席番号と見なし、連続して隣同士になるのを防止する"));
    EXPECT_FALSE(f.CB_tonari->isChecked());
    EXPECT_EQ(f.BitBtn2->text(), QStringLiteral("閉じる(&C)"));
    EXPECT_LE(f.CB_tonari->sizeHint().width(), 346); // the whole caption shows
    EXPECT_EQ(f.CB_tonari->geometry(), QRect(88, 430, 346, 17));
    EXPECT_FALSE(f.BitBtn2->icon().isNull());

    const struct {
        QWidget *w;
        QRect geometry;
    } placed[] = {
        {f.Edit_Title, {104, 32, 353, 20}},         {f.BitBtn1, {104, 58, 89, 33}},
        {f.RadioButton1, {208, 58, 129, 17}},       {f.RadioButton2, {208, 81, 129, 17}},
        {f.Panel4, {16, 136, 497, 257}},            {f.Panel2, {192, 8, 113, 25}},
        {f.StringGrid_Settei, {8, 40, 481, 209}},   {f.ComboBox1, {393, 11, 48, 20}},
        {f.Button4, {88, 399, 138, 25}},            {f.Button3, {232, 399, 137, 25}},
        {f.Button5, {375, 399, 137, 25}},           {f.BitBtn2, {440, 440, 89, 33}},
    };
    for (const auto &p : placed)
        EXPECT_EQ(p.w->geometry(), p.geometry) << p.w->metaObject()->className();
}

TEST_F(Window, WindowsFaceNamesAreAskedForAndFallBackToJapaneseFaces) {
    TForm1 &f = form();
    const struct {
        QWidget *w;
        const char *family;
        int pixels;
    } fonts[] = {{f.Label_N, "ＭＳ Ｐゴシック", 27},
                 {f.Label1, "ＭＳ Ｐゴシック", 87},
                 {f.Button1, "ＭＳ Ｐゴシック", 27},
                 {f.Panel3, "ＭＳ Ｐゴシック", 12},
                 {f.Memo1, "ＭＳ Ｐゴシック", 13},
                 {f.Label4, "MS UI Gothic", 12}};
    for (const auto &c : fonts) {
        EXPECT_EQ(c.w->font().family(), QString::fromUtf8(c.family));
        EXPECT_EQ(c.w->font().pixelSize(), c.pixels);
        const QString shown = QFontInfo(c.w->font()).family();
#ifdef _WIN32
        // Windows has the faces asked for; Wine has not.
        if (shown == QString::fromUtf8(c.family))
            continue;
#endif
        EXPECT_TRUE(shown.startsWith(QStringLiteral("IPA"))) << shown.toStdString();
    }
}

// The icons come with the program, installed or not.
TEST_F(Window, TheProgramsIconComesWithIt) {
    const QIcon icon = QApplication::windowIcon();
    EXPECT_EQ(icon.availableSizes().size(), 8);
    EXPECT_TRUE(icon.availableSizes().contains(QSize(256, 256)));
    EXPECT_EQ(icon.pixmap(QSize(32, 32)).size(), QSize(32, 32));
    EXPECT_EQ(form().BitBtn2->icon().pixmap(QSize(16, 16)).size(), QSize(16, 16));
}

TEST_F(Window, QtsOwnDialogsSpeakJapanese) {
    EXPECT_NE(QCoreApplication::translate("QFileDialog", "&Open"), QStringLiteral("&Open"));
    EXPECT_NE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
}

TEST_F(Window, TheProgramsOwnPageChangeIsNoPageChange) {
    // A user's click on a tab changes the page; start-up's change did not
    // count as one, so the draw page has not been prepared.
    TForm1 &f = form();
    QTabBar *bar = f.PageControl1->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->tabRect(2).center());
    EXPECT_EQ(f.PageControl1->currentIndex(), 2);
    EXPECT_TRUE(f.Label_N->text().isEmpty());
    EXPECT_FALSE(f.Button1->isEnabled());
}

} // namespace

// The buttons this program added beside the original window's show their
// captions whole in the faces the window uses (the Windows faces, or the
// IPA faces standing in for them): a tool tip is no substitute.
TEST_F(Window, TheAddedButtonsShowTheirCaptionsWhole) {
    TForm1 &f = createWindow();
    for (QPushButton *b : {f.Button_Projector, f.Button_Record, f.Button_Conditions, f.Button_History,
                           f.Button_NewRoster, f.Button_AddRow, f.Button_DeleteRows, f.Button_Paste}) {
        const int needed = b->fontMetrics().horizontalAdvance(b->text()) + 12;
        EXPECT_LE(needed, b->width()) << b->text().toStdString();
    }
    f.PageControl1->setCurrentWidget(f.TabSheet3);
    const int label = f.Label_Rounds->fontMetrics().horizontalAdvance(f.Label_Rounds->text());
    EXPECT_LE(label, f.Label_Rounds->width());
    EXPECT_LE(f.Label_Rounds->geometry().right(), f.SpinBox_Rounds->x());
}
