// Temporary folders for the tests under Wine: fresh, and removed with their content (read-only
// files and paths past MAX_PATH included).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace portmaven::win::test_support {

// The temporary directory, without a trailing separator.
std::wstring TempPath();

// Removes the folder and everything in it; nothing when it does not exist.
void RemoveTree(const std::wstring& path);

// The names of what a folder holds, sorted; empty when it does not exist.
std::vector<std::wstring> FileNames(const std::wstring& folder);

class TempFolder {
public:
    // A new empty folder in the temporary directory, its name starting with `prefix`.
    explicit TempFolder(std::wstring_view prefix);
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    TempFolder(TempFolder&&) = delete;
    TempFolder& operator=(TempFolder&&) = delete;

    [[nodiscard]] const std::wstring& Path() const { return path_; }
    [[nodiscard]] std::wstring File(std::wstring_view name) const;

private:
    std::wstring path_;
};

} // namespace portmaven::win::test_support
