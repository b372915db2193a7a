// Plugs and unplugs a mocked USB serial adapter for a program running under umockdev's preload
// in another process. It owns the testbed (a folder that disappears with it), prints
// "ready <folder>" for the caller to pass as UMOCKDEV_DIR, then obeys one command per line of
// its input and answers "ok" once the uevents are sent:
//   plug      ttyUSB1 appears, with an "add" uevent
//   unplug    a "remove" uevent, then ttyUSB1 disappears
//   change    a "change" uevent of the present ttyUSB0: nothing comes or goes
//   burst N   ttyUSB1 appears amid N change uevents of both ports
#include <umockdev.h>

#include <iostream>
#include <memory>
#include <sstream>
#include <string>

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

constexpr char kPluggedAdapter[] =
    R"(P: /devices/pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.0/ttyUSB1/tty/ttyUSB1
N: ttyUSB1
E: DEVNAME=/dev/ttyUSB1
E: SUBSYSTEM=tty
E: ID_MODEL=CP2102_USB_to_UART_Bridge_Controller

P: /devices/pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.0/ttyUSB1
E: SUBSYSTEM=usb-serial
L: driver=../../../../../../bus/usb-serial/drivers/cp210x
)";
constexpr char kPluggedTty[] =
    "/sys/devices/pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.0/ttyUSB1/tty/ttyUSB1";
constexpr char kPluggedSerialDevice[] =
    "/sys/devices/pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.0/ttyUSB1";

bool Add(UMockdevTestbed* testbed, const char* devices) {
    GError* error = nullptr;
    if (!umockdev_testbed_add_from_string(testbed, devices, &error)) {
        std::cerr << "cannot add devices: " << (error != nullptr ? error->message : "") << '\n';
        g_clear_error(&error);
        return false;
    }
    return true;
}

bool Plug(UMockdevTestbed* testbed) {
    if (!Add(testbed, kPluggedAdapter)) {
        return false;
    }
    umockdev_testbed_uevent(testbed, kPluggedTty, "add");
    return true;
}

bool Obey(UMockdevTestbed* testbed, const std::string& line) {
    std::istringstream words(line);
    std::string command;
    words >> command;
    if (command == "plug") {
        return Plug(testbed);
    }
    if (command == "unplug") {
        umockdev_testbed_uevent(testbed, kPluggedTty, "remove");
        umockdev_testbed_remove_device(testbed, kPluggedSerialDevice);
        return true;
    }
    if (command == "change") {
        umockdev_testbed_uevent(testbed, kPresentTty, "change");
        return true;
    }
    if (command == "burst") {
        int count = 0;
        words >> count;
        umockdev_testbed_uevent(testbed, kPresentTty, "change");
        if (!Plug(testbed)) {
            return false;
        }
        for (int i = 0; i < count; ++i) {
            umockdev_testbed_uevent(testbed, kPluggedTty, "change");
            umockdev_testbed_uevent(testbed, kPresentTty, "change");
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
    for (std::string line; std::getline(std::cin, line);) {
        std::cout << (Obey(testbed.get(), line) ? "ok" : "failed") << std::endl;
    }
    return 0;
}
