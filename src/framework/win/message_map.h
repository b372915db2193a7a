// Message maps as tables: each entry binds a window message, a command id range or a control
// notification to a member function of the owning window class, in one line:
//
//     OnCommand<&CMyDlg::OnMenuExit>(ID_MENU_EXIT),
//
// A member takes nothing, (WPARAM), (WPARAM, LPARAM) or the whole WindowMessage, and returns
// nothing
// (the message is then handled with result 0), an LRESULT-convertible value, or a
// MessageResult (nullopt lets the system's default processing run as well). A member inherited
// from a base class names the window class as the second argument:
//
//     OnMessage<&CMyLink::OnTimer, CMyLink>(WM_TIMER),
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <span>
#include <type_traits>

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
    enum class Kind { Message, Command, ControlCommand, Notify, Registered };
    using Handler = MessageResult (*)(Owner&, const WindowMessage&);

    Kind kind;
    UINT message = 0;                        // Kind::Message
    UINT firstId = 0;                        // Kind::Command, ControlCommand and Notify
    UINT lastId = 0;                         // Kind::Command
    UINT notifyCode = 0;                     // Kind::ControlCommand and Notify
    const wchar_t* registeredName = nullptr; // Kind::Registered
    Handler handler = nullptr;
};

namespace detail {

template <class Owner, class Result, class... Args> Owner* OwnerOf(Result (Owner::*)(Args...));
template <class Owner, class Result, class... Args>
Owner* OwnerOf(Result (Owner::*)(Args...) const);

template <auto Member> using MemberOwner = std::remove_pointer_t<decltype(OwnerOf(Member))>;

template <class Call> MessageResult AsMessageResult(Call call) {
    using Result = std::invoke_result_t<Call>;
    if constexpr (std::is_void_v<Result>) {
        call();
        return 0;
    } else if constexpr (std::is_same_v<Result, MessageResult>) {
        return call();
    } else {
        return static_cast<LRESULT>(call());
    }
}

// The table's handler for a member function: decodes the message into its arguments.
template <auto Member, class Owner>
MessageResult CallMember(Owner& owner, const WindowMessage& msg) {
    if constexpr (std::is_invocable_v<decltype(Member), Owner&>) {
        return AsMessageResult([&] { return std::invoke(Member, owner); });
    } else if constexpr (std::is_invocable_v<decltype(Member), Owner&, const WindowMessage&>) {
        return AsMessageResult([&] { return std::invoke(Member, owner, msg); });
    } else if constexpr (std::is_invocable_v<decltype(Member), Owner&, WPARAM>) {
        return AsMessageResult([&] { return std::invoke(Member, owner, msg.wParam); });
    } else {
        return AsMessageResult([&] { return std::invoke(Member, owner, msg.wParam, msg.lParam); });
    }
}

} // namespace detail

template <auto Member, class Owner = detail::MemberOwner<Member>>
constexpr MessageMapEntry<Owner> OnMessage(UINT message) {
    return {.kind = MessageMapEntry<Owner>::Kind::Message,
            .message = message,
            .handler = &detail::CallMember<Member, Owner>};
}

// WM_COMMAND from a menu item, an accelerator or a button click, for ids first..last.
template <auto Member, class Owner = detail::MemberOwner<Member>>
constexpr MessageMapEntry<Owner> OnCommandRange(UINT firstId, UINT lastId) {
    return {.kind = MessageMapEntry<Owner>::Kind::Command,
            .firstId = firstId,
            .lastId = lastId,
            .handler = &detail::CallMember<Member, Owner>};
}

template <auto Member, class Owner = detail::MemberOwner<Member>>
constexpr MessageMapEntry<Owner> OnCommand(UINT id) {
    return OnCommandRange<Member, Owner>(id, id);
}

// WM_COMMAND carrying a control's notification `code` (EN_CHANGE, CBN_SELCHANGE) from control
// `id`. Listed before an OnCommand entry for the same id: some codes are 1, like an
// accelerator's.
template <auto Member, class Owner = detail::MemberOwner<Member>>
constexpr MessageMapEntry<Owner> OnControlCommand(UINT id, UINT code) {
    return {.kind = MessageMapEntry<Owner>::Kind::ControlCommand,
            .firstId = id,
            .notifyCode = code,
            .handler = &detail::CallMember<Member, Owner>};
}

// WM_NOTIFY from control `id` with notification `code`.
template <auto Member, class Owner = detail::MemberOwner<Member>>
constexpr MessageMapEntry<Owner> OnNotify(UINT id, UINT code) {
    return {.kind = MessageMapEntry<Owner>::Kind::Notify,
            .firstId = id,
            .notifyCode = code,
            .handler = &detail::CallMember<Member, Owner>};
}

// A message registered by name with RegisterWindowMessageW (for example "TaskbarCreated").
template <auto Member, class Owner = detail::MemberOwner<Member>>
constexpr MessageMapEntry<Owner> OnRegisteredMessage(const wchar_t* name) {
    return {.kind = MessageMapEntry<Owner>::Kind::Registered,
            .registeredName = name,
            .handler = &detail::CallMember<Member, Owner>};
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
    case Kind::ControlCommand:
        return msg.message == WM_COMMAND && msg.lParam != 0 &&
               LOWORD(msg.wParam) == entry.firstId && HIWORD(msg.wParam) == entry.notifyCode;
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
