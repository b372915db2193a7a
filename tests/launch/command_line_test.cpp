// From a command line and a port to the program and parameters handed to the shell.
#include "launch/command_line.h"

#include "ports/port_name.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <span>
#include <string>

namespace portmaven::launch {
namespace {

// A program search that knows a fixed set of programs and remembers what it was asked.
struct FakePrograms {
    std::set<std::u16string, std::less<>> existing;
    std::vector<std::u16string> asked;

    ProgramExists Search() {
        return [this](std::u16string_view program) {
            asked.emplace_back(program);
            return existing.contains(program);
        };
    }
};

// The port the enumeration makes of a COM port number and a device description.
ports::SerialPort ComPort(std::uint32_t number, std::u16string_view description = u"Port") {
    const std::u16string descriptions[] = {std::u16string(description)};
    return ports::MakeSerialPorts(std::span(&number, 1), descriptions).front();
}

void ExpectSplit(const ProgramAndParameters& split, std::u16string_view program,
                 std::u16string_view parameters) {
    EXPECT_EQ(split.program, program);
    EXPECT_EQ(split.parameters, parameters);
}

TEST(ReplacePortNumber, ReplacesEveryExactTokenOnce) {
    EXPECT_EQ(ReplacePortNumber(u"a %PORTNUM% b %PORTNUM%%PORTNUM%", u"12"), u"a 12 b 1212");
    EXPECT_EQ(ReplacePortNumber(u"x %portnum% %PortNum%", u"3"), u"x %portnum% %PortNum%");
    EXPECT_EQ(ReplacePortNumber(u"no token here", u"3"), u"no token here");
    EXPECT_EQ(ReplacePortNumber(u"%PORTNUM", u"3"), u"%PORTNUM");
    EXPECT_EQ(ReplacePortNumber(u"", u"3"), u"");
    // Inserted text is never searched again.
    EXPECT_EQ(ReplacePortNumber(u"%PORTNUM%", u"%PORTNUM%"), u"%PORTNUM%");
    EXPECT_EQ(ReplacePortNumber(u"%%PORTNUM%PORTNUM%", u"7"), u"%7PORTNUM%");
}

TEST(SplitCommandLine, QuotedProgramTakesTheRestAsParameters) {
    FakePrograms programs;
    ExpectSplit(SplitCommandLine(
                    uR"("C:\Program Files\PuTTY\putty.exe" -serial COM3 -sercfg 115200,8,n,1,N)",
                    programs.Search()),
                uR"(C:\Program Files\PuTTY\putty.exe)", u"-serial COM3 -sercfg 115200,8,n,1,N");
    ExpectSplit(SplitCommandLine(uR"("C:\a b\t.exe"   /C=3  )", programs.Search()),
                uR"(C:\a b\t.exe)", u"/C=3");
    ExpectSplit(SplitCommandLine(uR"("C:\a b\t.exe")", programs.Search()), uR"(C:\a b\t.exe)", u"");
    ExpectSplit(SplitCommandLine(u"\"t.exe\"\u00A0/C=3\u3000", programs.Search()), u"t.exe",
                u"/C=3");
    // A quoted argument stays quoted for the program to read.
    ExpectSplit(SplitCommandLine(uR"("t.exe" "a b" c)", programs.Search()), u"t.exe",
                uR"("a b" c)");
    // An unterminated quote runs to the end.
    ExpectSplit(SplitCommandLine(uR"("C:\a b\t.exe )", programs.Search()), uR"(C:\a b\t.exe)", u"");
    ExpectSplit(SplitCommandLine(uR"("" x)", programs.Search()), u"", u"x");
    EXPECT_TRUE(programs.asked.empty()) << "a quoted path needs no search";
}

TEST(SplitCommandLine, UnquotedPathResolvesToTheShortestExistingPrefix) {
    FakePrograms programs;
    programs.existing = {uR"(C:\Program Files\TTERMPRO\ttermpro.exe)", u"putty.exe"};

    ExpectSplit(
        SplitCommandLine(uR"(C:\Program Files\TTERMPRO\ttermpro.exe /C=1)", programs.Search()),
        uR"(C:\Program Files\TTERMPRO\ttermpro.exe)", u"/C=1");
    EXPECT_EQ(programs.asked, (std::vector<std::u16string>{
                                  uR"(C:\Program)", uR"(C:\Program Files\TTERMPRO\ttermpro.exe)"}));

    ExpectSplit(
        SplitCommandLine(u"putty.exe -serial COM3 -sercfg 115200,8,n,1,N", programs.Search()),
        u"putty.exe", u"-serial COM3 -sercfg 115200,8,n,1,N");
    // Runs of blanks between program and parameters.
    ExpectSplit(SplitCommandLine(u"putty.exe   -load  x ", programs.Search()), u"putty.exe",
                u"-load  x");
}

TEST(SplitCommandLine, WholeLineIsTheLastCandidate) {
    FakePrograms programs;
    programs.existing = {uR"(C:\My Tools\term.exe)"};
    ExpectSplit(SplitCommandLine(uR"(C:\My Tools\term.exe)", programs.Search()),
                uR"(C:\My Tools\term.exe)", u"");
}

TEST(SplitCommandLine, LineWithoutBlankIsAProgramWithoutParameters) {
    FakePrograms programs;
    ExpectSplit(SplitCommandLine(u"notepad.exe", programs.Search()), u"notepad.exe", u"");
    ExpectSplit(SplitCommandLine(u"", programs.Search()), u"", u"");
}

TEST(SplitCommandLine, FallsBackToTheLastBlankWhenNothingResolves) {
    FakePrograms programs;
    ExpectSplit(SplitCommandLine(u"tool.exe -a 4 -b", programs.Search()), u"tool.exe -a 4", u"-b");
    EXPECT_EQ(programs.asked, (std::vector<std::u16string>{u"tool.exe", u"tool.exe -a",
                                                           u"tool.exe -a 4", u"tool.exe -a 4 -b"}));
    ExpectSplit(SplitCommandLine(u"a.exe  \t x\t", programs.Search()), u"a.exe", u"x");
    // A blank only at the start leaves nothing to start.
    ExpectSplit(SplitCommandLine(u" notepad.exe", programs.Search()), u"", u"");
    // No search at all behaves like a search that finds nothing.
    ExpectSplit(SplitCommandLine(u"x y z", ProgramExists{}), u"x y", u"z");
}

TEST(PlanLaunch, DefaultCommandUnderComOne) {
    FakePrograms programs;
    programs.existing = {uR"(C:\Program Files\TTERMPRO\ttermpro.exe)"};
    const auto plan = PlanLaunch(uR"(C:\Program Files\TTERMPRO\ttermpro.exe /C=%PORTNUM%)",
                                 ComPort(1, u"Communications Port"), programs.Search());
    ASSERT_TRUE(plan);
    ExpectSplit(*plan, uR"(C:\Program Files\TTERMPRO\ttermpro.exe)", u"/C=1");
}

TEST(PlanLaunch, SubstitutesThePortsNameAndNumber) {
    FakePrograms programs;
    programs.existing = {u"tool.exe"};
    const auto plan = PlanLaunch(u"tool.exe -p %PORTNUM% -q COM%PORTNUM% -s %PORT%",
                                 ComPort(12, u"Dual (COM9) adapter"), programs.Search());
    ASSERT_TRUE(plan);
    ExpectSplit(*plan, u"tool.exe", u"-p 12 -q COM12 -s COM12");
    // A line without the token runs unchanged.
    const auto unchanged = PlanLaunch(u"tool.exe -x", ComPort(3), programs.Search());
    ASSERT_TRUE(unchanged);
    ExpectSplit(*unchanged, u"tool.exe", u"-x");
}

// The command line with the port's words in place, or a mark where it would not fit.
std::u16string Substituted(std::u16string_view line, const ports::SerialPort& port) {
    return SubstituteCommandLine(line, port).value_or(u"<does not fit>");
}

ports::SerialPort Named(std::u16string_view name, std::u16string_view number) {
    return {.name = std::u16string(name), .number = std::u16string(number), .label = u"x"};
}

TEST(SubstituteCommandLine, NameAndNumberSideBySide) {
    EXPECT_EQ(Substituted(u"tio %PORT% # %PORTNUM% %PORT%", Named(u"/dev/ttyUSB10", u"10")),
              u"tio /dev/ttyUSB10 # 10 /dev/ttyUSB10");
    // Exact case only, and neither token is found in what was inserted or across a boundary.
    EXPECT_EQ(Substituted(u"%port% %Port% %PORT", Named(u"COM5", u"5")), u"%port% %Port% %PORT");
    EXPECT_EQ(Substituted(u"%PORT%NUM%", Named(u"A", u"1")), u"ANUM%");
    EXPECT_EQ(Substituted(u"%PORT%PORTNUM%", Named(u"%PORT", u"9")), u"%PORTPORTNUM%");
    EXPECT_EQ(Substituted(u"%%PORTNUM%%PORT%%", Named(u"%PORTNUM%", u"%PORT%")),
              u"%%PORT%%PORTNUM%%");
}

TEST(SubstituteCommandLine, TheDevicesWordsUnknownOnesEmptyWithinTheBuffers) {
    ports::SerialPort board = Named(u"/dev/ttyUSB0", u"0");
    board.device = {.vendorId = u"0403", .productId = u"6001", .serial = u"A50285BI"};
    board.launch.baud = 921600;
    EXPECT_EQ(Substituted(u"picocom -b %BAUD% %PORT%", board), u"picocom -b 921600 /dev/ttyUSB0");
    EXPECT_EQ(Substituted(uR"(openocd -c "adapter serial %SERIAL%" %VID%:%PID%%BAUD)", board),
              uR"(openocd -c "adapter serial A50285BI" 0403:6001%BAUD)");
    EXPECT_EQ(Substituted(u"%baud% %Serial% %vid% %PID", board), u"%baud% %Serial% %vid% %PID");
    // A serial number that looks like a word stays as the device gave it.
    board.device.serial = u"%BAUD%%PORT%";
    EXPECT_EQ(Substituted(u"%SERIAL%|%%SERIAL%%", board), u"%BAUD%%PORT%|%%BAUD%%PORT%%");

    // A port the system knows nothing about: its words are empty, its speed the default.
    const ports::SerialPort plain = Named(u"COM1", u"1");
    EXPECT_EQ(Substituted(u"[%SERIAL%][%VID%:%PID%] %BAUD%", plain), u"[][:] 115200");

    // What the words become counts against the launch buffers, and nothing is cut to fit.
    board.device.serial = std::u16string(8, u's');
    const std::u16string line = std::u16string(1015, u'a') + u"%SERIAL%";
    EXPECT_EQ(Substituted(line, board).size(), 1023u);
    board.device.serial += u's';
    EXPECT_EQ(Substituted(line, board), u"<does not fit>");
}

TEST(PlanLaunch, RefusesWhatCannotBeStartedFaithfully) {
    FakePrograms programs;
    programs.existing = {u"tool.exe"};
    EXPECT_FALSE(PlanLaunch(u"tool.exe %PORTNUM%", ports::SerialPort{}, programs.Search()));
    EXPECT_FALSE(PlanLaunch(u" tool.exe", ComPort(3), programs.Search()));
    EXPECT_FALSE(PlanLaunch(u"", ComPort(3), programs.Search()));

    // A 1023-unit command line (the most a record holds) whose token becomes a 9-digit port
    // number still fits the launch buffers; a 10-digit one makes it 1024 units, and nothing
    // is cut to fit.
    const std::u16string head = u"tool.exe ";
    const std::u16string line = head + std::u16string(1023 - head.size() - 9, u'a') + u"%PORTNUM%";
    ASSERT_EQ(line.size(), 1023u);
    const auto longest = PlanLaunch(line, ComPort(123456789), programs.Search());
    ASSERT_TRUE(longest);
    EXPECT_EQ(longest->program, u"tool.exe");
    EXPECT_EQ(longest->parameters.size(), 1023u - head.size());
    EXPECT_FALSE(PlanLaunch(line, ComPort(1234567890), programs.Search()));
}

} // namespace
} // namespace portmaven::launch
