// The default "Connect" command of a Unix desktop: a terminal with the first serial terminal
// program found on the path.
#include "launch/default_connect.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace portmaven::launch {
namespace {

TEST(DefaultConnect, FirstSerialTerminalOnThePath) {
    const auto onPath = [](std::set<std::u16string> programs) {
        return [programs](std::u16string_view name) {
            return programs.contains(std::u16string(name));
        };
    };
    EXPECT_EQ(DefaultConnectCommandLine(onPath({u"screen", u"minicom", u"tio", u"picocom"})),
              u"x-terminal-emulator -e picocom -b %BAUD% %PORT%");
    EXPECT_EQ(DefaultConnectCommandLine(onPath({u"screen", u"minicom", u"tio"})),
              u"x-terminal-emulator -e tio -b %BAUD% %PORT%");
    EXPECT_EQ(DefaultConnectCommandLine(onPath({u"screen", u"minicom"})),
              u"x-terminal-emulator -e minicom -D %PORT% -b %BAUD%");
    EXPECT_EQ(DefaultConnectCommandLine(onPath({u"screen"})),
              u"x-terminal-emulator -e screen %PORT% %BAUD%");
    EXPECT_EQ(DefaultConnectCommandLine(onPath({})),
              u"x-terminal-emulator -e picocom -b %BAUD% %PORT%");
}

} // namespace
} // namespace portmaven::launch
