// A umockdev testbed owned by a test, and the records of the USB serial adapters put in it. The
// process that reads the testbed must run under umockdev's preload (umockdev-wrapper) for
// libudev and /dev to see it instead of the machine.
#pragma once

#include <umockdev.h>

#include <string>
#include <utility>
#include <vector>

namespace portmaven::test {

// A USB serial adapter as udev sees it: the tty, and above it the usb-serial device its
// driver is bound to.
struct UsbSerialAdapter {
    std::string tty;                                             // "ttyUSB0"
    std::string busPort;                                         // where it is plugged in, "1-1"
    std::vector<std::pair<std::string, std::string>> properties; // the tty's, e.g. ID_MODEL
    std::string driver;                                          // "ftdi_sio"

    // Paths below /sys, as uevents and device removal take them.
    [[nodiscard]] std::string SerialDevicePath() const;
    [[nodiscard]] std::string TtyPath() const;
};

// The adapter in umockdev-record's format: the tty, then its parent.
[[nodiscard]] std::string RecordOf(const UsbSerialAdapter& adapter);

class UmockdevTestbed {
public:
    UmockdevTestbed();
    ~UmockdevTestbed();
    UmockdevTestbed(const UmockdevTestbed&) = delete;
    UmockdevTestbed& operator=(const UmockdevTestbed&) = delete;

    // Adds the devices of a record; on failure, says why in error.
    bool Add(const std::string& record, std::string& error);
    // The adapter appears, with an "add" uevent.
    bool Plug(const UsbSerialAdapter& adapter, std::string& error);
    // A "remove" uevent, then the adapter disappears.
    void Unplug(const UsbSerialAdapter& adapter);
    void Uevent(const std::string& sysPath, const char* action);

    // The folder that holds the testbed, for UMOCKDEV_DIR of another process.
    [[nodiscard]] std::string RootDir() const;

private:
    UMockdevTestbed* testbed_;
};

} // namespace portmaven::test
