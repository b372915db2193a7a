// Functions of a library loaded by name at run time: the pointer GetProcAddress hands back,
// typed after the function's own declaration.
#pragma once

#include <windows.h>

namespace portmaven::win {

// Resolves an exported function by name into the pointer type of its declaration; null when
// the library has no such export.
template <typename Function> Function ResolveFunction(HMODULE module, const char* name) noexcept {
    // GetProcAddress hands back a generic pointer; the name decides the real signature.
    return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

} // namespace portmaven::win
