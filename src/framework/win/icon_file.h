// An icon resource written out as an .ico file, for the places that take a picture by its path
// rather than from a module's resources.
#pragma once

#include <windows.h>

#include <string>

namespace portmaven::win {

// Writes the icon resource `id` of `module`, every size it holds, as the .ico file `path`
// (replaced when it exists). False when the resource is missing or malformed or the file
// cannot be written.
bool WriteIconFile(HMODULE module, int id, const std::wstring& path) noexcept;

} // namespace portmaven::win
