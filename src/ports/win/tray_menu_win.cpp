#include "ports/win/tray_menu_win.h"

#include "framework/win/wide_text.h"
#include "ports/menu_ids.h"
#include "resource.h"

namespace portmaven::win {

static_assert(ports::kNoSerialPortsId == ID_NO_SERIAL_PORTS);
static_assert(ports::kDeviceManagerId == ID_MENU_DEVICE_MANAGER);
static_assert(ports::kPropertiesId == ID_MENU_PROPERTIES);
static_assert(ports::kAboutId == ID_MENU_ABOUT);
static_assert(ports::kExitId == ID_MENU_EXIT);
static_assert(ports::kAboutBitmap == IDB_ABOUT);
static_assert(ports::kExitBitmap == IDB_EXIT);
static_assert(ports::kDeviceManagerBitmap == IDB_DEVICE_MANAGER);
static_assert(ports::kPropertiesBitmap == IDB_PROPERTIES);
static_assert(ports::kPortBitmap == IDB_PORT);
static_assert(ports::kCommandBitmap == IDB_COMMAND);

void TrackPopupMenuWithSystem(HMENU popup, UINT flags, POINT at, HWND owner) {
    ::TrackPopupMenu(popup, flags, at.x, at.y, 0, owner, nullptr);
}

TrayMenu::TrayMenu(HINSTANCE resources, UINT dpi) noexcept
    : resources_(resources), bitmaps_(resources, dpi) {}

TrayMenu::~TrayMenu() {
    // Every port entry shows the one command popup, which belongs to the command menu. Take
    // the entries off (RemoveMenu keeps the popup) so that each menu destroys only its own.
    for (; attachedPortEntries_ > 0; --attachedPortEntries_) {
        ::RemoveMenu(mainPopup_, 0, MF_BYPOSITION);
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

void TrayMenu::SetBitmap(HMENU menu, UINT item, UINT byFlag, int bitmapId) {
    if (bitmapId == ports::kNoBitmap) {
        return;
    }
    // A bitmap that does not load leaves the item without a picture.
    if (const HBITMAP bitmap = bitmaps_.Get(bitmapId)) {
        ::SetMenuItemBitmaps(menu, item, byFlag, bitmap, nullptr);
    }
}

bool TrayMenu::Fill(const ports::TrayMenuModel& model) {
    // The command template's own item only makes the popup exist; the commands replace it.
    for (int count = ::GetMenuItemCount(commandPopup_); count > 0; --count) {
        ::DeleteMenu(commandPopup_, 0, MF_BYPOSITION);
    }

    UINT position = 0;
    for (const ports::MenuItemModel& item : model.commandItems) {
        const UINT flags = MF_BYPOSITION | MF_STRING | (item.greyed ? MF_GRAYED : MF_ENABLED);
        const std::wstring text = ToWide(item.text);
        // A greyed placeholder that cannot be inserted still leaves a usable menu.
        if (!::InsertMenuW(commandPopup_, position, flags, static_cast<UINT_PTR>(item.id),
                           text.c_str()) &&
            !item.greyed) {
            return false;
        }
        ++position;
        SetBitmap(commandPopup_, static_cast<UINT>(item.id), MF_BYCOMMAND, item.bitmapId);
    }

    for (const ports::PortEntryModel& entry : model.portEntries) {
        const UINT at = static_cast<UINT>(attachedPortEntries_);
        const std::wstring label = ToWide(entry.label);
        if (!::InsertMenuW(mainPopup_, at, MF_BYPOSITION | MF_STRING | MF_POPUP,
                           reinterpret_cast<UINT_PTR>(commandPopup_), label.c_str())) {
            return false;
        }
        ++attachedPortEntries_;
        SetBitmap(mainPopup_, at, MF_BYPOSITION, entry.bitmapId);
    }

    for (const ports::MenuItemModel& item : model.topItems) {
        const std::wstring text = ToWide(item.text);
        // The placeholders' insertion results do not matter: the menu is shown regardless.
        ::InsertMenuW(mainPopup_, 0,
                      MF_BYPOSITION | MF_STRING | (item.greyed ? MF_GRAYED : MF_ENABLED),
                      static_cast<UINT_PTR>(item.id), text.c_str());
        SetBitmap(mainPopup_, static_cast<UINT>(item.id), MF_BYCOMMAND, item.bitmapId);
    }

    for (const ports::FixedItemBitmap& fixed : model.fixedItemBitmaps) {
        SetBitmap(mainPopup_, static_cast<UINT>(fixed.itemId), MF_BYCOMMAND, fixed.bitmapId);
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

bool ShowTrayMenu(HWND owner, POINT at, const std::function<bool()>& refreshPorts,
                  const std::vector<std::u16string>& portLabels,
                  const config::CommandList& commands, const MenuTracker& tracker) {
    TrayMenu menu(::GetModuleHandleW(nullptr), DpiAtPoint(at));
    if (!menu.LoadTemplates() || !refreshPorts()) {
        return false;
    }
    if (!menu.Fill(ports::BuildTrayMenuModel(portLabels, commands))) {
        return false;
    }
    menu.Track(owner, at, tracker);
    return true;
}

} // namespace portmaven::win
