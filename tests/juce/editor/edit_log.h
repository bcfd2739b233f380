#pragma once
// What the plug-in tells its host about edits: gestures and values, by VST3 parameter id, in order.

#include <juce_audio_processors/juce_audio_processors.h>

#include <vector>

namespace probe::testing {

class EditLog : private juce::AudioProcessorListener {
public:
    enum class Kind { begin, perform, end };
    struct Entry {
        Kind kind;
        int id;       // VST3 parameter id
        float value;  // normalised, 0..1; the parameter's value at the time for begin and end
    };

    explicit EditLog(juce::AudioPluginInstance& plugin) : plugin(plugin) { plugin.addListener(this); }
    ~EditLog() override { plugin.removeListener(this); }
    EditLog(const EditLog&) = delete;
    EditLog& operator=(const EditLog&) = delete;

    const std::vector<Entry>& entries() const { return log; }
    void clear() { log.clear(); }

private:
    void record(Kind kind, int index, float value)
    {
        auto* parameter = dynamic_cast<juce::HostedAudioProcessorParameter*>(plugin.getParameters()[index]);
        log.push_back({kind, parameter != nullptr ? parameter->getParameterID().getIntValue() : -1, value});
    }
    float valueOf(int index) const { return plugin.getParameters()[index]->getValue(); }

    void audioProcessorParameterChanged(juce::AudioProcessor*, int index, float value) override
    {
        record(Kind::perform, index, value);
    }
    void audioProcessorParameterChangeGestureBegin(juce::AudioProcessor*, int index) override
    {
        record(Kind::begin, index, valueOf(index));
    }
    void audioProcessorParameterChangeGestureEnd(juce::AudioProcessor*, int index) override
    {
        record(Kind::end, index, valueOf(index));
    }
    void audioProcessorChanged(juce::AudioProcessor*, const ChangeDetails&) override {}

    juce::AudioPluginInstance& plugin;
    std::vector<Entry> log;  // message thread
};

}  // namespace probe::testing
