#include "widgets/Notice.h"

#include <QEvent>
#include <QFontMetrics>
#include <QGraphicsOpacityEffect>
#include <QLabel>
#include <QPropertyAnimation>
#include <QTimer>

#include <algorithm>

namespace {

constexpr int standingMs = 4000;
constexpr int fadingMs = 800;
constexpr int edge = 12;    // between the notice and the window's edges
constexpr int padding = 16; // between the text and the notice's sides

class Notice : public QLabel {
public:
    explicit Notice(QWidget *window) : QLabel(window) {
        setObjectName(QStringLiteral("Notice"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
        setAlignment(Qt::AlignCenter);
        setStyleSheet(QStringLiteral("QLabel { background: rgba(48, 48, 48, 225); color: white;"
                                     " border-radius: 6px; padding: 6px %1px; }")
                          .arg(padding));
        auto *opacity = new QGraphicsOpacityEffect(this);
        setGraphicsEffect(opacity);
        fading = new QPropertyAnimation(opacity, "opacity", this);
        fading->setDuration(fadingMs);
        fading->setStartValue(1.0);
        fading->setEndValue(0.0);
        connect(fading, &QPropertyAnimation::finished, this, &QWidget::hide);
        standing.setSingleShot(true);
        standing.setInterval(standingMs);
        connect(&standing, &QTimer::timeout, fading, [this] { fading->start(); });
        window->installEventFilter(this);
    }

    void say(const QString &text) {
        whole = text;
        fading->stop();
        static_cast<QGraphicsOpacityEffect *>(graphicsEffect())->setOpacity(1.0);
        place();
        show();
        raise();
        standing.start();
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (watched == parentWidget() && event->type() == QEvent::Resize && isVisible())
            place();
        return false;
    }

private:
    // Centred at the window's foot, as wide as the text within the window;
    // a text wider than that is shortened in its middle.
    void place() {
        const QWidget *window = parentWidget();
        const int room = std::max(window->width() - 2 * (edge + padding) - 4, 40);
        setText(fontMetrics().elidedText(whole, Qt::ElideMiddle, room));
        adjustSize();
        move((window->width() - width()) / 2, window->height() - height() - edge);
    }

    QString whole;
    QTimer standing;
    QPropertyAnimation *fading;
};

} // namespace

void showNotice(QWidget *window, const QString &text) {
    auto *notice =
        static_cast<Notice *>(window->findChild<QLabel *>(QStringLiteral("Notice"), Qt::FindDirectChildrenOnly));
    if (!notice)
        notice = new Notice(window);
    notice->say(text);
}
