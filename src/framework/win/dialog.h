// A modal dialog run from a template, with one trampoline dialog procedure that forwards every
// message to the C++ object and stops every exception at the boundary with the OS.
#pragma once

#include "framework/win/message_map.h"

#include <windows.h>

#include <string>

namespace portmaven::win {

class Dialog {
public:
    // A dialog without a parent is owned by the application's main window, if there is one.
    explicit Dialog(UINT templateId, HWND parent = nullptr) noexcept;
    virtual ~Dialog() = default;

    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;
    Dialog(Dialog&&) = delete;
    Dialog& operator=(Dialog&&) = delete;

    // Runs the dialog's modal loop; returns the value given to EndDialog, or -1 when the
    // dialog could not be created.
    INT_PTR DoModal();

    [[nodiscard]] HWND GetSafeHwnd() const noexcept { return hwnd_; }
    [[nodiscard]] HWND GetDlgItem(int id) const noexcept { return ::GetDlgItem(hwnd_, id); }

    void EndDialog(INT_PTR result) noexcept;

    // Text of a child control or window.
    [[nodiscard]] std::wstring GetItemText(int id) const;
    void SetItemText(int id, const std::wstring& text) const;

protected:
    // WM_INITDIALOG: TRUE lets the system focus the first tab stop; FALSE when the focus was set.
    virtual BOOL OnInitDialog() { return TRUE; }
    // After the window has been destroyed (WM_NCDESTROY); the handle is gone by then.
    virtual void PostNcDestroy() {}
    // IDOK and IDCANCEL that the message map does not take end the dialog.
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    // The derived class's message map; nullopt lets the default processing run.
    virtual MessageResult HandleMessage(const WindowMessage& msg);

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam,
                                       LPARAM lParam) noexcept;
    INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    MessageResult Route(const WindowMessage& msg);

    UINT templateId_;
    HWND parent_;
    HWND hwnd_ = nullptr;
};

} // namespace portmaven::win
