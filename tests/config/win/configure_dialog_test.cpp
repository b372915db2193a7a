// The Configure dialog on the real controls: the template, the list view set-up, and the
// presenter's decisions arriving through button clicks, list selection, Enter and Escape.
#include "config/win/configure_dialog.h"

#include "config/configure_fakes.h"
#include "framework/win/dpi.h"
#include "resource.h"
#include "support/win/dialog_dpi_change.h"
#include "support/win/window_query.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace portmaven::win {
namespace {

using config::CommandList;
using config::FieldText;
using config::MakeCommandRecord;
using config::testing::FakeNotifySetting;
using config::testing::FakeRunKey;
using config::testing::FakeSaver;
using test_support::ClassName;
using test_support::WindowText;

// Runs a script inside the dialog's modal loop once it is up; a dialog the script did not end
// ends itself with kNotEnded right after, so that a failing test cannot hang.
class ScriptedConfigureDlg final : public CConfigureDlg {
public:
    static constexpr INT_PTR kNotEnded = 99;
    using Script = std::function<void(ScriptedConfigureDlg&)>;

    ScriptedConfigureDlg(CommandList& commands, config::RunKey& runKey,
                         config::CommandListSaver& saver, config::NotifySetting& notifySetting,
                         Script script)
        : CConfigureDlg(commands, runKey, saver, notifySetting), script_(std::move(script)) {}

    void ShowStopMessage(std::u16string_view text) override { stopMessages.emplace_back(text); }
    bool AskYesNo(std::u16string_view text, std::u16string_view caption) override {
        questions.push_back(std::u16string(text) + u"|" + std::u16string(caption));
        return true;
    }

    HWND Item(int id) const { return GetDlgItem(id); }
    HWND List() const { return Item(IDC_COMMAND_LIST); }
    void Click(int id) const { ::SendMessageW(Item(id), BM_CLICK, 0, 0); }
    void Type(int id, const wchar_t* text) const { ::SetWindowTextW(Item(id), text); }
    std::wstring Text(int id) const { return GetItemText(id); }
    bool Enabled(int id) const { return ::IsWindowEnabled(Item(id)) != FALSE; }
    // The control's own flag: the dialog itself is shown only once its loop is idle.
    bool Visible(int id) const { return (Style(id) & WS_VISIBLE) != 0; }
    LONG_PTR Style(int id) const { return ::GetWindowLongPtrW(Item(id), GWL_STYLE); }

    void Select(std::initializer_list<int> rows) const {
        SetSelection(-1, false);
        for (int row : rows) {
            SetSelection(row, true);
        }
    }
    // Queued like real typing, so that the dialog manager turns it into IDOK or IDCANCEL.
    void PostKey(int id, WORD key) const { ::PostMessageW(Item(id), WM_KEYDOWN, key, 0); }

    std::vector<std::u16string> stopMessages;
    std::vector<std::u16string> questions;
    std::wstring initialFocusClass;
    int initialFocusId = 0;

protected:
    BOOL OnInitDialog() override {
        const BOOL result = CConfigureDlg::OnInitDialog();
        ::PostMessageW(GetSafeHwnd(), kRunScript, 0, 0);
        return result;
    }
    MessageResult HandleMessage(const WindowMessage& msg) override {
        if (msg.message == kRunScript) {
            initialFocusId = ::GetDlgCtrlID(::GetFocus());
            script_(*this);
            ::PostMessageW(GetSafeHwnd(), kGiveUp, 0, 0);
            return 0;
        }
        if (msg.message == kGiveUp) {
            EndDialog(kNotEnded);
            return 0;
        }
        return CConfigureDlg::HandleMessage(msg);
    }

private:
    static constexpr UINT kRunScript = WM_APP + 1;
    static constexpr UINT kGiveUp = WM_APP + 2;

    void SetSelection(int row, bool selected) const {
        LVITEMW item{};
        item.stateMask = LVIS_SELECTED;
        item.state = selected ? LVIS_SELECTED : 0;
        ::SendMessageW(List(), LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                       reinterpret_cast<LPARAM>(&item));
    }

    Script script_;
};

std::vector<std::u16string> Names(const CommandList& list) {
    std::vector<std::u16string> names;
    for (int i = 0; i < list.GetCount(); ++i) {
        names.emplace_back(FieldText(list.At(i).szName));
    }
    return names;
}

class ConfigureDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        commands.AppendCommand(MakeCommandRecord(u"Connect", u"tt.exe /C=%PORTNUM%"));
        commands.AppendCommand(MakeCommandRecord(u"Putty", u"putty.exe -serial COM%PORTNUM%"));
    }

    INT_PTR Run(ScriptedConfigureDlg::Script script) {
        dialog = std::make_unique<ScriptedConfigureDlg>(commands, runKey, saver, notifySetting,
                                                        std::move(script));
        return dialog->DoModal();
    }

    CommandList commands;
    FakeRunKey runKey;
    FakeSaver saver;
    FakeNotifySetting notifySetting;
    std::unique_ptr<ScriptedConfigureDlg> dialog;
};

TEST_F(ConfigureDlgTest, OpensFromTemplateWithEveryControlAndTheListLoaded) {
    runKey.present = true;
    const INT_PTR result = Run([](ScriptedConfigureDlg& d) {
        HWND hwnd = d.GetSafeHwnd();
        EXPECT_EQ(WindowText(hwnd), L"Configure");
        const LONG_PTR style = ::GetWindowLongPtrW(hwnd, GWL_STYLE);
        EXPECT_EQ(style & (WS_POPUP | WS_CAPTION | WS_SYSMENU), WS_POPUP | WS_CAPTION | WS_SYSMENU);

        // 404 x 190 dialog units.
        RECT expected{0, 0, 404, 190};
        ::MapDialogRect(hwnd, &expected);
        RECT client{};
        ::GetClientRect(hwnd, &client);
        EXPECT_EQ(client.right, expected.right);
        EXPECT_EQ(client.bottom, expected.bottom);

        EXPECT_EQ(d.Text(IDC_BUTTON_ADD), L"Add");
        EXPECT_EQ(d.Text(IDC_BUTTON_EDIT), L"Edit");
        EXPECT_EQ(d.Text(IDC_BUTTON_DELETE), L"Delete");
        EXPECT_EQ(d.Text(IDOK), L"Close");
        EXPECT_EQ(d.Text(IDC_BUTTON_CANCEL_EDIT), L"Cancel");
        EXPECT_EQ(d.Text(IDC_CHECK_LAUNCH_ON_STARTUP), L"Launch Portmaven On Startup");
        EXPECT_TRUE(d.Enabled(IDC_BUTTON_ADD));
        EXPECT_FALSE(d.Enabled(IDC_BUTTON_EDIT));
        EXPECT_FALSE(d.Enabled(IDC_BUTTON_DELETE));
        EXPECT_FALSE(d.Visible(IDC_BUTTON_CANCEL_EDIT));
        EXPECT_EQ(d.Style(IDOK) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
        EXPECT_EQ(d.Style(IDC_CHECK_LAUNCH_ON_STARTUP) & BS_TYPEMASK, BS_AUTOCHECKBOX);
        EXPECT_EQ(::SendMessageW(d.Item(IDC_CHECK_LAUNCH_ON_STARTUP), BM_GETCHECK, 0, 0),
                  BST_CHECKED);
        EXPECT_EQ(d.Style(IDC_CHECK_NOTIFY_PORT_CHANGES) & BS_TYPEMASK, BS_AUTOCHECKBOX);
        EXPECT_EQ(::SendMessageW(d.Item(IDC_CHECK_NOTIFY_PORT_CHANGES), BM_GETCHECK, 0, 0),
                  BST_CHECKED);
        for (int field : {IDC_EDIT_NAME, IDC_EDIT_COMMAND}) {
            EXPECT_EQ(d.Style(field) & (ES_AUTOHSCROLL | WS_TABSTOP), ES_AUTOHSCROLL | WS_TABSTOP);
            // The dialog manager draws a bordered edit with the sunken client edge instead.
            EXPECT_TRUE((d.Style(field) & WS_BORDER) ||
                        (::GetWindowLongPtrW(d.Item(field), GWL_EXSTYLE) & WS_EX_CLIENTEDGE));
        }
        EXPECT_EQ(::SendMessageW(d.Item(IDC_EDIT_NAME), EM_GETLIMITTEXT, 0, 0), 64);
        EXPECT_EQ(::SendMessageW(d.Item(IDC_EDIT_COMMAND), EM_GETLIMITTEXT, 0, 0), 512);
        EXPECT_EQ(d.initialFocusId, IDC_EDIT_NAME);

        const LONG_PTR listStyle = d.Style(IDC_COMMAND_LIST);
        EXPECT_EQ(listStyle & LVS_TYPEMASK, LVS_REPORT);
        EXPECT_TRUE(listStyle & LVS_SHOWSELALWAYS);
        EXPECT_FALSE(listStyle & LVS_SINGLESEL) << "several rows may be selected";
        EXPECT_FALSE(listStyle & (LVS_SORTASCENDING | LVS_SORTDESCENDING));
        EXPECT_EQ(::SendMessageW(d.List(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & 0x21, 0x21);
        EXPECT_EQ(::SendMessageW(d.List(), LVM_GETCOLUMNWIDTH, 0, 0), 150);
        EXPECT_EQ(::SendMessageW(d.List(), LVM_GETCOLUMNWIDTH, 1, 0), 374);
        wchar_t title[64] = {};
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_FMT;
        column.pszText = title;
        column.cchTextMax = 64;
        ::SendMessageW(d.List(), LVM_GETCOLUMNW, 1, reinterpret_cast<LPARAM>(&column));
        EXPECT_STREQ(title, L"Command To Execute");
        EXPECT_EQ(column.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_LEFT);

        EXPECT_EQ(d.RowCount(), 2);
        EXPECT_EQ(d.RowText(1, config::RowColumn::Name), u"Putty");
        EXPECT_EQ(d.RowText(1, config::RowColumn::Command), u"putty.exe -serial COM%PORTNUM%");
    });
    EXPECT_EQ(result, ScriptedConfigureDlg::kNotEnded);
}

// One control of the template: what the dialog manager must have made of it.
struct TemplateControl {
    int id;
    const wchar_t* className;
    const wchar_t* text; // nullptr: not compared (the list view has none)
    RECT dialogUnits;    // x, y, width, height, as the template gives them
};

TEST_F(ConfigureDlgTest, ControlsComeInTabOrderWhereTheTemplatePutsThem) {
    constexpr int kStatic = -1;
    const TemplateControl expected[] = {
        {IDC_EDIT_NAME, L"Edit", L"", {91, 13, 150, 12}},
        {IDC_EDIT_COMMAND, L"Edit", L"", {91, 34, 306, 12}},
        {IDC_BUTTON_ADD, L"Button", L"Add", {91, 53, 41, 12}},
        {IDC_BUTTON_EDIT, L"Button", L"Edit", {139, 53, 41, 12}},
        {IDC_BUTTON_DELETE, L"Button", L"Delete", {187, 53, 41, 12}},
        {IDOK, L"Button", L"Close", {356, 159, 41, 12}},
        {kStatic, L"Static", L"Command Name:", {7, 14, 82, 8}},
        {IDC_COMMAND_LIST, L"SysListView32", nullptr, {7, 73, 390, 78}},
        {kStatic, L"Static", L"Command To Execute:", {7, 35, 82, 8}},
        {IDC_BUTTON_CANCEL_EDIT, L"Button", L"Cancel", {235, 53, 41, 12}},
        {IDC_CHECK_LAUNCH_ON_STARTUP, L"Button", L"Launch Portmaven On Startup", {7, 160, 140, 10}},
        {IDC_CHECK_NOTIFY_PORT_CHANGES,
         L"Button",
         L"Notify when serial ports come and go",
         {7, 173, 190, 10}},
    };
    Run([&expected](ScriptedConfigureDlg& d) {
        HWND hwnd = d.GetSafeHwnd();
        HWND child = ::GetWindow(hwnd, GW_CHILD);
        for (const TemplateControl& control : expected) {
            ASSERT_NE(child, nullptr) << "missing the control of id " << control.id;
            SCOPED_TRACE(::testing::Message() << "control of id " << control.id);
            EXPECT_EQ(::GetDlgCtrlID(child), control.id);
            EXPECT_EQ(ClassName(child), control.className);
            if (control.text != nullptr) {
                EXPECT_EQ(WindowText(child), control.text);
            }
            // Position and size are converted one by one, as the dialog manager does.
            RECT want = control.dialogUnits;
            ::MapDialogRect(hwnd, &want);
            want.right += want.left;
            want.bottom += want.top;
            RECT got{};
            ::GetWindowRect(child, &got);
            ::MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&got), 2);
            EXPECT_EQ(got.left, want.left);
            EXPECT_EQ(got.top, want.top);
            EXPECT_EQ(got.right, want.right);
            EXPECT_EQ(got.bottom, want.bottom);
            child = ::GetWindow(child, GW_HWNDNEXT);
        }
        EXPECT_EQ(child, nullptr) << "the dialog has more controls than its template";

        wchar_t title[64] = {};
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_FMT;
        column.pszText = title;
        column.cchTextMax = 64;
        ASSERT_TRUE(::SendMessageW(d.List(), LVM_GETCOLUMNW, 0, reinterpret_cast<LPARAM>(&column)));
        EXPECT_STREQ(title, L"Command Name");
        EXPECT_EQ(column.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_LEFT);
    });
}

TEST_F(ConfigureDlgTest, AddThroughTheControlsAndCloseCommitsAndSaves) {
    const INT_PTR result = Run([](ScriptedConfigureDlg& d) {
        d.Click(IDC_BUTTON_ADD);
        EXPECT_EQ(d.Text(IDC_BUTTON_ADD), L"Update");
        EXPECT_TRUE(d.Visible(IDC_BUTTON_CANCEL_EDIT));
        EXPECT_EQ(d.Text(IDC_EDIT_NAME), L"My command");
        d.Type(IDC_EDIT_NAME, L"  Minicom ");
        d.Type(IDC_EDIT_COMMAND, L"minicom.exe COM%PORTNUM%");
        d.Click(IDC_BUTTON_ADD);
        EXPECT_EQ(d.Text(IDC_BUTTON_ADD), L"Add");
        EXPECT_FALSE(d.Visible(IDC_BUTTON_CANCEL_EDIT));
        EXPECT_EQ(d.Text(IDC_EDIT_NAME), L"");
        EXPECT_EQ(::GetDlgCtrlID(::GetFocus()), IDC_EDIT_NAME);

        // The list's own selection notifications drive the row buttons.
        d.Select({0});
        EXPECT_TRUE(d.Enabled(IDC_BUTTON_EDIT));
        EXPECT_TRUE(d.Enabled(IDC_BUTTON_DELETE));
        d.Select({});
        EXPECT_FALSE(d.Enabled(IDC_BUTTON_EDIT));

        d.Click(IDC_CHECK_LAUNCH_ON_STARTUP);
        d.Click(IDC_CHECK_NOTIFY_PORT_CHANGES);
        d.Click(IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(notifySetting.writes, std::vector<bool>{false});
    EXPECT_EQ(Names(commands), (std::vector<std::u16string>{u"Connect", u"Putty", u"Minicom"}));
    EXPECT_EQ(FieldText(commands.At(2).szCommand), u"minicom.exe COM%PORTNUM%");
    EXPECT_EQ(saver.saves, 1);
    EXPECT_EQ(Names(saver.saved), Names(commands));
    EXPECT_EQ(runKey.writes, 1);
    EXPECT_TRUE(dialog->stopMessages.empty());
}

TEST_F(ConfigureDlgTest, EditAndDeleteActOnTheUpperSelectedRow) {
    commands.AppendCommand(MakeCommandRecord(u"Third", u"third.exe"));
    const INT_PTR result = Run([](ScriptedConfigureDlg& d) {
        d.Select({2, 1});
        d.Click(IDC_BUTTON_EDIT);
        EXPECT_EQ(d.Text(IDC_EDIT_NAME), L"Putty");
        EXPECT_EQ(d.Text(IDC_BUTTON_EDIT), L"Update");
        EXPECT_FALSE(d.Enabled(IDC_BUTTON_ADD));
        d.Type(IDC_EDIT_NAME, L"PuTTY");
        d.Click(IDC_BUTTON_EDIT);

        d.Select({2, 0});
        d.Click(IDC_BUTTON_DELETE);
        d.Click(IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(dialog->questions, std::vector<std::u16string>{
                                     u"Do you want to delete the selected command?|Confirmation"});
    EXPECT_EQ(Names(commands), (std::vector<std::u16string>{u"PuTTY", u"Third"}));
}

TEST_F(ConfigureDlgTest, EnterDuringAnAddClosesAndDropsTheUnfinishedEntry) {
    const INT_PTR result = Run([](ScriptedConfigureDlg& d) {
        d.Click(IDC_BUTTON_ADD);
        d.Type(IDC_EDIT_NAME, L"Half typed");
        d.PostKey(IDC_EDIT_NAME, VK_RETURN);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(Names(commands), (std::vector<std::u16string>{u"Connect", u"Putty"}));
    EXPECT_EQ(saver.saves, 1);
}

TEST_F(ConfigureDlgTest, EscapeDiscardsRowsAndCheckBox) {
    const INT_PTR result = Run([](ScriptedConfigureDlg& d) {
        d.Select({0});
        d.Click(IDC_BUTTON_DELETE);
        d.Click(IDC_BUTTON_ADD);
        d.Click(IDC_BUTTON_ADD);
        d.Click(IDC_CHECK_LAUNCH_ON_STARTUP);
        d.Click(IDC_CHECK_NOTIFY_PORT_CHANGES);
        EXPECT_EQ(d.RowCount(), 2);
        d.PostKey(IDC_EDIT_NAME, VK_ESCAPE);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(Names(commands), (std::vector<std::u16string>{u"Connect", u"Putty"}));
    EXPECT_EQ(saver.saves, 0);
    EXPECT_EQ(runKey.writes + runKey.removals, 0);
    EXPECT_TRUE(notifySetting.writes.empty());
}

TEST_F(ConfigureDlgTest, FullLengthFieldsSurviveTheRoundTripThroughTheRows) {
    const std::u16string longName(255, u'n');
    const std::u16string longCommand(1023, u'c');
    commands.AppendCommand(MakeCommandRecord(longName, longCommand));
    const INT_PTR result = Run([](ScriptedConfigureDlg& d) { d.Click(IDOK); });
    EXPECT_EQ(result, IDOK);
    ASSERT_EQ(commands.GetCount(), 3);
    EXPECT_EQ(FieldText(commands.At(2).szName), longName);
    EXPECT_EQ(FieldText(commands.At(2).szCommand), longCommand);
}

TEST_F(ConfigureDlgTest, TypingStopsAtTheNameLimit) {
    Run([](ScriptedConfigureDlg& d) {
        for (int i = 0; i < 70; ++i) {
            ::SendMessageW(d.Item(IDC_EDIT_NAME), WM_CHAR, L'a', 0);
        }
        EXPECT_EQ(d.Text(IDC_EDIT_NAME).size(), 64u);
    });
}

TEST_F(ConfigureDlgTest, FollowsItsMonitorToTwiceTheScaling) {
    const INT_PTR result = Run([](ScriptedConfigureDlg& d) {
        const HWND list = d.List();
        const UINT oldDpi = d.Dpi();
        const UINT newDpi = oldDpi * 2;
        const int nameWidth = static_cast<int>(::SendMessageW(list, LVM_GETCOLUMNWIDTH, 0, 0));
        const int commandWidth = static_cast<int>(::SendMessageW(list, LVM_GETCOLUMNWIDTH, 1, 0));
        dpi_testing::MoveToDpi(d.GetSafeHwnd(), newDpi, oldDpi);
        EXPECT_EQ(d.Dpi(), newDpi);
        dpi_testing::ExpectTextsFit(d.GetSafeHwnd(), SystemMetricForDpi(SM_CXMENUCHECK, newDpi) +
                                                         SystemMetricForDpi(SM_CXEDGE, newDpi) * 2);
        EXPECT_NEAR(::SendMessageW(list, LVM_GETCOLUMNWIDTH, 0, 0), nameWidth * 2, 1);
        EXPECT_NEAR(::SendMessageW(list, LVM_GETCOLUMNWIDTH, 1, 0), commandWidth * 2, 1);
        // The list grew with the dialog, and the edit fields took the new font.
        EXPECT_EQ(dpi_testing::FontHeight(d.Item(IDC_EDIT_NAME)),
                  dpi_testing::FontHeight(d.GetSafeHwnd()));
        d.PostKey(IDC_EDIT_NAME, VK_ESCAPE);
    });
    EXPECT_EQ(result, IDCANCEL);
}

} // namespace
} // namespace portmaven::win
