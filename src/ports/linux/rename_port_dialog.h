// The "Rename Port" dialog on the Linux desktop: one line edit holding the name of the user's
// for a port's device, OK (Enter) and Cancel (Escape).
#pragma once

#include <QDialog>

#include <optional>

class QLineEdit;

namespace portmaven::linux_desktop {

class RenamePortDialog final : public QDialog {
public:
    RenamePortDialog(const QString& currentName, QWidget* parent);

    [[nodiscard]] QLineEdit* NameEdit() const noexcept { return edit_; }
    [[nodiscard]] QString Name() const;

private:
    QLineEdit* edit_;
};

// Runs the dialog modally; the name entered, or nothing when it was cancelled.
std::optional<QString> RunRenamePortDialog(const QString& currentName, QWidget* parent);

} // namespace portmaven::linux_desktop
