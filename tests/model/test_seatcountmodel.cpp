#include "seats/SeatCount.h"

#include <gtest/gtest.h>

#include <optional>

TEST(SeatCountModel, SaysBothCountsAndWhatToChangeOnTheLayout) {
    struct Case {
        int seats;
        std::optional<int> students;
        const char *text;
        const char *advice;
    };
    const Case cases[] = {
        {48, std::nullopt, "座席 48 ／ 名簿なし", ""},
        {32, 32, "座席 32 ／ 名簿 32人", ""},
        {31, 30, "座席 31 ／ 名簿 30人", "×印をあと1個付けてください"},
        {48, 1, "座席 48 ／ 名簿 1人", "×印をあと47個付けてください"},
        {30, 32, "座席 30 ／ 名簿 32人", "×印を2個外してください"},
        {0, 48, "座席 0 ／ 名簿 48人", "×印を48個外してください"},
        {48, 50, "座席 48 ／ 名簿 50人", "名簿が48人を超えています"},
    };
    for (const Case &c : cases) {
        const SeatCount count{c.seats, c.students};
        EXPECT_EQ(count.text(), QString::fromUtf8(c.text));
        EXPECT_EQ(count.advice(), QString::fromUtf8(c.advice)) << c.text;
        EXPECT_EQ(count.differs(), *c.advice != '\0') << c.text;
    }
}
