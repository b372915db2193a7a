#include "access/win/ntdll_functions.h"

#include "framework/win/system_function.h"

#include <utility>

namespace portmaven::win {

bool NtdllFunctions::Load(const wchar_t* library) noexcept {
    Unload();
    ScopedModule module(::LoadLibraryW(library));
    if (!module) {
        return false;
    }
    QuerySystemInformation =
        ResolveFunction<decltype(QuerySystemInformation)>(module.Get(), "NtQuerySystemInformation");
    QueryObject = ResolveFunction<decltype(QueryObject)>(module.Get(), "NtQueryObject");
    if (QuerySystemInformation == nullptr || QueryObject == nullptr) {
        Unload();
        return false;
    }
    module_ = std::move(module);
    return true;
}

void NtdllFunctions::Unload() noexcept {
    QuerySystemInformation = nullptr;
    QueryObject = nullptr;
    module_.Reset();
}

} // namespace portmaven::win
