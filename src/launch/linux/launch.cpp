#include "launch/linux/launch.h"

#include "launch/command_line.h"
#include "launch/default_connect.h"
#include "launch/shell_words.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

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

} // namespace

bool LaunchCommandForPort(std::u16string_view commandLine, const ports::SerialPort& port) {
    const std::optional<std::vector<std::u16string>> words =
        launch::SplitShellWords(launch::ReplacePortTokens(commandLine, port.name, port.number));
    if (!words || words->empty()) {
        return false;
    }
    const QString program = ResolveProgram(QString::fromStdU16String(words->front()));
    if (program.isEmpty()) {
        return false;
    }
    QStringList arguments;
    for (auto word = words->begin() + 1; word != words->end(); ++word) {
        arguments.append(QString::fromStdU16String(*word));
    }
    return QProcess::startDetached(program, arguments, QDir::homePath());
}

std::u16string DefaultConnectCommandLine() {
    return launch::DefaultConnectCommandLine([](std::u16string_view program) {
        return !ResolveProgram(QString::fromStdU16String(std::u16string(program))).isEmpty();
    });
}

} // namespace portmaven::linux_desktop
