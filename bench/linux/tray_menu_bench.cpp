// Click to menu on the Linux desktop: the host's steps (udev enumeration, the look for the
// ports' holders started and what is known of them noted, the menu model, the Qt menu, shown)
// against a bare baseline (the same enumeration and a plain QMenu with the same ports and
// commands), with 32 mocked ports and 20 commands; first on an idle system, then with 500
// processes holding 100 open files each, which the look goes through. Prints the ratios.
//
// Run under umockdev's preload, by hand:
//   umockdev-wrapper build/native-only/bench/linux/tray_menu_bench
//       build/native-only/bench/linux/descriptor_holders [rounds]
#include "access/holder_lookup.h"
#include "access/linux/holder_scan_worker.h"
#include "tray/linux/tray_menu.h"
#include "config/command_list.h"
#include "ports/linux/serial_port_enum.h"
#include "tray/tray_menu_model.h"

#include <QApplication>
#include <QMenu>

#include <umockdev.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

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
constexpr int kHolders = 500;
constexpr int kDescriptorsEach = 100;
// As the program gives its looks.
constexpr std::chrono::milliseconds kLookDeadline{300};

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

double PortmavenMenu(portmaven::access::HolderLookup& holders) {
    const auto start = std::chrono::steady_clock::now();
    auto ports = portmaven::linux_desktop::EnumerateSerialPorts();
    holders.Refresh(ports.value(), portmaven::access::ScanClock::now());
    holders.Note(*ports);
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

struct Samples {
    std::vector<double> ours;
    std::vector<double> bare;
};

void Measure(int rounds, portmaven::access::HolderLookup& holders, Samples& samples) {
    for (int i = 0; i < rounds; ++i) {
        // Interleaved, so that a busy moment of the machine hits both alike.
        samples.ours.push_back(PortmavenMenu(holders));
        samples.bare.push_back(BareMenu());
    }
}

// The descriptor holders, running until their input closes.
struct Holders {
    pid_t pid = -1;
    int input = -1;

    ~Holders() {
        if (pid > 0) {
            ::close(input);
            ::waitpid(pid, nullptr, 0);
        }
    }
};

bool StartHolders(const char* binary, Holders& holders) {
    int input[2];
    int output[2];
    if (::pipe(input) != 0 || ::pipe(output) != 0) {
        return false;
    }
    holders.pid = ::fork();
    if (holders.pid == 0) {
        ::dup2(input[0], 0);
        ::dup2(output[1], 1);
        ::close(input[1]);
        ::close(output[0]);
        // Plain processes, as a desktop's: not under umockdev's preload, which this one is.
        ::unsetenv("LD_PRELOAD");
        const std::string processes = std::to_string(kHolders);
        const std::string each = std::to_string(kDescriptorsEach);
        ::execl(binary, binary, processes.c_str(), each.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(input[0]);
    ::close(output[1]);
    holders.input = input[1];
    char said[8] = {};
    const ssize_t length = ::read(output[0], said, sizeof said - 1);
    ::close(output[0]);
    return holders.pid > 0 && length > 0 && std::string(said).starts_with("ready");
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: tray_menu_bench <descriptor_holders> [rounds]\n");
        return 2;
    }
    const char* holdersBinary = argv[1];
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 200;

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

    // The look as the program runs it: on a worker, its answers taken by this thread's events.
    std::unique_ptr<portmaven::access::HolderLookup> holders;
    portmaven::linux_desktop::HolderScanWorker worker(
        [&holders](const portmaven::access::HolderScanAnswer& answer) {
            holders->OnAnswer(answer, portmaven::access::ScanClock::now());
        },
        kLookDeadline);
    holders = std::make_unique<portmaven::access::HolderLookup>(worker, kLookDeadline);

    // Idle and loaded in turns, so that the machine's own ups and downs fall on both.
    constexpr int kTurns = 2;
    Samples idle;
    Samples loaded;
    for (int turn = 0; turn < kTurns; ++turn) {
        Measure(std::max(1, rounds / kTurns), *holders, idle);
        Holders busy;
        if (!StartHolders(holdersBinary, busy)) {
            std::fprintf(stderr, "tray_menu_bench: the descriptor holders did not start\n");
            return 1;
        }
        Measure(std::max(1, rounds / kTurns), *holders, loaded);
    }
    const double idleOurs = Median(idle.ours);
    const double idleBare = Median(idle.bare);
    const double loadedOurs = Median(loaded.ours);
    const double loadedBare = Median(loaded.bare);
    std::printf("click to menu, %d ports x %d commands, median of %d rounds:\n", kPorts, kCommands,
                rounds);
    std::printf("  idle: portmaven %.0f us, bare QMenu %.0f us, ratio %.2fx\n", idleOurs, idleBare,
                idleOurs / idleBare);
    std::printf("  %d processes x %d files: portmaven %.0f us, bare QMenu %.0f us, ratio %.2fx\n",
                kHolders, kDescriptorsEach, loadedOurs, loadedBare, loadedOurs / loadedBare);
    std::printf("  with those processes against without: portmaven %.2fx (goal <= 1.1x), bare "
                "QMenu %.2fx, portmaven's own share %.2fx\n",
                loadedOurs / idleOurs, loadedBare / idleBare,
                (loadedOurs / idleOurs) / (loadedBare / idleBare));
    return 0;
}
