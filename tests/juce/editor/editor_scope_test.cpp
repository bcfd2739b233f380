// Two instances in JUCE's host, each with its editor open while audio plays: closing the
// first leaves the second's scope drawing, through the run loop the host shares between them.

#include "editor/hosted_editor_fixture.h"

#include <atomic>
#include <thread>

namespace probe::testing {
namespace {

// The test loop played in stereo at 44.1 kHz in real-time mode on an audio thread of its own,
// block by block at the pace of real time as a host's audio callback plays it, until destroyed.
class LivePlayback {
public:
    explicit LivePlayback(juce::AudioPluginInstance& plugin)
        : renderer(plugin, 2, settings), loop(makeTestLoop(2, settings.sampleRate, settings.tempo, 2.0)), output(loop)
    {
        if (renderer.error().isEmpty())
            audioThread = std::thread([this] { play(); });
    }
    ~LivePlayback()
    {
        stopping = true;
        if (audioThread.joinable())
            audioThread.join();
    }
    const juce::String& error() const { return renderer.error(); }  // empty while playing

private:
    void play()
    {
        auto due = std::chrono::steady_clock::now();
        for (int start = 0; !stopping;) {
            const int length = std::min(settings.blockSize, loop.getNumSamples() - start);
            renderer.process(loop, output, start, length);
            start = (start + length) % loop.getNumSamples();
            due += std::chrono::microseconds(static_cast<long>(1e6 * length / settings.sampleRate));
            std::this_thread::sleep_until(due);
        }
    }

    const RenderSettings settings{44100.0, 512, 120.0, true, true};
    BlockRenderer renderer;
    juce::AudioBuffer<float> loop, output;  // output: the audio thread's
    std::atomic<bool> stopping{false};
    std::thread audioThread;
};

class TwoInstances : public HostedEditorTest {
protected:
    // True when more than 1 % of the scope's pixels change (the trace scrolls on) within 5 s.
    bool scopeMoves(const HostWindow& window)
    {
        const auto before = capture(window);
        return before && pumpUntil([&] {
            const auto now = capture(window);
            return now && now->changedShare(*before, rack.scope) > 0.01;
        }, 5000);
    }
};

TEST_F(TwoInstances, TheSecondKeepsDrawingItsScopeAfterTheFirstCloses)
{
    auto first = loadPlugin(rack, 0);
    auto second = loadPlugin(rack, 0);
    ASSERT_TRUE(first && second);
    auto firstPlayback = std::make_unique<LivePlayback>(*first);
    LivePlayback secondPlayback(*second);
    ASSERT_EQ(firstPlayback->error(), "");
    ASSERT_EQ(secondPlayback.error(), "");

    // 20 pixels apart, so that neither window covers the other.
    auto firstWindow = std::make_unique<HostWindow>(*first, 0, 0);
    HostWindow secondWindow(*second, 0, rack.height + 20);
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
