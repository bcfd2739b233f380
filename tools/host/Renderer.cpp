#include "host/Renderer.h"

#include "host/ProcessData.h"

#include <algorithm>

namespace VextoriaHost {

using namespace Steinberg;

RenderResult render(PluginHost& host, const AudioClip& input, const RenderSettings& settings)
{
    const int32_t channels = input.channelCount();
    if (channels < 1 || channels > 2)
        throw HostError("only mono and stereo clips are rendered");
    if (settings.blockSize < 1)
        throw HostError("the block size must be at least 1");
    const BusLayout layout = channels == 1 ? BusLayout::mono : BusLayout::stereo;
    if (host.configure(layout, input.sampleRate, settings.blockSize) != kResultOk)
        throw HostError("the plug-in refused the bus layout or the process set-up");

    ProcessBlock block(channels, channels, settings.blockSize, input.sampleRate, settings.tempo);
    for (const auto& [id, value] : settings.parameters)
        block.inputChanges.addPoint(id, 0, value);

    RenderResult result {AudioClip(channels, input.frames(), input.sampleRate), 0};
    host.start();
    // One block with the transport standing, then playback from the start, as a DAW
    // starts a bounce: the plug-in sees a transport start even when it played before.
    block.clock.setPlaying(false);
    host.process(block.prepare(std::min<int64_t>(settings.blockSize, input.frames())));
    block.finish();
    block.clock.setPlaying(true);
    block.clock.locate(0);
    for (int64_t start = 0; start < input.frames(); start += settings.blockSize) {
        const int32_t frames = static_cast<int32_t>(std::min<int64_t>(settings.blockSize, input.frames() - start));
        for (int32_t c = 0; c < channels; ++c)
            std::copy_n(input.channels[static_cast<size_t>(c)].begin() + start, frames, block.audio.input(c));
        host.process(block.prepare(frames));
        for (int32_t c = 0; c < channels; ++c)
            std::copy_n(block.audio.output(c), frames, result.output.channels[static_cast<size_t>(c)].begin() + start);
        block.finish();
        ++result.blocks;
    }
    host.stop();
    return result;
}

}  // namespace VextoriaHost
