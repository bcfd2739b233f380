#include "host/ParameterList.h"

#include "base/source/fstring.h"

#include <cstdio>

namespace VextoriaHost {

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

// A controller's UTF-16 text as UTF-8; the buffer need not be terminated.
template <size_t size>
std::string utf8Of(const TChar (&text)[size])
{
    TChar terminated[size + 1] {};
    for (size_t i = 0; i < size && text[i] != 0; ++i)
        terminated[i] = text[i];
    String converted(terminated);
    converted.toMultiByte(kCP_Utf8);
    return converted.text8() ? converted.text8() : "";
}

}  // namespace

std::vector<ParameterLine> listParameters(IEditController& controller)
{
    std::vector<ParameterLine> lines;
    const int32 count = controller.getParameterCount();
    for (int32 index = 0; index < count; ++index) {
        ParameterInfo info {};
        if (controller.getParameterInfo(index, info) != kResultOk)
            continue;
        String128 text {};
        if (controller.getParamStringByValue(info.id, info.defaultNormalizedValue, text) != kResultOk)
            text[0] = 0;
        lines.push_back({info.id, utf8Of(info.title), utf8Of(info.units), info.stepCount, info.defaultNormalizedValue,
                         utf8Of(text)});
    }
    return lines;
}

std::string valueText(IEditController& controller, ParamID id, double value)
{
    String128 text {};
    if (controller.getParamStringByValue(id, value, text) != kResultOk)
        return {};
    return utf8Of(text);
}

std::string formatParameterLine(const ParameterLine& parameter)
{
    char number[32];
    std::snprintf(number, sizeof number, "%g", parameter.defaultValue);
    return std::to_string(parameter.id) + '\t' + parameter.title + '\t' + parameter.units + '\t' +
           std::to_string(parameter.stepCount) + '\t' + number + '\t' + parameter.defaultText;
}

}  // namespace VextoriaHost
