#include "probe/component_state.h"

namespace probe {

namespace {
const juce::String componentTag = "IComponent";

std::unique_ptr<juce::XmlElement> readBlob(const juce::MemoryBlock& hostState)
{
    return juce::AudioProcessor::getXmlFromBinary(hostState.getData(), static_cast<int>(hostState.getSize()));
}
}  // namespace

std::optional<juce::MemoryBlock> componentState(const juce::MemoryBlock& hostState)
{
    const auto blob = readBlob(hostState);
    const auto* element = blob != nullptr ? blob->getChildByName(componentTag) : nullptr;
    juce::MemoryBlock bytes;
    if (element == nullptr || !bytes.fromBase64Encoding(element->getAllSubText()))
        return std::nullopt;
    return bytes;
}

std::optional<juce::MemoryBlock> withComponentState(const juce::MemoryBlock& hostState,
                                                    const juce::MemoryBlock& component)
{
    auto blob = readBlob(hostState);
    if (blob == nullptr)
        return std::nullopt;
    blob->deleteAllChildElementsWithTagName(componentTag);
    blob->createNewChildElement(componentTag)->addTextElement(component.toBase64Encoding());
    juce::MemoryBlock result;
    juce::AudioProcessor::copyXmlToBinary(*blob, result);
    return result;
}

}  // namespace probe
