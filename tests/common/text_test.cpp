// The shared text helpers: one meaning of white space and of "the same word" for the Configure
// dialog's names and captions, the link target and the command-line split.
#include "common/text.h"

#include <gtest/gtest.h>

namespace portmaven::common {
namespace {

TEST(TrimWhiteSpace, KeepsInnerBlanksAndNonAsciiText) {
    EXPECT_EQ(TrimWhiteSpace(u""), u"");
    EXPECT_EQ(TrimWhiteSpace(u"\v\f"), u"");
    EXPECT_EQ(TrimWhiteSpace(u"a"), u"a");
    EXPECT_EQ(TrimWhiteSpace(u"  \u00e9t\u00e9 x  "), u"\u00e9t\u00e9 x");
}

TEST(TrimWhiteSpace, RemovesUnicodeSpacesButNotLookAlikes) {
    EXPECT_EQ(TrimWhiteSpace(u"\u00A0\u3000Tera Term\u2003\u202F"), u"Tera Term");
    EXPECT_EQ(TrimWhiteSpace(u"\u0085\u2028x\u2029\u205F\u1680"), u"x");
    // Zero-width space, byte-order mark and a plain letter are text, not space.
    EXPECT_EQ(TrimWhiteSpace(u"\u200Bx\uFEFF"), u"\u200Bx\uFEFF");
    EXPECT_EQ(TrimTrailingWhiteSpace(u" \tx \u00A0\r\n"), u" \tx");
}

TEST(IgnoringAsciiCase, FoldsOnlyAsciiLetters) {
    EXPECT_TRUE(EqualsIgnoringAsciiCase(u"eDiT", u"Edit"));
    EXPECT_FALSE(EqualsIgnoringAsciiCase(u"Edit", u"Edit "));
    EXPECT_FALSE(EqualsIgnoringAsciiCase(u"\u00C9dit", u"\u00E9dit"));
    // '@' and '`' sit next to 'A' and 'a'; folding must not make them letters.
    EXPECT_FALSE(EqualsIgnoringAsciiCase(u"@", u"`"));
    EXPECT_FALSE(EqualsIgnoringAsciiCase(u"[", u"{"));

    EXPECT_TRUE(StartsWithIgnoringAsciiCase(u"com12", u"COM"));
    EXPECT_TRUE(StartsWithIgnoringAsciiCase(u"COM", u"COM"));
    EXPECT_FALSE(StartsWithIgnoringAsciiCase(u"CO", u"COM"));
    EXPECT_FALSE(StartsWithIgnoringAsciiCase(u"LPT1", u"COM"));
}

} // namespace
} // namespace portmaven::common
