// What the Port Settings dialog opens on, through a fake view: the settings in effect, the
// kind's box, a default command that no longer exists, and the arrival box that follows the
// command. Refusing a speed and saving are proven on the real dialogs end to end.
#include "ports/port_settings_presenter.h"
#include "support/memory_device_store.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace portmaven::ports {
namespace {

// The form as shown, and the arrival box as the presenter leaves it.
class FakeView final : public PortSettingsView {
public:
    void ShowForm(const PortSettingsForm& shown) override { form = shown; }
    std::u16string Name() const override { return form.name; }
    std::u16string Speed() const override { return form.speed; }
    int Command() const override { return form.command; }
    bool RunOnArrival() const override { return form.runOnArrival; }
    bool ForKind() const override { return form.forKind; }
    void SetRunOnArrival(bool checked, bool enabled) override {
        form.runOnArrival = checked;
        form.runOnArrivalEnabled = enabled;
    }
    void ShowSpeedProblem(std::u16string_view) override {}
    void FocusSpeed() override {}

    PortSettingsForm form;
};

TEST(PortSettingsPresenter, OpensOnWhatIsInEffectForTheDeviceOrItsKind) {
    SerialPort pico{.name = u"/dev/ttyACM0", .number = u"0", .label = u"Pico (/dev/ttyACM0)"};
    pico.device = {.vendorId = u"2e8a", .productId = u"000c", .serial = u"E6"};
    test::MemoryDeviceStore store;
    store.values[BaudValueName(u"usb:2e8a:000c")] = u"9600";
    store.values[CommandValueName(u"usb:2e8a:000c")] = u"picocom";
    store.values[RunValueName(u"usb:2e8a:000c")] = u"1";
    const std::vector<std::u16string> commands{u"Connect", u"picocom"};
    FakeView view;
    PortSettingsPresenter presenter(view, store, pico, commands, u"the heading");
    presenter.OnInitDialog();
    EXPECT_EQ(view.form.heading, u"the heading");
    EXPECT_EQ(view.form.nameCue, u"Pico");
    EXPECT_EQ(view.form.commands, (std::vector<std::u16string>{u"(None)", u"Connect", u"picocom"}));
    EXPECT_EQ(view.form.speed, u"9600");
    EXPECT_EQ(view.form.command, 2);
    EXPECT_TRUE(view.form.runOnArrival && view.form.runOnArrivalEnabled);
    EXPECT_EQ(view.form.forKindText, u"Use for every 2e8a:000c device");
    EXPECT_TRUE(view.form.forKind) << "nothing of its own: its kind's are in effect";

    // No default command: the arrival box goes off and cannot be turned on.
    view.form.command = 0;
    presenter.OnCommandChanged();
    EXPECT_FALSE(view.form.runOnArrival || view.form.runOnArrivalEnabled);

    // A command of its own that was deleted since: none, and its own value unchecks the box.
    store.values[CommandValueName(u"usb:2e8a:000c:E6")] = u"Deleted";
    presenter.OnInitDialog();
    EXPECT_EQ(view.form.command, 0);
    EXPECT_FALSE(view.form.runOnArrivalEnabled);
    EXPECT_FALSE(view.form.forKind);
}

} // namespace
} // namespace portmaven::ports
