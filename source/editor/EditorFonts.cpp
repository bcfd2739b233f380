#include "EditorFonts.h"

#include <map>
#include <utility>

using namespace VSTGUI;

CFontRef editorFont(CCoord size, int32 style)
{
    static std::map<std::pair<CCoord, int32>, SharedPointer<CFontDesc>> fonts;
    auto& font = fonts[{size, style}];
    if (!font)
        font = SharedPointer<CFontDesc>::adopt(new CFontDesc("Tahoma", size, style));
    return font.get();
}
