// The "Rename Port" dialog: one edit box holding the name of the user's for a port's device,
// OK (Enter) and Cancel (Escape).
#pragma once

#include "framework/win/dialog.h"

#include <windows.h>

#include <optional>
#include <string>

namespace portmaven::win {

class CRenamePortDlg : public Dialog {
public:
    CRenamePortDlg(std::u16string currentName, HWND owner) noexcept;

    // The text of the edit box when the dialog ended with OK.
    [[nodiscard]] const std::optional<std::u16string>& Result() const noexcept { return result_; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    std::u16string currentName_;
    std::optional<std::u16string> result_;
};

// Runs the dialog modally over `owner`; the name entered, or nothing when it was cancelled.
std::optional<std::u16string> RunRenamePortDialog(HWND owner, const std::u16string& currentName);

} // namespace portmaven::win
