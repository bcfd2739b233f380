#pragma once
// Messages built from a fuzzer's input: an id, then up to four attributes, each a key, a
// type and a value. The keys are the commands of both sides, so most inputs say something
// a receiver looks at.
#include "FuzzInput.h"
#include "support/SafeHostMessage.h"

#include <array>
#include <string>
#include <string_view>

namespace FuzzMessage {

using namespace Steinberg;
using namespace Steinberg::Vst;

inline constexpr std::array<const char*, 4> kIds = {"IntMessage", "BinaryMessage", "TextMessage", nullptr};
inline constexpr std::array<const char*, 11> kKeys = {"setslice", "linuxtimer", "loadpreset", "setpresetname",
                                                      "synchiddenparam", "copyhiddenparam", "askpresonus",
                                                      "MidiNote", "AudioData", "Text", "other"};
enum Type : uint8_t { kInt, kFloat, kString, kBinary };
enum IdIndex : uint8_t { kIntMessage, kBinaryMessage, kTextMessage, kNoId };

// The index of a command in kKeys, for seeds.
constexpr uint8_t key(std::string_view name)
{
    for (size_t index = 0; index < kKeys.size(); ++index)
        if (name == kKeys[index])
            return static_cast<uint8_t>(index);
    return 255;
}

inline constexpr uint32_t kMaxKeyBytes = 40;
inline constexpr uint32_t kMaxStringUnits = 1000;
inline constexpr uint32_t kMaxBinaryBytes = 100000;

// A key from kKeys by index, or the bytes that follow as a key of its own.
inline std::string readKey(FuzzInput& in)
{
    const uint8_t pick = in.byte();
    if (pick < kKeys.size())
        return kKeys[pick];
    const std::vector<uint8_t> bytes = in.bytes(in.length(kMaxKeyBytes));
    return std::string(bytes.begin(), bytes.end());
}

inline IPtr<IMessage> read(FuzzInput& in)
{
    auto message = owned(static_cast<IMessage*>(new SafeHostMessage()));
    const uint8_t id = in.byte();
    if (id < kIds.size())
        message->setMessageID(kIds[id]);
    else
        message->setMessageID(readKey(in).c_str());
    IAttributeList* attributes = message->getAttributes();
    for (uint8_t count = in.byte() % 5; count > 0; --count) {
        const std::string key = readKey(in);
        switch (in.byte() % 4) {
        case kInt: attributes->setInt(key.c_str(), in.value<int64>()); break;
        case kFloat: attributes->setFloat(key.c_str(), in.value<double>()); break;
        case kString: {
            // The list copies up to the terminator, which every string needs.
            std::u16string text(in.length(kMaxStringUnits), u'\0');
            for (char16_t& unit : text)
                unit = in.value<char16_t>();
            attributes->setString(key.c_str(), reinterpret_cast<const TChar*>(text.c_str()));
            break;
        }
        default: {
            const std::vector<uint8_t> bytes = in.bytes(in.length(kMaxBinaryBytes));
            attributes->setBinary(key.c_str(), bytes.data(), static_cast<uint32>(bytes.size()));
        }
        }
    }
    return message;
}

// Seed writers for the same layout.
inline FuzzSeed& attributeCount(FuzzSeed& seed, uint8_t id, uint8_t count)
{
    return seed.byte(id).byte(count);
}
inline FuzzSeed& intAttribute(FuzzSeed& seed, uint8_t key, int64 value)
{
    return seed.byte(key).byte(kInt).add(value);
}
inline FuzzSeed& binaryAttribute(FuzzSeed& seed, uint8_t key, const std::vector<uint8_t>& bytes)
{
    return seed.byte(key).byte(kBinary).length(static_cast<uint32_t>(bytes.size())).raw(bytes);
}
inline FuzzSeed& stringAttribute(FuzzSeed& seed, uint8_t key, const std::u16string& text)
{
    seed.byte(key).byte(kString).length(static_cast<uint32_t>(text.size()));
    return seed.raw(text.data(), text.size() * sizeof(char16_t));
}

} // namespace FuzzMessage
