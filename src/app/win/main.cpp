// Entry point of Portmaven.exe.
#include "app/win/portmaven_app.h"

#include <windows.h>

namespace {
portmaven::win::CPortmavenApp theApp;
} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    return theApp.Run();
}
