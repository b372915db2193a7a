// What the Configure dialog's presenter needs from a dialog: captions and states of its four
// buttons, the two edit fields, the rows of the command table, the two check boxes and message
// boxes. The Win32 dialog implements it with real controls; tests with a fake.
#pragma once

#include "config/command_record.h"

#include <string>
#include <string_view>

namespace portmaven::config {

// Typing and pasting into the fields stops at these lengths (UTF-16 code units); texts the
// dialog places there itself are not cut.
inline constexpr int kNameFieldLimit = 64;
inline constexpr int kCommandFieldLimit = 512;

// The command table's columns: titles and widths (in dialog pixels at 96 DPI) that both
// dialogs show.
inline constexpr char16_t kNameColumnTitle[] = u"Command Name";
inline constexpr char16_t kCommandColumnTitle[] = u"Command To Execute";
inline constexpr int kNameColumnWidth = 150;
inline constexpr int kCommandColumnWidth = 374;

enum class ConfigureButton {
    Add,        // "Add", or "Update" while adding
    Edit,       // "Edit", or "Update" while editing
    Delete,     // "Delete"
    CancelEdit, // "Cancel": abandons an add or an edit
};

enum class ConfigureField { Name, Command };

enum class RowColumn { Name = 0, Command = 1 };

class ConfigureView {
public:
    virtual ~ConfigureView() = default;

    [[nodiscard]] virtual std::u16string ButtonCaption(ConfigureButton button) const = 0;
    virtual void SetButtonCaption(ConfigureButton button, std::u16string_view caption) = 0;
    virtual void EnableButton(ConfigureButton button, bool enabled) = 0;
    virtual void ShowButton(ConfigureButton button, bool shown) = 0;

    [[nodiscard]] virtual std::u16string FieldText(ConfigureField field) const = 0;
    virtual void SetFieldText(ConfigureField field, std::u16string_view text) = 0;
    virtual void FocusField(ConfigureField field) = 0;

    [[nodiscard]] virtual int RowCount() const = 0;
    // Adds a row at the end: column 0 the record's name, column 1 its command line.
    virtual void AppendRow(const tag_ST_PORTMAVEN_CONFIG& record) = 0;
    [[nodiscard]] virtual std::u16string RowText(int row, RowColumn column) const = 0;
    virtual void SetRowText(int row, RowColumn column, std::u16string_view text) = 0;
    virtual void DeleteRow(int row) = 0;
    // The selected row with the lowest index, or -1 when no row is selected.
    [[nodiscard]] virtual int FirstSelectedRow() const = 0;

    [[nodiscard]] virtual bool IsLaunchOnStartupChecked() const = 0;
    virtual void SetLaunchOnStartupChecked(bool checked) = 0;
    // "Notify when serial ports come and go".
    [[nodiscard]] virtual bool IsNotifyPortChangesChecked() const = 0;
    virtual void SetNotifyPortChangesChecked(bool checked) = 0;

    // A message box with the stop icon, an OK button and the application's title as caption.
    virtual void ShowStopMessage(std::u16string_view text) = 0;
    // A Yes/No question with the question icon, owned by the dialog; true for Yes.
    virtual bool AskYesNo(std::u16string_view text, std::u16string_view caption) = 0;

protected:
    ConfigureView() = default;
    ConfigureView(const ConfigureView&) = default;
    ConfigureView& operator=(const ConfigureView&) = default;
    ConfigureView(ConfigureView&&) = default;
    ConfigureView& operator=(ConfigureView&&) = default;
};

} // namespace portmaven::config
