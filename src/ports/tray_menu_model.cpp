#include "ports/tray_menu_model.h"

#include "ports/menu_ids.h"
#include "ports/ports_texts.h"

#include <algorithm>

namespace portmaven::ports {

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

MenuEntry PortEntry(const SerialPort& port, std::size_t index) {
    MenuEntry entry = Entry(MenuEntry::Kind::Port, EscapeMenuText(port.label));
    entry.icon = MenuIcon::Port;
    entry.port = index;
    return entry;
}

// The ports from `first` on, at most perLevel of them on this level and the rest one level
// down, as deep as it takes.
void AppendPorts(std::vector<MenuEntry>& level, std::span<const SerialPort> ports,
                 std::size_t first, std::size_t perLevel) {
    const std::size_t count = ports.size() - first;
    const bool overflows = perLevel > 1 && count > perLevel;
    // One place of a full level goes to the "More Ports" entry itself.
    const std::size_t here = overflows ? perLevel - 1 : count;
    for (std::size_t i = first; i < first + here; ++i) {
        level.push_back(PortEntry(ports[i], i));
    }
    if (overflows) {
        MenuEntry more = Entry(MenuEntry::Kind::Submenu, kMorePortsText);
        AppendPorts(more.children, ports, first + here, perLevel);
        level.push_back(std::move(more));
    }
}

} // namespace

TrayMenuModel BuildTrayMenuModel(std::span<const SerialPort> ports,
                                 const config::CommandList& commands, TrayMenuLayout layout) {
    TrayMenuModel model;
    model.commandItems = CommandItems(commands);

    if (ports.empty()) {
        model.entries.push_back(Placeholder(kNoSerialPortsId, kNoSerialPortsText));
    } else {
        AppendPorts(model.entries, ports, 0, layout.portsPerLevel);
    }

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

} // namespace portmaven::ports
