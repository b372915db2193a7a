// The Configure dialog's modes, driven through a fake window the way a user drives the real
// one: buttons, fields, selection, Enter (Close) and Escape (no Close).
#include "config/configure_presenter.h"

#include "configure_fakes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace portmaven::config {
namespace {

using testing::FakeConfigureView;
using testing::FakeNotifySetting;
using testing::FakeRunKey;
using testing::FakeSaver;
using Row = FakeConfigureView::Row;
using enum ConfigureButton;

constexpr char16_t kSampleCommand[] = u"c:\\path_to_command\\command.exe /C=%PORTNUM%";

std::vector<Row> Records(const CommandList& list) {
    std::vector<Row> rows;
    for (int i = 0; i < list.GetCount(); ++i) {
        rows.push_back({std::u16string(FieldText(list.At(i).szName)),
                        std::u16string(FieldText(list.At(i).szCommand))});
    }
    return rows;
}

class ConfigurePresenterTest : public ::testing::Test {
protected:
    void Open(std::initializer_list<Row> committed) {
        for (const Row& row : committed) {
            commands.AppendCommand(MakeCommandRecord(row.name, row.command));
        }
        presenter.OnInitDialog();
    }

    // Starts an add, types both fields and confirms it.
    void AddCommand(std::u16string_view name, std::u16string_view command) {
        presenter.OnBnClickedAdd();
        view.name = name;
        view.command = command;
        presenter.OnBnClickedAdd();
    }

    void Select(std::initializer_list<int> rows) {
        view.selected = rows;
        presenter.OnLvnItemchangedCommandList();
    }

    bool InBrowseMode() const {
        return view[Add].caption == u"Add" && view[Add].enabled && view[Edit].caption == u"Edit" &&
               !view[CancelEdit].shown;
    }

    CommandList commands;
    FakeConfigureView view;
    FakeRunKey runKey;
    FakeSaver saver;
    FakeNotifySetting notifySetting;
    ConfigurePresenter presenter{view, commands, runKey, saver, notifySetting};
};

TEST_F(ConfigurePresenterTest, OpeningShowsTheCommittedListInBrowseMode) {
    runKey.present = true;
    Open({{u"Connect", u"tt.exe /C=%PORTNUM%"}, {u"Putty", u"putty -serial COM%PORTNUM%"}});

    EXPECT_EQ(view.rows, (std::vector<Row>{{u"Connect", u"tt.exe /C=%PORTNUM%"},
                                           {u"Putty", u"putty -serial COM%PORTNUM%"}}));
    EXPECT_TRUE(InBrowseMode());
    EXPECT_FALSE(view[Edit].enabled);
    EXPECT_FALSE(view[Delete].enabled);
    EXPECT_TRUE(view.checked);
    EXPECT_EQ(view.focus, ConfigureField::Name);
    EXPECT_TRUE(view.messages.empty());
}

TEST_F(ConfigurePresenterTest, OpeningWithoutRunValueOrCommandsAndClosingKeepsBothEmpty) {
    view.checked = true; // whatever the box showed before, it follows the registry
    Open({});
    EXPECT_TRUE(view.rows.empty());
    EXPECT_FALSE(view.checked);

    presenter.OnBnClickedClose();
    EXPECT_EQ(commands.GetCount(), 0);
    EXPECT_EQ(runKey.writes + runKey.removals, 0);
}

TEST_F(ConfigurePresenterTest, AddStartsWithSampleTextsAndConfirmsThemUnchanged) {
    Open({{u"Connect", u"tt.exe"}});
    Select({0});
    presenter.OnBnClickedAdd();

    EXPECT_EQ(view[Add].caption, u"Update");
    EXPECT_FALSE(view[Edit].enabled);
    EXPECT_FALSE(view[Delete].enabled);
    EXPECT_TRUE(view[CancelEdit].shown);
    EXPECT_EQ(view.name, u"My command");
    EXPECT_EQ(view.command, kSampleCommand);

    presenter.OnBnClickedAdd();
    EXPECT_EQ(view.rows.back(), (Row{u"My command", kSampleCommand}));
    EXPECT_TRUE(InBrowseMode());
    EXPECT_EQ(view.name, u"");
    EXPECT_EQ(view.command, u"");
    EXPECT_EQ(view.focus, ConfigureField::Name);
    // A row is still selected, so the row buttons come back.
    EXPECT_TRUE(view[Edit].enabled);
    EXPECT_TRUE(view[Delete].enabled);
}

TEST_F(ConfigurePresenterTest, ConfirmedAddWithoutSelectionLeavesRowButtonsDisabled) {
    Open({});
    AddCommand(u"A", u"a.exe");
    EXPECT_TRUE(InBrowseMode());
    EXPECT_FALSE(view[Edit].enabled);
    EXPECT_FALSE(view[Delete].enabled);
}

TEST_F(ConfigurePresenterTest, AddTrimsTheNameOnlyAndBlanksPassTheEmptyTest) {
    Open({});
    AddCommand(u" \t Terminal  ", u"  term.exe %PORTNUM%  ");
    AddCommand(u"   ", u"x.exe");
    EXPECT_EQ(view.rows,
              (std::vector<Row>{{u"Terminal", u"  term.exe %PORTNUM%  "}, {u"", u"x.exe"}}));
    EXPECT_TRUE(view.messages.empty());
}

TEST_F(ConfigurePresenterTest, AddWithAnEmptyFieldStaysInAddMode) {
    Open({});
    presenter.OnBnClickedAdd();
    view.name.clear();
    presenter.OnBnClickedAdd();
    EXPECT_EQ(view.messages, std::vector<std::u16string>{u"Enter command name"});
    EXPECT_EQ(view.focus, ConfigureField::Name);

    view.name = u"A";
    view.command.clear();
    presenter.OnBnClickedAdd();
    EXPECT_EQ(view.messages.back(), u"Enter command to execute");
    EXPECT_EQ(view.focus, ConfigureField::Command);

    EXPECT_TRUE(view.rows.empty());
    EXPECT_EQ(view[Add].caption, u"Update");
    EXPECT_TRUE(view[CancelEdit].shown);
}

TEST_F(ConfigurePresenterTest, DuplicateTestSearchesTheCommittedListExactly) {
    Open({{u"Connect", u"tt.exe"}});

    AddCommand(u"Connect", u"other.exe");
    EXPECT_EQ(view.messages, std::vector<std::u16string>{u"Comand already exist"});
    EXPECT_EQ(view.rows.size(), 1u);
    // Refused: still adding, the fields as typed.
    EXPECT_EQ(view[Add].caption, u"Update");
    EXPECT_EQ(view.name, u"Connect");
    EXPECT_EQ(view.command, u"other.exe");

    // Trimming happens before the test; case matters.
    view.name = u"  Connect ";
    presenter.OnBnClickedAdd();
    EXPECT_EQ(view.messages.size(), 2u);
    view.name = u"connect";
    presenter.OnBnClickedAdd();
    EXPECT_EQ(view.messages.size(), 2u);
    EXPECT_EQ(view.rows.back().name, u"connect");
}

TEST_F(ConfigurePresenterTest, DuplicateTestIgnoresTheRowsOfThisOpening) {
    Open({{u"Connect", u"tt.exe"}});
    Select({0});
    presenter.OnBnClickedDelete();
    ASSERT_TRUE(view.rows.empty());

    AddCommand(u"Connect", u"new.exe");
    EXPECT_EQ(view.messages, std::vector<std::u16string>{u"Comand already exist"});
    presenter.OnBnClickedCancelEdit();

    AddCommand(u"Twin", u"a.exe");
    AddCommand(u"Twin", u"b.exe");
    EXPECT_EQ(view.rows, (std::vector<Row>{{u"Twin", u"a.exe"}, {u"Twin", u"b.exe"}}));

    // Once closed and opened again, the deleted name is free.
    presenter.OnBnClickedClose();
    FakeConfigureView reopened;
    ConfigurePresenter again(reopened, commands, runKey, saver, notifySetting);
    again.OnInitDialog();
    again.OnBnClickedAdd();
    reopened.name = u"Connect";
    again.OnBnClickedAdd();
    EXPECT_TRUE(reopened.messages.empty());
    EXPECT_EQ(reopened.rows.back().name, u"Connect");
}

TEST_F(ConfigurePresenterTest, EditNeedsASelectedRowInEitherMode) {
    Open({{u"A", u"a.exe"}});
    presenter.OnBnClickedEdit();
    EXPECT_EQ(view.messages, std::vector<std::u16string>{u"Please select an entry to edit"});
    EXPECT_EQ(view[Edit].caption, u"Edit");

    Select({0});
    presenter.OnBnClickedEdit();
    Select({});
    presenter.OnBnClickedEdit();
    EXPECT_EQ(view.messages.size(), 2u);
    EXPECT_EQ(view[Edit].caption, u"Update");
    EXPECT_EQ(view.rows[0], (Row{u"A", u"a.exe"}));
}

TEST_F(ConfigurePresenterTest, EditActsOnTheUpperSelectedRowAndUpdatesItUntrimmed) {
    Open({{u"A", u"a.exe"}, {u"B", u"b.exe"}, {u"C", u"c.exe"}});
    Select({2, 1});
    presenter.OnBnClickedEdit();

    EXPECT_EQ(presenter.EditItem(), 1);
    EXPECT_EQ(view.name, u"B");
    EXPECT_EQ(view.command, u"b.exe");
    EXPECT_EQ(view[Edit].caption, u"Update");
    EXPECT_FALSE(view[Add].enabled);
    EXPECT_EQ(view[Add].caption, u"Add");
    EXPECT_FALSE(view[Delete].enabled);
    EXPECT_TRUE(view[CancelEdit].shown);

    // No trimming, no duplicate test on update.
    view.name = u" A ";
    view.command = u"z.exe ";
    presenter.OnBnClickedEdit();
    EXPECT_EQ(view.rows[1], (Row{u" A ", u"z.exe "}));
    EXPECT_TRUE(view.messages.empty());
    EXPECT_TRUE(InBrowseMode());
    EXPECT_EQ(view.name, u"");
    EXPECT_EQ(view.focus, ConfigureField::Name);
}

TEST_F(ConfigurePresenterTest, SelectionDuringAnEditDrivesTheButtonsButNotTheEditedRow) {
    Open({{u"A", u"a.exe"}, {u"B", u"b.exe"}});
    Select({0});
    presenter.OnBnClickedEdit();

    Select({1});
    EXPECT_TRUE(view[Edit].enabled);
    EXPECT_TRUE(view[Delete].enabled) << "Delete comes back next to Update";
    Select({});
    EXPECT_FALSE(view[Edit].enabled);
    EXPECT_FALSE(view[Delete].enabled);
    Select({1});

    view.name = u"A2";
    presenter.OnBnClickedEdit();
    EXPECT_EQ(view.rows, (std::vector<Row>{{u"A2", u"a.exe"}, {u"B", u"b.exe"}}));
}

TEST_F(ConfigurePresenterTest, SelectionIsIgnoredWhileAdding) {
    Open({{u"A", u"a.exe"}});
    presenter.OnBnClickedAdd();
    Select({0});
    EXPECT_FALSE(view[Edit].enabled);
    EXPECT_FALSE(view[Delete].enabled);
}

TEST_F(ConfigurePresenterTest, UpdateWithEmptiedCommandKeepsTheNewNameAfterCancel) {
    Open({{u"A", u"a.exe"}});
    Select({0});
    presenter.OnBnClickedEdit();
    view.name = u"Renamed";
    view.command.clear();
    presenter.OnBnClickedEdit();

    EXPECT_EQ(view.messages, std::vector<std::u16string>{u"Enter command to execute"});
    EXPECT_EQ(view.focus, ConfigureField::Command);
    EXPECT_EQ(view[Edit].caption, u"Update");
    EXPECT_EQ(view.rows[0], (Row{u"Renamed", u"a.exe"}));

    presenter.OnBnClickedCancelEdit();
    EXPECT_TRUE(InBrowseMode());
    EXPECT_EQ(view.rows[0], (Row{u"Renamed", u"a.exe"}));
    EXPECT_TRUE(view[Edit].enabled);
}

TEST_F(ConfigurePresenterTest, UpdateWithEmptiedNameLeavesTheRow) {
    Open({{u"A", u"a.exe"}});
    Select({0});
    presenter.OnBnClickedEdit();
    view.name.clear();
    view.command = u"new.exe";
    presenter.OnBnClickedEdit();
    EXPECT_EQ(view.messages, std::vector<std::u16string>{u"Enter command name"});
    EXPECT_EQ(view.focus, ConfigureField::Name);
    EXPECT_EQ(view.rows[0], (Row{u"A", u"a.exe"}));
    EXPECT_EQ(view[Edit].caption, u"Update");
}

TEST_F(ConfigurePresenterTest, CancelAbandonsAnAddAndEnablesRowButtonsOnlyWithSelection) {
    Open({{u"A", u"a.exe"}});
    presenter.OnBnClickedAdd();
    presenter.OnBnClickedCancelEdit();
    EXPECT_TRUE(InBrowseMode());
    EXPECT_EQ(view.name, u"");
    EXPECT_EQ(view.command, u"");
    EXPECT_FALSE(view[Edit].enabled);
    EXPECT_EQ(view.rows.size(), 1u);
}

TEST_F(ConfigurePresenterTest, DeleteAsksAndRemovesTheUpperSelectedRow) {
    Open({{u"A", u"a.exe"}, {u"B", u"b.exe"}, {u"C", u"c.exe"}});
    presenter.OnBnClickedDelete();
    EXPECT_EQ(view.messages, std::vector<std::u16string>{u"Please select an entry to delete"});
    EXPECT_TRUE(view.questions.empty());

    Select({2, 1});
    view.answerYes = false;
    presenter.OnBnClickedDelete();
    ASSERT_EQ(view.questions.size(), 1u);
    EXPECT_EQ(view.questions[0].first, u"Do you want to delete the selected command?");
    EXPECT_EQ(view.questions[0].second, u"Confirmation");
    EXPECT_EQ(view.rows.size(), 3u);

    view.answerYes = true;
    presenter.OnBnClickedDelete();
    EXPECT_EQ(view.rows, (std::vector<Row>{{u"A", u"a.exe"}, {u"C", u"c.exe"}}));
    EXPECT_EQ(commands.GetCount(), 3) << "rows only; the list waits for Close";
}

TEST_F(ConfigurePresenterTest, DeletingDuringAnEditKeepsTheEditOnItsRow) {
    Open({{u"A", u"a.exe"}, {u"B", u"b.exe"}, {u"C", u"c.exe"}});
    Select({1});
    presenter.OnBnClickedEdit();
    Select({0});
    presenter.OnBnClickedDelete();
    EXPECT_EQ(presenter.EditItem(), 0);
    Select({1}); // Update needs some selected row, not the edited one
    view.name = u"B2";
    presenter.OnBnClickedEdit();
    EXPECT_EQ(view.rows, (std::vector<Row>{{u"B2", u"b.exe"}, {u"C", u"c.exe"}}));
}

TEST_F(ConfigurePresenterTest, DeletingTheRowUnderEditEndsTheEdit) {
    Open({{u"A", u"a.exe"}, {u"B", u"b.exe"}});
    Select({1});
    presenter.OnBnClickedEdit();
    Select({1});
    presenter.OnBnClickedDelete();
    EXPECT_TRUE(InBrowseMode());
    EXPECT_EQ(view.name, u"");
    EXPECT_EQ(view.rows, (std::vector<Row>{{u"A", u"a.exe"}}));
}

TEST_F(ConfigurePresenterTest, ModeIsReadFromCaptionsWithoutRegardToCase) {
    Open({{u"A", u"a.exe"}});
    Select({0});
    view.buttons[Add].caption = u"ADD";
    view.buttons[Edit].caption = u" eDiT ";
    presenter.OnBnClickedEdit();
    EXPECT_EQ(view[Edit].caption, u"Update") << "\" eDiT \" still means browse";
    presenter.OnBnClickedCancelEdit();
    view.buttons[Add].caption = u"add";
    presenter.OnBnClickedAdd();
    EXPECT_EQ(view[Add].caption, u"Update");
}

TEST_F(ConfigurePresenterTest, CloseCommitsTheRowsAndSavesThem) {
    Open({{u"A", u"a.exe"}, {u"B", u"b.exe"}});
    Select({0});
    presenter.OnBnClickedDelete();
    AddCommand(u"C", u"c.exe %PORTNUM%");
    Select({0});
    presenter.OnBnClickedEdit();
    view.command = u"b2.exe";
    presenter.OnBnClickedEdit();

    presenter.OnBnClickedClose();
    const std::vector<Row> expected{{u"B", u"b2.exe"}, {u"C", u"c.exe %PORTNUM%"}};
    EXPECT_EQ(Records(commands), expected);
    EXPECT_EQ(saver.saves, 1);
    EXPECT_EQ(Records(saver.saved), expected);
    EXPECT_TRUE(view.messages.empty());
}

TEST_F(ConfigurePresenterTest, EnterDuringAnAddCommitsTheRowsAndDropsTheNewEntry) {
    Open({{u"A", u"a.exe"}});
    presenter.OnBnClickedAdd();
    view.name = u"Half typed";
    presenter.OnBnClickedClose();
    EXPECT_EQ(Records(commands), (std::vector<Row>{{u"A", u"a.exe"}}));
    EXPECT_EQ(Records(saver.saved), Records(commands));
}

TEST_F(ConfigurePresenterTest, EnterDuringAnEditDropsTheFieldsButKeepsAWrittenName) {
    Open({{u"A", u"a.exe"}, {u"B", u"b.exe"}});
    Select({1});
    presenter.OnBnClickedEdit();
    view.name = u"B2";
    view.command.clear();
    presenter.OnBnClickedEdit(); // writes the name, refuses the empty command
    view.command = u"never.exe";
    presenter.OnBnClickedClose();
    EXPECT_EQ(Records(commands), (std::vector<Row>{{u"A", u"a.exe"}, {u"B2", u"b.exe"}}));
}

TEST_F(ConfigurePresenterTest, EscapeAfterChangesTouchesNeitherListNorRunValueNorFile) {
    runKey.present = true;
    Open({{u"A", u"a.exe"}, {u"B", u"b.exe"}});
    AddCommand(u"C", u"c.exe");
    Select({0});
    presenter.OnBnClickedDelete();
    presenter.OnBnClickedEdit();
    view.name = u"X";
    presenter.OnBnClickedEdit();
    view.checked = false;
    // Escape ends the dialog without reaching the presenter again.
    EXPECT_EQ(Records(commands), (std::vector<Row>{{u"A", u"a.exe"}, {u"B", u"b.exe"}}));
    EXPECT_EQ(runKey.writes + runKey.removals, 0);
    EXPECT_TRUE(runKey.present);
    EXPECT_EQ(saver.saves, 0);
}

TEST_F(ConfigurePresenterTest, SaveFailureIsReportedAndTheListStaysCommitted) {
    Open({{u"A", u"a.exe"}});
    AddCommand(u"B", u"b.exe");
    saver.succeeds = false;
    presenter.OnBnClickedClose();
    EXPECT_EQ(view.messages, std::vector<std::u16string>{u"Failed to save the command list"});
    EXPECT_EQ(Records(commands), (std::vector<Row>{{u"A", u"a.exe"}, {u"B", u"b.exe"}}));
}

TEST_F(ConfigurePresenterTest, CheckedBoxWritesAMissingRunValueAndReportsFailure) {
    Open({});
    view.checked = true;
    runKey.writeSucceeds = false;
    presenter.OnBnClickedClose();
    EXPECT_EQ(runKey.writes, 1);
    EXPECT_EQ(view.messages, std::vector<std::u16string>{u"Failed, LaunchOnStartup"});

    view.messages.clear();
    runKey.writeSucceeds = true;
    presenter.OnBnClickedClose();
    EXPECT_TRUE(runKey.present);
    EXPECT_TRUE(view.messages.empty());
}

TEST_F(ConfigurePresenterTest, UncheckedBoxRemovesTheRunValueAndSaysWhenACopyRemains) {
    runKey.present = true;
    Open({});
    view.checked = false;
    presenter.OnBnClickedClose();
    EXPECT_EQ(runKey.removals, 1);
    EXPECT_TRUE(view.messages.empty());

    runKey.present = true;
    runKey.removeSucceeds = false;
    presenter.OnBnClickedClose();
    EXPECT_EQ(runKey.removals, 2);
    EXPECT_EQ(view.messages,
              std::vector<std::u16string>{
                  u"Launch On Startup is still set for all users; only an administrator can "
                  u"remove it"});
}

TEST_F(ConfigurePresenterTest, CloseAsksTheRegistryAgainInsteadOfTrustingTheOpening) {
    Open({});
    EXPECT_FALSE(view.checked);
    view.checked = true;
    runKey.present = true; // another program wrote the value meanwhile
    presenter.OnBnClickedClose();
    EXPECT_EQ(runKey.writes, 0);
}

TEST_F(ConfigurePresenterTest, NoticeBoxShowsTheSwitchAndOnlyAChangeIsWrittenOnClose) {
    // Nothing stored yet: on, and an untouched box leaves it unstored.
    Open({});
    EXPECT_TRUE(view.notifyChecked);
    presenter.OnBnClickedClose();
    EXPECT_TRUE(notifySetting.writes.empty());

    view.notifyChecked = false;
    presenter.OnBnClickedClose();
    EXPECT_EQ(notifySetting.writes, std::vector<bool>{false});
    EXPECT_FALSE(notifySetting.enabled);

    FakeConfigureView reopened;
    reopened.notifyChecked = true;
    ConfigurePresenter again(reopened, commands, runKey, saver, notifySetting);
    again.OnInitDialog();
    EXPECT_FALSE(reopened.notifyChecked);
    reopened.notifyChecked = true;
    notifySetting.writeSucceeds = false;
    again.OnBnClickedClose();
    EXPECT_EQ(notifySetting.writes, (std::vector<bool>{false, true}));
    EXPECT_TRUE(reopened.messages.empty()) << "a switch that did not stick is not worth a box";
}

} // namespace
} // namespace portmaven::config
