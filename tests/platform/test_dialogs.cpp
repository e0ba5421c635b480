#include "widgets/Dialogs.h"
#include "support/Modal.h"

#include <QGuiApplication>
#include <QScreen>

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace {

struct DlgCase {
    MsgKind kind;
    std::initializer_list<MsgButton> buttons;
    const char *caption;
    QMessageBox::Icon icon;
    QStringList shown;
    const char *defaultButton;
    const char *escapeButton;
};

TEST(MessageDlg, CaptionIconButtonsDefaultAndEscapeByKind) {
    const DlgCase cases[] = {
        {MsgKind::Warning, {MsgButton::Ok}, "警告", QMessageBox::Warning, {"OK"}, "OK", "OK"},
        {MsgKind::Error, {MsgButton::Ok}, "エラー", QMessageBox::Critical, {"OK"}, "OK", "OK"},
        {MsgKind::Information, {MsgButton::Ok}, "情報", QMessageBox::Information, {"OK"}, "OK", "OK"},
        {MsgKind::Confirmation,
         {MsgButton::Cancel, MsgButton::No, MsgButton::Yes},
         "確認",
         QMessageBox::Question,
         {"はい(&Y)", "いいえ(&N)", "キャンセル"},
         "はい(&Y)",
         "キャンセル"},
        {MsgKind::Confirmation, {MsgButton::Yes, MsgButton::No}, "確認", QMessageBox::Question,
         {"はい(&Y)", "いいえ(&N)"}, "はい(&Y)", "いいえ(&N)"},
        {MsgKind::Warning, {MsgButton::Ok, MsgButton::Cancel, MsgButton::Yes}, "警告", QMessageBox::Warning,
         {"はい(&Y)", "OK", "キャンセル"}, "OK", "キャンセル"},
    };
    for (const DlgCase &c : cases) {
        ModalDriver driver;
        driver.escape();
        const MsgButton answer = messageDlg(QStringLiteral("本文"), c.kind, c.buttons);
        ASSERT_EQ(driver.seen().size(), 1);
        const SeenBox &box = driver.seen().first();
        EXPECT_EQ(box.caption, QString::fromUtf8(c.caption));
        EXPECT_EQ(box.text, QStringLiteral("本文"));
        EXPECT_EQ(box.icon, c.icon);
        EXPECT_EQ(box.buttons, c.shown);
        EXPECT_EQ(box.defaultButton, QString::fromUtf8(c.defaultButton));
        EXPECT_EQ(box.escapeButton, QString::fromUtf8(c.escapeButton));
        const QString esc = QString::fromUtf8(c.escapeButton);
        const MsgButton expected = esc == QStringLiteral("キャンセル")   ? MsgButton::Cancel
                                   : esc == QStringLiteral("いいえ(&N)") ? MsgButton::No
                                                                         : MsgButton::Ok;
        EXPECT_EQ(answer, expected);
    }
}

TEST(MessageDlg, AnswersTheButtonPressed) {
    ModalDriver driver;
    driver.press(QStringLiteral("いいえ(&N)"));
    EXPECT_EQ(messageDlg(QStringLiteral("?"), MsgKind::Confirmation,
                         {MsgButton::Yes, MsgButton::No, MsgButton::Cancel}),
              MsgButton::No);
}

TEST(MessageDlg, TextIsShownAsPlainText) {
    ModalDriver driver;
    driver.press(QStringLiteral("OK"));
    messageDlg(QStringLiteral("<b>太郎</b>"), MsgKind::Error, {MsgButton::Ok});
    ASSERT_EQ(driver.seen().size(), 1);
    EXPECT_EQ(driver.seen().first().text, QStringLiteral("<b>太郎</b>"));
}

TEST(PlainMessageBox, CaptionedKiraboWithoutIconAndOneOk) {
    ModalDriver driver;
    driver.press(QStringLiteral("OK"));
    showMessage(QStringLiteral("山田さんは 5 番の席です"));
    ASSERT_EQ(driver.seen().size(), 1);
    const SeenBox &box = driver.seen().first();
    EXPECT_EQ(box.caption, QStringLiteral("Kirabo"));
    EXPECT_EQ(box.icon, QMessageBox::NoIcon);
    EXPECT_EQ(box.buttons, QStringList{QStringLiteral("OK")});
    EXPECT_EQ(box.text, QStringLiteral("山田さんは 5 番の席です"));
}

TEST(PlainMessageBox, PlacedBoxHasItsFrameCornerAtThePointAndCentredBoxIsCentred) {
    ModalDriver driver;
    QPoint placed;
    QPoint centre;
    driver
        .then([&](QWidget *w) {
            placed = w->frameGeometry().topLeft();
            static_cast<QDialog *>(w)->accept();
        })
        .then([&](QWidget *w) {
            centre = w->frameGeometry().center();
            static_cast<QDialog *>(w)->accept();
        });
    showMessageAt(QStringLiteral("山田さんの座席は12番に決まりました。"), QPoint(300, 220));
    showMessage(QStringLiteral("隣の人が前回と同じです! やりなおします"));
    EXPECT_EQ(placed, QPoint(300, 220));
    const QPoint screenCentre = QGuiApplication::primaryScreen()->availableGeometry().center();
    // The box settles its final size as it shows, a few pixels off the size
    // it was centred with.
    EXPECT_LE((centre - screenCentre).manhattanLength(), 8);
}

TEST(ErrorBox, AppendsAFullStopAfterDoubleByteOrHighCharacters) {
    const struct {
        const char *message;
        const char *shown;
    } cases[] = {
        {"ファイルが見つかりません", "ファイルが見つかりません."},
        {"I/O エラー (28)", "I/O エラー (28)"},
        {"'abc' は整数ではありません", "'abc' は整数ではありません."},
        {"done.", "done."},
        {"abc", "abc."},
        {"a-", "a-"},
        {"a/", "a/."},
        {"ﾃｽﾄ", "ﾃｽﾄ."},
        {"", ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(errorBoxText(QString::fromUtf8(c.message)), QString::fromUtf8(c.shown)) << c.message;

    ModalDriver driver;
    driver.press(QStringLiteral("OK"));
    showErrorBox(QStringLiteral("ファイルが見つかりません"));
    ASSERT_EQ(driver.seen().size(), 1);
    const SeenBox &box = driver.seen().first();
    EXPECT_EQ(box.caption, QStringLiteral("Kirabo"));
    EXPECT_EQ(box.icon, QMessageBox::Critical);
    EXPECT_EQ(box.buttons, QStringList{QStringLiteral("OK")});
    EXPECT_EQ(box.text, QStringLiteral("ファイルが見つかりません."));
}

// The driver of modal boxes must not let a test pass whose box never showed.
TEST(ModalDriverCheck, AnExpectedBoxThatNeverCameFailsTheTest) {
    EXPECT_NONFATAL_FAILURE(
        {
            ModalDriver driver;
            driver.press(QStringLiteral("OK"));
        },
        "1 expected modal box(es) never came");
    ModalDriver optional;
    optional.pressIfShown(QStringLiteral("OK"));
}

} // namespace
