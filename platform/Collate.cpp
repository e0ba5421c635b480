#include "platform/Collate.h"

#include <QLocale>

TextCollator::TextCollator() : collator(QLocale()) {
    collator.setCaseSensitivity(Qt::CaseInsensitive);
}

int TextCollator::compare(const QString &a, const QString &b) const {
    // The collation may rank an empty text anywhere; the program wants it first.
    if (a.isEmpty() || b.isEmpty())
        return (a.isEmpty() ? 0 : 1) - (b.isEmpty() ? 0 : 1);
    return collator.compare(a, b);
}
