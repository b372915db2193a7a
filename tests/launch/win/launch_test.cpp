// Starting programs through the shell, and the search that decides where an unquoted program
// path with blanks ends.
#include "launch/win/launch.h"
#include "support/win/wait.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace portmaven::win {
namespace {

std::wstring TempFile(const wchar_t* name) {
    wchar_t folder[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, folder);
    std::wstring path = std::wstring(folder) + name;
    ::DeleteFileW(path.c_str());
    return path;
}

// Waits for a file written by a started program and returns its content.
std::string WaitForFile(const std::wstring& path) {
    std::string content;
    test_support::WaitUntil(
        [&] {
            std::ifstream in(std::filesystem::path(path), std::ios::binary);
            content.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
            return !content.empty();
        },
        10000);
    return content;
}

std::string Trimmed(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) {
        text.pop_back();
    }
    return text;
}

TEST(ProgramSearch, FindsProgramsAsTheSystemDoes) {
    EXPECT_TRUE(ProgramExistsOnSearchPath(u"cmd.exe"));
    EXPECT_TRUE(ProgramExistsOnSearchPath(u"cmd")); // ".exe" added
    wchar_t system[MAX_PATH] = {};
    ASSERT_GT(::GetSystemDirectoryW(system, MAX_PATH), 0u);
    const std::wstring full = std::wstring(system) + L"\\cmd.exe";
    EXPECT_TRUE(ProgramExistsOnSearchPath(
        std::u16string_view(reinterpret_cast<const char16_t*>(full.c_str()), full.size())));

    EXPECT_FALSE(ProgramExistsOnSearchPath(u"no_such_program_portmaven"));
    EXPECT_FALSE(ProgramExistsOnSearchPath(uR"(C:\Program)"));
    // A folder is not a program.
    EXPECT_FALSE(ProgramExistsOnSearchPath(uR"(C:\windows)"));
}

TEST(Launch, RefusesWhatItCannotHandWhole) {
    EXPECT_FALSE(LaunchProgram(nullptr, nullptr));
    EXPECT_FALSE(LaunchProgram(L"", L"x"));
    const std::wstring tooLong(1024, L'a');
    EXPECT_FALSE(LaunchProgram(L"cmd.exe", tooLong.c_str()));
    EXPECT_FALSE(LaunchProgram(tooLong.c_str(), nullptr));
    // A port without a name starts nothing.
    EXPECT_FALSE(LaunchCommandForPort(u"cmd.exe /c exit", ports::SerialPort{}));
}

TEST(Launch, StartsTheProgramWithItsParameters) {
    const std::wstring out = TempFile(L"portmaven_launch_direct.txt");
    const std::wstring parameters = L"/c echo launched>" + out;
    ASSERT_TRUE(LaunchProgram(L"cmd.exe", parameters.c_str()));
    EXPECT_EQ(Trimmed(WaitForFile(out)), "launched");
    ::DeleteFileW(out.c_str());
}

TEST(Launch, CommandLineGetsThePortsNameAndNumber) {
    const std::wstring out = TempFile(L"portmaven_launch_port.txt");
    const std::wstring line = L"cmd.exe /c echo %PORT% port %PORTNUM%>" + out;
    ASSERT_TRUE(LaunchCommandForPort(
        std::u16string_view(reinterpret_cast<const char16_t*>(line.c_str()), line.size()),
        ports::SerialPort{u"COM12", u"12", u"Dual (COM9) adapter (COM12)"}));
    EXPECT_EQ(Trimmed(WaitForFile(out)), "COM12 port 12");
    ::DeleteFileW(out.c_str());
}

} // namespace
} // namespace portmaven::win
