#include "support/win/build_path.h"

namespace portmaven::win::test_support {

namespace {

template <typename Char> std::wstring ZDrivePath(std::basic_string_view<Char> unixPath) {
    std::wstring path = L"Z:";
    for (const Char c : unixPath) {
        path.push_back(c == Char('/') ? L'\\' : static_cast<wchar_t>(c));
    }
    return path;
}

} // namespace

std::wstring BuildFilePath(std::string_view unixPath) {
    return ZDrivePath(unixPath);
}

std::wstring BuildFilePath(std::wstring_view unixPath) {
    return ZDrivePath(unixPath);
}

} // namespace portmaven::win::test_support
