// The tray menu on Win32: the two menu templates filled from the portable menu model, tracked
// at the cursor, and everything loaded for it released once tracking is over.
#pragma once

#include "framework/win/dpi.h"
#include "framework/win/scoped_handle.h"
#include "config/command_list.h"
#include "tray/win/menu_bitmaps.h"
#include "tray/tray_menu_model.h"

#include <windows.h>

#include <functional>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace portmaven::win {

// Shows a popup menu modally and returns when it has closed. The real one is
// TrackPopupMenuWithSystem; tests and the benchmark stand in their own.
using MenuTracker = std::function<void(HMENU popup, UINT flags, POINT at, HWND owner)>;

void TrackPopupMenuWithSystem(HMENU popup, UINT flags, POINT at, HWND owner);

class TrayMenu {
public:
    // The pictures are made for `dpi`, the DPI of the monitor the menu shows on.
    explicit TrayMenu(HINSTANCE resources, UINT dpi = SystemDpi()) noexcept;
    ~TrayMenu();
    TrayMenu(const TrayMenu&) = delete;
    TrayMenu& operator=(const TrayMenu&) = delete;
    TrayMenu(TrayMenu&&) = delete;
    TrayMenu& operator=(TrayMenu&&) = delete;

    // Loads the menu templates; false when a menu or its popup is missing.
    bool LoadTemplates();

    // Fills the loaded templates from the model; false when a command item or a port entry
    // cannot be inserted, in which case the menu must not be shown.
    bool Fill(const tray::TrayMenuModel& model);

    // Brings the owner to the foreground, as a popup menu of a background window requires, and
    // tracks the main popup at `at`. The chosen command arrives afterwards as WM_COMMAND.
    void Track(HWND owner, POINT at, const MenuTracker& tracker = TrackPopupMenuWithSystem);

    [[nodiscard]] HMENU MainPopup() const noexcept { return mainPopup_; }
    [[nodiscard]] HMENU CommandPopup() const noexcept { return commandPopup_; }
    [[nodiscard]] std::vector<HBITMAP> BitmapHandles() const { return bitmaps_.Handles(); }

private:
    void SetBitmap(HMENU menu, UINT item, UINT byFlag, tray::MenuIcon icon);
    // Inserts the entries into one level of the menu, submenus below it included.
    bool FillLevel(HMENU popup, const std::vector<tray::MenuEntry>& entries);

    HINSTANCE resources_;
    // Declared before the menus, so that the menus showing the bitmaps go first.
    MenuBitmaps bitmaps_;
    ScopedMenu trayMenu_;
    ScopedMenu commandMenu_;
    HMENU mainPopup_ = nullptr;
    HMENU commandPopup_ = nullptr;
    // Port entries inserted so far, each showing the command popup: their menu and position.
    std::vector<std::pair<HMENU, UINT>> attachedPortEntries_;
};

// The command popup `popup` opens under the listed port at `position` (the highlighted port
// entry): its details line shows that port's, and the port's default command is its default
// item (bold), or none is. False when the popup has no details line or no such port is listed.
bool ShowPortDetails(HMENU popup, std::span<const ports::SerialPort> shownPorts, int position,
                     const config::CommandList& commands);

// A click on the tray icon: loads the templates, refreshes the ports (refreshPorts updates
// `ports`), fills the menu from the ports and the commands and tracks it at `at`. Shows no
// menu when the templates are missing, the ports cannot be enumerated or the menu cannot be
// filled; false then.
bool ShowTrayMenu(HWND owner, POINT at, const std::function<bool()>& refreshPorts,
                  const std::vector<ports::SerialPort>& ports, const config::CommandList& commands,
                  const MenuTracker& tracker = TrackPopupMenuWithSystem);

} // namespace portmaven::win
