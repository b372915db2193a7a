// Cutting texts to the fixed buffers of the tray icon's fields.
#include "ports/fit_text.h"

#include <gtest/gtest.h>

namespace portmaven::ports {
namespace {

TEST(FitToBuffer, KeepsWhatFitsAndCutsTheRestWithAnEllipsis) {
    // Five units and the terminator fill a buffer of six exactly.
    EXPECT_EQ(FitToBuffer(u"COM12", 6), u"COM12");
    EXPECT_EQ(FitToBuffer(u"COM123", 6), u"COM1\u2026");
    EXPECT_EQ(FitToBuffer(u"", 1), u"");
    EXPECT_EQ(FitToBuffer(u"COM123", kUnlimitedBuffer), u"COM123");
    // Too small for anything but the terminator, or for the ellipsis alone.
    EXPECT_EQ(FitToBuffer(u"COM1", 0), u"");
    EXPECT_EQ(FitToBuffer(u"COM1", 1), u"");
    EXPECT_EQ(FitToBuffer(u"COM1", 2), u"\u2026");
}

TEST(FitToBuffer, NeverSplitsASurrogatePairNorLeavesWhiteSpaceBeforeTheEllipsis) {
    // U+1F50C ELECTRIC PLUG is two units; a buffer of 5 keeps three units before the ellipsis,
    // which would end in the middle of the pair.
    const std::u16string plugged = u"ab\U0001F50Ccd";
    ASSERT_EQ(plugged.size(), 6u);
    EXPECT_EQ(FitToBuffer(plugged, 5), u"ab\u2026");
    // One unit more and the whole pair fits.
    EXPECT_EQ(FitToBuffer(plugged, 6), u"ab\U0001F50C\u2026");

    EXPECT_EQ(FitToBuffer(u"COM3, COM5", 8), u"COM3,\u2026");
    EXPECT_EQ(FitToBuffer(u"Port (COM3)\nPort (COM5)", 14), u"Port (COM3)\u2026");
}

} // namespace
} // namespace portmaven::ports
