#include "sdk/streambytes.h"

#include <algorithm>

namespace Steinberg {

void readStreamBytes(IBStream& stream, int32 maxBytes, std::vector<uint8_t>& out)
{
    constexpr int32 kPieceBytes = 4096; // grows the buffer as data arrives, not by a claimed size
    out.clear();
    while (static_cast<int32>(out.size()) < maxBytes)
    {
        const int32 wanted = std::min(kPieceBytes, maxBytes - static_cast<int32>(out.size()));
        const size_t start = out.size();
        out.resize(start + static_cast<size_t>(wanted));
        int32 numRead = 0;
        const tresult result = stream.read(out.data() + start, wanted, &numRead);
        numRead = std::clamp(numRead, 0, wanted);
        out.resize(start + static_cast<size_t>(result == kResultOk ? numRead : 0));
        if (result != kResultOk || numRead < wanted)
            break;
    }
}

tresult writeStreamBytes(IBStream& stream, const std::vector<uint8_t>& bytes)
{
    const auto size = static_cast<int32>(bytes.size());
    int32 numWritten = 0;
    const tresult result = stream.write(const_cast<uint8_t*>(bytes.data()), size, &numWritten);
    if (result != kResultOk)
        return result;
    return numWritten == size ? kResultOk : kResultFalse;
}

} // namespace Steinberg
