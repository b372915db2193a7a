// What Close does to the Run value for each state of the box and of the registry.
#include "config/launch_at_logon.h"

#include "configure_fakes.h"

#include <gtest/gtest.h>

namespace portmaven::config {
namespace {

using testing::FakeRunKey;

TEST(ApplyLaunchOnStartup, CheckedWritesOnlyAMissingValue) {
    FakeRunKey missing;
    EXPECT_EQ(ApplyLaunchOnStartup(missing, true), LaunchOnStartupOutcome::Written);
    EXPECT_EQ(missing.writes, 1);
    EXPECT_TRUE(missing.present);

    // An existing value is never refreshed, whatever path it holds.
    FakeRunKey present;
    present.present = true;
    EXPECT_EQ(ApplyLaunchOnStartup(present, true), LaunchOnStartupOutcome::Unchanged);
    EXPECT_EQ(present.writes + present.removals, 0);

    FakeRunKey readOnly;
    readOnly.writeSucceeds = false;
    EXPECT_EQ(ApplyLaunchOnStartup(readOnly, true), LaunchOnStartupOutcome::WriteFailed);
}

TEST(ApplyLaunchOnStartup, UncheckedRemovesOnlyAnExistingValue) {
    FakeRunKey present;
    present.present = true;
    EXPECT_EQ(ApplyLaunchOnStartup(present, false), LaunchOnStartupOutcome::Removed);
    EXPECT_EQ(present.removals, 1);
    EXPECT_FALSE(present.present);

    FakeRunKey missing;
    EXPECT_EQ(ApplyLaunchOnStartup(missing, false), LaunchOnStartupOutcome::Unchanged);
    EXPECT_EQ(missing.writes + missing.removals, 0);

    FakeRunKey locked;
    locked.present = true;
    locked.removeSucceeds = false;
    EXPECT_EQ(ApplyLaunchOnStartup(locked, false), LaunchOnStartupOutcome::RemoveFailed);
    EXPECT_TRUE(locked.present);
}

} // namespace
} // namespace portmaven::config
