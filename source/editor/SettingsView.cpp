#include "SettingsView.h"

using namespace VSTGUI;

namespace {
const CColor kPanelColor(0, 0, 0, 255);
const CColor kBarColor(52, 52, 52, 255);
const CColor kBarMiddleColor(92, 92, 92, 255);
constexpr CCoord kCornerRadius = 12;
constexpr CCoord kBarTop = 38;
constexpr CCoord kBarBottom = 46;
constexpr CCoord kBarInset = 8;             // from the left and right edges
constexpr CCoord kBarMiddleHalfWidth = 150;
} // namespace

SettingsView::SettingsView(const CRect& size) : CViewContainer(size) {}

void SettingsView::drawRect(CDrawContext* context, const CRect& updateRect)
{
    context->saveGlobalState();
    context->setDrawMode(kAntiAliasing);
    context->setGlobalAlpha(context->getGlobalAlpha() * kOpacity);
    context->setFillColor(kPanelColor);
    if (CGraphicsPath* panel = context->createRoundRectGraphicsPath(size, kCornerRadius))
    {
        context->drawGraphicsPath(panel, CDrawContext::kPathFilled);
        panel->forget();
    }
    const CCoord centre = size.left + size.getWidth() / 2;
    context->setFillColor(kBarColor);
    context->drawRect(CRect(size.left + kBarInset, size.top + kBarTop, size.right - kBarInset, size.top + kBarBottom), kDrawFilled);
    context->setFillColor(kBarMiddleColor);
    context->drawRect(CRect(centre - kBarMiddleHalfWidth, size.top + kBarTop, centre + kBarMiddleHalfWidth, size.top + kBarBottom),
                      kDrawFilled);
    CViewContainer::drawRect(context, updateRect);
    context->restoreGlobalState();
}
