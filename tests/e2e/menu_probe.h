// The texts of the menus a running Portmaven.exe shows, read inside its own process: a helper
// DLL (menu_probe_dll) is loaded into it and answers each request with every item of every open
// popup menu.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace portmaven::e2e {

class MenuProbe {
public:
    // Loads the helper into `process`; Loaded() tells whether it is there.
    MenuProbe(HANDLE process, DWORD processId);
    ~MenuProbe();
    MenuProbe(const MenuProbe&) = delete;
    MenuProbe& operator=(const MenuProbe&) = delete;
    MenuProbe(MenuProbe&&) = delete;
    MenuProbe& operator=(MenuProbe&&) = delete;

    [[nodiscard]] bool Loaded() const noexcept { return loaded_; }

    // Every item's text of the open popup menus; nullopt when the program did not answer.
    [[nodiscard]] std::optional<std::vector<std::wstring>> OpenMenuTexts() const;

private:
    HANDLE request_;
    HANDLE answer_;
    std::wstring output_;
    bool loaded_ = false;
};

} // namespace portmaven::e2e
