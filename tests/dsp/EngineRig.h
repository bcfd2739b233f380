#pragma once
// Drives the DSP object the way the processor does: transport, parameters, blocks of audio.
#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "ScopedHome.h"
#include "dsp/Vextoria3FX.h"
#include "ids.h"

using namespace Vextoria3Ids;

struct EngineRig {
    using Channels = std::vector<std::vector<float>>;
    // Called before each block with its first frame and length, so a test can change things there.
    using BlockHook = std::function<void(int64_t firstFrame, int32_t frames)>;

    EngineRig(double sampleRate, int32_t channels, int32_t maxBlock = 512, double tempo = 120.0)
        : channelCount(channels), fx(std::make_unique<Vextoria3FX>())
    {
        fx->inputChannelCount = fx->outputChannelCount = channels;
        fx->resume(sampleRate, maxBlock);
        HostTimeInfo& time = fx->timeInfo;
        time.contextValid = time.playing = time.projectMusicValid = time.tempoValid = true;
        time.sampleRate = sampleRate;
        time.tempo = tempo;
        time.samplesPerBeat = sampleRate * 60.0 / tempo;
    }
    // Pitch bend and mod wheel reach their own setters too, as the processor passes them on.
    using Settings = std::vector<std::pair<int32_t, double>>;
    void set(const Settings& values)
    {
        for (const auto& [id, value] : values) {
            fx->setParameter(id, value);
            if (id == kPitchBend || id == kModWheel)
                id == kPitchBend ? fx->setPitchBend(value) : fx->setModwheel(static_cast<float>(value));
        }
    }

    // Renders input (a vector per channel) in blocks; bypassed blocks leave the output silent.
    Channels render(const Channels& input, int32_t blockSize, const BlockHook& hook = {})
    {
        const auto frames = static_cast<int64_t>(input[0].size());
        Channels output(static_cast<size_t>(channelCount), std::vector<float>(input[0].size()));
        for (int64_t start = 0; start < frames; start += blockSize) {
            const auto count = static_cast<int32_t>(std::min<int64_t>(blockSize, frames - start));
            if (hook)
                hook(start, count);
            const float* in[2];
            float* out[2];
            for (size_t c = 0; c < static_cast<size_t>(channelCount); ++c) {
                in[c] = input[c].data() + start;
                out[c] = output[c].data() + start;
            }
            HostTimeInfo& time = fx->timeInfo;
            time.projectTimeSamples = position;
            time.projectTimeMusic = static_cast<double>(position) / time.samplesPerBeat;
            if (bypassed)
                fx->processBypass(in, out, count);
            else
                fx->process(in, out, count);
            position += time.playing ? count : 0;
        }
        return output;
    }
    // Renders noise in blocks; answers each slice decision with its block's first frame.
    std::vector<std::pair<int64_t, SliceDecision>> decisions(int64_t frames, int32_t blockSize, const BlockHook& hook = {})
    {
        const Channels input = noise(channelCount, blockSize, 7);
        std::vector<std::pair<int64_t, SliceDecision>> log;
        for (int64_t frame = 0; frame < frames; frame += blockSize) {
            if (hook)
                hook(frame, blockSize);
            const uint64_t seen = fx->decisionCount();
            render(input, blockSize);
            EXPECT_LE(fx->decisionCount() - seen, 1u) << "one slice start per block at most";
            if (fx->decisionCount() != seen)
                log.emplace_back(frame, fx->lastDecision());
        }
        return log;
    }

    static Channels constant(int32_t channels, int64_t frames, float value)
    {
        return Channels(static_cast<size_t>(channels), std::vector<float>(static_cast<size_t>(frames), value));
    }
    // Seeded uniform noise between -0.5 and 0.5, channel after channel.
    static Channels noise(int32_t channels, int64_t frames, uint32_t seed)
    {
        Channels clip = constant(channels, frames, 0.0f);
        std::mt19937 engine(seed);
        std::uniform_real_distribution<float> uniform(-0.5f, 0.5f);
        for (auto& channel : clip)
            std::generate(channel.begin(), channel.end(), [&] { return uniform(engine); });
        return clip;
    }

    int32_t channelCount;
    int64_t position = 0; // project samples
    bool bypassed = false;
    ScopedHome home;
    std::unique_ptr<Vextoria3FX> fx;
};
