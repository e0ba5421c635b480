#include "draw/Random.h"
#include "platform/System.h"
#include "support/WindowTest.h"

#include <vector>

// Each draw advances s := s * 134775813 + 1 (mod 2^32) and answers the upper
// half of s * range. From seed 0 with range 48: s = 1 gives 48 >> 32 = 0;
// s = 134775814 gives 6469239072 >> 32 = 1.
TEST(Generator, SequencesFromKnownSeeds) {
    const struct {
        std::uint32_t seed;
        std::int32_t range;
        std::vector<std::int32_t> draws;
        std::uint32_t stateAfter;
    } cases[] = {
        {0, 48, {0, 1, 41, 9, 13, 32}, 2884733762u},
        {1, 30, {0, 25, 6, 8, 20, 9}, 1368768587u},
        {0xFFFFFFFFu, 10, {9, 2, 5, 1, 8, 0}, 105731641u},
        {123456789, 48, {26, 18, 18, 1, 38, 40}, 3658815999u},
        {42, 1, {0, 0, 0, 0, 0, 0}, 3638705852u},
        {7, 0, {0, 0, 0, 0, 0, 0}, 862912129u}, // an empty pool: always 0, the state moves on
    };
    for (const auto &c : cases) {
        rng::seed(c.seed);
        std::vector<std::int32_t> got;
        for (size_t i = 0; i < c.draws.size(); ++i)
            got.push_back(rng::randomIndex(c.range));
        EXPECT_EQ(got, c.draws) << c.seed;
        EXPECT_EQ(rng::state(), c.stateAfter) << c.seed;
    }
}

class Seeding : public WindowTest {};

TEST_F(Seeding, CreatingTheWindowSeedsFromTheClock) {
    rng::seed(0);
    const std::uint32_t before = sys::clockSeed();
    createWindow();
    const std::uint32_t after = sys::clockSeed();
    // Modulo 2^32, so a wrap of the clock's lower bits in between is fine.
    EXPECT_LE(rng::state() - before, after - before);
    EXPECT_NE(rng::state(), 0u);
}
