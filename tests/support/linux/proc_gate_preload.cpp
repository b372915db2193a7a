// Preloaded into the program under test only, never shipped: while the file named by
// $PORTMAVEN_TEST_PROC_GATE exists, every listing of a process's descriptors under /proc waits
// for it to go, as a look for holders stuck on a slow system would; "<gate>.held" tells the test
// that a look waits there. The test removes the gate to let the look go on; a test that died
// before it lets go after a minute on its own.
#include <dirent.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

namespace {

bool IsDescriptorListing(const char* name) {
    const std::size_t length = std::strlen(name);
    return std::strncmp(name, "/proc/", 6) == 0 && length > 9 &&
           std::strcmp(name + length - 3, "/fd") == 0;
}

void WaitAtTheGate(const char* name) {
    const char* gate = std::getenv("PORTMAVEN_TEST_PROC_GATE");
    if (gate == nullptr || !IsDescriptorListing(name)) {
        return;
    }
    if (::access(gate, F_OK) != 0) {
        return;
    }
    const int held = ::open((std::string(gate) + ".held").c_str(), O_WRONLY | O_CREAT, 0600);
    if (held >= 0) {
        ::close(held);
    }
    const auto limit = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    while (::access(gate, F_OK) == 0 && std::chrono::steady_clock::now() < limit) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

} // namespace

extern "C" DIR* opendir(const char* name) {
    using Opendir = DIR* (*)(const char*);
    static const auto next = reinterpret_cast<Opendir>(::dlsym(RTLD_NEXT, "opendir"));
    WaitAtTheGate(name);
    return next(name);
}
