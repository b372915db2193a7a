// The Run value against the real registry API (Wine's registry): what is written, how it is
// read back, and which values count as present.
#include "config/win/run_key_win.h"

#include "framework/win/scoped_handle.h"
#include "support/win/application.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace portmaven::win {
namespace {

struct RawValue {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

ScopedRegistryKey OpenRun(REGSAM access) {
    HKEY key = nullptr;
    EXPECT_EQ(::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kRunKeyPath, 0, access, &key), ERROR_SUCCESS);
    return ScopedRegistryKey(key);
}

std::optional<RawValue> ReadValue() {
    const ScopedRegistryKey key = OpenRun(KEY_READ);
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

void WriteValue(DWORD type, const void* data, size_t bytes) {
    const ScopedRegistryKey key = OpenRun(KEY_ALL_ACCESS);
    ASSERT_EQ(::RegSetValueExW(key.Get(), kRunValueName, 0, type, static_cast<const BYTE*>(data),
                               static_cast<DWORD>(bytes)),
              ERROR_SUCCESS);
}

void WriteString(const std::wstring& text) {
    WriteValue(REG_SZ, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
}

std::wstring AsString(const RawValue& value) {
    return {reinterpret_cast<const wchar_t*>(value.data.data()),
            value.data.size() / sizeof(wchar_t)};
}

// Every test starts without the value and leaves the registry as it found it.
class RunKeyTest : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = ReadValue();
        RemoveLaunchOnStartup();
        ASSERT_FALSE(ReadValue());
    }
    void TearDown() override {
        RemoveLaunchOnStartup();
        if (saved_) {
            WriteValue(saved_->type, saved_->data.data(), saved_->data.size());
        }
    }

private:
    std::optional<RawValue> saved_;
};

TEST_F(RunKeyTest, SetWritesTheExecutablePathUnquotedWithItsTerminator) {
    EXPECT_FALSE(IsLaunchOnStartupSet());
    ASSERT_TRUE(SetLaunchOnStartup());

    const auto value = ReadValue();
    ASSERT_TRUE(value);
    EXPECT_EQ(value->type, static_cast<DWORD>(REG_SZ));
    const std::wstring path = ModuleFileName();
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(AsString(*value), path + L'\0');
    EXPECT_NE(path.front(), L'"');
    EXPECT_TRUE(IsLaunchOnStartupSet());
}

TEST_F(RunKeyTest, RemoveDeletesTheValueAndFailsWhenThereIsNone) {
    ASSERT_TRUE(SetLaunchOnStartup());
    EXPECT_TRUE(RemoveLaunchOnStartup());
    EXPECT_FALSE(ReadValue());
    EXPECT_FALSE(IsLaunchOnStartupSet());
    EXPECT_FALSE(RemoveLaunchOnStartup());
}

TEST_F(RunKeyTest, AnyValueThatFitsTheQueryBufferCountsAsPresent) {
    WriteString(L"D:\\elsewhere\\Portmaven.exe");
    EXPECT_TRUE(IsLaunchOnStartupSet()) << "another path still counts";

    const DWORD number = 7;
    WriteValue(REG_DWORD, &number, sizeof number);
    EXPECT_TRUE(IsLaunchOnStartupSet()) << "another type still counts";

    WriteString(std::wstring(511, L'x')); // 1024 bytes with the terminator
    EXPECT_TRUE(IsLaunchOnStartupSet());
}

TEST_F(RunKeyTest, ValueLargerThanTheQueryBufferCountsAsAbsentAndSetReplacesIt) {
    WriteString(std::wstring(512, L'x')); // 1026 bytes
    EXPECT_FALSE(IsLaunchOnStartupSet());
    ASSERT_TRUE(SetLaunchOnStartup());
    EXPECT_EQ(AsString(*ReadValue()), ModuleFileName() + L'\0');
}

TEST_F(RunKeyTest, PathsBeyondMaxPathAreWrittenWhole) {
    std::wstring deep = L"C:\\Program Files";
    while (deep.size() < 400) {
        deep += L"\\a folder with spaces";
    }
    deep += L"\\Portmaven.exe";
    ASSERT_TRUE(WriteLaunchOnStartupValue(deep));
    EXPECT_EQ(AsString(*ReadValue()), deep + L'\0');
    EXPECT_FALSE(WriteLaunchOnStartupValue(L"")) << "an unknown path is not written";
}

} // namespace
} // namespace portmaven::win
