#include "app/shell/HotKeyGrabber.h"

#include "app/agent/ui/X11.h"
#include "app/shell/PortalHotKeyGrabber.h"
#include "app/shell/X11HotKeyGrabber.h"

namespace Dovrin::Shell {

namespace {

// Neither X11 nor a Wayland session (the offscreen platform): nothing can be grabbed.
class NoHotKeyGrabber final : public HotKeyGrabber {
public:
    int install() override { return 1; }
    Outcome grab(HotKeyAction, const Shortcut&) override { return {1, Refusal::notAllowedByDesktop}; }
    void release(HotKeyAction) override {}
};

} // namespace

std::unique_ptr<HotKeyGrabber> HotKeyGrabber::forSession() {
    // Under Wayland Dovrin is an X client of XWayland, whose grabs fire only while one of its own windows
    // has the focus: the desktop's portal is the one way to a global shortcut there.
    if (qgetenv("XDG_SESSION_TYPE") == "wayland" || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return std::make_unique<PortalHotKeyGrabber>();
    if (Agent::X11::connection())
        return std::make_unique<X11HotKeyGrabber>();
    return std::make_unique<NoHotKeyGrabber>();
}

} // namespace Dovrin::Shell
