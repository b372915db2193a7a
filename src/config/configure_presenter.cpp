#include "config/configure_presenter.h"

#include "common/text.h"
#include "config/launch_at_logon.h"

#include <string>
#include <utility>

namespace portmaven::config {

namespace {

constexpr std::u16string_view kAddCaption = u"Add";
constexpr std::u16string_view kEditCaption = u"Edit";
constexpr std::u16string_view kUpdateCaption = u"Update";

constexpr std::u16string_view kSampleName = u"My command";

constexpr std::u16string_view kEnterName = u"Enter command name";
constexpr std::u16string_view kEnterCommand = u"Enter command to execute";
constexpr std::u16string_view kDuplicateName = u"Comand already exist";
constexpr std::u16string_view kSelectToEdit = u"Please select an entry to edit";
constexpr std::u16string_view kSelectToDelete = u"Please select an entry to delete";
constexpr std::u16string_view kConfirmDelete = u"Do you want to delete the selected command?";
constexpr std::u16string_view kConfirmCaption = u"Confirmation";
constexpr std::u16string_view kLaunchFailed = u"Failed, LaunchOnStartup";
constexpr std::u16string_view kLaunchStillSet =
    u"Launch On Startup is still set for all users; only an administrator can remove it";
constexpr std::u16string_view kSaveFailed = u"Failed to save the command list";

} // namespace

bool ConfigurePresenter::IsAdding() const {
    return !common::EqualsIgnoringAsciiCase(view_.ButtonCaption(ConfigureButton::Add), kAddCaption);
}

bool ConfigurePresenter::IsEditing() const {
    return !common::EqualsIgnoringAsciiCase(
        common::TrimWhiteSpace(view_.ButtonCaption(ConfigureButton::Edit)), kEditCaption);
}

bool ConfigurePresenter::IsCommittedName(std::u16string_view name) const {
    // The committed list, not the rows: a name deleted in this opening is still taken, and two
    // new rows may share a name.
    for (int i = 0; i < commands_.GetCount(); ++i) {
        if (FieldText(commands_.At(i).szName) == name) {
            return true;
        }
    }
    return false;
}

void ConfigurePresenter::EnableRowButtons(bool enabled) {
    view_.EnableButton(ConfigureButton::Edit, enabled);
    view_.EnableButton(ConfigureButton::Delete, enabled);
}

void ConfigurePresenter::FailInField(std::u16string_view message, ConfigureField field) {
    view_.ShowStopMessage(message);
    view_.FocusField(field);
}

void ConfigurePresenter::ClearFields() {
    view_.SetFieldText(ConfigureField::Name, u"");
    view_.SetFieldText(ConfigureField::Command, u"");
    view_.FocusField(ConfigureField::Name);
}

void ConfigurePresenter::OnInitDialog() {
    const int count = commands_.GetCount();
    for (int i = 0; i < count; ++i) {
        view_.AppendRow(NormalizedCopy(commands_.At(i)));
    }
    view_.ShowButton(ConfigureButton::CancelEdit, false);
    EnableRowButtons(false);
    view_.SetLaunchOnStartupChecked(runKey_.IsLaunchOnStartupSet());
    view_.SetNotifyPortChangesChecked(notifySetting_.IsEnabled());
    view_.FocusField(ConfigureField::Name);
}

void ConfigurePresenter::OnBnClickedAdd() {
    if (!IsAdding()) {
        std::u16string name;
        std::u16string command;
        if (samples_.keepTyped) {
            name = view_.FieldText(ConfigureField::Name);
            command = view_.FieldText(ConfigureField::Command);
        }
        ClearFields();
        view_.SetButtonCaption(ConfigureButton::Add, kUpdateCaption);
        EnableRowButtons(false);
        view_.SetFieldText(ConfigureField::Name, name.empty() ? kSampleName : name);
        view_.SetFieldText(ConfigureField::Command, command.empty() ? samples_.command : command);
        view_.ShowButton(ConfigureButton::CancelEdit, true);
        return;
    }

    const std::u16string name = view_.FieldText(ConfigureField::Name);
    const std::u16string command = view_.FieldText(ConfigureField::Command);
    // The empty test comes before trimming: a name of blanks passes it.
    if (name.empty()) {
        FailInField(kEnterName, ConfigureField::Name);
        return;
    }
    if (command.empty()) {
        FailInField(kEnterCommand, ConfigureField::Command);
        return;
    }
    const std::u16string_view trimmed = common::TrimWhiteSpace(name);
    if (IsCommittedName(trimmed)) {
        view_.ShowStopMessage(kDuplicateName);
        return;
    }
    view_.AppendRow(MakeCommandRecord(trimmed, command));
    ClearFields();
    view_.ShowButton(ConfigureButton::CancelEdit, false);
    view_.SetButtonCaption(ConfigureButton::Add, kAddCaption);
    if (view_.FirstSelectedRow() >= 0) {
        EnableRowButtons(true);
    }
}

void ConfigurePresenter::OnBnClickedEdit() {
    const int selected = view_.FirstSelectedRow();
    if (selected < 0) {
        view_.ShowStopMessage(kSelectToEdit);
        return;
    }
    if (!IsEditing()) {
        view_.SetFieldText(ConfigureField::Name, view_.RowText(selected, RowColumn::Name));
        view_.SetFieldText(ConfigureField::Command, view_.RowText(selected, RowColumn::Command));
        view_.SetButtonCaption(ConfigureButton::Edit, kUpdateCaption);
        m_nEditItem = selected;
        view_.EnableButton(ConfigureButton::Add, false);
        view_.EnableButton(ConfigureButton::Delete, false);
        view_.ShowButton(ConfigureButton::CancelEdit, true);
        return;
    }

    // The row on which the edit started, whatever is selected now. Neither trimmed nor tested
    // for duplicates; the name is written before the command is checked.
    const std::u16string name = view_.FieldText(ConfigureField::Name);
    if (name.empty()) {
        FailInField(kEnterName, ConfigureField::Name);
        return;
    }
    view_.SetRowText(m_nEditItem, RowColumn::Name, name);
    const std::u16string command = view_.FieldText(ConfigureField::Command);
    if (command.empty()) {
        FailInField(kEnterCommand, ConfigureField::Command);
        return;
    }
    view_.SetRowText(m_nEditItem, RowColumn::Command, command);
    view_.SetButtonCaption(ConfigureButton::Edit, kEditCaption);
    view_.ShowButton(ConfigureButton::CancelEdit, false);
    view_.EnableButton(ConfigureButton::Add, true);
    ClearFields();
}

void ConfigurePresenter::OnBnClickedDelete() {
    const int selected = view_.FirstSelectedRow();
    if (selected < 0) {
        view_.ShowStopMessage(kSelectToDelete);
        return;
    }
    if (!view_.AskYesNo(kConfirmDelete, kConfirmCaption)) {
        return;
    }
    view_.DeleteRow(selected);
    // During an edit the selection may move to another row and that row be deleted. Keep the
    // edit on the row it started on; if that very row is gone there is nothing left to edit.
    if (IsEditing()) {
        if (selected < m_nEditItem) {
            --m_nEditItem;
        } else if (selected == m_nEditItem) {
            OnBnClickedCancelEdit();
        }
    }
}

void ConfigurePresenter::OnBnClickedCancelEdit() {
    view_.SetButtonCaption(ConfigureButton::Edit, kEditCaption);
    view_.SetButtonCaption(ConfigureButton::Add, kAddCaption);
    view_.ShowButton(ConfigureButton::CancelEdit, false);
    view_.EnableButton(ConfigureButton::Add, true);
    ClearFields();
    if (view_.FirstSelectedRow() >= 0) {
        EnableRowButtons(true);
    }
}

void ConfigurePresenter::OnLvnItemchangedCommandList() {
    // While adding nothing follows the selection; while editing the Add caption is still
    // "Add", so the selection drives "Update" and Delete then too.
    if (IsAdding()) {
        return;
    }
    EnableRowButtons(view_.FirstSelectedRow() >= 0);
}

void ConfigurePresenter::OnBnClickedClose() {
    // Whatever stands in the fields of an unfinished add or edit is not part of the rows and
    // is dropped. The list is built aside and replaced in one step.
    CommandList committed;
    const int rows = view_.RowCount();
    for (int row = 0; row < rows; ++row) {
        committed.AppendCommand(MakeCommandRecord(view_.RowText(row, RowColumn::Name),
                                                  view_.RowText(row, RowColumn::Command)));
    }
    commands_ = std::move(committed);

    // A tray program is usually ended by log-off rather than Exit, so the file is written
    // here, at the commit point. A failed write keeps the list in memory for the next try.
    if (!saver_.SaveCommandList(commands_)) {
        view_.ShowStopMessage(kSaveFailed);
    }

    switch (ApplyLaunchOnStartup(runKey_, view_.IsLaunchOnStartupChecked())) {
    case LaunchOnStartupOutcome::WriteFailed:
        view_.ShowStopMessage(kLaunchFailed);
        break;
    case LaunchOnStartupOutcome::RemoveFailed:
        // Reporting success here would leave the user wondering why the program still starts.
        view_.ShowStopMessage(kLaunchStillSet);
        break;
    case LaunchOnStartupOutcome::Unchanged:
    case LaunchOnStartupOutcome::Written:
    case LaunchOnStartupOutcome::Removed:
        break;
    }

    // Written only when the user changed it, so that an untouched switch keeps following the
    // default. A failed write is not worth a message: the notices just keep their old state.
    const bool notify = view_.IsNotifyPortChangesChecked();
    if (notify != notifySetting_.IsEnabled()) {
        notifySetting_.SetEnabled(notify);
    }
}

} // namespace portmaven::config
