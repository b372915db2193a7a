// Launch at log-on for a user who may not change the machine-wide value, for one who may, and
// for copies left by either, through what the Configure dialog applies at Close.
#include "config/launch_at_logon.h"
#include "config/two_scope_run_key.h"

#include "config/fake_run_value_store.h"

#include <gtest/gtest.h>

namespace portmaven::config {
namespace {

using testing::FakeRunValueStore;

constexpr char16_t kExe[] = u"C:\\Users\\A B\\AppData\\Local\\Programs\\Portmaven\\Portmaven.exe";
constexpr char16_t kQuotedExe[] =
    u"\"C:\\Users\\A B\\AppData\\Local\\Programs\\Portmaven\\Portmaven.exe\"";

class TwoScopeRunKeyTest : public ::testing::Test {
protected:
    FakeRunValueStore machine;
    FakeRunValueStore user;
    TwoScopeRunKey runKey{machine, user, kExe};
};

TEST_F(TwoScopeRunKeyTest, StandardUserGetsAQuotedPerUserValueAndCanClearIt) {
    machine.refusal = StoreResult::AccessDenied;
    EXPECT_FALSE(runKey.IsLaunchOnStartupSet());

    EXPECT_EQ(ApplyLaunchOnStartup(runKey, true), LaunchOnStartupOutcome::Written);
    EXPECT_EQ(user.value, kQuotedExe);
    EXPECT_FALSE(machine.value);
    EXPECT_TRUE(runKey.IsLaunchOnStartupSet()) << "the dialog opens checked next time";

    EXPECT_EQ(ApplyLaunchOnStartup(runKey, false), LaunchOnStartupOutcome::Removed);
    EXPECT_FALSE(user.value);
    EXPECT_FALSE(runKey.IsLaunchOnStartupSet());
}

TEST_F(TwoScopeRunKeyTest, WhoMayWriteTheMachineValueGetsOnlyThat) {
    EXPECT_EQ(ApplyLaunchOnStartup(runKey, true), LaunchOnStartupOutcome::Written);
    EXPECT_EQ(machine.value, kQuotedExe);
    EXPECT_FALSE(user.value);
}

TEST_F(TwoScopeRunKeyTest, OnlyARefusalFallsBackToTheUserValue) {
    machine.refusal = StoreResult::Failed;
    EXPECT_EQ(ApplyLaunchOnStartup(runKey, true), LaunchOnStartupOutcome::WriteFailed);
    EXPECT_FALSE(user.value);

    machine.refusal = StoreResult::AccessDenied;
    user.refusal = StoreResult::Failed;
    EXPECT_EQ(ApplyLaunchOnStartup(runKey, true), LaunchOnStartupOutcome::WriteFailed);

    FakeRunValueStore noMachine;
    FakeRunValueStore noUser;
    TwoScopeRunKey unknownPath(noMachine, noUser, u"");
    EXPECT_FALSE(unknownPath.SetLaunchOnStartup()) << "nothing a log-on could start";
    EXPECT_FALSE(noMachine.value || noUser.value);
}

TEST_F(TwoScopeRunKeyTest, EitherCopyCountsAsSetWhateverItHolds) {
    user.value = std::u16string(4000, u'x'); // far beyond any query buffer
    EXPECT_TRUE(runKey.IsLaunchOnStartupSet());
    user.value.reset();
    machine.value = u"D:\\elsewhere\\Portmaven.exe";
    EXPECT_TRUE(runKey.IsLaunchOnStartupSet());
}

TEST_F(TwoScopeRunKeyTest, UncheckingRemovesEveryCopyItMay) {
    machine.value = u"old";
    user.value = std::u16string(4000, u'x');
    EXPECT_EQ(ApplyLaunchOnStartup(runKey, false), LaunchOnStartupOutcome::Removed);
    EXPECT_FALSE(machine.value || user.value);
}

TEST_F(TwoScopeRunKeyTest, AMachineCopyOnlyAnAdministratorCanRemoveIsReported) {
    machine.value = u"set by an administrator";
    user.value = kQuotedExe;
    machine.refusal = StoreResult::AccessDenied;
    EXPECT_EQ(ApplyLaunchOnStartup(runKey, false), LaunchOnStartupOutcome::RemoveFailed);
    EXPECT_FALSE(user.value) << "the user's own copy goes all the same";
    EXPECT_TRUE(machine.value);

    // A refused machine key with no value in it stands in the way of nothing.
    machine.value.reset();
    user.value = kQuotedExe;
    EXPECT_EQ(ApplyLaunchOnStartup(runKey, false), LaunchOnStartupOutcome::Removed);
}

} // namespace
} // namespace portmaven::config
