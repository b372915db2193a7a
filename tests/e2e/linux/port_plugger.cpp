// Plugs and unplugs a mocked USB serial adapter for a program running under umockdev's preload
// in another process. It owns the testbed (a folder that disappears with it), prints
// "ready <folder>" for the caller to pass as UMOCKDEV_DIR, then obeys one command per line of
// its input and answers "ok" once the uevents are sent:
//   plug      a new adapter (ttyUSB1, then ttyUSB2, ...) appears, with an "add" uevent
//   board S   the same, an adapter that says who it is: USB ids 10c4:ea60 and serial number S,
//             so that each plug with the same S is the same board again under another name
//   unplug    a "remove" uevent, then the last adapter plugged disappears
//   change    a "change" uevent of the present ttyUSB0: nothing comes or goes
//   burst N   a new adapter appears amid N change uevents of both ports
//   add N     N more adapters (ttyACM0, ttyACM1, ...) are there, without uevents: for a
//             program started after it
#include "support/linux/umockdev_testbed.h"

#include <chrono>
#include <iostream>
#include <sstream>
#include <string>
#include <thread>

namespace {

using portmaven::test::UmockdevTestbed;
using portmaven::test::UsbSerialAdapter;

const UsbSerialAdapter kPresentAdapter{
    .tty = "ttyUSB0",
    .busPort = "1-1",
    .properties = {{"ID_MODEL", "FT232R_USB_UART"}, {"ID_MODEL_FROM_DATABASE", "FT232R USB UART"}},
    .driver = "ftdi_sio",
};

// umockdev keeps a tty's name after the device is gone, so every plug brings a new adapter:
// ttyUSB1, ttyUSB2, ... With a serial number it tells its USB ids too.
UsbSerialAdapter PluggedAdapter(int number, const std::string& serial = {}) {
    UsbSerialAdapter adapter{
        .tty = "ttyUSB" + std::to_string(number),
        .busPort = "1-2",
        .properties = {{"ID_MODEL", "CP2102_USB_to_UART_Bridge_Controller"}},
        .driver = "cp210x",
    };
    if (!serial.empty()) {
        adapter.properties.insert(
            adapter.properties.end(),
            {{"ID_VENDOR_ID", "10c4"}, {"ID_MODEL_ID", "ea60"}, {"ID_SERIAL_SHORT", serial}});
    }
    return adapter;
}

constexpr std::chrono::milliseconds kBurstPause{40};

class Plugger {
public:
    explicit Plugger(UmockdevTestbed& testbed) : testbed_(testbed) {}

    bool Obey(const std::string& line);

private:
    bool Plug(const std::string& serial = {}) {
        adapter_ = PluggedAdapter(++plugged_, serial);
        std::string error;
        if (!testbed_.Plug(adapter_, error)) {
            std::cerr << "cannot add devices: " << error << '\n';
            return false;
        }
        return true;
    }
    void Change(const std::string& tty) { testbed_.Uevent(tty, "change"); }
    bool Add(int count) {
        for (int i = 0; i < count; ++i, ++added_) {
            const UsbSerialAdapter adapter{
                .tty = "ttyACM" + std::to_string(added_),
                .busPort = "2-" + std::to_string(added_ + 1),
                .properties = {{"ID_MODEL_FROM_DATABASE", "CDC ACM Modem"}},
                .driver = "cdc_acm",
            };
            std::string error;
            if (!testbed_.Add(RecordOf(adapter), error)) {
                std::cerr << "cannot add devices: " << error << '\n';
                return false;
            }
        }
        return true;
    }

    UmockdevTestbed& testbed_;
    int plugged_ = 0;
    int added_ = 0;
    UsbSerialAdapter adapter_; // the last plugged
};

bool Plugger::Obey(const std::string& line) {
    std::istringstream words(line);
    std::string command;
    words >> command;
    if (command == "plug") {
        return Plug();
    }
    if (command == "board") {
        std::string serial;
        words >> serial;
        return !serial.empty() && Plug(serial);
    }
    if (command == "unplug") {
        testbed_.Unplug(adapter_);
        return true;
    }
    if (command == "change") {
        Change(kPresentAdapter.TtyPath());
        return true;
    }
    if (command == "burst") {
        int count = 0;
        words >> count;
        Change(kPresentAdapter.TtyPath());
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
            Change(adapter_.TtyPath());
            Change(kPresentAdapter.TtyPath());
        }
        return true;
    }
    if (command == "add") {
        int count = 0;
        words >> count;
        return Add(count);
    }
    std::cerr << "unknown command: " << line << '\n';
    return false;
}

} // namespace

int main() {
    UmockdevTestbed testbed;
    std::string error;
    if (!testbed.Add(RecordOf(kPresentAdapter), error)) {
        std::cerr << "cannot add devices: " << error << '\n';
        return 1;
    }
    std::cout << "ready " << testbed.RootDir() << std::endl;
    Plugger plugger(testbed);
    for (std::string line; std::getline(std::cin, line);) {
        std::cout << (plugger.Obey(line) ? "ok" : "failed") << std::endl;
    }
    return 0;
}
