#include "support/WindowTest.h"

class Window : public WindowTest {};

TEST_F(Window, placeholder) {
    createWindow();
    EXPECT_EQ(form().windowTitle(), QStringLiteral("Kirabo"));
}
