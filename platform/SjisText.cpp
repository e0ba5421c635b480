#include "platform/SjisText.h"

#include <QList>
#include <QStringDecoder>
#include <QStringEncoder>

namespace {
constexpr const char *codec = "windows-31j";

QString decodeStrict(const QByteArray &bytes, bool &ok) {
    QStringDecoder d(codec, QStringConverter::Flag::Stateless);
    QString s = d(bytes);
    ok = !d.hasError();
    return s;
}
} // namespace

SjisText SjisText::lit(const char *utf8) {
    SjisText t;
    tryFromUnicode(QString::fromUtf8(utf8), t);
    return t;
}

bool SjisText::tryFromUnicode(const QString &s, SjisText &out, QString *badChar) {
    QStringEncoder e(codec, QStringConverter::Flag::Stateless);
    QByteArray bytes = e(s);
    bool ok = !e.hasError();
    if (ok) {
        // Some characters map to bytes that mean another character; refuse
        // those too, so that what is stored is what was typed.
        bool decodedOk = false;
        ok = decodeStrict(bytes, decodedOk) == s && decodedOk;
    }
    if (ok) {
        out = SjisText(bytes);
        return true;
    }
    if (badChar) {
        badChar->clear();
        for (qsizetype i = 0; i < s.size(); ++i) {
            qsizetype n = (s.at(i).isHighSurrogate() && i + 1 < s.size()) ? 2 : 1;
            QString ch = s.mid(i, n);
            QStringEncoder one(codec, QStringConverter::Flag::Stateless);
            QByteArray b = one(ch);
            bool decodedOk = false;
            if (one.hasError() || decodeStrict(b, decodedOk) != ch || !decodedOk) {
                *badChar = ch;
                break;
            }
            i += n - 1;
        }
    }
    return false;
}

QString SjisText::toUnicode() const {
    bool ok = false;
    QString s = decodeStrict(b, ok);
    if (ok)
        return s;
    // Decode character by character so that each invalid byte shows as one
    // replacement character and the valid text around it stays readable.
    QString out;
    out.reserve(b.size());
    for (qsizetype i = 0; i < b.size();) {
        auto c = static_cast<unsigned char>(b[i]);
        qsizetype n = (isSjisLeadByte(c) && i + 1 < b.size()) ? 2 : 1;
        bool oneOk = false;
        QString ch = decodeStrict(b.mid(i, n), oneOk);
        if (!oneOk && n == 2) {
            n = 1;
            ch = decodeStrict(b.mid(i, 1), oneOk);
        }
        out += oneOk ? ch : QString(QChar(0xFFFD));
        i += n;
    }
    return out;
}

QString codePointText(const QString &character) {
    return QString::number(character.toUcs4().value(0), 16).toUpper().rightJustified(4, QLatin1Char('0'));
}
