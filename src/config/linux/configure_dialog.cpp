#include "config/linux/configure_dialog.h"

#include "common/guarded.h"
#include "common/program_texts.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cstddef>
#include <utility>

namespace portmaven::linux_desktop {

ConfigureDialog::ConfigureDialog(config::CommandList& commands, config::RunKey& runKey,
                                 config::CommandListSaver& saver,
                                 config::NotifySetting& notifySetting, std::u16string sampleCommand,
                                 QWidget* parent)
    : QDialog(parent),
      // The dialog opens with the cursor in the empty name field, so people type there before
      // they press Add: Add keeps what they typed and fills in only what they left empty.
      presenter_(*this, commands, runKey, saver, notifySetting,
                 {.command = std::move(sampleCommand), .keepTyped = true}) {
    BuildWidgets();
    ConnectWidgets();
    presenter_.OnInitDialog();
}

void ConfigureDialog::BuildWidgets() {
    setWindowTitle(QStringLiteral("Configure"));

    nameField_ = new QLineEdit(this);
    nameField_->setObjectName(QStringLiteral("name"));
    nameField_->setMaxLength(config::kNameFieldLimit);
    commandField_ = new QLineEdit(this);
    commandField_->setObjectName(QStringLiteral("command"));
    commandField_->setMaxLength(config::kCommandFieldLimit);

    auto* fields = new QGridLayout;
    fields->addWidget(new QLabel(QStringLiteral("Command Name:"), this), 0, 0);
    fields->addWidget(nameField_, 0, 1);
    fields->addWidget(new QLabel(QStringLiteral("Command To Execute:"), this), 1, 0);
    fields->addWidget(commandField_, 1, 1);

    struct ButtonText {
        config::ConfigureButton button;
        const char* objectName;
        const char* caption;
    };
    constexpr ButtonText kButtons[] = {{config::ConfigureButton::Add, "add", "Add"},
                                       {config::ConfigureButton::Edit, "edit", "Edit"},
                                       {config::ConfigureButton::Delete, "delete", "Delete"},
                                       {config::ConfigureButton::CancelEdit, "cancel", "Cancel"}};
    auto* buttonRow = new QHBoxLayout;
    for (const ButtonText& entry : kButtons) {
        auto* button = new QPushButton(QString::fromLatin1(entry.caption), this);
        button->setObjectName(QString::fromLatin1(entry.objectName));
        button->setAutoDefault(false);
        buttons_[static_cast<std::size_t>(entry.button)] = button;
        buttonRow->addWidget(button);
    }
    buttonRow->addStretch();
    fields->addLayout(buttonRow, 2, 1);

    rows_ = new QTableWidget(0, 2, this);
    rows_->setObjectName(QStringLiteral("commands"));
    rows_->setHorizontalHeaderLabels({QStringView(config::kNameColumnTitle).toString(),
                                      QStringView(config::kCommandColumnTitle).toString()});
    rows_->setColumnWidth(0, config::kNameColumnWidth);
    rows_->setColumnWidth(1, config::kCommandColumnWidth);
    rows_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    rows_->verticalHeader()->hide();
    rows_->setShowGrid(true);
    rows_->setSelectionBehavior(QAbstractItemView::SelectRows);
    rows_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    rows_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    rows_->setSortingEnabled(false);

    launchOnStartup_ = new QCheckBox(QStringLiteral("Launch Portmaven On Startup"), this);
    launchOnStartup_->setObjectName(QStringLiteral("launchOnStartup"));
    notifyPortChanges_ =
        new QCheckBox(QStringLiteral("Notify when serial ports come and go"), this);
    notifyPortChanges_->setObjectName(QStringLiteral("notifyPortChanges"));
    closeButton_ = new QPushButton(QStringLiteral("Close"), this);
    closeButton_->setObjectName(QStringLiteral("close"));
    closeButton_->setDefault(true);

    auto* switches = new QVBoxLayout;
    switches->addWidget(launchOnStartup_);
    switches->addWidget(notifyPortChanges_);
    auto* bottom = new QHBoxLayout;
    bottom->addLayout(switches);
    bottom->addStretch();
    bottom->addWidget(closeButton_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(rows_);
    layout->addLayout(bottom);
    resize(config::kNameColumnWidth + config::kCommandColumnWidth + 60, 360);
}

void ConfigureDialog::ConnectWidgets() {
    auto forward = [this](QPushButton* button, void (config::ConfigurePresenter::*handler)()) {
        connect(button, &QPushButton::clicked, this,
                [this, handler] { common::RunGuarded([&] { (presenter_.*handler)(); }); });
    };
    using Presenter = config::ConfigurePresenter;
    forward(Button(config::ConfigureButton::Add), &Presenter::OnBnClickedAdd);
    forward(Button(config::ConfigureButton::Edit), &Presenter::OnBnClickedEdit);
    forward(Button(config::ConfigureButton::Delete), &Presenter::OnBnClickedDelete);
    forward(Button(config::ConfigureButton::CancelEdit), &Presenter::OnBnClickedCancelEdit);
    connect(rows_, &QTableWidget::itemSelectionChanged, this,
            [this] { common::RunGuarded([&] { presenter_.OnLvnItemchangedCommandList(); }); });
    connect(closeButton_, &QPushButton::clicked, this, [this] {
        common::RunGuarded([&] { presenter_.OnBnClickedClose(); });
        accept();
    });
}

QPushButton* ConfigureDialog::Button(config::ConfigureButton button) const {
    return buttons_[static_cast<std::size_t>(button)];
}

QLineEdit* ConfigureDialog::Field(config::ConfigureField field) const {
    return field == config::ConfigureField::Name ? nameField_ : commandField_;
}

std::u16string ConfigureDialog::ButtonCaption(config::ConfigureButton button) const {
    return Button(button)->text().toStdU16String();
}

void ConfigureDialog::SetButtonCaption(config::ConfigureButton button,
                                       std::u16string_view caption) {
    Button(button)->setText(QStringView(caption).toString());
}

void ConfigureDialog::EnableButton(config::ConfigureButton button, bool enabled) {
    Button(button)->setEnabled(enabled);
}

void ConfigureDialog::ShowButton(config::ConfigureButton button, bool shown) {
    Button(button)->setVisible(shown);
}

std::u16string ConfigureDialog::FieldText(config::ConfigureField field) const {
    return Field(field)->text().toStdU16String();
}

void ConfigureDialog::SetFieldText(config::ConfigureField field, std::u16string_view text) {
    // The field's length limit is for typing; texts placed here are kept whole.
    QLineEdit* edit = Field(field);
    const int limit = edit->maxLength();
    edit->setMaxLength(std::max(limit, static_cast<int>(text.size())));
    edit->setText(QStringView(text).toString());
    edit->setMaxLength(limit);
}

void ConfigureDialog::FocusField(config::ConfigureField field) {
    Field(field)->setFocus();
}

int ConfigureDialog::RowCount() const {
    return rows_->rowCount();
}

void ConfigureDialog::AppendRow(const config::tag_ST_PORTMAVEN_CONFIG& record) {
    const int row = rows_->rowCount();
    rows_->insertRow(row);
    rows_->setItem(row, 0,
                   new QTableWidgetItem(QStringView(config::FieldText(record.szName)).toString()));
    rows_->setItem(
        row, 1, new QTableWidgetItem(QStringView(config::FieldText(record.szCommand)).toString()));
}

std::u16string ConfigureDialog::RowText(int row, config::RowColumn column) const {
    const QTableWidgetItem* item = rows_->item(row, static_cast<int>(column));
    return item == nullptr ? std::u16string() : item->text().toStdU16String();
}

void ConfigureDialog::SetRowText(int row, config::RowColumn column, std::u16string_view text) {
    QTableWidgetItem* item = rows_->item(row, static_cast<int>(column));
    if (item != nullptr) {
        item->setText(QStringView(text).toString());
    }
}

void ConfigureDialog::DeleteRow(int row) {
    rows_->removeRow(row);
}

int ConfigureDialog::FirstSelectedRow() const {
    const QModelIndexList selected = rows_->selectionModel()->selectedRows();
    if (selected.isEmpty()) {
        return -1;
    }
    return std::min_element(
               selected.cbegin(), selected.cend(),
               [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); })
        ->row();
}

bool ConfigureDialog::IsLaunchOnStartupChecked() const {
    return launchOnStartup_->isChecked();
}

void ConfigureDialog::SetLaunchOnStartupChecked(bool checked) {
    launchOnStartup_->setChecked(checked);
}

bool ConfigureDialog::IsNotifyPortChangesChecked() const {
    return notifyPortChanges_->isChecked();
}

void ConfigureDialog::SetNotifyPortChangesChecked(bool checked) {
    notifyPortChanges_->setChecked(checked);
}

void ConfigureDialog::ShowStopMessage(std::u16string_view text) {
    QMessageBox box(QMessageBox::Critical, QStringView(common::kProgramTitle).toString(),
                    QStringView(text).toString(), QMessageBox::Ok, this);
    box.exec();
}

bool ConfigureDialog::AskYesNo(std::u16string_view text, std::u16string_view caption) {
    QMessageBox box(QMessageBox::Question, QStringView(caption).toString(),
                    QStringView(text).toString(), QMessageBox::Yes | QMessageBox::No, this);
    return box.exec() == QMessageBox::Yes;
}

} // namespace portmaven::linux_desktop
