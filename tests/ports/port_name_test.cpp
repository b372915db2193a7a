// Which port names name a COM port, the labels built from them, and the port number read
// back out of a label.
#include "ports/port_name.h"

#include <gtest/gtest.h>

#include <vector>

namespace portmaven::ports {
namespace {

std::optional<std::uint32_t> PortNumber(std::u16string_view text, bool isString = true) {
    return PortNumberFromValue({.text = text, .isString = isString});
}

TEST(IsAllDigits, AcceptsOnlyNonEmptyDecimalDigits) {
    EXPECT_TRUE(IsAllDigits(u"0"));
    EXPECT_TRUE(IsAllDigits(u"0123456789"));
    EXPECT_FALSE(IsAllDigits(u""));
    EXPECT_FALSE(IsAllDigits(u"3A"));
    EXPECT_FALSE(IsAllDigits(u" 3"));
    EXPECT_FALSE(IsAllDigits(u"-3"));
    EXPECT_FALSE(IsAllDigits(u"\u0663")); // ARABIC-INDIC DIGIT THREE is not a decimal digit here
}

TEST(PortNumberFromValue, AcceptsComFollowedByDigitsInAnyCase) {
    EXPECT_EQ(PortNumber(u"COM3"), 3u);
    EXPECT_EQ(PortNumber(u"com12"), 12u);
    EXPECT_EQ(PortNumber(u"cOm5"), 5u);
    EXPECT_EQ(PortNumber(u"COM007"), 7u);
    EXPECT_EQ(PortNumber(u"COM0"), 0u);
    EXPECT_EQ(PortNumber(u"COM2147483647"), 2147483647u);
}

TEST(PortNumberFromValue, SkipsEverythingElse) {
    for (std::u16string_view text :
         {u"COM", u"COM3A", u"COM 3", u"LPT1", u"", u"CO", u"XCOM3", u"COM-1", u"COM3 "}) {
        EXPECT_FALSE(PortNumber(text)) << std::string(text.begin(), text.end());
    }
    EXPECT_FALSE(PortNumber(u"COM3", false)) << "a value of another kind names no port";
}

TEST(PortNumberFromValue, SkipsNumbersBeyondAPositive32BitInt) {
    EXPECT_FALSE(PortNumber(u"COM2147483648"));
    EXPECT_FALSE(PortNumber(u"COM4294967299")); // would wrap to 3 in 32 bits
    EXPECT_FALSE(PortNumber(u"COM99999999999999999999"));
    // Leading zeros do not count against the range.
    EXPECT_EQ(PortNumber(u"COM0000000000000000042"), 42u);
}

TEST(FormatPortLabel, UsesDescriptionBlankAndUpperCaseComNumber) {
    EXPECT_EQ(FormatPortLabel(u"USB Serial Port", 3), u"USB Serial Port (COM3)");
    EXPECT_EQ(FormatPortLabel(u"", 5), u" (COM5)");
    EXPECT_EQ(FormatPortLabel(u"Modem", 0), u"Modem (COM0)");
    EXPECT_EQ(FormatPortLabel(u"Big", 2147483647), u"Big (COM2147483647)");
}

TEST(MakePortLabels, KeepsEnumerationOrderAndDuplicates) {
    const std::vector<std::uint32_t> numbers = {12, 7, 12};
    const std::vector<std::u16string> descriptions = {u"B", u"", u"A"};
    EXPECT_EQ(MakePortLabels(numbers, descriptions),
              (std::vector<std::u16string>{u"B (COM12)", u" (COM7)", u"A (COM12)"}));
    EXPECT_TRUE(MakePortLabels({}, {}).empty());
}

TEST(MakeSerialPorts, NamesEachPortByItsNumberBesideItsMenuLabel) {
    // 'com007' in the registry is still COM7 to the user: the name comes from the number.
    const std::vector<std::uint32_t> numbers = {7, 3, 7};
    const std::vector<std::u16string> descriptions = {u"USB Serial Port", u"", u"Modem"};
    EXPECT_EQ(MakeSerialPorts(numbers, descriptions),
              (std::vector<SerialPort>{{u"COM7", u"7", u"USB Serial Port (COM7)"},
                                       {u"COM3", u"3", u" (COM3)"},
                                       {u"COM7", u"7", u"Modem (COM7)"}}));
    EXPECT_TRUE(MakeSerialPorts({}, {}).empty());
}

TEST(PortTextFromLabel, ReadsTheDigitsOfTheLabelsOwnSuffix) {
    EXPECT_EQ(PortTextFromLabel(u"Communications Port (COM1)"), u"1");
    EXPECT_EQ(PortTextFromLabel(u" (COM12)"), u"12");
    EXPECT_EQ(PortTextFromLabel(u"X (COM3)))"), u"3");
    // A description that carries "(COM" itself cannot put its own text in the command line.
    EXPECT_EQ(PortTextFromLabel(u"Evil (COM1 & calc.exe (COM5)"), u"5");
    EXPECT_EQ(PortTextFromLabel(FormatPortLabel(u"Dual (COM9) adapter", 4)), u"4");
}

TEST(PortTextFromLabel, RejectsLabelsWithoutADigitSuffix) {
    EXPECT_FALSE(PortTextFromLabel(u"(COM3)")); // marker first: no description before it
    EXPECT_FALSE(PortTextFromLabel(u"No port here"));
    EXPECT_FALSE(PortTextFromLabel(u"X (COM)"));
    EXPECT_FALSE(PortTextFromLabel(u"X (COM3 & calc)"));
    EXPECT_FALSE(PortTextFromLabel(u"X (com3)")); // the label's marker is upper case
    EXPECT_FALSE(PortTextFromLabel(u""));
}

} // namespace
} // namespace portmaven::ports
