#include "ports/win/port_actions.h"

#include "framework/win/scoped_handle.h"
#include "ports/device_settings.h"
#include "ports/win/device_store.h"
#include "ports/win/rename_port_dialog.h"

#include <cstddef>
#include <cstring>
#include <optional>
#include <string>

namespace portmaven::win {

namespace {

// The port of the menu's listed entry at `position`, or null.
template <class Ports> auto* ListedPort(Ports& ports, int position) {
    const std::vector<std::size_t> listed = ports::ShownPortIndices(ports);
    if (position < 0 || static_cast<std::size_t>(position) >= listed.size()) {
        return decltype(&ports[0])(nullptr);
    }
    return &ports[listed[static_cast<std::size_t>(position)]];
}

// Closes the clipboard on every way out.
class OpenClipboard {
public:
    explicit OpenClipboard(HWND owner) noexcept : open_(::OpenClipboard(owner) != FALSE) {}
    ~OpenClipboard() {
        if (open_) {
            ::CloseClipboard();
        }
    }
    OpenClipboard(const OpenClipboard&) = delete;
    OpenClipboard& operator=(const OpenClipboard&) = delete;
    OpenClipboard(OpenClipboard&&) = delete;
    OpenClipboard& operator=(OpenClipboard&&) = delete;
    explicit operator bool() const noexcept { return open_; }

private:
    bool open_;
};

} // namespace

bool CopyTextToClipboard(HWND owner, std::u16string_view text) {
    const std::size_t bytes = (text.size() + 1) * sizeof(char16_t);
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (memory == nullptr) {
        return false;
    }
    if (void* data = ::GlobalLock(memory)) {
        std::memcpy(data, text.data(), text.size() * sizeof(char16_t));
        static_cast<char16_t*>(data)[text.size()] = u'\0';
        ::GlobalUnlock(memory);
    } else {
        ::GlobalFree(memory);
        return false;
    }
    const OpenClipboard clipboard(owner);
    // Once the clipboard has taken the memory it is the clipboard's to free.
    if (!clipboard || !::EmptyClipboard() ||
        ::SetClipboardData(CF_UNICODETEXT, memory) == nullptr) {
        ::GlobalFree(memory);
        return false;
    }
    return true;
}

bool CopyPortName(HWND owner, const std::vector<ports::SerialPort>& ports, int position) {
    const ports::SerialPort* port = ListedPort(ports, position);
    return port != nullptr && CopyTextToClipboard(owner, port->name);
}

void RenamePort(HWND owner, const std::vector<ports::SerialPort>& ports, int position) {
    const ports::SerialPort* listed = ListedPort(ports, position);
    if (listed == nullptr) {
        return;
    }
    // The dialog's loop lets the host enumerate again and replace the list; the port is
    // worked on as it was chosen, apart from it.
    ports::SerialPort port = *listed;
    const std::optional<std::u16string> name = RunRenamePortDialog(owner, port.userName);
    if (name) {
        // A name that cannot be kept leaves the one the device had; nothing to tell the user
        // that the menu would not show.
        RegistryDeviceStore store;
        ports::SetPortName(store, port, *name);
    }
}

bool HidePort(std::vector<ports::SerialPort>& ports, int position) {
    ports::SerialPort* port = ListedPort(ports, position);
    RegistryDeviceStore store;
    return port != nullptr && ports::SetPortHidden(store, *port, true);
}

bool ShowHiddenPort(std::vector<ports::SerialPort>& ports, std::size_t hiddenIndex) {
    const std::vector<std::size_t> hidden = ports::HiddenPortIndices(ports);
    if (hiddenIndex >= hidden.size()) {
        return false;
    }
    RegistryDeviceStore store;
    return ports::SetPortHidden(store, ports[hidden[hiddenIndex]], false);
}

} // namespace portmaven::win
