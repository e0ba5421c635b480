#include "app/Main.h"

// The roster file: open, save, edits and the question on closing.

void TForm1::ToolButton1Click() {
    Jyunbi();
}

void TForm1::ToolButton3Click() {}

void TForm1::ToolButton2Click() {
    SaveMeibo();
}

void TForm1::SaveMeibo() {}

void TForm1::StringGrid2SetEditText(int, int, const SjisText &) {
    Modified = true;
}

void TForm1::RosterQuestion(bool &canClose) {
    (void)canClose;
}
