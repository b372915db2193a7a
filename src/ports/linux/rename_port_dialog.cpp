#include "ports/linux/rename_port_dialog.h"

#include "ports/device_settings.h"
#include "ports/ports_texts.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QVBoxLayout>

namespace portmaven::linux_desktop {

RenamePortDialog::RenamePortDialog(const QString& currentName, QWidget* parent)
    : QDialog(parent), edit_(new QLineEdit(currentName, this)) {
    setWindowTitle(QStringView(ports::kRenamePortTitle).toString());
    // Counted in UTF-16 units, never more than the characters a name may have: nothing typed
    // is refused afterwards.
    edit_->setMaxLength(static_cast<int>(ports::kMaxDeviceNameLength));
    edit_->setMinimumWidth(edit_->fontMetrics().averageCharWidth() * 40);
    edit_->selectAll();
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(edit_);
    layout->addWidget(buttons);
}

QString RenamePortDialog::Name() const {
    return edit_->text();
}

std::optional<QString> RunRenamePortDialog(const QString& currentName, QWidget* parent) {
    RenamePortDialog dialog(currentName, parent);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.Name();
}

} // namespace portmaven::linux_desktop
