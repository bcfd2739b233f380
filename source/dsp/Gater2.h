#pragma once
#include <cstdint>
#include <vector>

// Shapes each slice: a 2 ms linear attack, an open hold whose length follows the
// gate amount, then a 4 ms square-root release, closed until the next start.
class Gater2 {
public:
    Gater2();

    // Set-up (may allocate): rebuilds the release table for the rate. Rates below
    // 1 kHz are refused (false) and change nothing.
    bool init(int32_t sampleRate);

    void setSize(int32_t sliceLength) noexcept; // samples; used by the next setValue
    void setValue(float gateAmount) noexcept;   // 0..1 (NaN reads 0)
    void start() noexcept;                      // audio thread, at every slice start
    float process(float x) noexcept;            // audio thread
    void reset() noexcept {}                    // the gate has nothing to clear

    int32_t getOpenLength() const noexcept { return openLen; }
    double getAttackLength() const noexcept { return attackLen; }
    double getReleaseLength() const noexcept { return releaseLen; }

private:
    static constexpr int32_t kMinimumSampleRate = 1000;

    double gain(int32_t position) const noexcept;

    int32_t sampleRate = 44100; // Hz
    int32_t gatePos = 0;        // samples since the last start
    int32_t openLen = 0;        // samples open before the release, from setValue
    int32_t releaseStart = 0;   // openLen as taken by the last start
    int32_t gateSize = 5000;    // slice length, samples
    float gateValue = 0.0f;     // last gate amount, 0..1
    double releaseLen = 0.0;    // samples
    double attackLen = 0.0;     // samples
    std::vector<double> releaseTable; // square-root fall from 1 toward 0
};
