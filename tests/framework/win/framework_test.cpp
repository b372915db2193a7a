// The shell's small framework: handle ownership, message-map dispatch and the modal dialog's
// exception boundary on the real API.
#include "framework/win/com_apartment.h"
#include "framework/win/dialog.h"
#include "framework/win/message_map.h"
#include "framework/win/scoped_handle.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>
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

// A fresh thread: the apartment makes it single-threaded while it lives and leaves it free
// for any kind of apartment afterwards.
TEST(ScopedComApartment, JoinsASingleThreadedApartmentAndLeavesItAgain) {
    HRESULT whileInside = S_OK;
    HRESULT afterwards = E_FAIL;
    bool initialised = false;
    std::thread([&] {
        {
            const ScopedComApartment apartment;
            initialised = apartment.Initialised();
            whileInside = ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        }
        afterwards = ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        if (SUCCEEDED(afterwards)) {
            ::CoUninitialize();
        }
    }).join();
    EXPECT_TRUE(initialised);
    EXPECT_EQ(whileInside, RPC_E_CHANGED_MODE) << "the thread was not single-threaded";
    EXPECT_EQ(afterwards, S_OK) << "the apartment outlived its owner";
}

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

// A modal dialog (any template of the program will do) whose command handler throws. The
// handler posts a probe first; the probe reaches the dialog only if its modal loop and window
// outlived the throw, records that and ends the dialog. (Both end before the dialog manager
// would show them, once the queue is empty: nothing here needs the screen.) With
// `nested`, the handler first runs a second such dialog modal to this one, as the tray host runs
// the Configure dialog from its menu handler.
class ThrowingDlg : public Dialog {
public:
    static constexpr UINT kThrowingCommand = 0x7F01; // in no template
    static constexpr UINT kProbe = WM_APP + 1;
    static constexpr INT_PTR kEndedByProbe = 42;

    ThrowingDlg(HWND owner, bool nested) noexcept : Dialog(IDD_ABOUTBOX, owner), nested_(nested) {}

    int throws = 0;
    bool answeredAfterThrow = false;
    INT_PTR nestedResult = 0;

protected:
    BOOL OnInitDialog() override {
        ::PostMessageW(GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(kThrowingCommand, 0), 0);
        return TRUE;
    }
    MessageResult HandleMessage(const WindowMessage& msg) override;

private:
    void OnThrowingCommand() {
        if (nested_) {
            ThrowingDlg inner(GetSafeHwnd(), false);
            nestedResult = inner.DoModal();
            EXPECT_EQ(inner.throws, 1);
            EXPECT_TRUE(inner.answeredAfterThrow);
        }
        ::PostMessageW(GetSafeHwnd(), kProbe, 0, 0);
        ++throws;
        if (nested_) {
            throw std::runtime_error("the handler failed");
        }
        throw 7; // not even a std::exception
    }
    void OnProbe() {
        answeredAfterThrow = throws == 1 && ::IsWindow(GetSafeHwnd()) != FALSE &&
                             ::IsWindowEnabled(GetSafeHwnd()) != FALSE;
        EndDialog(kEndedByProbe);
    }

    static const MessageMapEntry<ThrowingDlg> messageMap[];
    bool nested_;
};

const MessageMapEntry<ThrowingDlg> ThrowingDlg::messageMap[] = {
    OnCommand<&ThrowingDlg::OnThrowingCommand>(ThrowingDlg::kThrowingCommand),
    OnMessage<&ThrowingDlg::OnProbe>(ThrowingDlg::kProbe),
};

MessageResult ThrowingDlg::HandleMessage(const WindowMessage& msg) {
    return DispatchMessageMap<ThrowingDlg>(messageMap, *this, msg);
}

TEST(Dialog, HandlerThatThrowsLeavesTheDialogAndItsOwnerRunning) {
    ThrowingDlg outer(nullptr, true);
    EXPECT_EQ(outer.DoModal(), ThrowingDlg::kEndedByProbe);
    EXPECT_EQ(outer.nestedResult, ThrowingDlg::kEndedByProbe)
        << "the inner dialog ended without its probe";
    EXPECT_EQ(outer.throws, 1);
    EXPECT_TRUE(outer.answeredAfterThrow) << "the owner did not answer after its handler threw";

    // The thread goes on to run dialogs as before.
    ThrowingDlg again(nullptr, false);
    EXPECT_EQ(again.DoModal(), ThrowingDlg::kEndedByProbe);
}

} // namespace
} // namespace portmaven::win
