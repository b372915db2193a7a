// One RAII owner for every kind of Win32 handle: the traits say what "no handle" is and how a
// handle is released. Copies are deleted (no double close); moves hand the handle over.
#pragma once

#include <windows.h>

#include <utility>

namespace portmaven::win {

template <typename Traits> class ScopedHandle {
public:
    using Handle = typename Traits::Handle;

    ScopedHandle() noexcept = default;
    explicit ScopedHandle(Handle handle) noexcept : handle_(handle) {}
    ~ScopedHandle() { Reset(); }

    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;
    ScopedHandle(ScopedHandle&& other) noexcept : handle_(other.Release()) {}
    ScopedHandle& operator=(ScopedHandle&& other) noexcept {
        if (this != &other) {
            Reset(other.Release());
        }
        return *this;
    }

    [[nodiscard]] Handle Get() const noexcept { return handle_; }
    [[nodiscard]] bool IsValid() const noexcept { return handle_ != Traits::Invalid(); }
    explicit operator bool() const noexcept { return IsValid(); }

    // Gives up ownership without closing.
    Handle Release() noexcept { return std::exchange(handle_, Traits::Invalid()); }

    void Reset(Handle handle = Traits::Invalid()) noexcept {
        Handle old = std::exchange(handle_, handle);
        if (old != Traits::Invalid()) {
            Traits::Close(old);
        }
    }

private:
    Handle handle_ = Traits::Invalid();
};

namespace handle_traits {

// Kernel objects whose failure value is NULL (events, processes, threads).
struct Kernel {
    using Handle = HANDLE;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::CloseHandle(h); }
};

// File handles, whose failure value is INVALID_HANDLE_VALUE.
struct File {
    using Handle = HANDLE;
    static Handle Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Handle h) noexcept { ::CloseHandle(h); }
};

struct RegistryKey {
    using Handle = HKEY;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::RegCloseKey(h); }
};

struct Menu {
    using Handle = HMENU;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::DestroyMenu(h); }
};

struct Module {
    using Handle = HMODULE;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::FreeLibrary(h); }
};

// Windows destroyed by their owner object (a control's tooltip, for instance).
struct Window {
    using Handle = HWND;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::DestroyWindow(h); }
};

// Icons the program loaded or made itself (not shared ones, which must not be destroyed).
struct Icon {
    using Handle = HICON;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::DestroyIcon(h); }
};

// COM interfaces the program holds a reference to.
template <typename Interface> struct ComInterface {
    using Handle = Interface*;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { h->Release(); }
};

template <typename GdiHandle> struct GdiObject {
    using Handle = GdiHandle;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::DeleteObject(h); }
};

} // namespace handle_traits

using ScopedKernelHandle = ScopedHandle<handle_traits::Kernel>;
using ScopedFileHandle = ScopedHandle<handle_traits::File>;
using ScopedRegistryKey = ScopedHandle<handle_traits::RegistryKey>;
using ScopedMenu = ScopedHandle<handle_traits::Menu>;
using ScopedModule = ScopedHandle<handle_traits::Module>;
using ScopedWindow = ScopedHandle<handle_traits::Window>;
using ScopedIcon = ScopedHandle<handle_traits::Icon>;
using ScopedBitmap = ScopedHandle<handle_traits::GdiObject<HBITMAP>>;
using ScopedFont = ScopedHandle<handle_traits::GdiObject<HFONT>>;
using ScopedBrush = ScopedHandle<handle_traits::GdiObject<HBRUSH>>;
template <typename Interface>
using ScopedComInterface = ScopedHandle<handle_traits::ComInterface<Interface>>;

// A device context obtained with GetDC, released with ReleaseDC for the same window.
class ScopedWindowDC {
public:
    explicit ScopedWindowDC(HWND window) noexcept : window_(window), dc_(::GetDC(window)) {}
    ~ScopedWindowDC() {
        if (dc_ != nullptr) {
            ::ReleaseDC(window_, dc_);
        }
    }
    ScopedWindowDC(const ScopedWindowDC&) = delete;
    ScopedWindowDC& operator=(const ScopedWindowDC&) = delete;
    ScopedWindowDC(ScopedWindowDC&&) = delete;
    ScopedWindowDC& operator=(ScopedWindowDC&&) = delete;

    [[nodiscard]] HDC Get() const noexcept { return dc_; }
    explicit operator bool() const noexcept { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
};

// Selects a GDI object into a device context and puts the previous one back on scope exit.
class ScopedSelectObject {
public:
    ScopedSelectObject(HDC dc, HGDIOBJ object) noexcept
        : dc_(dc), previous_(object != nullptr ? ::SelectObject(dc, object) : nullptr) {}
    ~ScopedSelectObject() {
        if (previous_ != nullptr) {
            ::SelectObject(dc_, previous_);
        }
    }
    ScopedSelectObject(const ScopedSelectObject&) = delete;
    ScopedSelectObject& operator=(const ScopedSelectObject&) = delete;
    ScopedSelectObject(ScopedSelectObject&&) = delete;
    ScopedSelectObject& operator=(ScopedSelectObject&&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

} // namespace portmaven::win
