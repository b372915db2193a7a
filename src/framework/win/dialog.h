// A modal dialog run from a template, with one trampoline dialog procedure that forwards every
// message to the C++ object and stops every exception at the boundary with the OS. The dialog
// follows its monitor's DPI: on WM_DPICHANGED it takes the rectangle the system suggests, scales
// the places of its controls and gives them a font made for the new DPI.
#pragma once

#include "framework/win/message_map.h"
#include "framework/win/scoped_handle.h"

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

    // The DPI the dialog is laid out for.
    [[nodiscard]] UINT Dpi() const noexcept { return dpi_; }

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
    // After the dialog and its controls have been scaled to a new DPI: what the dialog sized
    // from measured texts or set in pixels itself is made again here.
    virtual void OnDpiChanged(UINT /*oldDpi*/, UINT /*newDpi*/) {}
    // The derived class's message map; nullopt lets the default processing run.
    virtual MessageResult HandleMessage(const WindowMessage& msg);

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam,
                                       LPARAM lParam) noexcept;
    INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    MessageResult Route(const WindowMessage& msg);
    void ApplyDpiChange(UINT newDpi, const RECT* suggested);

    UINT templateId_;
    HWND parent_;
    HWND hwnd_ = nullptr;
    UINT dpi_ = 0;
    // The controls' font once the DPI has changed; before, the font the template made.
    ScopedFont font_;
};

// While a dialog or message box runs modally over `owner` (which its loop disables), brings the
// one that takes input to the front: the last of a chain of them, as one may open another.
// False when none runs and `owner` takes input itself.
bool BringModalDialogToFront(HWND owner);

} // namespace portmaven::win
