#include "launch/win/launch.h"

#include "framework/win/scoped_handle.h"
#include "framework/win/wide_text.h"
#include "launch/command_line.h"

#include <windows.h>
#include <shellapi.h>

#include <cwchar>
#include <memory>
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

// A process the shell started, followed through its handle.
class ShellProcess final : public launch::StartedProcess {
public:
    explicit ShellProcess(HANDLE process) noexcept : process_(process) {}
    bool IsRunning() override { return ::WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT; }

private:
    ScopedKernelHandle process_;
};

} // namespace

launch::LaunchResult StartProgram(const wchar_t* program, const wchar_t* parameters,
                                  ShellErrors errors) {
    if (program == nullptr || program[0] == L'\0') {
        return {};
    }
    LaunchBuffer file{};
    LaunchBuffer verb{};
    LaunchBuffer arguments{};
    LaunchBuffer directory{};
    if (!CopyToBuffer(file, program) || !CopyToBuffer(arguments, parameters)) {
        return {};
    }
    SHELLEXECUTEINFOW request{};
    request.cbSize = sizeof(request);
    // The handle is kept so that the caller can tell when the program has ended.
    request.fMask =
        SEE_MASK_NOCLOSEPROCESS | (errors == ShellErrors::Quiet ? SEE_MASK_FLAG_NO_UI : 0);
    request.hwnd = nullptr;
    request.lpVerb = verb; // empty: the shell's default verb
    request.lpFile = file;
    request.lpParameters = arguments;
    request.lpDirectory = directory;
    request.nShow = SW_SHOW;
    if (::ShellExecuteExW(&request) == FALSE) {
        return {};
    }
    // No handle when the shell handed the file to a program already running (DDE): nothing to
    // follow then.
    launch::LaunchResult result{.started = true};
    if (request.hProcess != nullptr) {
        result.process = std::make_unique<ShellProcess>(request.hProcess);
    }
    return result;
}

bool LaunchProgram(const wchar_t* program, const wchar_t* parameters) {
    return StartProgram(program, parameters).started;
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

launch::LaunchResult StartCommandForPort(std::u16string_view commandLine,
                                         const ports::SerialPort& port, ShellErrors errors) {
    const std::optional<launch::ProgramAndParameters> plan =
        launch::PlanLaunch(commandLine, port, ProgramExistsOnSearchPath);
    if (!plan) {
        return {};
    }
    const std::wstring program = ToWide(plan->program);
    const std::wstring parameters = ToWide(plan->parameters);
    return StartProgram(program.c_str(), parameters.c_str(), errors);
}

bool LaunchCommandForPort(std::u16string_view commandLine, const ports::SerialPort& port) {
    return StartCommandForPort(commandLine, port).started;
}

} // namespace portmaven::win
