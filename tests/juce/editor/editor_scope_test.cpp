// Two instances in JUCE's host, each with its editor open while audio plays: closing the
// first leaves the second's scope drawing, through the run loop the host shares between them.

#include "editor/hosted_editor_fixture.h"
#include "editor/live_playback.h"

namespace probe::testing {
namespace {

constexpr double movedShare = 0.01;  // of the scope's pixels: the trace has scrolled on
constexpr int scopeTimeoutMs = 5000;
constexpr int windowGap = 20;        // pixels between the two windows, so neither covers the other

class TwoInstances : public HostedEditorTest {
protected:
    // True when the scope's pixels change within the timeout.
    bool scopeMoves(const HostWindow& window)
    {
        const auto before = x.capture(pluginWindow(window));
        if (!before)
            return false;
        return pumpUntil(
            [&] {
                const auto now = x.capture(pluginWindow(window));
                return now && now->changedShare(*before, rack.scope) > movedShare;
            },
            scopeTimeoutMs);
    }
};

TEST_F(TwoInstances, TheSecondKeepsDrawingItsScopeAfterTheFirstCloses)
{
    chooseFace(rack, 0);
    auto first = loadPlugin();
    auto second = loadPlugin();
    ASSERT_TRUE(first && second);
    auto firstPlayback = std::make_unique<LivePlayback>(*first);
    LivePlayback secondPlayback(*second);
    ASSERT_TRUE(firstPlayback->error().isEmpty()) << firstPlayback->error();
    ASSERT_TRUE(secondPlayback.error().isEmpty()) << secondPlayback.error();

    auto firstWindow = std::make_unique<HostWindow>(*first, 0, 0);
    HostWindow secondWindow(*second, 0, rack.height + windowGap);
    ASSERT_TRUE(waitForPicture(*firstWindow, rack.width, rack.height).has_value());
    ASSERT_TRUE(waitForPicture(secondWindow, rack.width, rack.height).has_value());
    EXPECT_TRUE(scopeMoves(*firstWindow));
    EXPECT_TRUE(scopeMoves(secondWindow));

    // As a host closes an instance: its editor, then its audio, then the instance.
    firstWindow.reset();
    firstPlayback.reset();
    first.reset();
    for (int look = 0; look < 3; ++look)
        EXPECT_TRUE(scopeMoves(secondWindow)) << "look " << look;
}

}  // namespace
}  // namespace probe::testing
