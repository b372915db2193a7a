// Plugs and unplugs a mocked USB serial adapter for a program running under umockdev's preload
// in another process. It owns the testbed (a folder that disappears with it), prints
// "ready <folder>" for the caller to pass as UMOCKDEV_DIR, then obeys one command per line of
// its input and answers "ok" once the uevents are sent:
//   plug      a new adapter (ttyUSB1, then ttyUSB2, ...) appears, with an "add" uevent
//   unplug    a "remove" uevent, then the last adapter plugged disappears
//   change    a "change" uevent of the present ttyUSB0: nothing comes or goes
//   burst N   a new adapter appears amid N change uevents of both ports
#include <umockdev.h>

#include <chrono>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>

namespace {

struct GObjectUnref {
    void operator()(UMockdevTestbed* testbed) const noexcept { g_object_unref(testbed); }
};

constexpr char kPresentAdapter[] =
    R"(P: /devices/pci0000:00/0000:00:14.0/usb1/1-1/1-1:1.0/ttyUSB0/tty/ttyUSB0
N: ttyUSB0
E: DEVNAME=/dev/ttyUSB0
E: SUBSYSTEM=tty
E: ID_MODEL=FT232R_USB_UART
E: ID_MODEL_FROM_DATABASE=FT232R USB UART

P: /devices/pci0000:00/0000:00:14.0/usb1/1-1/1-1:1.0/ttyUSB0
E: SUBSYSTEM=usb-serial
L: driver=../../../../../../bus/usb-serial/drivers/ftdi_sio
)";
constexpr char kPresentTty[] =
    "/sys/devices/pci0000:00/0000:00:14.0/usb1/1-1/1-1:1.0/ttyUSB0/tty/ttyUSB0";

// umockdev keeps a tty's name after the device is gone, so every plug brings a new adapter:
// ttyUSB1, ttyUSB2, ...
struct PluggedAdapter {
    int number = 0;

    [[nodiscard]] std::string SerialDevice() const {
        const std::string tty = "ttyUSB" + std::to_string(number);
        return "/devices/pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.0/" + tty;
    }
    [[nodiscard]] std::string Tty() const {
        return SerialDevice() + "/tty/ttyUSB" + std::to_string(number);
    }
    [[nodiscard]] std::string Description() const {
        const std::string tty = "ttyUSB" + std::to_string(number);
        return "P: " + Tty() + "\nN: " + tty + "\nE: DEVNAME=/dev/" + tty +
               "\nE: SUBSYSTEM=tty\nE: ID_MODEL=CP2102_USB_to_UART_Bridge_Controller\n\nP: " +
               SerialDevice() +
               "\nE: SUBSYSTEM=usb-serial\n"
               "L: driver=../../../../../../bus/usb-serial/drivers/cp210x\n";
    }
};

constexpr std::chrono::milliseconds kBurstPause{40};

bool Add(UMockdevTestbed* testbed, const char* devices) {
    GError* error = nullptr;
    if (!umockdev_testbed_add_from_string(testbed, devices, &error)) {
        std::cerr << "cannot add devices: " << (error != nullptr ? error->message : "") << '\n';
        g_clear_error(&error);
        return false;
    }
    return true;
}

class Plugger {
public:
    explicit Plugger(UMockdevTestbed* testbed) : testbed_(testbed) {}

    bool Obey(const std::string& line);

private:
    bool Plug();
    void Unplug();
    void Change(const std::string& tty) {
        umockdev_testbed_uevent(testbed_, tty.c_str(), "change");
    }

    UMockdevTestbed* testbed_;
    PluggedAdapter adapter_;
};

bool Plugger::Plug() {
    ++adapter_.number;
    if (!Add(testbed_, adapter_.Description().c_str())) {
        return false;
    }
    umockdev_testbed_uevent(testbed_, ("/sys" + adapter_.Tty()).c_str(), "add");
    return true;
}

void Plugger::Unplug() {
    const std::string tty = "/sys" + adapter_.Tty();
    umockdev_testbed_uevent(testbed_, tty.c_str(), "remove");
    // The tty first: removing only its parent would leave its /sys/class link behind.
    umockdev_testbed_remove_device(testbed_, tty.c_str());
    umockdev_testbed_remove_device(testbed_, ("/sys" + adapter_.SerialDevice()).c_str());
}

bool Plugger::Obey(const std::string& line) {
    std::istringstream words(line);
    std::string command;
    words >> command;
    if (command == "plug") {
        return Plug();
    }
    if (command == "unplug") {
        Unplug();
        return true;
    }
    if (command == "change") {
        Change(kPresentTty);
        return true;
    }
    if (command == "burst") {
        int count = 0;
        words >> count;
        Change(kPresentTty);
        if (!Plug()) {
            return false;
        }
        for (int i = 0; i < count; ++i) {
            // umockdev delivers uevents as datagrams on a local socket that queues only a few
            // (net.unix.max_dgram_qlen) and aborts when it is full, where the kernel's netlink
            // would queue many: let the program read now and then. The pause stays far below
            // the program's debounce, so the events still make one burst.
            if (i % 2 == 1) {
                std::this_thread::sleep_for(kBurstPause);
            }
            Change("/sys" + adapter_.Tty());
            Change(kPresentTty);
        }
        return true;
    }
    std::cerr << "unknown command: " << line << '\n';
    return false;
}

} // namespace

int main() {
    const std::unique_ptr<UMockdevTestbed, GObjectUnref> testbed(umockdev_testbed_new());
    if (!Add(testbed.get(), kPresentAdapter)) {
        return 1;
    }
    const std::unique_ptr<gchar, decltype(&g_free)> root(
        umockdev_testbed_get_root_dir(testbed.get()), &g_free);
    std::cout << "ready " << root.get() << std::endl;
    Plugger plugger(testbed.get());
    for (std::string line; std::getline(std::cin, line);) {
        std::cout << (plugger.Obey(line) ? "ok" : "failed") << std::endl;
    }
    return 0;
}
