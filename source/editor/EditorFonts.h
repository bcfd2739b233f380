// The editor's own fonts, each made on first use and kept until the library goes. UI thread only.
#pragma once

#include "vstgui.h"

// The shared font of `family` at `size` pixels and `style` (CTxtFace bits). Owners must not
// change it.
VSTGUI::CFontRef editorFont(VSTGUI::CCoord size, VSTGUI::int32 style = VSTGUI::kNormalFace, const char* family = "Tahoma");
