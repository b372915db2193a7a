#include "framework/win/dpi.h"

#include "framework/win/system_function.h"

namespace portmaven::win {

namespace {

using GetDpiForSystemFunction = UINT(WINAPI*)();
using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using GetSystemMetricsForDpiFunction = int(WINAPI*)(int, UINT);
using SetDialogDpiChangeBehaviorFunction = BOOL(WINAPI*)(HWND, DIALOG_DPI_CHANGE_BEHAVIORS,
                                                         DIALOG_DPI_CHANGE_BEHAVIORS);
// MONITOR_DPI_TYPE's MDT_EFFECTIVE_DPI is 0.
using GetDpiForMonitorFunction = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
constexpr int kEffectiveDpi = 0;
using LoadIconWithScaleDownFunction = HRESULT(WINAPI*)(HINSTANCE, PCWSTR, int, int, HICON*);

// Resolved once: user32 stays loaded for the whole process, and shcore, once loaded here, too.
struct DpiFunctions {
    DpiFunctions() noexcept {
        const HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
        getDpiForSystem = ResolveFunction<GetDpiForSystemFunction>(user32, "GetDpiForSystem");
        getDpiForWindow = ResolveFunction<GetDpiForWindowFunction>(user32, "GetDpiForWindow");
        getSystemMetricsForDpi =
            ResolveFunction<GetSystemMetricsForDpiFunction>(user32, "GetSystemMetricsForDpi");
        setDialogDpiChangeBehavior = ResolveFunction<SetDialogDpiChangeBehaviorFunction>(
            user32, "SetDialogDpiChangeBehavior");
        getDpiForMonitor = ResolveFunction<GetDpiForMonitorFunction>(::LoadLibraryW(L"shcore.dll"),
                                                                     "GetDpiForMonitor");
        // Version 6 of the common controls, which the manifest asks for, has it; older ones not.
        loadIconWithScaleDown = ResolveFunction<LoadIconWithScaleDownFunction>(
            ::LoadLibraryW(L"comctl32.dll"), "LoadIconWithScaleDown");
    }

    GetDpiForSystemFunction getDpiForSystem = nullptr;
    GetDpiForWindowFunction getDpiForWindow = nullptr;
    GetSystemMetricsForDpiFunction getSystemMetricsForDpi = nullptr;
    SetDialogDpiChangeBehaviorFunction setDialogDpiChangeBehavior = nullptr;
    GetDpiForMonitorFunction getDpiForMonitor = nullptr;
    LoadIconWithScaleDownFunction loadIconWithScaleDown = nullptr;
};

const DpiFunctions& Functions() noexcept {
    static const DpiFunctions functions;
    return functions;
}

} // namespace

UINT SystemDpi() noexcept {
    if (Functions().getDpiForSystem != nullptr) {
        return Functions().getDpiForSystem();
    }
    const HDC screen = ::GetDC(nullptr);
    const int dpi = screen != nullptr ? ::GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen != nullptr) {
        ::ReleaseDC(nullptr, screen);
    }
    return dpi > 0 ? static_cast<UINT>(dpi) : kDefaultDpi;
}

UINT WindowDpi(HWND window) noexcept {
    if (window != nullptr && Functions().getDpiForWindow != nullptr) {
        if (const UINT dpi = Functions().getDpiForWindow(window); dpi != 0) {
            return dpi;
        }
    }
    return SystemDpi();
}

UINT DpiAtPoint(POINT at) noexcept {
    if (Functions().getDpiForMonitor != nullptr) {
        UINT x = 0;
        UINT y = 0;
        const HMONITOR monitor = ::MonitorFromPoint(at, MONITOR_DEFAULTTONEAREST);
        if (SUCCEEDED(Functions().getDpiForMonitor(monitor, kEffectiveDpi, &x, &y)) && y != 0) {
            return y;
        }
    }
    return SystemDpi();
}

int SystemMetricForDpi(int index, UINT dpi) noexcept {
    if (Functions().getSystemMetricsForDpi != nullptr) {
        return Functions().getSystemMetricsForDpi(index, dpi);
    }
    return ScaleForDpi(::GetSystemMetrics(index), dpi, SystemDpi());
}

void TakeOverDialogDpiChanges(HWND dialog) noexcept {
    if (Functions().setDialogDpiChangeBehavior != nullptr) {
        Functions().setDialogDpiChangeBehavior(dialog, DDC_DISABLE_ALL, DDC_DISABLE_ALL);
    }
}

ScopedIcon LoadIconAtSize(HINSTANCE module, int id, int size) noexcept {
    if (Functions().loadIconWithScaleDown != nullptr) {
        HICON icon = nullptr;
        if (SUCCEEDED(Functions().loadIconWithScaleDown(module, MAKEINTRESOURCEW(id), size, size,
                                                        &icon))) {
            return ScopedIcon(icon);
        }
    }
    return ScopedIcon(static_cast<HICON>(
        ::LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
}

ScopedIcon LoadSmallIcon(HINSTANCE module, int id, UINT dpi) noexcept {
    return LoadIconAtSize(module, id, SystemMetricForDpi(SM_CXSMICON, dpi));
}

ScopedIcon LoadLargeIcon(HINSTANCE module, int id, UINT dpi) noexcept {
    return LoadIconAtSize(module, id, SystemMetricForDpi(SM_CXICON, dpi));
}

} // namespace portmaven::win
