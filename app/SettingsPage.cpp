#include "app/Main.h"

#include "widgets/Dialogs.h"
#include "platform/Errors.h"
#include "platform/IniProfile.h"
#include "widgets/StringGrid.h"
#include "print/ChartPage.h"
#include "printing/ReportSystem.h"
#include "roster/HeldSeats.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>

// The print and seat settings page: the settings files and the printout.

void TForm1::LoadSetting(const QString &path) {
    const settings::Options options = settings::load(path, seatLayout, settingsRead);
    Edit_Title->setText(options.title);
    OpenDialog1.setInitialDir(options.folder);
    OpenDialog2.setInitialDir(options.folder2);
    CB_tonari->setChecked(options.neighbourRule);
    SpinBox_Rounds->setValue(options.rounds);
}

void TForm1::SaveSetting(const QString &path) {
    settings::save(path, seatLayout,
                   {Edit_Title->text(), OpenDialog1.initialDir(), OpenDialog2.initialDir(), CB_tonari->isChecked(),
                    SpinBox_Rounds->value()},
                   settingsRead);
}

void TForm1::LoadSettingFile() {
    if (!OpenDialog2.execute())
        return;
    openSettingsFile(OpenDialog2.fileName);
}

void TForm1::openSettingsFile(const QString &file) {
    // A name typed for a file that is not there, or a file that cannot be
    // read, would otherwise empty the layout as if the file held nothing.
    if (const int err = IniProfile(file).readError())
        throw InOutError(err);
    // The roster's seat numbers stay and stand for the opened layout's
    // seats: where that puts students elsewhere, the teacher is asked first.
    if (heldseats::count(classRoster) > 0) {
        SeatLayout opened;
        settings::StoredBytes unused;
        settings::load(file, opened, unused);
        const LayoutChange change(classRoster, seatLayout, opened, LayoutChange::Follow::Numbers);
        if (change.movesSeats()
            && messageDlg(change.question(), MsgKind::Confirmation, {MsgButton::Yes, MsgButton::No}) != MsgButton::Yes)
            return;
    }
    SaveDialog2.fileName = file;
    LoadSetting(file);
    // The names the chart showed stood at the places of the layout before:
    // it shows the opened layout until the next fill.
    for (int c = 0; c < layout::columns; ++c)
        for (int r = 0; r < layout::rows; ++r)
            StringGrid1->setCell(c, r, seatLayout.cell(c, r));
    layoutChanged();
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

void TForm1::BitBtn1Click() {
    // A chart of seats that do not fit the layout would show students where
    // no draw put them.
    if (const std::optional<QString> why = heldseats::whyNotPrinted(classRoster, seatLayout)) {
        messageDlg(*why, MsgKind::Error, {MsgButton::Ok});
        return;
    }
    RvSystem1->execute();
}

void TForm1::RvSystem1Print(PageCanvas &sender) {
    // The roster may have been edited since the chart was last filled: the
    // page shows the names it holds now.
    seatTable.rebuild(classRoster);
    chartpage::compose(sender, Edit_Title->text(), RadioButton1->isChecked(), seatLayout, seatTable);
}
