#include "support/win/fake_serial_port.h"

#include "ports/win/setupapi_functions.h"

#include <setupapi.h>
#include <winioctl.h>

#include <atomic>
#include <cwchar>
#include <iterator>
#include <vector>

namespace portmaven::e2e {

namespace {

// {4D36E978-E325-11CE-BFC1-08002BE10318}, the Ports (COM and LPT) setup class.
constexpr GUID kPortsClass = {
    0x4d36e978, 0xe325, 0x11ce, {0xbf, 0xc1, 0x08, 0x00, 0x2b, 0xe1, 0x03, 0x18}};
constexpr wchar_t kInstancePrefix[] = L"ROOT\\PORTMAVENTEST\\";

// The library is loaded here by name too, so that a test process holds SETUPAPI.DLL only while
// it registers ports and the program's own loading and unloading stays observable.
struct Registrar {
    win::ScopedModule module{::LoadLibraryW(L"setupapi.dll")};
    template <typename F> F Get(const char* name) const {
        return win::ResolveFunction<F>(module.Get(), name);
    }
    decltype(&::SetupDiCreateDeviceInfoList) CreateList =
        Get<decltype(&::SetupDiCreateDeviceInfoList)>("SetupDiCreateDeviceInfoList");
    decltype(&::SetupDiDestroyDeviceInfoList) DestroyList =
        Get<decltype(&::SetupDiDestroyDeviceInfoList)>("SetupDiDestroyDeviceInfoList");
    decltype(&::SetupDiCreateDeviceInfoW) CreateInfo =
        Get<decltype(&::SetupDiCreateDeviceInfoW)>("SetupDiCreateDeviceInfoW");
    decltype(&::SetupDiRegisterDeviceInfo) RegisterInfo =
        Get<decltype(&::SetupDiRegisterDeviceInfo)>("SetupDiRegisterDeviceInfo");
    decltype(&::SetupDiSetDeviceRegistryPropertyW) SetProperty =
        Get<decltype(&::SetupDiSetDeviceRegistryPropertyW)>("SetupDiSetDeviceRegistryPropertyW");
    decltype(&::SetupDiCreateDevRegKeyW) CreateKey =
        Get<decltype(&::SetupDiCreateDevRegKeyW)>("SetupDiCreateDevRegKeyW");
    decltype(&::SetupDiCreateDeviceInterfaceW) CreateInterface =
        Get<decltype(&::SetupDiCreateDeviceInterfaceW)>("SetupDiCreateDeviceInterfaceW");
    decltype(&::SetupDiOpenDeviceInfoW) OpenInfo =
        Get<decltype(&::SetupDiOpenDeviceInfoW)>("SetupDiOpenDeviceInfoW");
    decltype(&::SetupDiRemoveDevice) RemoveDevice =
        Get<decltype(&::SetupDiRemoveDevice)>("SetupDiRemoveDevice");
    decltype(&::SetupDiGetClassDevsW) GetClassDevs =
        Get<decltype(&::SetupDiGetClassDevsW)>("SetupDiGetClassDevsW");
    decltype(&::SetupDiEnumDeviceInfo) EnumInfo =
        Get<decltype(&::SetupDiEnumDeviceInfo)>("SetupDiEnumDeviceInfo");
    decltype(&::SetupDiGetDeviceInstanceIdW) GetInstanceId =
        Get<decltype(&::SetupDiGetDeviceInstanceIdW)>("SetupDiGetDeviceInstanceIdW");

    [[nodiscard]] bool Complete() const {
        return CreateList && DestroyList && CreateInfo && RegisterInfo && SetProperty &&
               CreateKey && CreateInterface && OpenInfo && RemoveDevice && GetClassDevs &&
               EnumInfo && GetInstanceId;
    }
};

class DeviceList {
public:
    DeviceList(const Registrar& api, HDEVINFO set) : api_(api), set_(set) {}
    ~DeviceList() {
        if (set_ != INVALID_HANDLE_VALUE) {
            api_.DestroyList(set_);
        }
    }
    DeviceList(const DeviceList&) = delete;
    DeviceList& operator=(const DeviceList&) = delete;
    DeviceList(DeviceList&&) = delete;
    DeviceList& operator=(DeviceList&&) = delete;
    [[nodiscard]] HDEVINFO Get() const { return set_; }
    explicit operator bool() const { return set_ != INVALID_HANDLE_VALUE; }

private:
    const Registrar& api_;
    HDEVINFO set_;
};

SP_DEVINFO_DATA NewDeviceData() {
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof(device);
    return device;
}

bool Remove(const Registrar& api, const std::wstring& instanceId) {
    DeviceList set(api, api.CreateList(&kPortsClass, nullptr));
    SP_DEVINFO_DATA device = NewDeviceData();
    return set && api.OpenInfo(set.Get(), instanceId.c_str(), nullptr, 0, &device) &&
           api.RemoveDevice(set.Get(), &device);
}

std::wstring NewInstanceId() {
    static std::atomic<unsigned> counter{0};
    return kInstancePrefix + std::to_wstring(::GetCurrentProcessId()) + L"_" +
           std::to_wstring(++counter);
}

bool WritePortName(HKEY key, std::wstring_view portName, DWORD portNameType) {
    const std::wstring value(portName);
    return ::RegSetValueExW(
               key, L"PortName", 0, portNameType, reinterpret_cast<const BYTE*>(value.c_str()),
               static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

} // namespace

FakeSerialPort::FakeSerialPort(std::wstring_view portName,
                               std::optional<std::wstring_view> description, DWORD portNameType)
    : instanceId_(NewInstanceId()) {
    Register(portName, description, portNameType, nullptr);
}

FakeSerialPort::FakeSerialPort(std::wstring_view portName,
                               std::optional<std::wstring_view> description,
                               const FakeDevice& device)
    : instanceId_(device.instanceId) {
    Register(portName, description, REG_SZ, &device);
}

void FakeSerialPort::Register(std::wstring_view portName,
                              std::optional<std::wstring_view> description, DWORD portNameType,
                              const FakeDevice* fakeDevice) {
    const Registrar api;
    if (!api.Complete()) {
        return;
    }
    if (fakeDevice != nullptr) {
        Remove(api, instanceId_);
    }
    DeviceList set(api, api.CreateList(&kPortsClass, nullptr));
    SP_DEVINFO_DATA device = NewDeviceData();
    if (!set ||
        !api.CreateInfo(set.Get(), instanceId_.c_str(), &kPortsClass, nullptr, nullptr, 0,
                        &device) ||
        !api.RegisterInfo(set.Get(), &device, 0, nullptr, nullptr, nullptr)) {
        return;
    }
    if (fakeDevice != nullptr) {
        std::wstring ids;
        for (const std::wstring& id : fakeDevice->hardwareIds) {
            ids += id;
            ids += L'\0';
        }
        ids += L'\0';
        api.SetProperty(set.Get(), &device, SPDRP_HARDWAREID,
                        reinterpret_cast<const BYTE*>(ids.c_str()),
                        static_cast<DWORD>(ids.size() * sizeof(wchar_t)));
        if (fakeDevice->manufacturer) {
            api.SetProperty(
                set.Get(), &device, SPDRP_MFG,
                reinterpret_cast<const BYTE*>(fakeDevice->manufacturer->c_str()),
                static_cast<DWORD>((fakeDevice->manufacturer->size() + 1) * sizeof(wchar_t)));
        }
    }
    if (description) {
        const std::wstring text(*description);
        api.SetProperty(set.Get(), &device, SPDRP_DEVICEDESC,
                        reinterpret_cast<const BYTE*>(text.c_str()),
                        static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    }
    const HKEY key =
        api.CreateKey(set.Get(), &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, nullptr, nullptr);
    if (key == INVALID_HANDLE_VALUE) {
        Remove(api, instanceId_);
        return;
    }
    const win::ScopedRegistryKey ownedKey(key);
    const bool written = WritePortName(key, portName, portNameType);
    registered_ = written && api.CreateInterface(set.Get(), &device, &GUID_DEVINTERFACE_COMPORT,
                                                 nullptr, 0, nullptr);
    if (!registered_) {
        Remove(api, instanceId_);
    }
}

bool FakeSerialPort::SetPortName(std::wstring_view portName) {
    const Registrar api;
    if (!api.Complete()) {
        return false;
    }
    DeviceList set(api, api.CreateList(&kPortsClass, nullptr));
    SP_DEVINFO_DATA device = NewDeviceData();
    if (!set || !api.OpenInfo(set.Get(), instanceId_.c_str(), nullptr, 0, &device)) {
        return false;
    }
    const HKEY key =
        api.CreateKey(set.Get(), &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, nullptr, nullptr);
    if (key == INVALID_HANDLE_VALUE) {
        return false;
    }
    const win::ScopedRegistryKey ownedKey(key);
    return WritePortName(key, portName, REG_SZ);
}

FakeSerialPort::~FakeSerialPort() {
    const Registrar api;
    if (api.Complete()) {
        Remove(api, instanceId_);
    }
}

void RemoveLeftoverFakeSerialPorts() {
    const Registrar api;
    if (!api.Complete()) {
        return;
    }
    std::vector<std::wstring> leftovers;
    {
        DeviceList set(api, api.GetClassDevs(&kPortsClass, nullptr, nullptr, 0));
        SP_DEVINFO_DATA device = NewDeviceData();
        for (DWORD i = 0; set && api.EnumInfo(set.Get(), i, &device); ++i) {
            wchar_t id[512] = {};
            if (api.GetInstanceId(set.Get(), &device, id, 512, nullptr) &&
                ::_wcsnicmp(id, kInstancePrefix, std::size(kInstancePrefix) - 1) == 0) {
                leftovers.emplace_back(id);
            }
        }
    }
    for (const std::wstring& id : leftovers) {
        Remove(api, id);
    }
}

} // namespace portmaven::e2e
