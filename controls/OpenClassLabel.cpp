#include "controls/OpenClassLabel.h"

#include "roster/ClassName.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>

namespace {

QString lead() {
    return QStringLiteral("名簿: ");
}

} // namespace

OpenClassLabel::OpenClassLabel(QWidget *parent) : QWidget(parent) {
    setObjectName(QStringLiteral("OpenClass"));
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    showClass({}, false, false);
}

void OpenClassLabel::showClass(const QString &rosterPath, bool made, bool modified) {
    const QString changed = modified ? QStringLiteral("（変更あり）") : QString();
    QString newName, newState, tip;
    if (made) {
        newName = classname::newClass();
        newState = QStringLiteral("（未保存）");
        tip = QStringLiteral("プログラムでつくった名簿です。まだファイルに保存していません");
    } else if (rosterPath.isEmpty()) {
        newName = QStringLiteral("ファイルなし");
        newState = changed;
    } else {
        newName = QFileInfo(rosterPath).fileName();
        newState = changed;
        tip = QDir::toNativeSeparators(rosterPath);
    }
    // Asked after every handler, the spin's ticks too: the tab row is laid
    // out again only when the line changes.
    if (newName == name && newState == state && tip == toolTip())
        return;
    name = newName;
    state = newState;
    setToolTip(tip);
    setAccessibleName(text());
    updateGeometry();
    update();
}

QString OpenClassLabel::text() const {
    return lead() + name + state;
}

QString OpenClassLabel::shownText() const {
    const QFontMetrics m = fontMetrics();
    const int room = width() - m.horizontalAdvance(lead() + state);
    return lead() + m.elidedText(name, Qt::ElideMiddle, std::max(room, 0)) + state;
}

QSize OpenClassLabel::sizeHint() const {
    return {fontMetrics().horizontalAdvance(text()) + 4, fontMetrics().height()};
}

QSize OpenClassLabel::minimumSizeHint() const {
    return {fontMetrics().horizontalAdvance(lead() + state), fontMetrics().height()};
}

void OpenClassLabel::paintEvent(QPaintEvent *) {
    QPainter p(this);
    p.setPen(palette().color(QPalette::WindowText));
    p.drawText(rect(), Qt::AlignVCenter | Qt::AlignRight, shownText());
}
