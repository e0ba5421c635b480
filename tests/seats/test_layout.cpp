#include "support/WindowTest.h"

class Layout : public WindowTest {};

TEST_F(Layout, placeholder) {
    createWindow();
    EXPECT_EQ(form().SeatAmount(), 48);
}
