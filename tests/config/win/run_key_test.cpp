// The Run value against the real registry API (Wine's registry): both copies, what is written,
// which values count as present and that every one can be cleared.
#include "config/win/run_key.h"

#include "config/fake_run_value_store.h"
#include "framework/win/scoped_handle.h"
#include "framework/win/wide_text.h"
#include "framework/win/application.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace portmaven::win {
namespace {

using config::StoreResult;

struct RawValue {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

ScopedRegistryKey OpenRun(HKEY root, REGSAM access) {
    HKEY key = nullptr;
    EXPECT_EQ(::RegCreateKeyExW(root, kRunKeyPath, 0, nullptr, 0, access, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    return ScopedRegistryKey(key);
}

std::optional<RawValue> ReadValue(HKEY root) {
    const ScopedRegistryKey key = OpenRun(root, KEY_READ);
    DWORD type = 0;
    DWORD size = 0;
    if (::RegQueryValueExW(key.Get(), kRunValueName, nullptr, &type, nullptr, &size) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    RawValue value{type, std::vector<BYTE>(size)};
    EXPECT_EQ(::RegQueryValueExW(key.Get(), kRunValueName, nullptr, &value.type, value.data.data(),
                                 &size),
              ERROR_SUCCESS);
    value.data.resize(size);
    return value;
}

void WriteValue(HKEY root, DWORD type, const void* data, size_t bytes) {
    const ScopedRegistryKey key = OpenRun(root, KEY_ALL_ACCESS);
    ASSERT_EQ(::RegSetValueExW(key.Get(), kRunValueName, 0, type, static_cast<const BYTE*>(data),
                               static_cast<DWORD>(bytes)),
              ERROR_SUCCESS);
}

void DeleteValue(HKEY root) {
    const ScopedRegistryKey key = OpenRun(root, KEY_ALL_ACCESS);
    ::RegDeleteValueW(key.Get(), kRunValueName);
}

std::wstring AsString(const RawValue& value) {
    return {reinterpret_cast<const wchar_t*>(value.data.data()),
            value.data.size() / sizeof(wchar_t)};
}

// A path whose quoted value is far beyond a 1024-byte buffer.
std::wstring DeepPath() {
    std::wstring deep = L"C:\\Users\\A B\\AppData\\Local\\Programs";
    while (deep.size() < 700) {
        deep += L"\\a folder with spaces";
    }
    return deep + L"\\Portmaven.exe";
}

// Every test starts without either value and leaves the registry as it found it.
class RunKeyTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const HKEY root : kRoots) {
            saved_.push_back(ReadValue(root));
            DeleteValue(root);
            ASSERT_FALSE(ReadValue(root));
        }
    }
    void TearDown() override {
        for (size_t i = 0; i < kRoots.size(); ++i) {
            DeleteValue(kRoots[i]);
            if (saved_[i]) {
                WriteValue(kRoots[i], saved_[i]->type, saved_[i]->data.data(),
                           saved_[i]->data.size());
            }
        }
    }

    RegistryRunValue machine_{HKEY_LOCAL_MACHINE};
    RegistryRunValue user_{HKEY_CURRENT_USER};

private:
    static inline const std::vector<HKEY> kRoots{HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER};
    std::vector<std::optional<RawValue>> saved_;
};

TEST_F(RunKeyTest, WhoMayWriteTheMachineKeyGetsTheQuotedExecutablePathThere) {
    RegistryRunKey runKey; // Wine's user may write HKEY_LOCAL_MACHINE
    EXPECT_FALSE(runKey.IsLaunchOnStartupSet());
    ASSERT_TRUE(runKey.SetLaunchOnStartup());

    const auto value = ReadValue(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(value);
    EXPECT_EQ(value->type, static_cast<DWORD>(REG_SZ));
    const std::wstring path = ModuleFileName();
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(AsString(*value), L'"' + path + L"\"" + L'\0');
    EXPECT_FALSE(ReadValue(HKEY_CURRENT_USER)) << "one copy is enough";
    EXPECT_TRUE(runKey.IsLaunchOnStartupSet());

    EXPECT_TRUE(runKey.RemoveLaunchOnStartup());
    EXPECT_FALSE(ReadValue(HKEY_LOCAL_MACHINE));
    EXPECT_FALSE(runKey.IsLaunchOnStartupSet());
    EXPECT_FALSE(runKey.RemoveLaunchOnStartup()) << "nothing left to remove";
}

TEST_F(RunKeyTest, RefusedMachineKeyLeadsToAPerUserValueThatCanBeCleared) {
    config::testing::FakeRunValueStore refusing;
    refusing.refusal = StoreResult::AccessDenied;
    const std::wstring deep = DeepPath();
    config::TwoScopeRunKey runKey(refusing, user_, ToUtf16(deep));

    ASSERT_TRUE(runKey.SetLaunchOnStartup());
    const auto value = ReadValue(HKEY_CURRENT_USER);
    ASSERT_TRUE(value);
    EXPECT_EQ(value->type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(AsString(*value), L'"' + deep + L"\"" + L'\0');
    EXPECT_GT(value->data.size(), 1024U);
    EXPECT_FALSE(ReadValue(HKEY_LOCAL_MACHINE));

    EXPECT_TRUE(runKey.IsLaunchOnStartupSet()) << "a value over 1024 bytes is still seen";
    EXPECT_TRUE(runKey.RemoveLaunchOnStartup());
    EXPECT_FALSE(ReadValue(HKEY_CURRENT_USER));
    EXPECT_FALSE(runKey.IsLaunchOnStartupSet());
}

TEST_F(RunKeyTest, AnyValueOfAnyLengthCountsAsPresentInEitherKey) {
    for (RegistryRunValue* store : {&machine_, &user_}) {
        const HKEY root = store == &machine_ ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
        EXPECT_FALSE(store->Exists());
        const DWORD number = 7;
        WriteValue(root, REG_DWORD, &number, sizeof number);
        EXPECT_TRUE(store->Exists()) << "another type still counts";
        const std::wstring huge(5000, L'x');
        WriteValue(root, REG_SZ, huge.c_str(), (huge.size() + 1) * sizeof(wchar_t));
        EXPECT_TRUE(store->Exists()) << "a value of 10 kB still counts";
        EXPECT_EQ(store->Remove(), StoreResult::Done);
        EXPECT_FALSE(store->Exists());
        EXPECT_EQ(store->Remove(), StoreResult::Missing);
    }
}

TEST_F(RunKeyTest, BothCopiesAreRemovedWhenUnchecking) {
    ASSERT_EQ(machine_.Write(u"\"D:\\old\\Portmaven.exe\""), StoreResult::Done);
    ASSERT_EQ(user_.Write(u"\"E:\\other\\Portmaven.exe\""), StoreResult::Done);
    RegistryRunKey runKey;
    EXPECT_TRUE(runKey.IsLaunchOnStartupSet());
    EXPECT_TRUE(runKey.RemoveLaunchOnStartup());
    EXPECT_FALSE(ReadValue(HKEY_LOCAL_MACHINE));
    EXPECT_FALSE(ReadValue(HKEY_CURRENT_USER));
}

} // namespace
} // namespace portmaven::win
