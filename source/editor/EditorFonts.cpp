#include "EditorFonts.h"

#include <map>
#include <string>
#include <tuple>

using namespace VSTGUI;

CFontRef editorFont(CCoord size, int32 style, const char* family)
{
    static std::map<std::tuple<std::string, CCoord, int32>, SharedPointer<CFontDesc>> fonts;
    auto& font = fonts[{family, size, style}];
    if (!font)
        font = SharedPointer<CFontDesc>::adopt(new CFontDesc(family, size, style));
    return font.get();
}
