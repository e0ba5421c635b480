#include "app/Main.h"

// The printed seat chart.

void TForm1::BitBtn1Click() {}
