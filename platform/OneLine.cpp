#include "platform/OneLine.h"

QString oneLine(QString text) {
    for (QChar &c : text)
        if (c.category() == QChar::Other_Control)
            c = QLatin1Char(' ');
    return text;
}
