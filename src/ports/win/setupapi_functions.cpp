#include "ports/win/setupapi_functions.h"

namespace portmaven::win {

bool SetupApiFunctions::Load(const wchar_t* library) noexcept {
    Unload();
    ScopedModule module(::LoadLibraryW(library));
    if (!module) {
        return false;
    }
    OpenDevRegKey = ResolveFunction<decltype(OpenDevRegKey)>(module.Get(), "SetupDiOpenDevRegKey");
    GetClassDevs = ResolveFunction<decltype(GetClassDevs)>(module.Get(), "SetupDiGetClassDevsW");
    GetDeviceRegistryProperty = ResolveFunction<decltype(GetDeviceRegistryProperty)>(
        module.Get(), "SetupDiGetDeviceRegistryPropertyW");
    DestroyDeviceInfoList = ResolveFunction<decltype(DestroyDeviceInfoList)>(
        module.Get(), "SetupDiDestroyDeviceInfoList");
    EnumDeviceInfo =
        ResolveFunction<decltype(EnumDeviceInfo)>(module.Get(), "SetupDiEnumDeviceInfo");
    GetDeviceInstanceId =
        ResolveFunction<decltype(GetDeviceInstanceId)>(module.Get(), "SetupDiGetDeviceInstanceIdW");
    if (OpenDevRegKey == nullptr || GetClassDevs == nullptr ||
        GetDeviceRegistryProperty == nullptr || DestroyDeviceInfoList == nullptr ||
        EnumDeviceInfo == nullptr || GetDeviceInstanceId == nullptr) {
        module.Reset();
        Unload();
        ::SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
        return false;
    }
    module_ = std::move(module);
    return true;
}

void SetupApiFunctions::Unload() noexcept {
    OpenDevRegKey = nullptr;
    GetClassDevs = nullptr;
    GetDeviceRegistryProperty = nullptr;
    DestroyDeviceInfoList = nullptr;
    EnumDeviceInfo = nullptr;
    GetDeviceInstanceId = nullptr;
    module_.Reset();
}

} // namespace portmaven::win
