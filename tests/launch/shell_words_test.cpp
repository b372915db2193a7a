// Command lines split into words as a POSIX shell splits them, with nothing expanded.
#include "launch/shell_words.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace portmaven::launch {
namespace {

using Words = std::vector<std::u16string>;

TEST(SplitShellWords, QuotesAndBackslashesAsTheShellReadsThem) {
    EXPECT_EQ(SplitShellWords(u"  picocom\t-b 115200\n/dev/ttyUSB0  "),
              (Words{u"picocom", u"-b", u"115200", u"/dev/ttyUSB0"}));
    // Quotes keep blanks and join the word around them; "" and '' are empty words.
    EXPECT_EQ(SplitShellWords(uR"("/opt/My Tools/term" -t 'Port "A"' x"y z"'w' "" '')"),
              (Words{u"/opt/My Tools/term", u"-t", u"Port \"A\"", u"xy zw", u"", u""}));
    // Outside quotes a backslash keeps any next character; a backslash-newline joins lines.
    EXPECT_EQ(SplitShellWords(uR"(a\ b \'c\' \\ d\)"
                              u"\ne"),
              (Words{u"a b", u"'c'", u"\\", u"de"}));
    // In double quotes only $ ` " \ and newline are escaped; in single quotes nothing is.
    EXPECT_EQ(SplitShellWords(uR"("\$ \` \" \\ \n \a" '\n \' x)"),
              (Words{uR"($ ` " \ \n \a)", uR"(\n \)", u"x"}));
    // Nothing is expanded.
    EXPECT_EQ(SplitShellWords(u"echo $HOME ~ * $(id) `id` a;b|c"),
              (Words{u"echo", u"$HOME", u"~", u"*", u"$(id)", u"`id`", u"a;b|c"}));
}

TEST(SplitShellWords, NoProgramWhenTheLineIsEmptyOrBroken) {
    EXPECT_EQ(SplitShellWords(u""), Words{});
    EXPECT_EQ(SplitShellWords(u" \t\n "), Words{});
    EXPECT_FALSE(SplitShellWords(u"term 'unterminated"));
    EXPECT_FALSE(SplitShellWords(u"term \"unterminated \\\""));
    EXPECT_FALSE(SplitShellWords(u"term trailing\\"));
}

} // namespace
} // namespace portmaven::launch
