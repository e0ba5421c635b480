// Compiled as a file of the model would be: it must not build, because the
// model's libraries show their own headers alone, and the window's header
// is none of them (it needs the widgets, which the model never sees).
#include "app/Main.h"

int windowSizeSeenFromTheModel() {
    return static_cast<int>(sizeof(TForm1));
}
