#include "widgets/TextList.h"

TextList::TextList(QWidget *parent) : QPlainTextEdit(parent) {}

SjisText TextList::at(int index) const {
    if (index < 0 || index >= count())
        return {};
    return lines[static_cast<size_t>(index)];
}

void TextList::setLines(std::vector<SjisText> all) {
    lines = std::move(all);
    showLines();
}

void TextList::showLines() {
    QStringList shown;
    shown.reserve(count());
    for (const SjisText &line : lines)
        shown << line.toUnicode();
    setPlainText(shown.join(QLatin1Char('\n')));
}
