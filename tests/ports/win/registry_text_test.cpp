// "PortName" values as the registry returns them: bytes and a value type, read into the text
// the portable port-name rules take.
#include "ports/win/registry_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace portmaven::win {
namespace {

// The bytes the registry returns for a string value, terminator included.
std::vector<std::byte> ValueBytes(std::u16string_view text, bool withTerminator = true) {
    std::vector<std::byte> bytes((text.size() + (withTerminator ? 1 : 0)) * sizeof(char16_t));
    std::memcpy(bytes.data(), text.data(), text.size() * sizeof(char16_t));
    return bytes;
}

std::optional<std::uint32_t> PortNumber(DWORD type, std::span<const std::byte> data) {
    return ports::PortNumberFromValue(PortNameFromRegistry(type, data));
}

TEST(RegistryTextWin, OnlyAStringValueNamesAPort) {
    EXPECT_EQ(PortNumber(REG_SZ, ValueBytes(u"COM3")), 3u);
    EXPECT_FALSE(PortNumber(REG_EXPAND_SZ, ValueBytes(u"COM3")));
    EXPECT_FALSE(PortNumber(REG_MULTI_SZ, ValueBytes(u"COM3")));
    EXPECT_FALSE(PortNumber(0, ValueBytes(u"COM3")));
}

TEST(RegistryTextWin, ReadsAValueWithoutTerminatorOnlyAsFarAsTheData) {
    // A 512-byte value that fills the read buffer, with no NUL: "COM", zeros, "42". The digit
    // that follows in memory must not be read as part of it.
    std::u16string buffer = u"COM" + std::u16string(251, u'0') + u"42";
    ASSERT_EQ(buffer.size(), 256u);
    buffer += u"9";
    const auto* bytes = reinterpret_cast<const std::byte*>(buffer.data());
    EXPECT_EQ(PortNumber(REG_SZ, {bytes, 512}), 42u);
    // The same bytes with a letter behind them: still read only up to the data returned.
    buffer.back() = u'X';
    EXPECT_EQ(PortNumber(REG_SZ, {bytes, 512}), 42u);
    // The text stops at its first NUL even when more data follows.
    const std::u16string embedded(u"COM4\0COM5X", 10);
    EXPECT_EQ(PortNumber(REG_SZ, ValueBytes(embedded, false)), 4u);
    // An odd trailing byte is not half a digit.
    std::vector<std::byte> odd = ValueBytes(u"COM8", false);
    odd.push_back(std::byte{'9'});
    EXPECT_EQ(PortNumber(REG_SZ, odd), 8u);
    EXPECT_FALSE(PortNumber(REG_SZ, {}));
    EXPECT_EQ(RegistryText(ValueBytes(u"USB Serial Port")), u"USB Serial Port");
}

} // namespace
} // namespace portmaven::win
