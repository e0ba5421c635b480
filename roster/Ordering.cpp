#include "app/Main.h"

// The roster's seat check and the two orderings.

bool TForm1::ErrorCheck() {
    return false;
}

void TForm1::GridSort(StringGrid *grid, int col) {
    (void)grid;
    (void)col;
}

void TForm1::ToolButton6Click() {}

void TForm1::ToolButton4Click() {}
