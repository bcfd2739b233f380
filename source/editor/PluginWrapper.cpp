#include "PluginWrapper.h"

#include "LinkMessage.h"
#include "controller/Utf16Text.h"
#include "controller/Vextoria3Controller.h"
#include "pluginterfaces/vst/ivsthostapplication.h"
#include <cmath>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

// UTF-16 code units to UTF-8; a lone surrogate becomes U+FFFD.
std::string toUtf8(const TChar* text, int32 capacity)
{
    std::string out;
    auto put = [&out](char32_t c) {
        if (c < 0x80)
            out += char(c);
        else if (c < 0x800)
            out += {char(0xC0 | (c >> 6)), char(0x80 | (c & 0x3F))};
        else if (c < 0x10000)
            out += {char(0xE0 | (c >> 12)), char(0x80 | ((c >> 6) & 0x3F)), char(0x80 | (c & 0x3F))};
        else
            out += {char(0xF0 | (c >> 18)), char(0x80 | ((c >> 12) & 0x3F)), char(0x80 | ((c >> 6) & 0x3F)),
                    char(0x80 | (c & 0x3F))};
    };
    for (int32 i = 0; i < capacity && text[i] != 0; ++i)
    {
        const char32_t unit = char16_t(text[i]);
        const bool high = unit >= 0xD800 && unit < 0xDC00;
        const char32_t next = i + 1 < capacity ? char16_t(text[i + 1]) : 0;
        if (high && next >= 0xDC00 && next < 0xE000)
        {
            put(0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00));
            ++i;
        }
        else
            put(unit >= 0xD800 && unit < 0xE000 ? 0xFFFD : unit);
    }
    return out;
}

} // namespace

PluginWrapper::PluginWrapper(EditController* editController) : controller(editController) {}

double PluginWrapper::getParameter(int32 id) const
{
    return controller ? controller->getParamNormalized(ParamID(id)) : 0.0;
}

bool PluginWrapper::setParameterAutomated(int32 id, double value)
{
    if (!controller || !std::isfinite(value) || !controller->getParameterObject(ParamID(id)))
        return false;
    if (controller->setParamNormalized(ParamID(id), value) == kResultFalse)
        return false;
    // The host gets what the controller stored: clamped, and what the host reads back.
    return controller->performEdit(ParamID(id), controller->getParamNormalized(ParamID(id))) != kResultFalse;
}

double PluginWrapper::getHiddenParameter(int32 index) const
{
    auto* vextoria = dynamic_cast<Vextoria3Controller*>(controller);
    return vextoria ? vextoria->getHiddenParameters().getParamValue(index) : 0.0;
}

bool PluginWrapper::setHiddenParameter(int32 index, double value)
{
    auto* vextoria = dynamic_cast<Vextoria3Controller*>(controller);
    if (!vextoria || !vextoria->getHiddenParameters().setParamValue(index, value))
        return false;
    vextoria->setHiddenParamNormalized(index, value); // the echo; no editor open is no fault
    return true;
}

std::string PluginWrapper::getHostName() const
{
    if (!controller || !controller->getHostContext())
        return {};
    FUnknownPtr<IHostApplication> host(controller->getHostContext());
    String128 name {};
    if (!host || host->getName(name) != kResultOk)
        return {};
    // A host may fill all 128 units without a terminator.
    name[127] = 0;
    return toUtf8(name, 128);
}

void PluginWrapper::sendBinaryMessage(const char* command, const void* data, uint32 size)
{
    if (controller)
        LinkMessage::sendBinary(*controller, command, data, size);
}

void PluginWrapper::sendIntMessage(const char* command, int64 value)
{
    if (controller)
        LinkMessage::sendInt(*controller, command, value);
}

void PluginWrapper::sendFloatMessage(const char* command, float value)
{
    if (controller)
        LinkMessage::Outgoing(*controller).sendFloat(command, double(value));
}

void PluginWrapper::sendStringMessage(const char* command, const std::string& text)
{
    if (!controller)
        return;
    std::vector<TChar> wide(text.size() + 1); // UTF-16 never needs more units than UTF-8 bytes
    Utf16Text::fromUtf8(text, wide.data(), int32(wide.size()));
    LinkMessage::Outgoing(*controller).sendString(command, wide.data());
}
