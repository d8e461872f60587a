#include "app/shell/X11HotKeyGrabber.h"

#include "app/agent/ui/X11.h"
#include "app/shell/KeySyms.h"
#include "app/shell/Shortcut.h"

#include <QCoreApplication>

#include <array>
#include <vector>

namespace Dovrin::Shell {

namespace {

using Agent::X11::owned;

// Shown in the log when the key has no keycode on this keyboard, where X's own error codes are positive.
constexpr int noSuchKey = -1;

// The keysyms of the modifier keys.
constexpr xcb_keysym_t altKeys[] = {0xffe9, 0xffea};
constexpr xcb_keysym_t metaKeys[] = {0xffe7, 0xffe8};
constexpr xcb_keysym_t superKeys[] = {0xffeb, 0xffec};
constexpr xcb_keysym_t hyperKeys[] = {0xffed, 0xffee};
constexpr xcb_keysym_t numLockKeys[] = {0xff7f};

// The keysyms every keycode of the server's keyboard map produces.
class KeyboardMap final {
public:
    explicit KeyboardMap(xcb_connection_t* connection) {
        const xcb_setup_t* setup = xcb_get_setup(connection);
        m_first = setup->min_keycode;
        auto reply = owned(xcb_get_keyboard_mapping_reply(
            connection,
            xcb_get_keyboard_mapping(connection, setup->min_keycode,
                                     uint8_t(setup->max_keycode - setup->min_keycode + 1)),
            nullptr));
        if (!reply)
            return;
        m_perKeycode = reply->keysyms_per_keycode;
        const xcb_keysym_t* keysyms = xcb_get_keyboard_mapping_keysyms(reply.get());
        m_keysyms.assign(keysyms, keysyms + xcb_get_keyboard_mapping_keysyms_length(reply.get()));
    }

    template <std::size_t n> bool produces(xcb_keycode_t keycode, const xcb_keysym_t (&keysyms)[n]) const {
        for (int column = 0; column < m_perKeycode; ++column) {
            for (const xcb_keysym_t keysym : keysyms) {
                if (at(keycode, column) == keysym)
                    return true;
            }
        }
        return false;
    }

    // The first keycode that produces the keysym, looking at unshifted keys first; 0 when none does.
    xcb_keycode_t keycode(xcb_keysym_t keysym) const {
        const int count = m_perKeycode ? int(m_keysyms.size()) / m_perKeycode : 0;
        for (int column = 0; column < m_perKeycode; ++column) {
            for (int index = 0; index < count; ++index) {
                if (m_keysyms[std::size_t(index * m_perKeycode + column)] == keysym)
                    return xcb_keycode_t(m_first + index);
            }
        }
        return 0;
    }

private:
    xcb_keysym_t at(xcb_keycode_t keycode, int column) const {
        const std::size_t index = std::size_t((keycode - m_first) * m_perKeycode + column);
        return keycode >= m_first && index < m_keysyms.size() ? m_keysyms[index] : 0;
    }

    int m_first = 0;
    int m_perKeycode = 0;
    std::vector<xcb_keysym_t> m_keysyms;
};

// Which of Mod1…Mod5 Alt, Meta and Num Lock sit on; the usual ones when the server does not say.
struct ModifierMasks {
    uint16_t alt = XCB_MOD_MASK_1;
    uint16_t meta = XCB_MOD_MASK_4;
    uint16_t numLock = XCB_MOD_MASK_2;
};

ModifierMasks modifierMasks(xcb_connection_t* connection, const KeyboardMap& keyboard) {
    ModifierMasks masks;
    auto reply =
        owned(xcb_get_modifier_mapping_reply(connection, xcb_get_modifier_mapping(connection), nullptr));
    if (!reply)
        return masks;
    uint16_t alt = 0, meta = 0, super = 0, hyper = 0, numLock = 0;
    const xcb_keycode_t* keycodes = xcb_get_modifier_mapping_keycodes(reply.get());
    const int perModifier = reply->keycodes_per_modifier;
    // Shift, Lock and Control are the first three and never move.
    for (int modifier = 3; modifier < 8; ++modifier) {
        const auto mask = uint16_t(1 << modifier);
        for (int i = 0; i < perModifier; ++i) {
            const xcb_keycode_t keycode = keycodes[modifier * perModifier + i];
            if (!keycode)
                continue;
            alt |= keyboard.produces(keycode, altKeys) ? mask : 0;
            meta |= keyboard.produces(keycode, metaKeys) ? mask : 0;
            super |= keyboard.produces(keycode, superKeys) ? mask : 0;
            hyper |= keyboard.produces(keycode, hyperKeys) ? mask : 0;
            numLock |= keyboard.produces(keycode, numLockKeys) ? mask : 0;
        }
    }
    // As Qt reads them: Meta is the Meta keys' modifier unless Alt shares it, else Super's, else Hyper's.
    if (meta == alt)
        meta = 0;
    meta = meta ? meta : super ? super : hyper;
    masks.alt = alt ? alt : masks.alt;
    masks.meta = meta ? meta : masks.meta;
    masks.numLock = numLock ? numLock : masks.numLock;
    return masks;
}

std::array<uint16_t, 4> lockCombinations(uint16_t numLock) {
    return {0, XCB_MOD_MASK_LOCK, numLock, uint16_t(XCB_MOD_MASK_LOCK | numLock)};
}

} // namespace

X11HotKeyGrabber::X11HotKeyGrabber(QObject* parent) : HotKeyGrabber(parent) {}

X11HotKeyGrabber::~X11HotKeyGrabber() {
    for (const auto& [action, grab] : m_grabs)
        ungrab(grab);
    if (m_installed)
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

int X11HotKeyGrabber::install() {
    m_connection = Agent::X11::connection();
    if (!m_connection)
        return 1;
    m_root = Agent::X11::rootWindow(m_connection);
    QCoreApplication::instance()->installNativeEventFilter(this);
    m_installed = true;
    return 0;
}

HotKeyGrabber::Outcome X11HotKeyGrabber::grab(HotKeyAction action, const Shortcut& shortcut) {
    release(action);
    if (!m_installed)
        return {noSuchKey, Refusal::notAllowedByDesktop};
    const KeyboardMap keyboard(m_connection);
    const std::optional<KeySym> keysym = keySym(shortcut.keyCode);
    const xcb_keycode_t keycode = keysym ? keyboard.keycode(keysym->value) : 0;
    if (!keycode)
        return {noSuchKey, Refusal::notAllowedByDesktop};
    // Read each time: a new keyboard layout may move Alt or Super to another modifier.
    const ModifierMasks masks = modifierMasks(m_connection, keyboard);
    const Qt::KeyboardModifiers modifiers = shortcut.qtModifiers();
    Grab grab{keycode, 0, uint16_t(XCB_MOD_MASK_LOCK | masks.numLock)};
    grab.modifiers |= modifiers & Qt::ShiftModifier ? XCB_MOD_MASK_SHIFT : 0;
    grab.modifiers |= modifiers & Qt::ControlModifier ? XCB_MOD_MASK_CONTROL : 0;
    grab.modifiers |= modifiers & Qt::AltModifier ? masks.alt : 0;
    grab.modifiers |= modifiers & Qt::MetaModifier ? masks.meta : 0;

    // Not owner events: every press comes to the root window, so it is never also typed into a sticky.
    std::array<xcb_void_cookie_t, 4> cookies{};
    const std::array<uint16_t, 4> locks = lockCombinations(masks.numLock);
    for (std::size_t i = 0; i < locks.size(); ++i)
        cookies[i] = xcb_grab_key_checked(m_connection, 0, m_root, uint16_t(grab.modifiers | locks[i]),
                                          keycode, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
    int status = 0;
    for (const xcb_void_cookie_t cookie : cookies) {
        if (auto error = owned(xcb_request_check(m_connection, cookie)); error && !status)
            status = error->error_code;
    }
    if (status) {
        // Another client holds at least one lock combination (BadAccess): none of ours may stay behind.
        ungrab(grab);
        return {status, Refusal::takenByAnotherApp};
    }
    m_grabs.insert_or_assign(action, grab);
    return {};
}

void X11HotKeyGrabber::release(HotKeyAction action) {
    const auto found = m_grabs.find(action);
    if (found == m_grabs.end())
        return;
    ungrab(found->second);
    m_grabs.erase(found);
}

void X11HotKeyGrabber::ungrab(const Grab& grab) {
    const uint16_t numLock = grab.locks & ~XCB_MOD_MASK_LOCK;
    for (const uint16_t locks : lockCombinations(numLock))
        xcb_ungrab_key(m_connection, grab.keycode, m_root, uint16_t(grab.modifiers | locks));
    xcb_flush(m_connection);
}

bool X11HotKeyGrabber::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7f) != XCB_KEY_PRESS)
        return false;
    const auto* press = static_cast<const xcb_key_press_event_t*>(message);
    // Only a grab delivers presses to the root window; one typed into a window of ours is not a hot key.
    if (press->event != m_root)
        return false;
    for (const auto& [action, grab] : m_grabs) {
        // The low byte holds Shift, Lock, Control and Mod1…Mod5; the mouse buttons sit above it.
        if (press->detail == grab.keycode && (press->state & 0xff & ~grab.locks) == grab.modifiers) {
            QMetaObject::invokeMethod(
                this, [this, action = action] { emit pressed(action); }, Qt::QueuedConnection);
            return true;
        }
    }
    return false;
}

} // namespace Dovrin::Shell
