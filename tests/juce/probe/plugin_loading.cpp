#include "probe/plugin_loading.h"

namespace probe {

juce::OwnedArray<juce::PluginDescription> listClasses(const juce::String& bundlePath)
{
    juce::OwnedArray<juce::PluginDescription> classes;
    juce::VST3PluginFormat format;
    if (format.fileMightContainThisPluginType(bundlePath))
        format.findAllTypesForFile(classes, bundlePath);
    return classes;
}

LoadedPlugin loadClass(const juce::String& bundlePath, const juce::String& className,
                       double sampleRate, int blockSize)
{
    if (!juce::File(bundlePath).isDirectory())
        return {nullptr, "no VST3 bundle at " + bundlePath};

    const auto classes = listClasses(bundlePath);
    const juce::PluginDescription* chosen = nullptr;
    for (const auto* description : classes)
        if (className.isEmpty() || description->name == className) {
            chosen = description;
            break;
        }
    if (chosen == nullptr)
        return {nullptr, classes.isEmpty() ? "the bundle offers no audio class"
                                           : "the bundle offers no class named \"" + className + "\""};

    juce::VST3PluginFormat format;
    LoadedPlugin loaded;
    loaded.instance = format.createInstanceFromDescription(*chosen, sampleRate, blockSize, loaded.error);
    if (loaded.instance == nullptr && loaded.error.isEmpty())
        loaded.error = "the class \"" + chosen->name + "\" could not be created";
    return loaded;
}

}  // namespace probe
