#pragma once
// A DSP object playing at 120 BPM (48 kHz unless told otherwise) with stereo buffers of one
// block, for benchmarks.
#include <memory>
#include <random>
#include <vector>

#include "dsp/Vextoria3FX.h"

struct PlayingDsp {
    explicit PlayingDsp(int32_t blockSize, double sampleRate = 48000.0)
        : fx(std::make_unique<Vextoria3FX>()), left(blockSize, 0.25f), right(blockSize, -0.25f),
          outLeft(blockSize), outRight(blockSize)
    {
        fx->resume(sampleRate, blockSize);
        fx->timeInfo.contextValid = true;
        fx->timeInfo.playing = true;
        fx->timeInfo.projectMusicValid = true;
        fx->timeInfo.sampleRate = sampleRate;
        fx->timeInfo.samplesPerBeat = sampleRate / 2.0;
    }

    // Moves the host position on by one block, as a playing host does.
    void advance(int32_t blockSize)
    {
        fx->timeInfo.projectTimeMusic += blockSize / fx->timeInfo.samplesPerBeat;
        fx->timeInfo.projectTimeSamples += blockSize;
    }

    // Seeded noise in both inputs, so every effect has something to work on.
    void fillWithNoise(unsigned seed)
    {
        std::mt19937 engine(seed);
        std::uniform_real_distribution<float> noise(-0.5f, 0.5f);
        for (std::vector<float>* channel : {&left, &right})
            for (float& sample : *channel)
                sample = noise(engine);
    }

    std::unique_ptr<Vextoria3FX> fx;
    std::vector<float> left, right, outLeft, outRight;
    const float* inputs[2] = {left.data(), right.data()};
    float* outputs[2] = {outLeft.data(), outRight.data()};
};
