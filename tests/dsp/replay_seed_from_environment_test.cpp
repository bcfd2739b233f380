// A replay seed given in the environment replaces the per-instance seed, so renders of
// separate instances can repeat each other; anything but a decimal 32-bit number is ignored.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <memory>

#include "ScopedHome.h"
#include "dsp/Vextoria3FX.h"

namespace {
constexpr const char* kVariable = "VEXTORIA_REPLAY_SEED";

uint32_t ownAddressSeed(const Vextoria3FX& fx)
{
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(&fx));
}
} // namespace

TEST(ReplaySeedFromEnvironment, ADecimalNumberFixesTheSeedAnythingElseIsIgnored)
{
    ScopedHome home;
    setenv(kVariable, "4294967295", 1);
    EXPECT_EQ(std::make_unique<Vextoria3FX>()->getReplaySeed(), 4294967295u);

    for (const char* unusable : {"", "-1", "4294967296", "12x", " 12", "seed"}) {
        setenv(kVariable, unusable, 1);
        const auto fx = std::make_unique<Vextoria3FX>();
        EXPECT_EQ(fx->getReplaySeed(), ownAddressSeed(*fx)) << '"' << unusable << '"';
    }
    unsetenv(kVariable);
    const auto fx = std::make_unique<Vextoria3FX>();
    EXPECT_EQ(fx->getReplaySeed(), ownAddressSeed(*fx));
}
