#include "sdk/moduleentry.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string calls; // the module functions that ran, in order

// Registered in reverse of their order, so the test sees the order applied.
const Steinberg::ModuleInitializer lateInit([] { calls += "init-late "; }, 60);
const Steinberg::ModuleInitializer earlyInit([] { calls += "init-early "; }, 10);
const Steinberg::ModuleTerminator lateExit([] { calls += "exit-late "; }, 60);
const Steinberg::ModuleTerminator earlyExit([] { calls += "exit-early "; }, 10);

int firstHandle = 1;
int secondHandle = 2;

} // namespace

TEST(ModuleEntry, OnlyTheFirstEntryAndTheLastExitSetUpAndTearDown)
{
    calls.clear();
    EXPECT_FALSE(ModuleExit()) << "an exit without an entry is refused";
    EXPECT_EQ(Steinberg::getPlatformModuleHandle(), nullptr);

    ASSERT_TRUE(ModuleEntry(&firstHandle));
    ASSERT_TRUE(ModuleEntry(&secondHandle)); // the module loaded a second time
    EXPECT_EQ(calls, "init-early init-late ");
    EXPECT_EQ(Steinberg::getPlatformModuleHandle(), &firstHandle);

    ASSERT_TRUE(ModuleExit());
    EXPECT_EQ(Steinberg::getPlatformModuleHandle(), &firstHandle);
    EXPECT_EQ(calls, "init-early init-late ");

    ASSERT_TRUE(ModuleExit());
    EXPECT_EQ(Steinberg::getPlatformModuleHandle(), nullptr);
    EXPECT_EQ(calls, "init-early init-late exit-early exit-late ");
    EXPECT_FALSE(ModuleExit());

    // A later load starts again from the beginning.
    calls.clear();
    ASSERT_TRUE(ModuleEntry(&secondHandle));
    EXPECT_EQ(Steinberg::getPlatformModuleHandle(), &secondHandle);
    ASSERT_TRUE(ModuleExit());
    EXPECT_EQ(calls, "init-early init-late exit-early exit-late ");
}
