// Functions that only some versions of Windows export, looked up at run time so that the program
// still starts where they are missing; the caller falls back to what every system has.
#pragma once

#include <windows.h>

namespace portmaven::win {

// The export `name` of `module` as a `Function`; null when the module or the export is missing.
template <typename Function> Function ResolveFunction(HMODULE module, const char* name) noexcept {
    if (module == nullptr) {
        return nullptr;
    }
    // GetProcAddress hands back a generic pointer; the name decides the real signature.
    return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

} // namespace portmaven::win
