// Compiled as a file of the model would be: it must not build, because the
// model sees Qt Core alone and the window's header needs the widgets.
#include "app/Main.h"

int windowSizeSeenFromTheModel() {
    return static_cast<int>(sizeof(TForm1));
}
