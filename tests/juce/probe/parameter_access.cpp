#include "probe/parameter_access.h"

#include "probe/numbers.h"

namespace probe {

namespace {
constexpr int fullNameLength = 1024;
}

juce::AudioProcessorParameter* findParameter(juce::AudioProcessor& processor, const juce::String& name)
{
    for (auto* parameter : processor.getParameters())
        if (parameter->getName(fullNameLength) == name)
            return parameter;
    return nullptr;
}

std::optional<ParameterSetting> parseParameterSetting(const juce::String& text)
{
    const int separator = text.lastIndexOfChar('=');
    if (separator <= 0)
        return std::nullopt;
    const auto value = parseNumber<float>(text.substring(separator + 1).toStdString());
    if (!value || !(*value >= 0.0f && *value <= 1.0f))
        return std::nullopt;
    return ParameterSetting{text.substring(0, separator), *value};
}

bool applyParameterSetting(juce::AudioProcessor& processor, const ParameterSetting& setting)
{
    auto* parameter = findParameter(processor, setting.name);
    if (parameter == nullptr)
        return false;
    parameter->setValueNotifyingHost(setting.value);
    return true;
}

}  // namespace probe
