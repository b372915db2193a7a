// The recorder program standing in for the terminal that a command starts: a copy placed at a
// chosen path, and what that copy was started with.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace portmaven::e2e {

std::u16string U16(std::wstring_view text);

// While a manual-reset event of this name exists unsignalled, every recorder that starts stays,
// as a terminal left open does.
inline constexpr wchar_t kRecorderHoldEvent[] = L"PortmavenRecorderHold";

// A copy of the recorder at a given path; what it recorded is read from "<path>.txt". The
// copy and its record are removed on destruction.
class Recorder {
public:
    explicit Recorder(std::wstring path);
    ~Recorder();
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;
    Recorder(Recorder&&) = delete;
    Recorder& operator=(Recorder&&) = delete;

    [[nodiscard]] bool Installed() const { return installed_; }
    [[nodiscard]] const std::wstring& Path() const { return path_; }

    // The arguments the recorder was started with (the program itself not included), once it
    // has run; nullopt when it did not run within the time.
    [[nodiscard]] std::optional<std::vector<std::string>> Arguments(DWORD timeoutMs = 10000) const;
    [[nodiscard]] bool Ran() const;
    // How many copies of this recorder run now.
    [[nodiscard]] int Running() const;

private:
    [[nodiscard]] std::wstring Output() const { return path_ + L".txt"; }

    std::wstring path_;
    bool installed_ = false;
};

} // namespace portmaven::e2e
