#include "tray/win/tray_menu.h"

#include "framework/win/wide_text.h"
#include "tray/menu_choice.h"
#include "tray/menu_ids.h"
#include "tray/port_details.h"
#include "tray/tray_menu_model.h"
#include "resource.h"

namespace portmaven::win {

static_assert(tray::kNoSerialPortsId == ID_NO_SERIAL_PORTS);
static_assert(tray::kBlankItemId == ID_MENU_PLACEHOLDER);
static_assert(tray::kDeviceManagerId == ID_MENU_DEVICE_MANAGER);
static_assert(tray::kPropertiesId == ID_MENU_PROPERTIES);
static_assert(tray::kAboutId == ID_MENU_ABOUT);
static_assert(tray::kExitId == ID_MENU_EXIT);

namespace {

// The bitmap resource that shows an icon of the model; 0 for none.
int BitmapResource(tray::MenuIcon icon) {
    switch (icon) {
    case tray::MenuIcon::None:
        return 0;
    case tray::MenuIcon::Port:
        return IDB_PORT;
    case tray::MenuIcon::Command:
        return IDB_COMMAND;
    case tray::MenuIcon::DeviceManager:
        return IDB_DEVICE_MANAGER;
    case tray::MenuIcon::Properties:
        return IDB_PROPERTIES;
    case tray::MenuIcon::About:
        return IDB_ABOUT;
    case tray::MenuIcon::Exit:
        return IDB_EXIT;
    }
    return 0;
}

UINT StateFlags(const tray::MenuEntry& entry) {
    return entry.greyed ? MF_GRAYED : MF_ENABLED;
}

// Every port shares the command popup, so each port's own items are inserted into it once,
// after the commands: they have the same ids under every port, and the port they act on is
// the highlighted port entry, as for a command. Only the details line differs between ports;
// the host sets its text from the highlighted port when the popup opens (ShowPortDetails).
const tray::MenuEntry* FirstPortEntry(const std::vector<tray::MenuEntry>& entries) {
    for (const tray::MenuEntry& entry : entries) {
        if (entry.kind == tray::MenuEntry::Kind::Port) {
            return &entry;
        }
    }
    return nullptr;
}

void RemoveAllItems(HMENU menu) {
    for (int count = ::GetMenuItemCount(menu); count > 0; --count) {
        ::DeleteMenu(menu, 0, MF_BYPOSITION);
    }
}

} // namespace

void TrackPopupMenuWithSystem(HMENU popup, UINT flags, POINT at, HWND owner) {
    ::TrackPopupMenu(popup, flags, at.x, at.y, 0, owner, nullptr);
}

TrayMenu::TrayMenu(HINSTANCE resources, UINT dpi) noexcept
    : resources_(resources), bitmaps_(resources, dpi) {}

TrayMenu::~TrayMenu() {
    // Every port entry shows the one command popup, which belongs to the command menu. Take
    // the entries off (RemoveMenu keeps the popup) so that each menu destroys only its own;
    // from the last, so that the positions of the others stay as they were.
    for (auto entry = attachedPortEntries_.rbegin(); entry != attachedPortEntries_.rend();
         ++entry) {
        ::RemoveMenu(entry->first, entry->second, MF_BYPOSITION);
    }
}

bool TrayMenu::LoadTemplates() {
    trayMenu_.Reset(::LoadMenuW(resources_, MAKEINTRESOURCEW(IDR_TRAY_MENU)));
    commandMenu_.Reset(::LoadMenuW(resources_, MAKEINTRESOURCEW(IDR_COMMAND_MENU)));
    if (!trayMenu_ || !commandMenu_) {
        return false;
    }
    mainPopup_ = ::GetSubMenu(trayMenu_.Get(), 0);
    commandPopup_ = ::GetSubMenu(commandMenu_.Get(), 0);
    return mainPopup_ != nullptr && commandPopup_ != nullptr;
}

void TrayMenu::SetBitmap(HMENU menu, UINT item, UINT byFlag, tray::MenuIcon icon) {
    const int bitmapId = BitmapResource(icon);
    if (bitmapId == 0) {
        return;
    }
    // A bitmap that does not load leaves the item without a picture.
    if (const HBITMAP bitmap = bitmaps_.Get(bitmapId)) {
        ::SetMenuItemBitmaps(menu, item, byFlag, bitmap, nullptr);
    }
}

bool TrayMenu::Fill(const tray::TrayMenuModel& model) {
    // The templates' own items only make the popups exist; the model replaces them.
    RemoveAllItems(commandPopup_);
    UINT position = 0;
    for (const tray::MenuEntry& item : model.commandItems) {
        const std::wstring text = ToWide(item.text);
        // A greyed placeholder that cannot be inserted still leaves a usable menu.
        if (!::InsertMenuW(commandPopup_, position, MF_BYPOSITION | MF_STRING | StateFlags(item),
                           static_cast<UINT_PTR>(item.id), text.c_str()) &&
            !item.greyed) {
            return false;
        }
        ++position;
        SetBitmap(commandPopup_, static_cast<UINT>(item.id), MF_BYCOMMAND, item.icon);
    }
    if (const tray::MenuEntry* port = FirstPortEntry(model.entries)) {
        for (const tray::MenuEntry& item : port->children) {
            const std::wstring text = ToWide(item.text);
            const UINT kind = item.kind == tray::MenuEntry::Kind::Separator
                                  ? MF_SEPARATOR
                                  : MF_STRING | StateFlags(item);
            if (!::InsertMenuW(commandPopup_, position, MF_BYPOSITION | kind,
                               static_cast<UINT_PTR>(item.id), text.c_str())) {
                return false;
            }
            ++position;
        }
    }
    RemoveAllItems(mainPopup_);
    return FillLevel(mainPopup_, model.entries);
}

bool TrayMenu::FillLevel(HMENU popup, const std::vector<tray::MenuEntry>& entries) {
    UINT position = 0;
    for (const tray::MenuEntry& entry : entries) {
        const std::wstring text = ToWide(entry.text);
        switch (entry.kind) {
        case tray::MenuEntry::Kind::Separator:
            ::InsertMenuW(popup, position, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
            break;
        case tray::MenuEntry::Kind::Port:
            // Port entries are reported by their position, so they carry no id of their own.
            if (!::InsertMenuW(popup, position, MF_BYPOSITION | MF_STRING | MF_POPUP,
                               reinterpret_cast<UINT_PTR>(commandPopup_), text.c_str())) {
                return false;
            }
            attachedPortEntries_.emplace_back(popup, position);
            SetBitmap(popup, position, MF_BYPOSITION, entry.icon);
            break;
        case tray::MenuEntry::Kind::Submenu: {
            ScopedMenu submenu(::CreatePopupMenu());
            if (!submenu ||
                !::InsertMenuW(popup, position, MF_BYPOSITION | MF_STRING | MF_POPUP,
                               reinterpret_cast<UINT_PTR>(submenu.Get()), text.c_str())) {
                return false;
            }
            // The entry owns the submenu from now on; filled only then, so that a port entry in
            // it is always one the destructor takes off again.
            const HMENU owned = submenu.Release();
            if (!FillLevel(owned, entry.children)) {
                return false;
            }
            break;
        }
        case tray::MenuEntry::Kind::Item:
            // The placeholders' insertion results do not matter: the menu is shown regardless.
            // An item without text is inserted as a menu template holds one (no string at
            // all), so that the keyboard passes over it.
            if (!::InsertMenuW(popup, position, MF_BYPOSITION | MF_STRING | StateFlags(entry),
                               static_cast<UINT_PTR>(entry.id),
                               entry.text.empty() ? nullptr : text.c_str()) &&
                !entry.greyed) {
                return false;
            }
            SetBitmap(popup, static_cast<UINT>(entry.id), MF_BYCOMMAND, entry.icon);
            break;
        }
        ++position;
    }
    return true;
}

void TrayMenu::Track(HWND owner, POINT at, const MenuTracker& tracker) {
    // Without the foreground the menu would not close when the user clicks elsewhere.
    ::SetForegroundWindow(owner);
    tracker(mainPopup_, TPM_RIGHTALIGN, at, owner);
    // Makes the system switch tasks as it should once the menu of a tray icon is gone.
    ::PostMessageW(owner, WM_NULL, 0, 0);
}

bool ShowPortDetails(HMENU popup, std::span<const ports::SerialPort> shownPorts, int position,
                     const config::CommandList& commands) {
    if (position < 0 || static_cast<std::size_t>(position) >= shownPorts.size()) {
        return false;
    }
    const ports::SerialPort& port = shownPorts[static_cast<std::size_t>(position)];
    // Looked up on this level only: by command, Win32 would also find the line in a submenu,
    // and the main popup holds the command popup under every port.
    const int count = ::GetMenuItemCount(popup);
    for (int item = 0; item < count; ++item) {
        if (::GetMenuItemID(popup, item) != static_cast<UINT>(tray::kPortDetailsId)) {
            continue;
        }
        // The popup is shared: the default item of the port it opened for before is replaced.
        const std::optional<int> command = tray::DefaultCommandIndex(port, commands);
        ::SetMenuDefaultItem(popup,
                             command ? static_cast<UINT>(tray::kFirstCommandId + *command)
                                     : static_cast<UINT>(-1),
                             FALSE);
        const std::wstring text = ToWide(tray::EscapeMenuText(tray::PortDetailsText(port)));
        return ::ModifyMenuW(popup, static_cast<UINT>(item), MF_BYPOSITION | MF_STRING | MF_GRAYED,
                             tray::kPortDetailsId, text.c_str()) != FALSE;
    }
    return false;
}

bool ShowTrayMenu(HWND owner, POINT at, const std::function<bool()>& refreshPorts,
                  const std::vector<ports::SerialPort>& ports, const config::CommandList& commands,
                  const MenuTracker& tracker) {
    TrayMenu menu(::GetModuleHandleW(nullptr), DpiAtPoint(at));
    if (!menu.LoadTemplates() || !refreshPorts()) {
        return false;
    }
    if (!menu.Fill(tray::BuildTrayMenuModel(ports, commands, tray::kWindowsLayout))) {
        return false;
    }
    menu.Track(owner, at, tracker);
    return true;
}

} // namespace portmaven::win
