// Stand-ins for the Configure dialog's window, the Run value and the command file, recording
// what the presenter asks of them.
#pragma once

#include "config/command_list.h"
#include "config/configure_presenter.h"
#include "config/configure_view.h"
#include "config/notify_setting.h"
#include "config/run_key.h"

#include <gtest/gtest.h>

#include <map>
#include <ostream>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace portmaven::config::testing {

// Starts as the dialog template does: "Add" enabled, "Edit" and "Delete" disabled, every
// button visible until initialisation hides "Cancel".
class FakeConfigureView final : public ConfigureView {
public:
    struct Button {
        std::u16string caption;
        bool enabled = true;
        bool shown = true;
    };
    struct Row {
        std::u16string name;
        std::u16string command;
        bool operator==(const Row&) const = default;
        friend void PrintTo(const Row& row, std::ostream* os) {
            *os << ::testing::PrintToString(row.name) << " | "
                << ::testing::PrintToString(row.command);
        }
    };

    FakeConfigureView() {
        buttons[ConfigureButton::Add] = {u"Add", true, true};
        buttons[ConfigureButton::Edit] = {u"Edit", false, true};
        buttons[ConfigureButton::Delete] = {u"Delete", false, true};
        buttons[ConfigureButton::CancelEdit] = {u"Cancel", true, true};
    }

    std::u16string ButtonCaption(ConfigureButton button) const override {
        return buttons.at(button).caption;
    }
    void SetButtonCaption(ConfigureButton button, std::u16string_view caption) override {
        buttons[button].caption = caption;
    }
    void EnableButton(ConfigureButton button, bool enabled) override {
        buttons[button].enabled = enabled;
    }
    void ShowButton(ConfigureButton button, bool shown) override { buttons[button].shown = shown; }

    std::u16string FieldText(ConfigureField field) const override {
        return field == ConfigureField::Name ? name : command;
    }
    void SetFieldText(ConfigureField field, std::u16string_view text) override {
        (field == ConfigureField::Name ? name : command) = text;
    }
    void FocusField(ConfigureField field) override { focus = field; }

    int RowCount() const override { return static_cast<int>(rows.size()); }
    void AppendRow(const tag_ST_PORTMAVEN_CONFIG& record) override {
        rows.push_back({std::u16string(config::FieldText(record.szName)),
                        std::u16string(config::FieldText(record.szCommand))});
    }
    std::u16string RowText(int row, RowColumn column) const override {
        const Row& r = rows.at(static_cast<size_t>(row));
        return column == RowColumn::Name ? r.name : r.command;
    }
    void SetRowText(int row, RowColumn column, std::u16string_view text) override {
        Row& r = rows.at(static_cast<size_t>(row));
        (column == RowColumn::Name ? r.name : r.command) = text;
    }
    void DeleteRow(int row) override {
        rows.erase(rows.begin() + row);
        // A list control drops the row's selection and moves the others up with their rows.
        std::set<int> moved;
        for (int s : selected) {
            if (s != row) {
                moved.insert(s > row ? s - 1 : s);
            }
        }
        selected = std::move(moved);
    }
    int FirstSelectedRow() const override { return selected.empty() ? -1 : *selected.begin(); }

    bool IsLaunchOnStartupChecked() const override { return checked; }
    void SetLaunchOnStartupChecked(bool value) override { checked = value; }
    bool IsNotifyPortChangesChecked() const override { return notifyChecked; }
    void SetNotifyPortChangesChecked(bool value) override { notifyChecked = value; }

    void ShowStopMessage(std::u16string_view text) override { messages.emplace_back(text); }
    bool AskYesNo(std::u16string_view text, std::u16string_view caption) override {
        questions.emplace_back(text, caption);
        return answerYes;
    }

    const Button& operator[](ConfigureButton button) const { return buttons.at(button); }

    std::map<ConfigureButton, Button> buttons;
    std::u16string name;
    std::u16string command;
    ConfigureField focus = ConfigureField::Command;
    std::vector<Row> rows;
    std::set<int> selected;
    bool checked = false;
    bool notifyChecked = false;
    std::vector<std::u16string> messages;
    std::vector<std::pair<std::u16string, std::u16string>> questions;
    bool answerYes = true;
};

class FakeRunKey final : public RunKey {
public:
    bool IsLaunchOnStartupSet() override {
        ++queries;
        return present;
    }
    bool SetLaunchOnStartup() override {
        ++writes;
        if (writeSucceeds) {
            present = true;
        }
        return writeSucceeds;
    }
    bool RemoveLaunchOnStartup() override {
        ++removals;
        if (removeSucceeds) {
            present = false;
        }
        return removeSucceeds;
    }

    bool present = false;
    bool writeSucceeds = true;
    bool removeSucceeds = true;
    int queries = 0;
    int writes = 0;
    int removals = 0;
};

class FakeNotifySetting final : public NotifySetting {
public:
    bool IsEnabled() override { return enabled; }
    bool SetEnabled(bool value) override {
        writes.push_back(value);
        if (writeSucceeds) {
            enabled = value;
        }
        return writeSucceeds;
    }

    bool enabled = true;
    bool writeSucceeds = true;
    std::vector<bool> writes;
};

// Saves by taking a snapshot of the list it was given, so tests see what reached the "file".
class FakeSaver final : public CommandListSaver {
public:
    explicit FakeSaver(const CommandList& list) : list_(list) {}
    bool SaveCommandList() override {
        ++saves;
        if (succeeds) {
            saved = list_;
        }
        return succeeds;
    }

    bool succeeds = true;
    int saves = 0;
    CommandList saved;

private:
    const CommandList& list_;
};

} // namespace portmaven::config::testing
