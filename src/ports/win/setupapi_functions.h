// The device-setup library, loaded by name for each use and unloaded after it, so that the
// program starts and runs where the library is missing. Every function the program needs from
// it is resolved here, by name, and nowhere else.
#pragma once

#include "framework/win/system_function.h"
#include "framework/win/scoped_handle.h"

#include <windows.h>
#include <setupapi.h>

namespace portmaven::win {

inline constexpr wchar_t kSetupApiLibrary[] = L"SETUPAPI.DLL";

class SetupApiFunctions {
public:
    SetupApiFunctions() noexcept = default;

    // Loads the library and resolves the functions. false when the library cannot be loaded
    // (the loader's last-error code stays) or a function is missing (the library is unloaded
    // and the last-error code is ERROR_CALL_NOT_IMPLEMENTED).
    bool Load(const wchar_t* library = kSetupApiLibrary) noexcept;

    // Unloads the library; the functions must not be called afterwards.
    void Unload() noexcept;

    decltype(&::SetupDiOpenDevRegKey) OpenDevRegKey = nullptr;
    decltype(&::SetupDiGetClassDevsW) GetClassDevs = nullptr;
    decltype(&::SetupDiGetDeviceRegistryPropertyW) GetDeviceRegistryProperty = nullptr;
    decltype(&::SetupDiDestroyDeviceInfoList) DestroyDeviceInfoList = nullptr;
    decltype(&::SetupDiEnumDeviceInfo) EnumDeviceInfo = nullptr;
    decltype(&::SetupDiGetDeviceInstanceIdW) GetDeviceInstanceId = nullptr;

private:
    ScopedModule module_;
};

} // namespace portmaven::win
