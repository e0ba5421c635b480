#include "roster/Utf8Roster.h"

#include "app/Main.h"
#include "platform/Dialogs.h"
#include "platform/SjisText.h"

#include <QStringDecoder>

namespace utf8roster {

namespace {
const QByteArrayView byteOrderMark("\xEF\xBB\xBF");
}

bool hasByteOrderMark(QByteArrayView file) {
    return file.startsWith(byteOrderMark);
}

bool isUtf8(QByteArrayView bytes) {
    qsizetype i = 0;
    while (i < bytes.size()) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        int follow = 0;
        char32_t cp = 0;
        if (c < 0x80) {
            ++i;
            continue;
        } else if (c >= 0xC2 && c <= 0xDF) {
            follow = 1;
            cp = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            follow = 2;
            cp = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            follow = 3;
            cp = c & 0x07;
        } else {
            return false;
        }
        if (i + follow >= bytes.size())
            return false;
        for (int k = 1; k <= follow; ++k) {
            const auto t = static_cast<unsigned char>(bytes[i + k]);
            if ((t & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (t & 0x3F);
        }
        // Overlong forms, surrogates and numbers beyond Unicode are no UTF-8.
        const char32_t least[] = {0, 0x80, 0x800, 0x10000};
        if (cp < least[follow] || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF)
            return false;
        i += follow + 1;
    }
    return true;
}

bool isShiftJis(QByteArrayView bytes) {
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c < 0x80 || (c >= 0xA1 && c <= 0xDF))
            continue;
        if (!isSjisLeadByte(c) || i + 1 == bytes.size())
            return false;
        const auto t = static_cast<unsigned char>(bytes[++i]);
        if (t < 0x40 || t == 0x7F || t > 0xFC)
            return false;
    }
    return true;
}

bool looksLikeUtf8(QByteArrayView file) {
    if (hasByteOrderMark(file))
        return true;
    const bool beyondAscii = std::any_of(file.begin(), file.end(), [](char c) { return (c & 0x80) != 0; });
    return beyondAscii && isUtf8(file) && !isShiftJis(file);
}

bool toShiftJis(QByteArrayView file, QByteArray &out, QString &badChar) {
    if (hasByteOrderMark(file))
        file = file.sliced(byteOrderMark.size());
    QStringDecoder decode(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decode.decode(file);
    SjisText sjis;
    if (!SjisText::tryFromUnicode(text, sjis, &badChar))
        return false;
    out = sjis.bytes();
    return true;
}

} // namespace utf8roster

bool TForm1::takeUtf8Roster(QByteArray &content, bool &converted) {
    converted = false;
    if (!utf8roster::looksLikeUtf8(content))
        return true;
    const MsgButton answer =
        messageDlg(QStringLiteral("この名簿は UTF-8 で書かれているようです。シフトJIS に変換して読み込みますか？"),
                   MsgKind::Confirmation, {MsgButton::Yes, MsgButton::No});
    if (answer != MsgButton::Yes)
        return true;
    QByteArray sjis;
    QString bad;
    if (!utf8roster::toShiftJis(content, sjis, bad)) {
        messageDlg(QStringLiteral("「%1」(U+%2) はシフトJISで表せない文字のため、この名簿は読み込めません")
                       .arg(bad, codePointText(bad)),
                   MsgKind::Warning, {MsgButton::Ok});
        return false;
    }
    content = sjis;
    converted = true;
    return true;
}
