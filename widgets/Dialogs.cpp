#include "widgets/Dialogs.h"

#include "platform/SjisText.h"

#include <QApplication>
#include <QFontMetrics>
#include <QMessageBox>
#include <QPushButton>
#include <QPointer>
#include <QScreen>

#include <algorithm>
#include <vector>

namespace {

QString caption(MsgKind kind) {
    switch (kind) {
    case MsgKind::Warning:
        return QStringLiteral("警告");
    case MsgKind::Error:
        return QStringLiteral("エラー");
    case MsgKind::Information:
        return QStringLiteral("情報");
    case MsgKind::Confirmation:
        return QStringLiteral("確認");
    }
    return {};
}

QMessageBox::Icon icon(MsgKind kind) {
    switch (kind) {
    case MsgKind::Warning:
        return QMessageBox::Warning;
    case MsgKind::Error:
        return QMessageBox::Critical;
    case MsgKind::Information:
        return QMessageBox::Information;
    case MsgKind::Confirmation:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

QString buttonText(MsgButton b) {
    switch (b) {
    case MsgButton::Yes:
        return QStringLiteral("はい(&Y)");
    case MsgButton::No:
        return QStringLiteral("いいえ(&N)");
    case MsgButton::Ok:
        return QStringLiteral("OK");
    case MsgButton::Cancel:
        return QStringLiteral("キャンセル");
    }
    return {};
}

QPointer<QWidget> stage;
int stageFontPixels = 0;

bool onStage() {
    return stage && stage->isVisible();
}

QWidget *dialogParent() {
    return onStage() ? stage.data() : QApplication::activeWindow();
}

void centreOnScreen(QWidget &w) {
    w.adjustSize();
    if (QScreen *s = QGuiApplication::primaryScreen()) {
        QRect r = w.frameGeometry();
        r.moveCenter(s->availableGeometry().center());
        w.move(r.topLeft());
    }
}

} // namespace

void setBoxStage(QWidget *view, int fontPixels) {
    stage = view;
    stageFontPixels = fontPixels;
}

int runModal(QDialog &dialog) {
    return dialog.exec();
}

MsgButton messageDlg(const QString &text, MsgKind kind, std::initializer_list<MsgButton> buttons) {
    QMessageBox box(dialogParent());
    box.setWindowTitle(caption(kind));
    box.setIcon(icon(kind));
    box.setTextFormat(Qt::PlainText);
    box.setText(text);
    auto has = [&](MsgButton b) { return std::find(buttons.begin(), buttons.end(), b) != buttons.end(); };
    std::vector<std::pair<QPushButton *, MsgButton>> made;
    for (MsgButton b : {MsgButton::Yes, MsgButton::No, MsgButton::Ok, MsgButton::Cancel}) {
        if (!has(b))
            continue;
        // One role for all keeps the buttons in the order they were added.
        made.emplace_back(box.addButton(buttonText(b), QMessageBox::ActionRole), b);
    }
    auto find = [&](MsgButton b) -> QPushButton * {
        for (auto &[w, k] : made)
            if (k == b)
                return w;
        return nullptr;
    };
    QPushButton *def = has(MsgButton::Ok) ? find(MsgButton::Ok) : find(MsgButton::Yes);
    if (def)
        box.setDefaultButton(def);
    QPushButton *esc = has(MsgButton::Cancel) ? find(MsgButton::Cancel)
                       : has(MsgButton::No)   ? find(MsgButton::No)
                                              : find(MsgButton::Ok);
    if (esc)
        box.setEscapeButton(esc);
    runModal(box);
    QAbstractButton *clicked = box.clickedButton();
    for (auto &[w, k] : made)
        if (w == clicked)
            return k;
    // Closed some other way: the answer of the Esc key.
    for (auto &[w, k] : made)
        if (w == esc)
            return k;
    return MsgButton::Ok;
}

QString errorBoxText(const QString &message) {
    if (!message.isEmpty() && message.back().unicode() > u'.')
        return message + QLatin1Char('.');
    return message;
}

namespace {

// Where one of the application's own boxes appears.
enum class Place { OverWindow, ScreenCentre, At };

// A box in a large face takes its final size only as it shows, so it is
// centred over the stage whenever it shows or changes its size.
class CentreOnStage : public QObject {
protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if ((event->type() == QEvent::Show || event->type() == QEvent::Resize) && stage) {
            auto *w = static_cast<QWidget *>(watched);
            QRect r = w->frameGeometry();
            r.moveCenter(stage->frameGeometry().center());
            w->move(r.topLeft());
        }
        return false;
    }
};

// How wide a line of a box's text may be on the screen it shows on: a
// message box grows no wider than the screen less 480 pixels, at most 1000,
// or than the whole of a screen up to 1024 wide, and keeps some of that for
// its frame and margins.
int lineRoom(const QWidget *near) {
    const QScreen *s = near && near->screen() ? near->screen() : QGuiApplication::primaryScreen();
    const int screenWidth = s ? s->availableGeometry().width() : 1024;
    const int boxWidth = screenWidth <= 1024 ? screenWidth : std::min(screenWidth - 480, 1000);
    return boxWidth - 80;
}

// Phrases laid out in lines no wider than room: each line takes the phrases
// that follow while they fit, and a phrase alone on its line may not.
struct Lines {
    QString text;
    int widest = 0;
};

Lines fitPhrases(const QStringList &phrases, const QFontMetrics &metrics, int room) {
    QStringList lines;
    QString line;
    for (const QString &phrase : phrases) {
        if (!line.isEmpty() && metrics.horizontalAdvance(line + phrase) > room) {
            lines << line;
            line.clear();
        }
        line += phrase;
    }
    lines << line;
    Lines out;
    out.text = lines.join(QLatin1Char('\n'));
    for (const QString &l : lines)
        out.widest = std::max(out.widest, metrics.horizontalAdvance(l));
    return out;
}

// The application's own boxes: captioned with the application title, plain
// text, a single "OK" that Return and Esc both press. The text is phrases
// in a row, laid out in lines between them.
void showApplicationBox(const QStringList &phrases, QMessageBox::Icon icon, Place place, QPoint topLeft = {}) {
    QMessageBox box(icon, QApplication::applicationDisplayName(), QString(), QMessageBox::NoButton, dialogParent());
    box.setTextFormat(Qt::PlainText);
    QPushButton *ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    const int room = lineRoom(onStage() ? stage.data() : box.parentWidget());
    QFont f = box.font();
    if (onStage())
        f.setPixelSize(stageFontPixels);
    Lines lines = fitPhrases(phrases, QFontMetrics(f), room);
    // In front of the class a long phrase gets a smaller face rather than
    // a break inside it; two thirds of the stage's face is still read from
    // the back of the room.
    while (onStage() && lines.widest > room && f.pixelSize() > stageFontPixels * 2 / 3) {
        f.setPixelSize(f.pixelSize() - 1);
        lines = fitPhrases(phrases, QFontMetrics(f), room);
    }
    box.setText(lines.text);
    box.setFont(f);
    // Lines broken between phrases stand whole: without a width of its own
    // the box wraps a line longer than its usual width anywhere.
    int wide = phrases.size() > 1 && lines.widest <= room ? lines.widest + 2 : 0;
    // Over a stage, wide enough that a name and its seat stand on one line.
    if (onStage())
        wide = std::max(wide, std::min(stage->width() / 2, room));
    if (wide > 0)
        box.setStyleSheet(QStringLiteral("QLabel { min-width: %1px; }").arg(wide));
    CentreOnStage centring;
    if (onStage()) {
        box.installEventFilter(&centring);
    } else if (place == Place::ScreenCentre) {
        centreOnScreen(box);
    } else if (place == Place::At) {
        box.adjustSize();
        box.move(topLeft);
    }
    runModal(box);
}

} // namespace

void showMessage(const QString &text) {
    showApplicationBox({text}, QMessageBox::NoIcon, Place::ScreenCentre);
}

void showMessageAt(const QString &text, QPoint topLeft) {
    showApplicationBox({text}, QMessageBox::NoIcon, Place::At, topLeft);
}

void showMessageAt(const QStringList &phrases, QPoint topLeft) {
    showApplicationBox(phrases, QMessageBox::NoIcon, Place::At, topLeft);
}

void showErrorBox(const QString &message) {
    showApplicationBox({errorBoxText(message)}, QMessageBox::Critical, Place::OverWindow);
}
