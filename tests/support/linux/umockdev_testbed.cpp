#include "support/linux/umockdev_testbed.h"

#include <memory>

namespace portmaven::test {

namespace {

// All the adapters hang off the same host controller; only the hub port differs.
constexpr char kUsbHost[] = "/devices/pci0000:00/0000:00:14.0/usb1/";
// From the usb-serial device up to /sys, then down to the driver.
constexpr char kDriverLink[] = "L: driver=../../../../../../bus/usb-serial/drivers/";

std::string DevicePath(const UsbSerialAdapter& adapter) {
    return kUsbHost + adapter.busPort + "/" + adapter.busPort + ":1.0/" + adapter.tty;
}

} // namespace

std::string UsbSerialAdapter::SerialDevicePath() const {
    return "/sys" + DevicePath(*this);
}

std::string UsbSerialAdapter::TtyPath() const {
    return SerialDevicePath() + "/tty/" + tty;
}

std::string RecordOf(const UsbSerialAdapter& adapter) {
    std::string record = "P: " + DevicePath(adapter) + "/tty/" + adapter.tty +
                         "\nN: " + adapter.tty + "\nE: DEVNAME=/dev/" + adapter.tty +
                         "\nE: SUBSYSTEM=tty\n";
    for (const auto& [key, value] : adapter.properties) {
        record += "E: " + key + "=" + value + "\n";
    }
    record += "\nP: " + DevicePath(adapter) + "\nE: SUBSYSTEM=usb-serial\n" + kDriverLink +
              adapter.driver + "\n";
    return record;
}

UmockdevTestbed::UmockdevTestbed() : testbed_(umockdev_testbed_new()) {}

UmockdevTestbed::~UmockdevTestbed() {
    g_object_unref(testbed_);
}

bool UmockdevTestbed::Add(const std::string& record, std::string& error) {
    GError* failure = nullptr;
    if (umockdev_testbed_add_from_string(testbed_, record.c_str(), &failure)) {
        return true;
    }
    error = failure != nullptr ? failure->message : "unknown error";
    g_clear_error(&failure);
    return false;
}

bool UmockdevTestbed::Plug(const UsbSerialAdapter& adapter, std::string& error) {
    if (!Add(RecordOf(adapter), error)) {
        return false;
    }
    Uevent(adapter.TtyPath(), "add");
    return true;
}

void UmockdevTestbed::Unplug(const UsbSerialAdapter& adapter) {
    Uevent(adapter.TtyPath(), "remove");
    // The tty first: removing only its parent would leave its /sys/class link behind.
    umockdev_testbed_remove_device(testbed_, adapter.TtyPath().c_str());
    umockdev_testbed_remove_device(testbed_, adapter.SerialDevicePath().c_str());
}

void UmockdevTestbed::Uevent(const std::string& sysPath, const char* action) {
    umockdev_testbed_uevent(testbed_, sysPath.c_str(), action);
}

std::string UmockdevTestbed::RootDir() const {
    const std::unique_ptr<gchar, decltype(&g_free)> root(umockdev_testbed_get_root_dir(testbed_),
                                                         &g_free);
    return root.get();
}

} // namespace portmaven::test
