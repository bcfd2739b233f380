#pragma once
// Shared by the integration tests: the built bundle in a fresh host instance, the slicer
// settings most tests start from, and an independent reader of the 372-byte program record
// (so a fault in the plug-in's own reader cannot hide itself).

#include "host/PluginHost.h"
#include "host/ProcessData.h"

#include "ids.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <memory>

namespace VextoriaTest {

using Parameters = std::vector<std::pair<Steinberg::Vst::ParamID, double>>;

constexpr int64_t kBar = 88200;    // samples at 120 BPM and 44.1 kHz
constexpr int64_t kSlice = 11025;  // two slices per beat

inline std::unique_ptr<VextoriaHost::PluginHost> loadBundle()
{
    return std::make_unique<VextoriaHost::PluginHost>(VEXTORIA_BUNDLE_PATH);
}

// A stereo instance at 44.1 kHz, configured but not started.
class ConfiguredBundle : public ::testing::Test {
protected:
    static constexpr int32_t kBlock = 512;

    void SetUp() override
    {
        host = loadBundle();
        ASSERT_EQ(host->configure(VextoriaHost::BusLayout::stereo, 44100.0, kBlock), Steinberg::kResultOk);
    }

    std::unique_ptr<VextoriaHost::PluginHost> host;
};

// The slicer on with every choice but the repeat switched off and the gate fully open.
inline Parameters repeatOnly(double sliceAmount, const Parameters& extra = {})
{
    Parameters parameters = {{Vextoria3Ids::kActive, 1.0},     {Vextoria3Ids::kSliceAmt, sliceAmount},
                             {Vextoria3Ids::kGateSize, 1.0},   {Vextoria3Ids::kReverseAmt, 0.0},
                             {Vextoria3Ids::kRollAmt, 0.0},    {Vextoria3Ids::kPitchAmt, 0.0},
                             {Vextoria3Ids::kPanAmt, 0.0},     {Vextoria3Ids::kFxAmt, 0.0}};
    parameters.insert(parameters.end(), extra.begin(), extra.end());
    return parameters;
}

// Little-endian fields of one program record at byte offsets.
struct RecordView {
    const std::vector<uint8_t>& bytes;

    int32_t intAt(size_t offset) const
    {
        uint32_t value = 0;
        for (size_t i = 0; i < 4; ++i)
            value |= static_cast<uint32_t>(bytes.at(offset + i)) << (8 * i);
        return static_cast<int32_t>(value);
    }
    double doubleAt(size_t offset) const
    {
        uint64_t bits = 0;
        for (size_t i = 0; i < 8; ++i)
            bits |= static_cast<uint64_t>(bytes.at(offset + i)) << (8 * i);
        double value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    double param(int32_t id) const { return doubleAt(8 + 8 * static_cast<size_t>(id)); }
    double hidden(int32_t index) const { return doubleAt(316 + 8 * static_cast<size_t>(index)); }
};

inline void putInt(std::vector<uint8_t>& bytes, size_t offset, int32_t value)
{
    for (size_t i = 0; i < 4; ++i)
        bytes.at(offset + i) = static_cast<uint8_t>(static_cast<uint32_t>(value) >> (8 * i));
}

inline void putDouble(std::vector<uint8_t>& bytes, size_t offset, double value)
{
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    for (size_t i = 0; i < 8; ++i)
        bytes.at(offset + i) = static_cast<uint8_t>(bits >> (8 * i));
}

// A record with one parameter changed.
inline std::vector<uint8_t> withParam(std::vector<uint8_t> record, int32_t id, double value)
{
    putDouble(record, 8 + 8 * static_cast<size_t>(id), value);
    return record;
}

// The live parameters of a fresh instance with no settings file, by id; 12, 35 and 36 read 0.
constexpr std::array<double, 38> kDefaultParameters = {
    0, 0.85, 0.4, 0, 0.35, 0, 0.5, 0.5, 1.0, 0.5, 0, 1.0, 0, 0, 0, 0, 1.0, 0, 0.4,
    0.45, 1.0, 0.65, 0.95, 0.5, 0.5, 0.6, 0, 0, 1.0, 1.0, 1.0, 1.0, 0, 0.5, 0.5, 0, 0, 0};
constexpr std::array<double, 7> kDefaultHidden = {0, 0, 0, 1, 0, 0, 0};

// Runs one block of silence with the given changes, so the processor takes them.
inline void processOneBlock(VextoriaHost::PluginHost& host, VextoriaHost::ProcessBlock& block, int32_t frames)
{
    ASSERT_EQ(host.process(block.prepare(frames)), Steinberg::kResultOk);
    block.finish();
}

}  // namespace VextoriaTest
