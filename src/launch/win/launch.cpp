#include "launch/win/launch.h"

#include "framework/win/wide_text.h"
#include "launch/command_line.h"

#include <windows.h>
#include <shellapi.h>

#include <cwchar>
#include <string>
#include <vector>

namespace portmaven::win {

namespace {

using LaunchBuffer = wchar_t[launch::kLaunchBufferUnits];

// Copies text into a launch buffer; false when it would not fit whole.
bool CopyToBuffer(LaunchBuffer& buffer, const wchar_t* text) {
    buffer[0] = L'\0';
    if (text == nullptr) {
        return true;
    }
    const std::size_t length = std::wcslen(text);
    if (length >= launch::kLaunchBufferUnits) {
        return false;
    }
    std::wmemcpy(buffer, text, length + 1);
    return true;
}

} // namespace

bool LaunchProgram(const wchar_t* program, const wchar_t* parameters) {
    if (program == nullptr || program[0] == L'\0') {
        return false;
    }
    LaunchBuffer file{};
    LaunchBuffer verb{};
    LaunchBuffer arguments{};
    LaunchBuffer directory{};
    if (!CopyToBuffer(file, program) || !CopyToBuffer(arguments, parameters)) {
        return false;
    }
    SHELLEXECUTEINFOW request{};
    request.cbSize = sizeof(request);
    request.fMask = 0;
    request.hwnd = nullptr;
    request.lpVerb = verb; // empty: the shell's default verb
    request.lpFile = file;
    request.lpParameters = arguments;
    request.lpDirectory = directory;
    request.nShow = SW_SHOW;
    return ::ShellExecuteExW(&request) != FALSE;
}

bool ProgramExistsOnSearchPath(std::u16string_view program) {
    const std::wstring name = ToWide(program);
    std::vector<wchar_t> found(MAX_PATH);
    for (;;) {
        const DWORD length = ::SearchPathW(nullptr, name.c_str(), L".exe",
                                           static_cast<DWORD>(found.size()), found.data(), nullptr);
        if (length == 0) {
            return false;
        }
        if (length < found.size()) {
            break;
        }
        found.resize(length);
    }
    // A folder named like the start of the path is not a program.
    const DWORD attributes = ::GetFileAttributesW(found.data());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool LaunchCommandForPort(std::u16string_view commandLine, const ports::SerialPort& port) {
    const std::optional<launch::ProgramAndParameters> plan =
        launch::PlanLaunch(commandLine, port, ProgramExistsOnSearchPath);
    if (!plan) {
        return false;
    }
    const std::wstring program = ToWide(plan->program);
    const std::wstring parameters = ToWide(plan->parameters);
    return LaunchProgram(program.c_str(), parameters.c_str());
}

} // namespace portmaven::win
