// Commands started for a port: a recorder script stands in for the terminal and writes down
// the folder it was started in and the arguments it received, one per line.
#include "launch/linux/launch.h"

#include "support/linux/scoped_env.h"
#include "support/linux/wait.h"
#include "support/temp_dir.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QStringList>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace portmaven::linux_desktop {
namespace {

const ports::SerialPort kUsb10{u"/dev/ttyUSB10", u"10", u"FT232R USB UART (/dev/ttyUSB10)"};

using test::ScopedEnv;

void WriteFile(const QString& path, const QByteArray& content, bool executable) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    file.write(content);
    file.close();
    if (executable) {
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
}

class LaunchLinux : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(QDir(Path(u""_qs)).mkpath(u"home/bin"_qs));
        ASSERT_TRUE(QDir(Path(u""_qs)).mkpath(u"my tools"_qs));
        ASSERT_TRUE(QDir(Path(u""_qs)).mkpath(u"path"_qs));
        // Written under another name and renamed, so that a reader never sees half of it.
        const QByteArray script =
            "#!/bin/sh\n"
            "out='" +
            Record().toUtf8() +
            "'\n"
            "pwd > \"$out.part\"\n"
            "for a in \"$@\"; do printf '%s\\n' \"$a\" >> \"$out.part\"; done\n"
            "mv \"$out.part\" \"$out\"\n";
        for (const QString& place :
             {u"my tools/recorder"_qs, u"home/bin/recorder"_qs, u"path/portmaven-recorder"_qs}) {
            WriteFile(Path(place), script, true);
        }
        WriteFile(Path(u"my tools/not-executable"_qs), script, false);
    }

    QString Path(const QString& relative) const {
        return QDir(QString::fromStdString(root_.Path().string())).filePath(relative);
    }
    QString Home() const { return Path(u"home"_qs); }
    QString Record() const { return Path(u"record.txt"_qs); }

    // The recorder's lines (its folder first), once the started program has written them.
    QStringList WaitForRecord() const {
        QFile file(Record());
        if (!test::WaitFor([this] { return QFile::exists(Record()); }) ||
            !file.open(QIODevice::ReadOnly)) {
            return {u"<nothing recorded>"_qs};
        }
        QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
        lines.removeLast(); // after the last newline
        file.close();
        QFile::remove(Record());
        return lines;
    }

    config::testing::TempDir root_;
    ScopedEnv home_{"HOME", Path(u"home"_qs).toStdString()};
    ScopedEnv path_{"PATH", Path(u"path"_qs).toStdString() + ":/usr/bin:/bin"};
};

TEST_F(LaunchLinux, ExactArgumentsInTheHomeFolder) {
    const std::u16string program = (Path(u"my tools/recorder"_qs)).toStdU16String();
    ASSERT_TRUE(LaunchCommandForPort(
        u"'" + program + uR"(' -p %PORT% "a b"  c\ d 'e "f"' n=%PORTNUM% \$HOME "")", kUsb10));
    EXPECT_EQ(WaitForRecord(),
              (QStringList{Home(), u"-p"_qs, u"/dev/ttyUSB10"_qs, u"a b"_qs, u"c d"_qs,
                           u"e \"f\""_qs, u"n=10"_qs, u"$HOME"_qs, u""_qs}));
}

TEST_F(LaunchLinux, ProgramByNameOnPathOrByPathFromHome) {
    ASSERT_TRUE(LaunchCommandForPort(u"portmaven-recorder %PORT%", kUsb10));
    EXPECT_EQ(WaitForRecord(), (QStringList{Home(), u"/dev/ttyUSB10"_qs}));
    ASSERT_TRUE(LaunchCommandForPort(u"bin/recorder %PORTNUM%", kUsb10));
    EXPECT_EQ(WaitForRecord(), (QStringList{Home(), u"10"_qs}));
}

TEST_F(LaunchLinux, NothingToStartIsRefused) {
    const std::u16string tools = Path(u"my tools"_qs).toStdU16String();
    for (const std::u16string& line : {
             std::u16string(u"no-such-program-anywhere %PORT%"),
             u"'" + tools + u"/not-executable' %PORT%",
             u"'" + tools + u"'",                // a folder
             u"'" + tools + u"/recorder %PORT%", // unterminated quote
             std::u16string(u"recorder %PORT%"), // not on the PATH, and not a path
             std::u16string(u"   "),
             std::u16string(u"'' %PORT%"),
         }) {
        EXPECT_FALSE(LaunchCommandForPort(line, kUsb10))
            << QString::fromStdU16String(line).toStdString();
    }
    EXPECT_FALSE(QFile::exists(Record()));
}

TEST_F(LaunchLinux, DefaultConnectUsesTheSerialTerminalOnThePath) {
    ScopedEnv onlyOurs("PATH", Path(u"path"_qs).toStdString());
    EXPECT_EQ(DefaultConnectCommandLine(), u"x-terminal-emulator -e picocom -b %BAUD% %PORT%");
    WriteFile(Path(u"path/screen"_qs), "#!/bin/sh\n", true);
    WriteFile(Path(u"path/minicom"_qs), "#!/bin/sh\n", false); // not executable: not found
    EXPECT_EQ(DefaultConnectCommandLine(), u"x-terminal-emulator -e screen %PORT% %BAUD%");
}

} // namespace
} // namespace portmaven::linux_desktop
