#include "app/Main.h"

// The draw: preparation, the spin and the neighbour rule.

void TForm1::Jyunbi() {}

void TForm1::Button6Click() {
    Jyunbi();
}

void TForm1::Button1Click() {}

void TForm1::Timer1Timer() {}
