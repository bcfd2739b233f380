#pragma once

#include "Controls.h"

// The two faces of the instrument: a dark rack unit with a blue accent, and a lighter,
// warmer older face with brown lettering.
namespace artwork {

namespace rack {
const Colour accent = rgb(0, 170, 255);
const Colour panelTop = rgb(62, 64, 69), panelBottom = rgb(38, 40, 44);
const Colour labelText = rgb(196, 199, 205), labelShadow = rgb(0, 0, 0, 0.75);
const Colour glassTop = rgb(10, 18, 30), glassBottom = rgb(2, 5, 11);

const KnobLook knob{23, 2.6, 16.5, rgb(22, 24, 28), accent, rgb(96, 99, 106), rgb(34, 36, 40),
                    rgb(14, 15, 17), rgb(236, 239, 243), rgb(0, 0, 0, 0.55)};
const CapLook cap{rgb(150, 154, 161), rgb(70, 73, 79), rgb(18, 19, 22), accent};
const KeyLook key{4, rgb(78, 81, 88), rgb(44, 46, 51), rgb(14, 15, 17), rgb(150, 154, 162), mix(accent, rgb(255, 255, 255), 0.35),
                  rgb(24, 70, 104)};
const LampLook lamp{rgb(14, 34, 48), accent, rgb(8, 9, 11)};
} // namespace rack

namespace legacy {
const Colour lettering = rgb(86, 64, 48);
const Colour accent = rgb(214, 108, 34);
const Colour panelTop = rgb(234, 224, 204), panelBottom = rgb(206, 191, 166);
const Colour labelShadow = rgb(255, 250, 238, 0.8);
const Colour glassTop = rgb(26, 28, 24), glassBottom = rgb(8, 9, 8);

const KnobLook knob{25, 2.8, 19, rgb(178, 160, 134), accent, rgb(252, 247, 236), rgb(196, 183, 162),
                    rgb(116, 96, 76), lettering, rgb(70, 46, 24, 0.35)};
const CapLook cap{rgb(252, 247, 236), rgb(190, 176, 154), rgb(96, 76, 58), lettering};
const KeyLook key{5, rgb(128, 112, 96), rgb(86, 72, 60), rgb(48, 38, 30), rgb(222, 210, 192), rgb(255, 236, 200),
                  accent};
const LampLook lamp{rgb(104, 40, 28), rgb(255, 84, 40), rgb(70, 50, 36)};
} // namespace legacy

} // namespace artwork
