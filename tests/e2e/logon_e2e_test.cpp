// Launch at log-on for a user whom the machine-wide key refuses: the per-user value lands in
// the real registry, and started the way a log-on starts a Run value, it runs the program even
// from a folder with blanks, where an unquoted path would run a planted program instead.
#include "config/fake_run_value_store.h"
#include "config/two_scope_run_key.h"
#include "config/win/run_key.h"

#include "harness.h"
#include "recorder_copy.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <string>

namespace portmaven::e2e {
namespace {

std::optional<std::wstring> ReadUserRunValue() {
    wchar_t data[4096] = {};
    DWORD bytes = sizeof data - sizeof(wchar_t);
    if (::RegGetValueW(HKEY_CURRENT_USER, win::kRunKeyPath, win::kRunValueName, RRF_RT_REG_SZ,
                       nullptr, data, &bytes) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return std::wstring(data);
}

TEST(LogOnE2e, PerUserValueStartsTheProgramFromAFolderWithBlanks) {
    const std::optional<std::wstring> saved = ReadUserRunValue();
    win::RegistryRunValue user(HKEY_CURRENT_USER);
    user.Remove();

    TestFolder folder(L"log on");
    const Recorder program(folder.File(L"Portmaven.exe"));
    // Where an unquoted "...\portmaven-e2e-log on-...\Portmaven.exe" is tried first.
    const Recorder planted(TempPath() + L"\\portmaven-e2e-log.exe");
    ASSERT_TRUE(program.Installed() && planted.Installed());

    config::testing::FakeRunValueStore refusing;
    refusing.refusal = config::StoreResult::AccessDenied;
    config::TwoScopeRunKey runKey(refusing, user, U16(program.Path()));
    ASSERT_TRUE(runKey.SetLaunchOnStartup());

    const auto value = ReadUserRunValue();
    ASSERT_TRUE(value) << "no per-user Run value";
    // What the system does with a Run value at log-on: the data is the command line.
    ASSERT_TRUE(RunAndWait(*value, 15000));
    EXPECT_TRUE(program.Arguments())
        << "the program did not start from " << ::testing::PrintToString(*value);
    EXPECT_FALSE(planted.Ran());

    EXPECT_TRUE(runKey.RemoveLaunchOnStartup());
    EXPECT_FALSE(ReadUserRunValue());
    if (saved) {
        user.Write(U16(*saved));
    }
}

} // namespace
} // namespace portmaven::e2e
