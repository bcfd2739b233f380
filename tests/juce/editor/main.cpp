// The editor tests run as a JUCE GUI program: with an application factory set, JUCE installs
// its X error handlers, so that an error the embedding provokes (a window already gone) is
// ignored as in any JUCE host, not fatal as under Xlib's default handler. They run on an X
// server of their own.

#include "editor/private_x_server.h"

#include <juce_events/juce_events.h>

#include <gtest/gtest.h>

namespace {
// Never called: gtest runs the tests, not JUCE's application loop.
juce::JUCEApplicationBase* noApplication() { return nullptr; }
}  // namespace

int main(int argc, char** argv)
{
    juce::JUCEApplicationBase::createInstance = &noApplication;
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new probe::testing::PrivateXServer);
    return RUN_ALL_TESTS();
}
