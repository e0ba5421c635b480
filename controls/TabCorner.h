#pragma once

#include <QWidget>

class QTabWidget;

// The free corner of a tab row, for widgets side by side. It asks for no
// more width than the tabs leave, so that the tabs are never squeezed; what
// it holds shares that room as its layout says.
class TabCorner : public QWidget {
public:
    explicit TabCorner(QTabWidget *tabs);

    QSize sizeHint() const override;

private:
    QTabWidget *tabs;
};
