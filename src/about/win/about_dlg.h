// CAboutDlg: the modal About box with the program's name and version, copyright, credits and
// the homepage link.
#pragma once

#include "about/win/hyper_link.h"
#include "app/win/dialog.h"

namespace portmaven::win {

class CAboutDlg : public Dialog {
public:
    // Owned by the application's main window when it runs.
    CAboutDlg() noexcept;

protected:
    BOOL OnInitDialog() override;
    MessageResult HandleMessage(const WindowMessage& msg) override;

private:
    // Binds the homepage control to m_link.
    void DoDataExchange();
    void FitLinkToText(const CHyperLink& link) const;

    static const MessageMapEntry<CAboutDlg> messageMap[];

    CHyperLink m_link;
    int m_nMaxLinkWidth = 0; // the link's client width as laid out from the template
};

} // namespace portmaven::win
