#pragma once

#include "platform/SjisText.h"

#include <QCollator>
#include <QString>

// Locale-aware comparison of text for the user's default locale, ignoring
// letter case. The empty text ranks before any other. Answers less than,
// equal to or greater than 0. The order itself is the platform's collation.
class TextCollator {
public:
    TextCollator();

    int compare(const QString &a, const QString &b) const;
    int compare(const SjisText &a, const SjisText &b) const { return compare(a.toUnicode(), b.toUnicode()); }

private:
    QCollator collator;
};
