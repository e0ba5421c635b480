#include "app/Main.h"

#include "platform/Errors.h"
#include "platform/IniProfile.h"
#include "platform/StringGrid.h"
#include "seats/Classroom.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QLineEdit>

// Settings files: the start-up file and named settings files.

namespace {

const SjisText &settingsSection() {
    static const SjisText s = SjisText::lit("設定");
    return s;
}

SjisText number(int n) {
    return SjisText(QByteArray::number(n));
}

} // namespace

void TForm1::LoadSetting(const QString &path) {
    IniProfile ini(path);
    for (int r = 0; r < layout::rows; ++r)
        for (int c = 0; c < layout::columns; ++c)
            StringGrid_Settei->setCell(c, r, ini.readString(number(c), number(r), SjisText()));

    auto shown = [&](const char *key, const char *def, SjisText &read) {
        read = ini.readString(settingsSection(), SjisText::lit(key), SjisText::lit(def));
        return read.toUnicode();
    };
    Edit_Title->setText(shown("印刷タイトル", "座席表", settingsRead.title));
    OpenDialog1.setInitialDir(shown("フォルダ", "", settingsRead.folder));
    OpenDialog2.setInitialDir(shown("フォルダ2", "", settingsRead.folder2));
    CB_tonari->setChecked(ini.readInteger(settingsSection(), SjisText::lit("お隣チェック"), 0) == 1);
    ini.flush();
}

void TForm1::SaveSetting(const QString &path) {
    IniProfile ini(path);
    for (int r = 0; r < layout::rows; ++r)
        for (int c = 0; c < layout::columns; ++c)
            ini.writeString(number(c), number(r), StringGrid_Settei->cell(c, r));

    // The bytes a text was read from while it is shown unchanged; else the
    // text itself, when Shift-JIS can hold it on one line.
    auto stored = [&](const SjisText &read, const QString &text, SjisText &out, QString &badChar) {
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
    };

    SjisText title;
    QString bad;
    if (!stored(settingsRead.title, Edit_Title->text(), title, bad)) {
        const QString code = codePointText(bad);
        throw KiraboError(QStringLiteral("印刷タイトルの「%1」(U+%2) はシフトJISで表せない文字のため保存できません")
                              .arg(bad.trimmed(), code));
    }
    ini.writeString(settingsSection(), SjisText::lit("印刷タイトル"), title);

    // A folder the file cannot hold is not remembered: the dialog then
    // starts where it does by default, and closing still succeeds.
    auto folder = [&](const char *key, const SjisText &read, const QString &dir) {
        SjisText out;
        QString unused;
        if (!stored(read, dir, out, unused))
            out = SjisText();
        ini.writeString(settingsSection(), SjisText::lit(key), out);
    };
    folder("フォルダ", settingsRead.folder, OpenDialog1.initialDir());
    folder("フォルダ2", settingsRead.folder2, OpenDialog2.initialDir());
    ini.writeInteger(settingsSection(), SjisText::lit("お隣チェック"), CB_tonari->isChecked() ? 1 : 0);
    ini.flush();
}

void TForm1::LoadSettingFile() {
    if (!OpenDialog2.execute())
        return;
    const QString file = OpenDialog2.fileName;
    // A name typed for a file that is not there, or a file that cannot be
    // read, would otherwise empty the layout as if the file held nothing.
    if (const int err = IniProfile(file).readError())
        throw InOutError(err);
    SaveDialog2.fileName = file;
    LoadSetting(file);
    // The settings dialog starts where the teacher keeps settings files.
    OpenDialog2.setInitialDir(QFileInfo(file).absolutePath());
}

void TForm1::SaveSettingFile() {
    // A name without a folder is the proposal of a save-as the user
    // cancelled, not a place the user chose: ask again.
    if (SaveDialog2.fileName.isEmpty() || QFileInfo(SaveDialog2.fileName).isRelative()) {
        SaveDialog2.setInitialDir(OpenDialog2.initialDir());
        if (!SaveDialog2.execute())
            return;
    }
    SaveSetting(SaveDialog2.fileName);
    OpenDialog2.setInitialDir(QFileInfo(SaveDialog2.fileName).absolutePath());
}

void TForm1::Button3Click() {
    SaveDialog2.fileName = Edit_Title->text();
    SaveDialog2.setInitialDir(OpenDialog2.initialDir());
    if (!SaveDialog2.execute())
        return;
    SaveSettingFile();
}

void TForm1::Button4Click() {
    LoadSettingFile();
}

void TForm1::Button5Click() {
    SaveSettingFile();
}
