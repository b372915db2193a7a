#include "tray/tray_menu_model.h"

#include "tray/port_details.h"
#include "ports/device_settings.h"
#include "tray/menu_choice.h"
#include "tray/menu_ids.h"
#include "tray/tray_texts.h"

#include <algorithm>

namespace portmaven::tray {

namespace {

MenuEntry Entry(MenuEntry::Kind kind, std::u16string_view text) {
    MenuEntry entry;
    entry.kind = kind;
    entry.text = text;
    return entry;
}

MenuEntry Item(MenuAction action, int id, std::u16string_view text, MenuIcon icon) {
    MenuEntry entry = Entry(MenuEntry::Kind::Item, text);
    entry.action = action;
    entry.id = id;
    entry.icon = icon;
    return entry;
}

MenuEntry Placeholder(int id, std::u16string_view text) {
    MenuEntry entry = Item(MenuAction::None, id, text, MenuIcon::None);
    entry.greyed = true;
    return entry;
}

MenuEntry Separator() {
    return Entry(MenuEntry::Kind::Separator, u"");
}

std::vector<MenuEntry> CommandItems(const config::CommandList& commands) {
    const int commandCount = std::min(commands.GetCount(), kMaxCommandItems);
    if (commandCount == 0) {
        return {Placeholder(kFirstCommandId, kNoCommandsText)};
    }
    std::vector<MenuEntry> items;
    items.reserve(static_cast<std::size_t>(commandCount));
    for (int i = 0; i < commandCount; ++i) {
        MenuEntry item =
            Item(MenuAction::LaunchCommand, kFirstCommandId + i,
                 EscapeMenuText(config::FieldText(commands.At(i).szName)), MenuIcon::Command);
        item.command = i;
        items.push_back(std::move(item));
    }
    return items;
}

MenuEntry PortItem(MenuAction action, int id, std::u16string_view text, std::size_t index) {
    MenuEntry item = Item(action, id, text, MenuIcon::None);
    item.port = index;
    return item;
}

MenuEntry PortEntry(const ports::SerialPort& port, std::size_t index,
                    const config::CommandList& commands) {
    MenuEntry entry = Entry(MenuEntry::Kind::Port, EscapeMenuText(ports::ShownLabel(port)));
    entry.icon = MenuIcon::Port;
    entry.port = index;
    entry.command = DefaultCommandIndex(port, commands).value_or(-1);
    entry.children.push_back(Separator());
    MenuEntry details = Placeholder(kPortDetailsId, EscapeMenuText(PortDetailsText(port)));
    details.port = index;
    entry.children.push_back(std::move(details));
    const std::u16string fixCommand = FixCommandText(port);
    if (!fixCommand.empty()) {
        MenuEntry fix = Placeholder(kPortFixId, EscapeMenuText(kFixLinePrefix + fixCommand));
        fix.port = index;
        entry.children.push_back(std::move(fix));
    }
    entry.children.push_back(
        PortItem(MenuAction::CopyPortName, kCopyPortNameId, kCopyPortNameText, index));
    if (!fixCommand.empty()) {
        entry.children.push_back(
            PortItem(MenuAction::CopyFixCommand, kCopyFixCommandId, kCopyFixCommandText, index));
    }
    entry.children.push_back(
        PortItem(MenuAction::PortSettings, kPortSettingsId, kPortSettingsText, index));
    entry.children.push_back(PortItem(MenuAction::HidePort, kHidePortId, kHidePortText, index));
    return entry;
}

// The listed ports (indices into `ports`) from `first` on, at most perLevel of them on this
// level and the rest one level down, as deep as it takes.
void AppendPorts(std::vector<MenuEntry>& level, std::span<const ports::SerialPort> ports,
                 const config::CommandList& commands, std::span<const std::size_t> listed,
                 std::size_t first, std::size_t perLevel) {
    const std::size_t count = listed.size() - first;
    const bool overflows = perLevel > 1 && count > perLevel;
    // One place of a full level goes to the "More Ports" entry itself.
    const std::size_t here = overflows ? perLevel - 1 : count;
    for (std::size_t i = first; i < first + here; ++i) {
        level.push_back(PortEntry(ports[listed[i]], listed[i], commands));
    }
    if (overflows) {
        MenuEntry more = Entry(MenuEntry::Kind::Submenu, kMorePortsText);
        AppendPorts(more.children, ports, commands, listed, first + here, perLevel);
        level.push_back(std::move(more));
    }
}

// Nothing when no present port is hidden.
void AppendHiddenPorts(std::vector<MenuEntry>& level, std::span<const ports::SerialPort> ports) {
    const std::vector<std::size_t> hidden = ports::HiddenPortIndices(ports);
    if (hidden.empty()) {
        return;
    }
    MenuEntry submenu = Entry(MenuEntry::Kind::Submenu, kHiddenPortsText);
    const std::size_t listed =
        std::min(hidden.size(), static_cast<std::size_t>(kLastShowPortId - kFirstShowPortId + 1));
    for (std::size_t i = 0; i < listed; ++i) {
        submenu.children.push_back(
            PortItem(MenuAction::ShowPort, kFirstShowPortId + static_cast<int>(i),
                     EscapeMenuText(ports::ShownLabel(ports[hidden[i]])), hidden[i]));
    }
    level.push_back(std::move(submenu));
}

} // namespace

TrayMenuModel BuildTrayMenuModel(std::span<const ports::SerialPort> ports,
                                 const config::CommandList& commands, TrayMenuLayout layout) {
    TrayMenuModel model;
    model.commandItems = CommandItems(commands);

    const std::vector<std::size_t> listed = ports::ShownPortIndices(ports);
    if (listed.empty()) {
        model.entries.push_back(Placeholder(kNoSerialPortsId, kNoSerialPortsText));
    } else {
        AppendPorts(model.entries, ports, commands, listed, 0, layout.portsPerLevel);
    }
    AppendHiddenPorts(model.entries, ports);

    if (layout.windowsTemplate) {
        // The template's empty item stays below the ports; choosing it does nothing.
        model.entries.push_back(Item(MenuAction::None, kBlankItemId, u"", MenuIcon::None));
        model.entries.push_back(Item(MenuAction::DeviceManager, kDeviceManagerId,
                                     kDeviceManagerText, MenuIcon::DeviceManager));
        model.entries.push_back(
            Item(MenuAction::Properties, kPropertiesId, kPropertiesText, MenuIcon::Properties));
        model.entries.push_back(Separator());
    } else {
        model.entries.push_back(Separator());
        model.entries.push_back(
            Item(MenuAction::Properties, kPropertiesId, kPropertiesText, MenuIcon::Properties));
    }
    model.entries.push_back(Item(MenuAction::About, kAboutId, kAboutText, MenuIcon::About));
    model.entries.push_back(Item(MenuAction::Exit, kExitId, kExitText, MenuIcon::Exit));
    return model;
}

std::u16string EscapeMenuText(std::u16string_view text) {
    std::u16string escaped;
    escaped.reserve(text.size());
    for (const char16_t unit : text) {
        escaped += unit;
        if (unit == u'&') {
            escaped += u'&';
        }
    }
    return escaped;
}

} // namespace portmaven::tray
