// The shell's small framework: handle ownership and message-map dispatch on the real API.
#include "framework/win/message_map.h"
#include "framework/win/scoped_handle.h"

#include <gtest/gtest.h>

#include <utility>

namespace portmaven::win {
namespace {

TEST(ScopedHandle, ClosesOnceAndMovesOwnership) {
    HANDLE raw = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(raw, nullptr);
    {
        ScopedKernelHandle first(raw);
        ScopedKernelHandle second(std::move(first));
        EXPECT_FALSE(first);
        EXPECT_EQ(second.Get(), raw);
        DWORD flags = 0;
        EXPECT_TRUE(::GetHandleInformation(raw, &flags));
    }
    DWORD flags = 0;
    EXPECT_FALSE(::GetHandleInformation(raw, &flags)) << "the handle outlived its owner";
}

TEST(ScopedHandle, GdiObjectIsDeletedOnReset) {
    ScopedBrush brush(::CreateSolidBrush(RGB(1, 2, 3)));
    HBRUSH raw = brush.Get();
    ASSERT_NE(::GetObjectType(raw), 0u);
    brush.Reset();
    EXPECT_EQ(::GetObjectType(raw), 0u);
}

TEST(ScopedHandle, FileHandleTreatsInvalidValueAsEmpty) {
    ScopedFileHandle file(::CreateFileW(L"Z:\\no\\such\\dir\\file", GENERIC_READ, 0, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    EXPECT_FALSE(file);
}

// Members of every shape a table binds: no arguments, one or both message parameters, the
// whole message; returning nothing, a value, or a MessageResult.
struct RecorderBase {
    int timers = 0;
    void OnTimer(WPARAM) { ++timers; }
};

struct Recorder : RecorderBase {
    int lastCommand = 0;
    int paints = 0;
    UINT notifyCode = 0;
    int registered = 0;

    void OnPaint() { ++paints; }
    void OnCommandInRange(WPARAM wParam, LPARAM) { lastCommand = LOWORD(wParam); }
    LRESULT OnNotifyMessage(const WindowMessage& m) {
        notifyCode = reinterpret_cast<const NMHDR*>(m.lParam)->code;
        return 7;
    }
    MessageResult OnRegistered() {
        ++registered;
        return kDefaultProcessing;
    }
    bool OnSetCursor() const { return true; }
};

const MessageMapEntry<Recorder> kMap[] = {
    OnMessage<&Recorder::OnPaint>(WM_PAINT),
    OnCommandRange<&Recorder::OnCommandInRange>(501, 600),
    OnNotify<&Recorder::OnNotifyMessage>(1002, 42),
    OnRegisteredMessage<&Recorder::OnRegistered>(L"PortmavenFrameworkTest"),
    OnMessage<&Recorder::OnTimer, Recorder>(WM_TIMER),
    OnMessage<&Recorder::OnSetCursor>(WM_SETCURSOR),
};

TEST(MessageMap, RoutesMessagesCommandsAndNotifications) {
    Recorder r;
    EXPECT_TRUE(DispatchMessageMap<Recorder>(kMap, r, {WM_PAINT, 0, 0}));
    EXPECT_EQ(r.paints, 1);

    EXPECT_TRUE(DispatchMessageMap<Recorder>(kMap, r, {WM_COMMAND, MAKEWPARAM(530, 0), 0}));
    EXPECT_EQ(r.lastCommand, 530);
    // An edit control's EN_CHANGE carries its id too, but is not a command.
    EXPECT_FALSE(
        DispatchMessageMap<Recorder>(kMap, r, {WM_COMMAND, MAKEWPARAM(540, EN_CHANGE), 0}));
    EXPECT_EQ(r.lastCommand, 530);
    EXPECT_FALSE(DispatchMessageMap<Recorder>(kMap, r, {WM_COMMAND, MAKEWPARAM(601, 0), 0}));

    NMHDR header{.hwndFrom = nullptr, .idFrom = 1002, .code = 42};
    auto result =
        DispatchMessageMap<Recorder>(kMap, r, {WM_NOTIFY, 1002, reinterpret_cast<LPARAM>(&header)});
    ASSERT_TRUE(result);
    EXPECT_EQ(*result, 7);
    header.code = 43;
    EXPECT_FALSE(DispatchMessageMap<Recorder>(
        kMap, r, {WM_NOTIFY, 1002, reinterpret_cast<LPARAM>(&header)}));

    EXPECT_EQ(DispatchMessageMap<Recorder>(kMap, r, {WM_TIMER, 1, 0}), 0);
    EXPECT_EQ(r.timers, 1) << "a base class's member, bound for the derived window";
    EXPECT_EQ(DispatchMessageMap<Recorder>(kMap, r, {WM_SETCURSOR, 0, 0}), TRUE);
    EXPECT_FALSE(DispatchMessageMap<Recorder>(kMap, r, {WM_CLOSE, 0, 0}));
}

TEST(MessageMap, RegisteredMessageMatchesByName) {
    Recorder r;
    const UINT id = ::RegisterWindowMessageW(L"PortmavenFrameworkTest");
    ASSERT_GE(id, 0xC000u);
    EXPECT_FALSE(DispatchMessageMap<Recorder>(kMap, r, {id, 0, 0})) << "handler asked for default";
    EXPECT_EQ(r.registered, 1);
    EXPECT_FALSE(DispatchMessageMap<Recorder>(kMap, r, {id + 1, 0, 0}));
    EXPECT_EQ(r.registered, 1);
}

} // namespace
} // namespace portmaven::win
