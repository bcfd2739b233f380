#pragma once
#include <cstdint>
#include <vector>

// Fades from held fade-out material to the running signal, by default over 10 ms
// (441 samples, fixed by the 44.1 kHz default) with square-root gains.
class Crossfader2 {
public:
    enum CrossfadeType : int32_t { kLinear = 0, kSquareRoot = 1 };

    Crossfader2();

    // Set-up (may allocate). Values that would give no fade at all are refused (false).
    bool setTime(double milliseconds);
    bool setSamplerate(int32_t sampleRate);
    bool setType(CrossfadeType newType);

    // Audio thread: a straight ramp from the pair toward 0 becomes the fade-out.
    void setFadeOutBuffer(float left, float right) noexcept;
    // Audio thread: copies up to fadeLen samples per channel; forward reads
    // buffer[c][0..n-1], backward reads buffer[c][0], buffer[c][-1], ... (pass a pointer
    // to the last sample). A shorter source is ramped from its last sample toward 0.
    void setFadeOutBuffer(const float* const* buffer, uint32_t sampleCount, bool forward) noexcept;
    void start() noexcept;
    void start(const float* const* buffer) noexcept; // buffer holds fadeLen samples per channel

    // One fading step each; no change once the fade has ended.
    void process(double& left, double& right) noexcept;
    void process(float& left, float& right) noexcept;
    void process(float& left, float& right, float fadeLeft, float fadeRight) noexcept;

    void fillBuffer(float left, float right) noexcept; // stores the pair while not full
    void resetContinuePhase() noexcept { fillPos = 0; }
    void getCurrentValue(float& left, float& right) const noexcept;
    void reset() noexcept { fadePos = fadeLen; }
    void stop() noexcept { fadePos = fadeLen; }

    bool isFading() const noexcept { return fadePos < fadeLen; }
    int32_t getFadePosition() const noexcept { return fadePos; }
    int32_t getFadeLength() const noexcept { return fadeLen; }

private:
    void init();
    bool configure(double newSampleRate, double milliseconds);
    template <typename Sample>
    void mix(Sample& left, Sample& right, float fadeLeft, float fadeRight) noexcept;
    void rampDown(uint32_t channel, uint32_t from, double value, double step) noexcept;

    std::vector<float> fade[2];    // fade-out material, left and right
    std::vector<double> gain;      // 0..1 per fade step
    double sampleRate = 44100.0;   // Hz
    double fadeTimeMs = 10.0;      // ms
    CrossfadeType type = kSquareRoot;
    int32_t fadePos = 0;           // idle when >= fadeLen
    int32_t fadeLen = 0;           // samples
    int32_t fillPos = 0;           // write position of fillBuffer
    float currentL = 0.0f, currentR = 0.0f; // last output pair of a fading step
};
