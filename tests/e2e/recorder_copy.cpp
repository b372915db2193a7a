#include "recorder_copy.h"

#include "harness.h"

#include <tlhelp32.h>

#include <sstream>

namespace portmaven::e2e {

std::u16string U16(std::wstring_view text) {
    return {reinterpret_cast<const char16_t*>(text.data()), text.size()};
}

Recorder::Recorder(std::wstring path) : path_(std::move(path)) {
    ::DeleteFileW(Output().c_str());
    installed_ = ::CopyFileW(BuildFilePath(PORTMAVEN_RECORDER_UNIX_PATH).c_str(), path_.c_str(),
                             FALSE) != FALSE;
}

Recorder::~Recorder() {
    ::DeleteFileW(Output().c_str());
    ::DeleteFileW(path_.c_str());
}

std::optional<std::vector<std::string>> Recorder::Arguments(DWORD timeoutMs) const {
    std::optional<std::string> content;
    if (!WaitUntil([&] { return (content = ReadFileBytes(Output())).has_value(); }, timeoutMs)) {
        return std::nullopt;
    }
    std::vector<std::string> lines;
    std::istringstream in(*content);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    if (!lines.empty()) {
        lines.erase(lines.begin()); // the raw command line
    }
    return lines;
}

bool Recorder::Ran() const {
    return ReadFileBytes(Output()).has_value();
}

int Recorder::Running() const {
    const std::wstring name = path_.substr(path_.find_last_of(L'\\') + 1);
    const HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) {
        return -1;
    }
    int count = 0;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = ::Process32FirstW(snapshot, &entry); more;
         more = ::Process32NextW(snapshot, &entry)) {
        count += _wcsicmp(entry.szExeFile, name.c_str()) == 0 ? 1 : 0;
    }
    ::CloseHandle(snapshot);
    return count;
}

} // namespace portmaven::e2e
