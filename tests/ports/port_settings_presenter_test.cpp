// The Port Settings dialog's logic through a fake view: what it shows for a board, the arrival
// box that follows the default command, a speed refused in place, and what OK keeps.
#include "ports/device_identity.h"
#include "ports/port_settings_presenter.h"
#include "support/memory_device_store.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace portmaven::ports {
namespace {

// The dialog's controls as values; the test is the user.
class FakeView final : public PortSettingsView {
public:
    void ShowForm(const PortSettingsForm& shown) override {
        form = shown;
        name = shown.name;
        speed = shown.speed;
        command = shown.command;
        run = shown.runOnArrival;
        runEnabled = shown.runOnArrivalEnabled;
        forKind = shown.forKind;
    }
    std::u16string Name() const override { return name; }
    std::u16string Speed() const override { return speed; }
    int Command() const override { return command; }
    bool RunOnArrival() const override { return run; }
    bool ForKind() const override { return forKind; }
    void SetRunOnArrival(bool checked, bool enabled) override {
        run = checked;
        runEnabled = enabled;
    }
    void ShowSpeedProblem(std::u16string_view reason) override { problem = reason; }
    void FocusSpeed() override { ++speedFocused; }

    PortSettingsForm form;
    std::u16string name;
    std::u16string speed;
    int command = 0;
    bool run = false;
    bool runEnabled = false;
    bool forKind = false;
    std::u16string problem;
    int speedFocused = 0;
};

SerialPort Pico() {
    SerialPort port{.name = u"/dev/ttyACM0", .number = u"0", .label = u"Pico (/dev/ttyACM0)"};
    port.device = {.vendorId = u"2e8a", .productId = u"000c", .serial = u"E66138"};
    return port;
}

const std::vector<std::u16string> kCommands{u"Connect", u"picocom"};

TEST(PortSettingsPresenter, OpensOnWhatIsInEffectAndKeepsTheKindsWhenAskedTo) {
    testing::MemoryDeviceStore store;
    store.values[BaudValueName(u"usb:2e8a:000c")] = u"9600";
    store.values[CommandValueName(u"usb:2e8a:000c")] = u"picocom";
    store.values[RunValueName(u"usb:2e8a:000c")] = u"1";
    FakeView view;
    PortSettingsPresenter presenter(view, store, Pico(), kCommands, u"the heading");
    presenter.OnInitDialog();
    EXPECT_EQ(view.form.heading, u"the heading");
    EXPECT_EQ(view.form.nameCue, u"Pico");
    EXPECT_EQ(view.form.commands, (std::vector<std::u16string>{u"(None)", u"Connect", u"picocom"}));
    EXPECT_EQ(view.speed, u"9600");
    EXPECT_EQ(view.command, 2);
    EXPECT_TRUE(view.run && view.runEnabled);
    EXPECT_EQ(view.form.forKindText, u"Use for every 2e8a:000c device");
    EXPECT_TRUE(view.forKind) << "the board has nothing of its own: its kind's are in effect";

    // No default command: the arrival box goes off and cannot be turned on.
    view.command = 0;
    presenter.OnCommandChanged();
    EXPECT_FALSE(view.run || view.runEnabled);
    view.command = 1;
    presenter.OnCommandChanged();
    EXPECT_TRUE(view.runEnabled);
    EXPECT_FALSE(view.run);
    view.run = true;
    view.speed = u"460800";
    view.name = u"Pico W";
    ASSERT_TRUE(presenter.OnOk());
    EXPECT_EQ(store.values[BaudValueName(u"usb:2e8a:000c")], u"460800");
    EXPECT_EQ(store.values[CommandValueName(u"usb:2e8a:000c")], u"Connect");
    EXPECT_EQ(store.values[NameValueName(DeviceKey(Pico()))], u"Pico W");
    EXPECT_EQ(presenter.Port().launch, (PortLaunchSettings{460800, u"Connect", true}));
}

TEST(PortSettingsPresenter, RefusesASpeedOutOfRangeInPlaceAndSavesNothing) {
    testing::MemoryDeviceStore store;
    // A default command that was deleted since shows as none.
    store.values[CommandValueName(DeviceKey(Pico()))] = u"Deleted";
    FakeView view;
    PortSettingsPresenter presenter(view, store, Pico(), kCommands, u"");
    presenter.OnInitDialog();
    EXPECT_EQ(view.command, 0);
    EXPECT_FALSE(view.runEnabled);
    EXPECT_FALSE(view.forKind) << "the board has a value of its own";

    for (const std::u16string_view speed : {u"4000001", u"49", u""}) {
        view.speed = speed;
        EXPECT_FALSE(presenter.OnOk());
        EXPECT_EQ(view.problem, u"Must be from 50 to 4000000");
    }
    EXPECT_EQ(view.speedFocused, 3);
    EXPECT_EQ(store.values.size(), 1u) << "a refused form saved something";
    view.speed = u"4000000";
    presenter.OnSpeedChanged();
    EXPECT_EQ(view.problem, u"");
    ASSERT_TRUE(presenter.OnOk());
    // None over a command that no longer exists: nothing of the board's own, as its kind has none.
    EXPECT_FALSE(store.values.contains(CommandValueName(DeviceKey(Pico()))));
    EXPECT_EQ(store.values[BaudValueName(DeviceKey(Pico()))], u"4000000");
}

} // namespace
} // namespace portmaven::ports
