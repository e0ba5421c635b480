#include "settings/SettingsFile.h"

#include "platform/Errors.h"
#include "platform/IniProfile.h"
#include "seats/SeatLayout.h"

#include <algorithm>

namespace settings {

namespace {

const SjisText &section() {
    static const SjisText s = SjisText::lit("設定");
    return s;
}

const SjisText &roundsKey() {
    static const SjisText k = SjisText::lit("お隣チェック回数");
    return k;
}

SjisText number(int n) {
    return SjisText(QByteArray::number(n));
}

// The bytes a text was read from while it is shown unchanged; else the text
// itself, when Shift-JIS can hold it on one line.
bool storable(const SjisText &read, const QString &text, SjisText &out, QString &badChar) {
    if (!read.isEmpty() && read.toUnicode() == text) {
        out = read;
        return true;
    }
    for (const QChar ch : text)
        if (ch == QLatin1Char('\n') || ch == QLatin1Char('\r')) {
            badChar = ch;
            return false;
        }
    return SjisText::tryFromUnicode(text, out, &badChar);
}

} // namespace

Options load(const QString &path, SeatLayout &layout, StoredBytes &stored) {
    IniProfile ini(path);
    for (int r = 0; r < layout::rows; ++r)
        for (int c = 0; c < layout::columns; ++c)
            layout.setCell(c, r, ini.readString(number(c), number(r), SjisText()));

    auto shown = [&](const char *key, const char *def, SjisText &read) {
        read = ini.readString(section(), SjisText::lit(key), SjisText::lit(def));
        return read.toUnicode();
    };
    Options o;
    o.title = shown("印刷タイトル", "座席表", stored.title);
    o.folder = shown("フォルダ", "", stored.folder);
    o.folder2 = shown("フォルダ2", "", stored.folder2);
    o.neighbourRule = ini.readInteger(section(), SjisText::lit("お隣チェック"), 0) == 1;
    o.rounds = std::clamp(ini.readInteger(section(), roundsKey(), 1), 1, 10);
    ini.flush();
    return o;
}

void save(const QString &path, const SeatLayout &layout, const Options &options, const StoredBytes &stored) {
    IniProfile ini(path);
    for (int r = 0; r < layout::rows; ++r)
        for (int c = 0; c < layout::columns; ++c)
            ini.writeString(number(c), number(r), layout.cell(c, r));

    SjisText title;
    QString bad;
    if (!storable(stored.title, options.title, title, bad)) {
        const QString code = codePointText(bad);
        throw KiraboError(QStringLiteral("印刷タイトルの「%1」(U+%2) はシフトJISで表せない文字のため保存できません")
                              .arg(bad.trimmed(), code));
    }
    ini.writeString(section(), SjisText::lit("印刷タイトル"), title);

    // A folder the file cannot hold is not remembered: the dialog then
    // starts where it does by default, and closing still succeeds.
    auto folder = [&](const char *key, const SjisText &read, const QString &dir) {
        SjisText out;
        QString unused;
        if (!storable(read, dir, out, unused))
            out = SjisText();
        ini.writeString(section(), SjisText::lit(key), out);
    };
    folder("フォルダ", stored.folder, options.folder);
    folder("フォルダ2", stored.folder2, options.folder2);
    ini.writeInteger(section(), SjisText::lit("お隣チェック"), options.neighbourRule ? 1 : 0);
    // Files written before the rule could look further back stay as they
    // were until the teacher chooses more than one round.
    const SjisText absent("\x01");
    if (options.rounds != 1 || ini.readString(section(), roundsKey(), absent) != absent)
        ini.writeInteger(section(), roundsKey(), options.rounds);
    ini.flush();
}

} // namespace settings
