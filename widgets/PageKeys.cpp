#include "widgets/PageKeys.h"

#include <QKeySequence>
#include <QShortcut>
#include <QTabWidget>

namespace {

// The next enabled page in one direction, as the tab control itself walks.
void turnPage(QTabWidget *pages, int step) {
    const int count = pages->count();
    int page = pages->currentIndex();
    for (int pass = 0; pass < count; ++pass) {
        page = (page + step + count) % count;
        if (pages->isTabEnabled(page)) {
            pages->setCurrentIndex(page);
            return;
        }
    }
}

} // namespace

void addPageKeys(QTabWidget *pages) {
    // Shortcuts of the window come before the focused widget's own use of a
    // key, so a grid or an editor cannot swallow them.
    const struct {
        QKeyCombination key;
        int step;
    } keys[] = {
        {Qt::CTRL | Qt::Key_Tab, 1},
        {Qt::CTRL | Qt::Key_PageDown, 1},
        {Qt::CTRL | Qt::SHIFT | Qt::Key_Tab, -1},
        {Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab, -1},
        {Qt::CTRL | Qt::Key_PageUp, -1},
    };
    for (const auto &k : keys) {
        auto *shortcut = new QShortcut(QKeySequence(k.key), pages);
        shortcut->setContext(Qt::WindowShortcut);
        const int step = k.step;
        QObject::connect(shortcut, &QShortcut::activated, pages, [pages, step] { turnPage(pages, step); });
    }
}
