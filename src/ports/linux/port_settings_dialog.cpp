#include "ports/linux/port_settings_dialog.h"

#include "common/guarded.h"
#include "common/text.h"
#include "ports/ports_texts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include <utility>

namespace portmaven::linux_desktop {

namespace {

QString Text(std::u16string_view text) {
    return QStringView(text).toString();
}

// A label whose "&" gives the key that reaches `buddy`.
QLabel* BuddyLabel(std::u16string_view text, QWidget* buddy, QWidget* parent) {
    auto* label = new QLabel(Text(text), parent);
    label->setBuddy(buddy);
    return label;
}

} // namespace

PortSettingsDialog::PortSettingsDialog(ports::DeviceSettingsStore& store, ports::SerialPort port,
                                       std::vector<std::u16string> commandNames,
                                       std::u16string heading, QWidget* parent)
    : QDialog(parent), heading_(new QLabel(this)), name_(new QLineEdit(this)),
      speed_(new QComboBox(this)), speedProblem_(new QLabel(this)), command_(new QComboBox(this)),
      runOnArrival_(new QCheckBox(Text(ports::kRunOnArrivalText), this)),
      forKind_(new QCheckBox(this)),
      presenter_(*this, store, std::move(port), std::move(commandNames), std::move(heading)) {
    setWindowTitle(Text(ports::kPortSettingsTitle));
    // Greyed, as a line that only says which port this is.
    heading_->setTextFormat(Qt::PlainText);
    heading_->setEnabled(false);
    heading_->setWordWrap(true);
    // Counted in UTF-16 units, never more than the characters a name may have: nothing typed
    // is refused afterwards.
    name_->setMaxLength(static_cast<int>(ports::kMaxDeviceNameLength));
    name_->setMinimumWidth(name_->fontMetrics().averageCharWidth() * 40);
    speed_->setEditable(true);
    speed_->setInsertPolicy(QComboBox::NoInsert);
    // Seven digits reach the highest speed; nothing else can be typed.
    speed_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,7}")), speed_));
    for (const unsigned baud : ports::kStandardBauds) {
        speed_->addItem(Text(common::DecimalText(baud)));
    }
    speedProblem_->setTextFormat(Qt::PlainText);

    auto* speedRow = new QHBoxLayout;
    speedRow->addWidget(speed_);
    speedRow->addWidget(speedProblem_, 1);
    auto* form = new QFormLayout;
    form->addRow(BuddyLabel(ports::kNameLabel, name_, this), name_);
    form->addRow(BuddyLabel(ports::kSpeedLabel, speed_, this), speedRow);
    form->addRow(BuddyLabel(ports::kDefaultCommandLabel, command_, this), command_);
    form->addRow(QString(), runOnArrival_);
    form->addRow(QString(), forKind_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading_);
    layout->addLayout(form);
    layout->addWidget(buttons);
    // The tab order follows the form: name, speed, command, the two boxes, OK, Cancel.
    setTabOrder(name_, speed_);
    setTabOrder(speed_, command_);
    setTabOrder(command_, runOnArrival_);
    setTabOrder(runOnArrival_, forKind_);

    presenter_.OnInitDialog();
    name_->selectAll();
    name_->setFocus();

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(command_, &QComboBox::currentIndexChanged, this,
            [this] { common::RunGuarded([this] { presenter_.OnCommandChanged(); }); });
    connect(speed_, &QComboBox::editTextChanged, this,
            [this] { common::RunGuarded([this] { presenter_.OnSpeedChanged(); }); });
}

void PortSettingsDialog::ShowForm(const ports::PortSettingsForm& form) {
    heading_->setText(Text(form.heading));
    name_->setText(Text(form.name));
    name_->setPlaceholderText(Text(form.nameCue));
    speed_->setEditText(Text(form.speed));
    command_->clear();
    for (const std::u16string& text : form.commands) {
        command_->addItem(Text(text));
    }
    command_->setCurrentIndex(form.command);
    SetRunOnArrival(form.runOnArrival, form.runOnArrivalEnabled);
    forKind_->setVisible(form.forKindText.has_value());
    forKind_->setEnabled(form.forKindText.has_value());
    forKind_->setText(form.forKindText ? Text(*form.forKindText) : QString());
    forKind_->setChecked(form.forKind);
    ShowSpeedProblem(u"");
}

std::u16string PortSettingsDialog::Name() const {
    return name_->text().toStdU16String();
}

std::u16string PortSettingsDialog::Speed() const {
    return speed_->currentText().toStdU16String();
}

int PortSettingsDialog::Command() const {
    return command_->currentIndex();
}

bool PortSettingsDialog::RunOnArrival() const {
    return runOnArrival_->isChecked();
}

bool PortSettingsDialog::ForKind() const {
    return forKind_->isEnabled() && forKind_->isChecked();
}

void PortSettingsDialog::SetRunOnArrival(bool checked, bool enabled) {
    runOnArrival_->setChecked(checked);
    runOnArrival_->setEnabled(enabled);
}

void PortSettingsDialog::ShowSpeedProblem(std::u16string_view reason) {
    speedProblem_->setText(Text(reason));
    speedProblem_->setVisible(!reason.empty());
}

void PortSettingsDialog::FocusSpeed() {
    speed_->setFocus();
    speed_->lineEdit()->selectAll();
}

void PortSettingsDialog::accept() {
    common::RunGuarded([this] {
        if (presenter_.OnOk()) {
            QDialog::accept();
        }
    });
}

bool RunPortSettingsDialog(ports::DeviceSettingsStore& store, const ports::SerialPort& port,
                           std::vector<std::u16string> commandNames, std::u16string heading,
                           QWidget* parent) {
    PortSettingsDialog dialog(store, port, std::move(commandNames), std::move(heading), parent);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace portmaven::linux_desktop
