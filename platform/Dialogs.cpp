#include "platform/Dialogs.h"

#include "platform/SjisText.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QPointer>
#include <QScreen>

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

// The application's own boxes: captioned with the application title, plain
// text, a single "OK" that Return and Esc both press.
void showApplicationBox(const QString &text, QMessageBox::Icon icon, Place place, QPoint topLeft = {}) {
    QMessageBox box(icon, QApplication::applicationDisplayName(), text, QMessageBox::NoButton, dialogParent());
    box.setTextFormat(Qt::PlainText);
    QPushButton *ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    CentreOnStage centring;
    if (onStage()) {
        QFont f = box.font();
        f.setPixelSize(stageFontPixels);
        box.setFont(f);
        // Wide enough that a name and its seat stand on one line.
        box.setStyleSheet(QStringLiteral("QLabel { min-width: %1px; }").arg(stage->width() / 2));
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
    showApplicationBox(text, QMessageBox::NoIcon, Place::ScreenCentre);
}

void showMessageAt(const QString &text, QPoint topLeft) {
    showApplicationBox(text, QMessageBox::NoIcon, Place::At, topLeft);
}

void showErrorBox(const QString &message) {
    showApplicationBox(errorBoxText(message), QMessageBox::Critical, Place::OverWindow);
}
