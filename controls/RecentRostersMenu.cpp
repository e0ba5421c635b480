#include "controls/RecentRostersMenu.h"

#include "settings/RecentRosters.h"

#include <QDir>
#include <QFileInfo>

RecentRostersMenu::RecentRostersMenu(const RecentRosters &recent, QWidget *parent) : QMenu(parent), recent(recent) {
    setObjectName(QStringLiteral("RecentRosters"));
    setToolTipsVisible(true);
    connect(this, &QMenu::aboutToShow, this, &RecentRostersMenu::fill);
    fill();
}

void RecentRostersMenu::fill() {
    clear();
    addAction(QStringLiteral("最近開いた名簿"))->setEnabled(false);
    addSeparator();
    if (recent.paths().isEmpty()) {
        addAction(QStringLiteral("（まだありません）"))->setEnabled(false);
        return;
    }
    int n = 0;
    for (const QString &path : recent.paths()) {
        const QFileInfo file(path);
        // "&1" and on: a digit opens the entry from the keyboard.
        const QString folder =
            fontMetrics().elidedText(QDir::toNativeSeparators(file.absolutePath()), Qt::ElideMiddle, 320);
        auto plain = [](QString text) { return text.replace(QLatin1Char('&'), QStringLiteral("&&")); };
        QAction *entry =
            addAction(QStringLiteral("&%1 %2　（%3）").arg(++n).arg(plain(file.fileName()), plain(folder)));
        entry->setToolTip(QDir::toNativeSeparators(path));
        connect(entry, &QAction::triggered, this, [this, path] { emit chosen(path); });
    }
}
