#include "probe/wav_files.h"

#include <filesystem>

namespace probe {

namespace {

// About 1.5 hours at 48 kHz: more than any render needs, and a lying header cannot ask for more.
constexpr juce::int64 maxReadSamples = juce::int64{1} << 28;

bool isRegularFile(const juce::File& file)
{
    std::error_code ignored;
    return std::filesystem::is_regular_file(file.getFullPathName().toStdString(), ignored);
}

bool existsAtAll(const juce::File& file)
{
    std::error_code ignored;
    return std::filesystem::exists(std::filesystem::symlink_status(file.getFullPathName().toStdString(), ignored));
}

}  // namespace

WavReadResult readWav(const juce::File& file)
{
    WavReadResult result;
    // A device or a pipe could block or never end, so only regular files are opened.
    if (!isRegularFile(file)) {
        result.error = "not a regular file: " + file.getFullPathName();
        return result;
    }
    juce::WavAudioFormat format;
    std::unique_ptr<juce::AudioFormatReader> reader(
        format.createReaderFor(file.createInputStream().release(), true));
    if (reader == nullptr) {
        result.error = "not a WAV file: " + file.getFullPathName();
        return result;
    }
    if (reader->numChannels < 1 || reader->numChannels > 2 || reader->lengthInSamples > maxReadSamples) {
        result.error = "only mono and stereo WAV files up to 2^28 samples are read: " + file.getFullPathName();
        return result;
    }
    const auto length = static_cast<int>(reader->lengthInSamples);
    result.audio.samples.setSize(static_cast<int>(reader->numChannels), length);
    result.audio.sampleRate = reader->sampleRate;
    if (!reader->read(&result.audio.samples, 0, length, 0, true, true))
        result.error = "could not read " + file.getFullPathName();
    return result;
}

juce::String writeWav(const juce::File& file, const WavAudio& audio)
{
    if (existsAtAll(file) && !isRegularFile(file))
        return "refusing to write to something that is not a regular file: " + file.getFullPathName();
    if (!(audio.sampleRate > 0.0) || audio.samples.getNumChannels() < 1)
        return "nothing to write: no channels or no sample rate";

    // Written beside the target and moved over it, so a failure never leaves half a file.
    juce::TemporaryFile temporary(file);
    {
        auto stream = temporary.getFile().createOutputStream();
        if (stream == nullptr)
            return "cannot write to " + file.getParentDirectory().getFullPathName();
        juce::WavAudioFormat format;
        std::unique_ptr<juce::AudioFormatWriter> writer(format.createWriterFor(
            stream.get(), audio.sampleRate, static_cast<unsigned>(audio.samples.getNumChannels()), 32, {}, 0));
        if (writer == nullptr)
            return "the WAV writer refuses this format";
        stream.release();  // now owned by the writer
        if (!writer->writeFromAudioSampleBuffer(audio.samples, 0, audio.samples.getNumSamples()))
            return "could not write " + temporary.getFile().getFullPathName();
    }
    if (!temporary.overwriteTargetFileWithTemporary())
        return "could not replace " + file.getFullPathName();
    return {};
}

}  // namespace probe
