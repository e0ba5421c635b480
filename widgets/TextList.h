#pragma once

#include "platform/SjisText.h"

#include <QPlainTextEdit>

#include <vector>

// A list of text lines that shows them one per line. The lines are Shift-JIS
// text like every other store; the editor only shows them.
class TextList : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit TextList(QWidget *parent);

    int count() const { return static_cast<int>(lines.size()); }
    // The line at an index; empty text where the list has no such line.
    SjisText at(int index) const;
    void setLines(std::vector<SjisText> all);

private:
    void showLines();
    std::vector<SjisText> lines;
};
