// The Configure dialog's logic, independent of any window system. The dialog has three modes
// (browse, adding, editing) that no variable holds: every handler reads the mode from the
// captions of the Add and Edit buttons, so the captions are the single source of truth.
//
// The dialog edits only its rows; the command list is replaced by the rows, saved and the
// launch-at-log-on and notice switches applied when the user leaves with Close. Any other way out
// discards every change.
#pragma once

#include "config/command_list.h"
#include "config/configure_view.h"
#include "config/notify_setting.h"
#include "config/run_key.h"

#include <string>
#include <utility>

namespace portmaven::config {

// What "Add" starts an add with.
struct AddSamples {
    // The command field's sample: a Windows program's line unless the platform has a better one.
    std::u16string command = u"c:\\path_to_command\\command.exe /C=%PORTNUM%";
    // Whether text the user typed into the fields before "Add" stays, the samples filling only
    // the fields left empty; otherwise the samples replace it.
    bool keepTyped = false;
};

// Writes the list it is given to the command file; false when it could not be written.
class CommandListSaver {
public:
    virtual ~CommandListSaver() = default;
    virtual bool SaveCommandList(const CommandList& list) = 0;

protected:
    CommandListSaver() = default;
    CommandListSaver(const CommandListSaver&) = default;
    CommandListSaver& operator=(const CommandListSaver&) = default;
    CommandListSaver(CommandListSaver&&) = default;
    CommandListSaver& operator=(CommandListSaver&&) = default;
};

class ConfigurePresenter {
public:
    ConfigurePresenter(ConfigureView& view, CommandList& commands, RunKey& runKey,
                       CommandListSaver& saver, NotifySetting& notifySetting,
                       AddSamples samples = {})
        : view_(view), commands_(commands), runKey_(runKey), saver_(saver),
          notifySetting_(notifySetting), samples_(std::move(samples)) {}

    // Browse mode: rows = the command list, Edit and Delete disabled, Cancel hidden, the box
    // showing whether the Run value exists, the notice box the stored switch, focus in the
    // name field.
    void OnInitDialog();

    // "Add" starts an add with sample texts (AddSamples); "Update" confirms it.
    void OnBnClickedAdd();
    // "Edit" starts editing the selected row; "Update" writes the fields to that row.
    void OnBnClickedEdit();
    void OnBnClickedDelete();
    // Abandons an add or an edit.
    void OnBnClickedCancelEdit();
    void OnLvnItemchangedCommandList();
    // The commit point: the command list becomes the rows, is saved, and the check boxes are
    // applied to the Run value and the notice switch. The caller then ends the dialog.
    void OnBnClickedClose();

    // Empties both fields and puts the focus in the name field.
    void ClearFields();

    // The row an edit writes to; meaningful while editing.
    [[nodiscard]] int EditItem() const noexcept { return m_nEditItem; }

private:
    [[nodiscard]] bool IsAdding() const;
    [[nodiscard]] bool IsEditing() const;
    [[nodiscard]] bool IsCommittedName(std::u16string_view name) const;
    void EnableRowButtons(bool enabled);
    void FailInField(std::u16string_view message, ConfigureField field);

    ConfigureView& view_;
    CommandList& commands_;
    RunKey& runKey_;
    CommandListSaver& saver_;
    NotifySetting& notifySetting_;
    AddSamples samples_;
    int m_nEditItem = 0;
};

} // namespace portmaven::config
