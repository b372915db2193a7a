// CAboutDlg: the modal About box with the program's name and version, copyright, credits and
// the homepage link.
#pragma once

#include "about/win/hyper_link.h"
#include "framework/win/dialog.h"

namespace portmaven::win {

class CAboutDlg : public Dialog {
public:
    // Without an owner, owned by the application's main window when it runs.
    explicit CAboutDlg(HWND owner = nullptr) noexcept;

protected:
    BOOL OnInitDialog() override;
    MessageResult HandleMessage(const WindowMessage& msg) override;
    void OnDpiChanged(UINT oldDpi, UINT newDpi) override;

private:
    // Shows the program's icon at the large icon size of the dialog's DPI.
    void ShowIconForDpi();
    // Binds the homepage control to m_link.
    void DoDataExchange();
    void FitLinkToText(const CHyperLink& link) const;
    MessageResult OnCtlColorStatic(const WindowMessage& msg);

    static const MessageMapEntry<CAboutDlg> messageMap[];

    CHyperLink m_link;
    int m_nMaxLinkWidth = 0; // the link's client width as laid out from the template
    ScopedIcon m_icon;       // the icon the icon control shows, once set for the DPI
};

// A new About box, modal to owner: the link starts unvisited at every opening.
void RunAboutBox(HWND owner);

} // namespace portmaven::win
