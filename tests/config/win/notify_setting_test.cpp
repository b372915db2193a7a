// The notices' switch against the real registry API (Wine's registry): where it is stored,
// what a missing or foreign value means, and that the key is created on first write.
#include "config/win/notify_setting.h"

#include "framework/win/scoped_handle.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <string>

namespace portmaven::win {
namespace {

std::optional<DWORD> StoredDword() {
    DWORD value = 0;
    DWORD bytes = sizeof(value);
    DWORD type = 0;
    if (::RegGetValueW(HKEY_CURRENT_USER, kSettingsKeyPath, kNotifyPortChangesValue, RRF_RT_ANY,
                       &type, &value, &bytes) != ERROR_SUCCESS ||
        type != REG_DWORD) {
        return std::nullopt;
    }
    return value;
}

void Store(DWORD type, const void* data, DWORD bytes) {
    HKEY rawKey = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKeyPath, 0, nullptr, 0, KEY_SET_VALUE,
                                nullptr, &rawKey, nullptr),
              ERROR_SUCCESS);
    const ScopedRegistryKey key(rawKey);
    ASSERT_EQ(::RegSetValueExW(key.Get(), kNotifyPortChangesValue, 0, type,
                               static_cast<const BYTE*>(data), bytes),
              ERROR_SUCCESS);
}

class NotifySettingWinTest : public ::testing::Test {
protected:
    // Every test starts without the program's key, as on a machine it never ran on.
    void SetUp() override { RemoveKey(); }
    void TearDown() override { RemoveKey(); }
    static void RemoveKey() { ::RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKeyPath); }

    RegistryNotifySetting setting;
};

TEST_F(NotifySettingWinTest, MissingKeyMeansOnAndTheFirstWriteCreatesIt) {
    EXPECT_TRUE(setting.IsEnabled());
    EXPECT_EQ(StoredDword(), std::nullopt);

    ASSERT_TRUE(setting.SetEnabled(false));
    EXPECT_EQ(StoredDword(), DWORD{0});
    EXPECT_FALSE(setting.IsEnabled());

    ASSERT_TRUE(setting.SetEnabled(true));
    EXPECT_EQ(StoredDword(), DWORD{1});
    EXPECT_TRUE(setting.IsEnabled());
}

TEST_F(NotifySettingWinTest, OnlyADwordOfZeroTurnsTheNoticesOff) {
    const DWORD seven = 7;
    Store(REG_DWORD, &seven, sizeof(seven));
    EXPECT_TRUE(setting.IsEnabled());

    // Someone wrote the value by hand with the wrong type: it is not the program's, so it
    // does not count.
    const std::wstring zeroText = L"0";
    Store(REG_SZ, zeroText.c_str(), static_cast<DWORD>((zeroText.size() + 1) * sizeof(wchar_t)));
    EXPECT_TRUE(setting.IsEnabled());

    const unsigned char shortZero[2] = {0, 0};
    Store(REG_BINARY, shortZero, sizeof(shortZero));
    EXPECT_TRUE(setting.IsEnabled());

    const DWORD zero = 0;
    Store(REG_DWORD, &zero, sizeof(zero));
    EXPECT_FALSE(setting.IsEnabled());
}

} // namespace
} // namespace portmaven::win
