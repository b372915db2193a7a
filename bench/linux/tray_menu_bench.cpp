// Click to menu on the Linux desktop: the host's steps (udev enumeration, the menu model, the
// Qt menu, shown) against a bare baseline (the same enumeration and a plain QMenu with the
// same ports and commands), with 32 mocked ports and 20 commands. Prints the ratio.
//
// Run under umockdev's preload, by hand:
//   umockdev-wrapper build/native-only/bench/linux/tray_menu_bench [rounds]
#include "tray/linux/tray_menu.h"
#include "config/command_list.h"
#include "ports/linux/serial_port_enum.h"
#include "tray/tray_menu_model.h"

#include <QApplication>
#include <QMenu>

#include <umockdev.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kPorts = 32;
constexpr int kCommands = 20;

struct GObjectUnref {
    void operator()(gpointer object) const noexcept { g_object_unref(object); }
};

std::string UsbAdapter(int index) {
    const std::string name = "ttyUSB" + std::to_string(index);
    const std::string usb = "/devices/pci0000:00/0000:00:14.0/usb1/1-" + std::to_string(index) +
                            "/1-" + std::to_string(index) + ":1.0";
    return "P: " + usb + "/" + name + "/tty/" + name + "\nN: " + name + "\nE: DEVNAME=/dev/" +
           name + "\nE: SUBSYSTEM=tty\nE: ID_MODEL_FROM_DATABASE=FT232R USB UART\n\nP: " + usb +
           "/" + name + "\nE: SUBSYSTEM=usb-serial\n\nP: " + usb +
           "\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_interface\n";
}

void ShowAndClose(QMenu& menu) {
    menu.popup(QPoint(0, 0));
    QApplication::processEvents();
    menu.hide();
}

double PortmavenMenu() {
    const auto start = std::chrono::steady_clock::now();
    const auto ports = portmaven::linux_desktop::EnumerateSerialPorts();
    const auto model = portmaven::tray::BuildTrayMenuModel(
        ports.value(), portmaven::config::g_CommandList, portmaven::tray::kLinuxLayout);
    QMenu menu;
    portmaven::linux_desktop::FillTrayMenu(
        menu, model,
        {.launch = [](std::size_t, int) {}, .properties = [] {}, .about = [] {}, .exit = [] {}});
    ShowAndClose(menu);
    return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
        .count();
}

double BareMenu() {
    const auto start = std::chrono::steady_clock::now();
    const auto ports = portmaven::linux_desktop::EnumerateSerialPorts();
    QMenu menu;
    for (const auto& port : ports.value()) {
        QMenu* submenu = menu.addMenu(QString::fromStdU16String(port.label));
        for (int i = 0; i < kCommands; ++i) {
            submenu->addAction(QStringLiteral("Command %1").arg(i));
        }
    }
    menu.addSeparator();
    menu.addAction(QStringLiteral("Properties"));
    menu.addAction(QStringLiteral("About Portmaven"));
    menu.addAction(QStringLiteral("Exit"));
    ShowAndClose(menu);
    return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
        .count();
}

double Median(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;

    std::unique_ptr<UMockdevTestbed, GObjectUnref> testbed(umockdev_testbed_new());
    for (int i = 0; i < kPorts; ++i) {
        GError* error = nullptr;
        if (!umockdev_testbed_add_from_string(testbed.get(), UsbAdapter(i).c_str(), &error)) {
            std::fprintf(stderr, "tray_menu_bench: %s\n", error->message);
            g_error_free(error);
            return 1;
        }
    }
    for (int i = 0; i < kCommands; ++i) {
        const std::u16string name = u"Command " + std::u16string(1, static_cast<char16_t>('A' + i));
        portmaven::config::g_CommandList.AppendCommand(
            portmaven::config::MakeCommandRecord(name, u"picocom -b 115200 %PORT%"));
    }
    const auto seen = portmaven::linux_desktop::EnumerateSerialPorts();
    if (!seen || seen->size() != kPorts) {
        std::fprintf(stderr, "tray_menu_bench: the mocked ports are not seen; run it under "
                             "umockdev-wrapper\n");
        return 1;
    }

    std::vector<double> ours;
    std::vector<double> bare;
    for (int i = 0; i < rounds; ++i) {
        // Interleaved, so that a busy moment of the machine hits both alike.
        ours.push_back(PortmavenMenu());
        bare.push_back(BareMenu());
    }
    const double oursMedian = Median(ours);
    const double bareMedian = Median(bare);
    std::printf("click to menu, %d ports x %d commands, median of %d rounds:\n", kPorts, kCommands,
                rounds);
    std::printf("  portmaven %.0f us, bare QMenu %.0f us, ratio %.2fx (goal <= 1.1x)\n", oursMedian,
                bareMedian, oursMedian / bareMedian);
    return 0;
}
