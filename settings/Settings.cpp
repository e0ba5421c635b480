#include "app/Main.h"

// Settings files: the start-up file and named settings files.

void TForm1::LoadSetting(const QString &path) {
    (void)path;
}

void TForm1::SaveSetting(const QString &path) {
    (void)path;
}

void TForm1::LoadSettingFile() {}

void TForm1::SaveSettingFile() {}

void TForm1::Button3Click() {}

void TForm1::Button4Click() {
    LoadSettingFile();
}

void TForm1::Button5Click() {
    SaveSettingFile();
}
