#include "launch/linux/launch.h"

#include "launch/command_line.h"
#include "launch/default_connect.h"
#include "launch/shell_words.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

#include <poll.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <optional>
#include <vector>

namespace portmaven::linux_desktop {

namespace {

// The executable file a program word names: a path (relative ones from the home folder, where
// the program starts) or a name looked up on the PATH; empty when there is none.
QString ResolveProgram(const QString& program) {
    if (program.isEmpty()) {
        return {};
    }
    if (program.contains(u'/')) {
        return QStandardPaths::findExecutable(QDir::home().absoluteFilePath(program));
    }
    return QStandardPaths::findExecutable(program);
}

// A detached program followed through a pidfd, which becomes readable when the program ends.
class PidfdProcess final : public launch::StartedProcess {
public:
    explicit PidfdProcess(int pidfd) noexcept : pidfd_(pidfd) {}
    ~PidfdProcess() override { ::close(pidfd_); }
    PidfdProcess(const PidfdProcess&) = delete;
    PidfdProcess& operator=(const PidfdProcess&) = delete;
    PidfdProcess(PidfdProcess&&) = delete;
    PidfdProcess& operator=(PidfdProcess&&) = delete;

    bool IsRunning() override {
        pollfd ended{.fd = pidfd_, .events = POLLIN, .revents = 0};
        int ready = 0;
        do {
            ready = ::poll(&ended, 1, 0);
        } while (ready < 0 && errno == EINTR);
        return ready == 0;
    }

private:
    int pidfd_;
};

// A pidfd of the program, or nothing when the kernel has none to give. The program was started
// detached (Qt forks twice), so it is not this process's child and no zombie is left to reap:
// its parent is the system's reaper. If it has already ended and been reaped, pidfd_open fails
// and there is nothing to follow, which is the truth. Its number could only name another
// process if the kernel handed out every other process number between its end and this call.
std::unique_ptr<launch::StartedProcess> Follow(qint64 pid) {
    const long pidfd = ::syscall(SYS_pidfd_open, static_cast<pid_t>(pid), 0U);
    if (pidfd < 0) {
        return nullptr;
    }
    return std::make_unique<PidfdProcess>(static_cast<int>(pidfd));
}

} // namespace

launch::LaunchResult StartCommandForPort(std::u16string_view commandLine,
                                         const ports::SerialPort& port) {
    const std::optional<std::u16string> line = launch::SubstituteCommandLine(commandLine, port);
    if (!line) {
        return {};
    }
    const std::optional<std::vector<std::u16string>> words = launch::SplitShellWords(*line);
    if (!words || words->empty()) {
        return {};
    }
    const QString program = ResolveProgram(QString::fromStdU16String(words->front()));
    if (program.isEmpty()) {
        return {};
    }
    QStringList arguments;
    for (auto word = words->begin() + 1; word != words->end(); ++word) {
        arguments.append(QString::fromStdU16String(*word));
    }
    qint64 pid = 0;
    if (!QProcess::startDetached(program, arguments, QDir::homePath(), &pid)) {
        return {};
    }
    return {.started = true, .process = Follow(pid)};
}

bool LaunchCommandForPort(std::u16string_view commandLine, const ports::SerialPort& port) {
    return StartCommandForPort(commandLine, port).started;
}

std::u16string DefaultConnectCommandLine() {
    return launch::DefaultConnectCommandLine([](std::u16string_view program) {
        return !ResolveProgram(QString::fromStdU16String(std::u16string(program))).isEmpty();
    });
}

} // namespace portmaven::linux_desktop
