// CHyperLink: an existing static text control of a dialog turned into a link. The control is
// subclassed; its mouse, cursor and timer messages drive the portable link model, and the
// colour request that its parent reflects here paints what the model says (colour, underline,
// transparent background).
#pragma once

#include "about/hyper_link_model.h"
#include "about/win/tool_tip.h"
#include "framework/win/message_map.h"
#include "framework/win/scoped_handle.h"

#include <windows.h>

#include <string>
#include <string_view>

namespace portmaven::win {

class CHyperLink : public about::HyperLinkModel {
public:
    CHyperLink() noexcept = default;
    ~CHyperLink() override;

    CHyperLink(const CHyperLink&) = delete;
    CHyperLink& operator=(const CHyperLink&) = delete;
    CHyperLink(CHyperLink&&) = delete;
    CHyperLink& operator=(CHyperLink&&) = delete;

    // Attaches to an existing static control: runs the attach steps (PreSubclassWindow), then
    // subclasses the window. False when the window does not exist or a control is attached.
    bool SubclassWindow(HWND control);
    bool SubclassDlgItem(int id, HWND parent) { return SubclassWindow(::GetDlgItem(parent, id)); }
    [[nodiscard]] HWND GetSafeHwnd() const noexcept { return m_hWnd; }

    // Shown from the next WM_SETCURSOR on. Not owned: a system cursor or a resource's.
    void SetLinkCursor(HCURSOR cursor) noexcept { m_hCursor = cursor; }
    [[nodiscard]] HCURSOR GetLinkCursor() const noexcept { return m_hCursor; }
    void SetTipText(std::u16string_view text);
    [[nodiscard]] const ToolTipCtrl& GetToolTip() const noexcept { return m_tipCtrl; }

    // There is no message reflection in this framework: the parent's message map hands its
    // WM_CTLCOLORSTATIC here. nullopt when the request is for another control.
    MessageResult ReflectCtlColor(const WindowMessage& msg);
    // The colour request of one paint: text colour, background, the underlined or plain font
    // selected into `dc`; returns the background brush.
    HBRUSH CtlColor(HDC dc, UINT ctlType);

    // Opens the target with the shell's "open" verb; a failure is reported in a message box
    // owned by the control.
    bool OpenLink(std::u16string target) override;
    // Paints the client area in the dialog face colour under the transparent text.
    virtual void FillBackground();

protected:
    virtual void PreSubclassWindow();
    // Routes the control's messages through the link; false when the system refuses.
    virtual bool InstallSubclass(HWND control);

private:
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR subclassId, DWORD_PTR refData) noexcept;
    MessageResult Route(const WindowMessage& msg);
    void Detach() noexcept;
    // The font the control's text is made from: its own, not the link font set on it.
    HFONT TextFont() noexcept;
    [[nodiscard]] bool ShowsImage() const;
    // WM_LBUTTONUP: whether the button came up over the control, from the client point.
    void OnLButtonUpAt(WPARAM wParam, LPARAM lParam);

    [[nodiscard]] bool HasCaption() const override;
    void ShowLinkCursor() override;
    void StartHoverTimer() override;
    void StopHoverTimer() override;
    [[nodiscard]] bool CursorInsideWindow() const override;
    void CaptureMouse() override;
    [[nodiscard]] bool HoldsCapture() const override;
    void ReleaseMouse() override;
    void Redraw() override;

    static const MessageMapEntry<CHyperLink> messageMap[];

    HWND m_hWnd = nullptr;
    int m_nBkMode = 0; // set on attach
    ScopedFont m_fontLink;
    HFONT m_hTextFont = nullptr; // the control's own font; not owned
    ScopedBrush m_brushBack;
    HCURSOR m_hCursor = nullptr; // the arrow from attach on
    ToolTipCtrl m_tipCtrl;
};

} // namespace portmaven::win
