// The frame's window: opening and closing it on X11.
#include "cframe.h"

#include "x11frame.h"

namespace VSTGUI {

bool CFrame::open(void* parent, PlatformType type, IPlatformFrameConfig* config)
{
    auto* x11Config = dynamic_cast<X11::FrameConfig*>(config);
    if (openWindow || type != PlatformType::kX11EmbedWindowID || !x11Config)
        return false;
    const auto parentWindow = xcb_window_t(reinterpret_cast<uintptr_t>(parent));
    auto window = X11::X11Frame::create(*this, parentWindow, x11Config->runLoop.get());
    if (!window)
        return false;
    openWindow = std::move(window);
    platformFrame = openWindow.get();
    invalid();
    return true;
}

void CFrame::close()
{
    // A press still held gets its cancel while the views can reach the editor; then the
    // views and helpers go, while the run loop still knows their timers.
    onMouseCancel();
    tooltips.reset();
    hoverChain.clear();
    removeAll();
    animator.reset();
    platformFrame = nullptr;
    openWindow.reset();
    forget();
}

} // namespace VSTGUI
