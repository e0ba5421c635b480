#include "controls/TabCorner.h"

#include <QTabBar>
#include <QTabWidget>

#include <algorithm>

TabCorner::TabCorner(QTabWidget *tabs) : QWidget(tabs), tabs(tabs) {}

QSize TabCorner::sizeHint() const {
    // A little space between the last tab and the corner.
    constexpr int gap = 8;
    QSize hint = QWidget::sizeHint();
    hint.setWidth(std::max(std::min(hint.width(), tabs->width() - tabs->tabBar()->sizeHint().width() - gap), 0));
    return hint;
}
