// Message maps as tables: each entry binds a window message, a command id range or a control
// notification to a handler of the owning window class. Handlers are plain functions (usually
// captureless lambdas in the class's static table) that decode wParam/lParam themselves.
#pragma once

#include <windows.h>

#include <optional>
#include <span>

namespace portmaven::win {

struct WindowMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// A handler's answer: a result, or nullopt to let the system's default processing run.
using MessageResult = std::optional<LRESULT>;
inline constexpr MessageResult kDefaultProcessing = std::nullopt;

template <class Owner> struct MessageMapEntry {
    enum class Kind { Message, Command, Notify, Registered };
    using Handler = MessageResult (*)(Owner&, const WindowMessage&);

    Kind kind;
    UINT message = 0;                        // Kind::Message
    UINT firstId = 0;                        // Kind::Command and Kind::Notify
    UINT lastId = 0;                         // Kind::Command
    UINT notifyCode = 0;                     // Kind::Notify
    const wchar_t* registeredName = nullptr; // Kind::Registered
    Handler handler = nullptr;
};

template <class Owner>
constexpr MessageMapEntry<Owner> OnMessage(UINT message,
                                           typename MessageMapEntry<Owner>::Handler handler) {
    return {.kind = MessageMapEntry<Owner>::Kind::Message, .message = message, .handler = handler};
}

// WM_COMMAND from a menu item, an accelerator or a button click, for ids first..last.
template <class Owner>
constexpr MessageMapEntry<Owner> OnCommandRange(UINT firstId, UINT lastId,
                                                typename MessageMapEntry<Owner>::Handler handler) {
    return {.kind = MessageMapEntry<Owner>::Kind::Command,
            .firstId = firstId,
            .lastId = lastId,
            .handler = handler};
}

template <class Owner>
constexpr MessageMapEntry<Owner> OnCommand(UINT id,
                                           typename MessageMapEntry<Owner>::Handler handler) {
    return OnCommandRange<Owner>(id, id, handler);
}

// WM_NOTIFY from control `id` with notification `code`.
template <class Owner>
constexpr MessageMapEntry<Owner> OnNotify(UINT id, UINT code,
                                          typename MessageMapEntry<Owner>::Handler handler) {
    return {.kind = MessageMapEntry<Owner>::Kind::Notify,
            .firstId = id,
            .notifyCode = code,
            .handler = handler};
}

// A message registered by name with RegisterWindowMessageW (for example "TaskbarCreated").
template <class Owner>
constexpr MessageMapEntry<Owner>
OnRegisteredMessage(const wchar_t* name, typename MessageMapEntry<Owner>::Handler handler) {
    return {.kind = MessageMapEntry<Owner>::Kind::Registered,
            .registeredName = name,
            .handler = handler};
}

namespace detail {

// Menu items, accelerators and button clicks; other notifications (EN_CHANGE, ...) are not
// commands even though they arrive as WM_COMMAND with the control's id.
inline bool IsCommandNotification(WPARAM wParam) {
    const UINT code = HIWORD(wParam);
    return code == 0 || code == 1;
}

template <class Owner> bool Matches(const MessageMapEntry<Owner>& entry, const WindowMessage& msg) {
    using Kind = typename MessageMapEntry<Owner>::Kind;
    switch (entry.kind) {
    case Kind::Message:
        return msg.message == entry.message;
    case Kind::Command: {
        if (msg.message != WM_COMMAND || !IsCommandNotification(msg.wParam)) {
            return false;
        }
        const UINT id = LOWORD(msg.wParam);
        return id >= entry.firstId && id <= entry.lastId;
    }
    case Kind::Notify: {
        if (msg.message != WM_NOTIFY || msg.lParam == 0) {
            return false;
        }
        const auto* header = reinterpret_cast<const NMHDR*>(msg.lParam);
        return header->idFrom == entry.firstId && header->code == entry.notifyCode;
    }
    case Kind::Registered:
        // Registered messages live in 0xC000..0xFFFF; only those are worth the lookup.
        return msg.message >= 0xC000 &&
               msg.message == ::RegisterWindowMessageW(entry.registeredName);
    }
    return false;
}

} // namespace detail

// Runs the first entry that matches; nullopt when none does or the handler asks for default
// processing.
template <class Owner>
MessageResult DispatchMessageMap(std::span<const MessageMapEntry<Owner>> map, Owner& owner,
                                 const WindowMessage& msg) {
    for (const auto& entry : map) {
        if (detail::Matches(entry, msg)) {
            return entry.handler(owner, msg);
        }
    }
    return kDefaultProcessing;
}

} // namespace portmaven::win
