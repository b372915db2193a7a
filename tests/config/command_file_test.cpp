// Loading and saving the command file through the real POSIX file system, on real files.
#include "config/command_file.h"
#include "posix_test_dir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>

namespace portmaven::config::testing {
namespace {

using ::testing::ElementsAre;

class CommandFile : public ::testing::Test {
protected:
    [[nodiscard]] fs::path ConfigPath() const { return dir_.Path() / "Portmaven.cfg"; }
    void Load() { LoadCommandList(fileSystem_, list_, kWindowsDefaultCommand); }
    bool Save() { return SaveCommandList(fileSystem_, list_); }
    [[nodiscard]] std::u16string NameAt(int index) const {
        return std::u16string(FieldText(list_.At(index).szName));
    }
    [[nodiscard]] std::u16string CommandAt(int index) const {
        return std::u16string(FieldText(list_.At(index).szCommand));
    }

    TempDir dir_;
    ModuleInDirectory fileSystem_{dir_.Path()};
    CommandList list_;
};

TEST_F(CommandFile, MissingFileGivesTheDefaultCommandAndWritesNothing) {
    list_.AppendCommand(MakeCommandRecord(u"stale", u"stale"));
    Load();
    ASSERT_EQ(list_.GetCount(), 1);
    EXPECT_EQ(NameAt(0), u"Connect");
    EXPECT_EQ(CommandAt(0), u"C:\\Program Files\\TTERMPRO\\ttermpro.exe /C=%PORTNUM%");
    EXPECT_FALSE(fs::exists(ConfigPath()));

    ASSERT_TRUE(Save());
    EXPECT_EQ(ReadBytes(ConfigPath()),
              RecordImage(u"Connect", u"C:\\Program Files\\TTERMPRO\\ttermpro.exe /C=%PORTNUM%"));
}

TEST_F(CommandFile, FilesShorterThanOneRecordGiveAnEmptyList) {
    for (const std::size_t size : {std::size_t{0}, std::size_t{1}, kRecordBytes - 1}) {
        WriteBytes(ConfigPath(), Bytes(size, std::byte{0x41}));
        list_.AppendCommand(MakeCommandRecord(u"stale", u"stale"));
        Load();
        EXPECT_EQ(list_.GetCount(), 0) << size << " bytes";
    }
}

TEST_F(CommandFile, TrailingPartialRecordIsIgnored) {
    Bytes image = RecordImage(u"Putty", u"putty.exe -serial COM%PORTNUM%");
    image.push_back(std::byte{0x7F});
    WriteBytes(ConfigPath(), image);
    Load();
    ASSERT_EQ(list_.GetCount(), 1);
    EXPECT_EQ(NameAt(0), u"Putty");
    EXPECT_EQ(CommandAt(0), u"putty.exe -serial COM%PORTNUM%");
}

TEST_F(CommandFile, RecordsKeepFileOrderAndRoundTripByteForByte) {
    // Non-ASCII text, a surrogate pair included, must survive as UTF-16LE.
    const Bytes image = Concat({RecordImage(u"One", u"a.exe %PORTNUM%"),
                                RecordImage(u"Zwei \u00dc", u"b.exe /p=%PORTNUM%"),
                                RecordImage(u"Three \U0001F600", u"c.exe")});
    WriteBytes(ConfigPath(), image);
    Load();
    ASSERT_EQ(list_.GetCount(), 3);
    EXPECT_EQ(NameAt(0), u"One");
    EXPECT_EQ(NameAt(1), u"Zwei \u00dc");
    EXPECT_EQ(NameAt(2), u"Three \U0001F600");
    EXPECT_EQ(CommandAt(1), u"b.exe /p=%PORTNUM%");

    fs::remove(ConfigPath());
    ASSERT_TRUE(Save());
    EXPECT_EQ(ReadBytes(ConfigPath()), image);
}

TEST_F(CommandFile, LargeFileLoadsWholeAcrossReadPieces) {
    // Two and a half pieces, with garbage behind the terminators in records on both sides of
    // each piece boundary.
    const std::size_t perPiece = kReadPieceBytes / kRecordBytes;
    Bytes image;
    Bytes expected;
    for (std::size_t i = 0; i < perPiece * 5 / 2; ++i) {
        const std::u16string name =
            u"Record " + std::u16string(1, static_cast<char16_t>(u'A' + i % 26));
        Bytes record = RecordImage(name, u"x.exe");
        expected.insert(expected.end(), record.begin(), record.end());
        if (i % perPiece == 0 || i % perPiece == perPiece - 1) {
            std::fill(record.begin() + 2 * 20, record.begin() + 2 * kNameUnits, std::byte{0x99});
            record.back() = std::byte{0x01};
        }
        image.insert(image.end(), record.begin(), record.end());
    }
    WriteBytes(ConfigPath(), image);
    Load();
    ASSERT_EQ(static_cast<std::size_t>(list_.GetCount()), perPiece * 5 / 2);
    ASSERT_EQ(list_.StorageBytes(), expected.size());
    EXPECT_EQ(std::memcmp(list_.Storage(), expected.data(), expected.size()), 0);
}

TEST_F(CommandFile, GarbageAfterTerminatorsIsZeroedOnSave) {
    Bytes dirty = RecordImage(u"Name", u"cmd");
    for (std::size_t i = 2 * 5; i < 2 * kNameUnits; ++i) {
        dirty[i] = std::byte{0xEE};
    }
    for (std::size_t i = 2 * (kNameUnits + 4); i < kRecordBytes; ++i) {
        dirty[i] = std::byte{0x55};
    }
    WriteBytes(ConfigPath(), dirty);
    Load();
    ASSERT_TRUE(Save());
    EXPECT_EQ(ReadBytes(ConfigPath()), RecordImage(u"Name", u"cmd"));
}

TEST_F(CommandFile, FieldsWithoutTerminatorKeepWhatFitsBeforeOne) {
    WriteBytes(ConfigPath(),
               RecordImage(std::u16string(kNameUnits, u'n'), std::u16string(kCommandUnits, u'c')));
    Load();
    ASSERT_EQ(list_.GetCount(), 1);
    EXPECT_EQ(NameAt(0), std::u16string(kNameUnits - 1, u'n'));
    EXPECT_EQ(CommandAt(0), std::u16string(kCommandUnits - 1, u'c'));
    EXPECT_EQ(list_.At(0).szName[kNameUnits - 1], u'\0');
    EXPECT_EQ(list_.At(0).szCommand[kCommandUnits - 1], u'\0');
}

TEST_F(CommandFile, EmptyListTruncatesTheFileToZeroBytes) {
    WriteBytes(ConfigPath(), RecordImage(u"old", u"old"));
    ASSERT_TRUE(Save());
    EXPECT_EQ(fs::file_size(ConfigPath()), 0u);
    EXPECT_THAT(Entries(dir_.Path()), ElementsAre("Portmaven.cfg"));
}

TEST_F(CommandFile, DirectoryWithTheFileNameCountsAsNoFile) {
    fs::create_directory(ConfigPath());
    Load();
    ASSERT_EQ(list_.GetCount(), 1);
    EXPECT_EQ(NameAt(0), u"Connect");

    EXPECT_FALSE(Save());
    EXPECT_TRUE(fs::is_directory(ConfigPath()));
    EXPECT_THAT(Entries(dir_.Path()), ElementsAre("Portmaven.cfg"));
}

TEST_F(CommandFile, ReadOnlyDirectoryWithTheFileNameIsPresentButUnreadable) {
    fs::create_directory(ConfigPath());
    fs::permissions(ConfigPath(), fs::perms::owner_read | fs::perms::owner_exec);
    Load();
    EXPECT_EQ(list_.GetCount(), 0);
}

TEST_F(CommandFile, ReadOnlyFileKeepsItsContentAtSave) {
    const Bytes old = RecordImage(u"Keep", u"keep.exe");
    WriteBytes(ConfigPath(), old);
    fs::permissions(ConfigPath(), fs::perms::owner_read | fs::perms::group_read);
    list_.AppendCommand(MakeCommandRecord(u"New", u"new.exe"));
    EXPECT_FALSE(Save());
    EXPECT_EQ(ReadBytes(ConfigPath()), old);
    EXPECT_THAT(Entries(dir_.Path()), ElementsAre("Portmaven.cfg"));
}

TEST_F(CommandFile, LeftoverTemporaryFileDoesNotStopTheSave) {
    WriteBytes(dir_.Path() / "Portmaven.cfg.tmp", Bytes(7000, std::byte{0x33}));
    list_.AppendCommand(MakeCommandRecord(u"A", u"a"));
    ASSERT_TRUE(Save());
    EXPECT_EQ(ReadBytes(ConfigPath()), RecordImage(u"A", u"a"));
    EXPECT_THAT(Entries(dir_.Path()), ElementsAre("Portmaven.cfg"));
}

TEST_F(CommandFile, PathsLongerThanAThousandUnitsWork) {
    fs::path deep = dir_.Path();
    for (int level = 0; level < 6; ++level) {
        deep /= std::string(200, static_cast<char>('a' + level));
    }
    fs::create_directories(deep);
    ModuleInDirectory deepFileSystem(deep);
    ASSERT_GT(deep.u16string().size(), 1024u);

    list_.AppendCommand(MakeCommandRecord(u"Deep", u"deep.exe"));
    ASSERT_TRUE(SaveCommandList(deepFileSystem, list_));
    EXPECT_EQ(ReadBytes(deep / "Portmaven.cfg"), RecordImage(u"Deep", u"deep.exe"));
    LoadCommandList(deepFileSystem, list_, kWindowsDefaultCommand);
    ASSERT_EQ(list_.GetCount(), 1);
    EXPECT_EQ(NameAt(0), u"Deep");
}

TEST(PosixFileSystem, ReportsAttributesInTheCommonBits) {
    TempDir dir;
    PosixFileSystem fileSystem;
    const fs::path file = dir.Path() / "f";
    WriteBytes(file, Bytes(5));
    EXPECT_EQ(fileSystem.Attributes(file.u16string()), kAttributeNormal);
    EXPECT_EQ(fileSystem.Size(file.u16string()), 5u);
    fs::permissions(file, fs::perms::owner_read);
    EXPECT_EQ(fileSystem.Attributes(file.u16string()), kAttributeReadOnly);
    EXPECT_EQ(fileSystem.Attributes(dir.Path().u16string()), kAttributeDirectory);
    EXPECT_EQ(fileSystem.Size(dir.Path().u16string()), 0u);
    EXPECT_EQ(fileSystem.Attributes((dir.Path() / "missing").u16string()), std::nullopt);
    EXPECT_EQ(fileSystem.Attributes(u"bad \xD800 surrogate"), std::nullopt);
}

TEST(PosixFileSystem, ModulePathIsThisExecutable) {
    PosixFileSystem fileSystem;
    std::u16string directory;
    ASSERT_TRUE(GetModuleDirectory(fileSystem, directory));
    EXPECT_EQ(fs::path(directory), fs::canonical("/proc/self/exe").parent_path());
}

} // namespace
} // namespace portmaven::config::testing
