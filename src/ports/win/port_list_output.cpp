#include "ports/win/port_list_output.h"

#include "framework/win/scoped_handle.h"
#include "framework/win/wide_text.h"
#include "ports/device_settings.h"
#include "ports/win/serial_port_enum.h"

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace portmaven::win {

namespace {

std::string Utf8(std::u16string_view text) {
    const std::wstring wide = ToWide(text);
    if (wide.empty()) {
        return {};
    }
    const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                            nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(bytes > 0 ? bytes : 0), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(),
                          bytes, nullptr, nullptr);
    return utf8;
}

bool WriteAll(HANDLE file, const std::string& bytes) {
    DWORD written = 0;
    return bytes.empty() ||
           (::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
            written == bytes.size());
}

} // namespace

bool WriteScriptOutput(std::u16string_view text) {
    const HANDLE output = ::GetStdHandle(STD_OUTPUT_HANDLE);
    if (output != nullptr && output != INVALID_HANDLE_VALUE) {
        const DWORD type = ::GetFileType(output);
        if (type == FILE_TYPE_DISK || type == FILE_TYPE_PIPE) {
            return WriteAll(output, Utf8(text));
        }
    }
    // A GUI program has no console; the one it was started from shows the text, after the
    // prompt that the shell has already printed.
    if (!::AttachConsole(ATTACH_PARENT_PROCESS)) {
        return false;
    }
    const ScopedFileHandle console(::CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                                 OPEN_EXISTING, 0, nullptr));
    bool written = false;
    if (console) {
        const std::wstring wide = ToWide(text);
        DWORD count = 0;
        written = wide.empty() || ::WriteConsoleW(console.Get(), wide.data(),
                                                  static_cast<DWORD>(wide.size()), &count, nullptr);
    }
    ::FreeConsole();
    return written;
}

std::optional<std::u16string> PortListNow() {
    const std::optional<std::vector<ports::SerialPort>> ports = EnumerateKnownPorts();
    if (!ports) {
        return std::nullopt;
    }
    return ports::PortListText(*ports);
}

} // namespace portmaven::win
