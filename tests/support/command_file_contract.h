// What the command file promises on a real disk, as one typed suite that each platform's file
// system runs. A Platform supplies:
//   Folder                 a fresh temporary folder, removed with its content; Path()
//   kSeparator             what joins a folder and a name
//   FileSystemIn(folder)   its real file system with the executable placed in the folder
//   WriteBytes, ReadBytes, Entries (names in a folder, sorted), MakeDirectory, IsDirectory,
//   MakeReadOnly           plain file operations for the test's own use (any path length)
//   MakeLink(link, target) a symbolic link to a path relative to the link's folder; false when
//                          the system lets the test make none
#pragma once

#include "config/command_file.h"
#include "support/command_file_images.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace portmaven::config::testing {

template <class Platform> class CommandFileContract : public ::testing::Test {
protected:
    [[nodiscard]] static std::u16string Join(const std::u16string& folder,
                                             std::u16string_view name) {
        return folder + Platform::kSeparator + std::u16string(name);
    }
    [[nodiscard]] std::u16string ConfigPath() const {
        return Join(folder_.Path(), u"Portmaven.cfg");
    }
    [[nodiscard]] std::vector<std::u16string> Entries() const {
        return Platform::Entries(folder_.Path());
    }
    void Load() { LoadCommandList(*fileSystem_, list_, kWindowsDefaultCommand); }
    bool Save() { return SaveCommandList(*fileSystem_, list_); }
    [[nodiscard]] std::u16string NameAt(int index) const {
        return std::u16string(FieldText(list_.At(index).szName));
    }
    [[nodiscard]] std::u16string CommandAt(int index) const {
        return std::u16string(FieldText(list_.At(index).szCommand));
    }

    const std::vector<std::u16string> onlyTheCommandFile_{u"Portmaven.cfg"};
    typename Platform::Folder folder_;
    std::unique_ptr<FileSystem> fileSystem_ = Platform::FileSystemIn(folder_.Path());
    CommandList list_;
};

TYPED_TEST_SUITE_P(CommandFileContract);

TYPED_TEST_P(CommandFileContract, MissingFileGivesTheDefaultCommandAndTheFirstSaveWritesIt) {
    this->list_.AppendCommand(MakeCommandRecord(u"stale", u"stale"));
    this->Load();
    ASSERT_EQ(this->list_.GetCount(), 1);
    EXPECT_EQ(this->NameAt(0), u"Connect");
    EXPECT_EQ(this->CommandAt(0), u"C:\\Program Files\\TTERMPRO\\ttermpro.exe /C=%PORTNUM%");
    EXPECT_TRUE(this->Entries().empty()) << "loading wrote something";

    ASSERT_TRUE(this->Save());
    EXPECT_EQ(TypeParam::ReadBytes(this->ConfigPath()),
              RecordImage(u"Connect", u"C:\\Program Files\\TTERMPRO\\ttermpro.exe /C=%PORTNUM%"));
    EXPECT_EQ(this->Entries(), this->onlyTheCommandFile_);
}

TYPED_TEST_P(CommandFileContract, RecordCountFollowsTheFileLength) {
    const Bytes record = RecordImage(u"Term", u"term.exe -serial COM%PORTNUM%");
    const struct {
        Bytes content;
        int count;
    } cases[] = {
        {Bytes{}, 0},
        {Bytes(1, std::byte{0x41}), 0},
        {Bytes(record.begin(), record.end() - 1), 0},
        {Concat({record, Bytes(1, std::byte{0x7F})}), 1},
    };
    for (const auto& c : cases) {
        TypeParam::WriteBytes(this->ConfigPath(), c.content);
        this->list_.AppendCommand(MakeCommandRecord(u"stale", u"stale"));
        this->Load();
        EXPECT_EQ(this->list_.GetCount(), c.count) << c.content.size() << " bytes";
    }
    EXPECT_EQ(this->NameAt(0), u"Term");
    EXPECT_EQ(this->CommandAt(0), u"term.exe -serial COM%PORTNUM%");
}

TYPED_TEST_P(CommandFileContract, RecordsKeepFileOrderAndRoundTripByteForByte) {
    // Non-ASCII text, a surrogate pair included, must survive as UTF-16LE.
    const Bytes image = Concat({RecordImage(u"One", u"a.exe %PORTNUM%"),
                                RecordImage(u"Zwei \u00dc", u"b.exe /p=%PORTNUM%"),
                                RecordImage(u"Three \U0001F600", u"c.exe")});
    TypeParam::WriteBytes(this->ConfigPath(), image);
    this->Load();
    ASSERT_EQ(this->list_.GetCount(), 3);
    EXPECT_EQ(this->NameAt(0), u"One");
    EXPECT_EQ(this->NameAt(1), u"Zwei \u00dc");
    EXPECT_EQ(this->NameAt(2), u"Three \U0001F600");
    EXPECT_EQ(this->CommandAt(1), u"b.exe /p=%PORTNUM%");

    ASSERT_TRUE(this->Save());
    EXPECT_EQ(TypeParam::ReadBytes(this->ConfigPath()), image);
    EXPECT_EQ(this->Entries(), this->onlyTheCommandFile_);
}

TYPED_TEST_P(CommandFileContract, LargeFileLoadsWholeAcrossReadPieces) {
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
    TypeParam::WriteBytes(this->ConfigPath(), image);
    this->Load();
    ASSERT_EQ(static_cast<std::size_t>(this->list_.GetCount()), perPiece * 5 / 2);
    ASSERT_EQ(this->list_.StorageBytes(), expected.size());
    EXPECT_EQ(std::memcmp(this->list_.Storage(), expected.data(), expected.size()), 0);
}

TYPED_TEST_P(CommandFileContract, GarbageAfterTerminatorsIsZeroedOnSave) {
    Bytes dirty = RecordImage(u"Name", u"cmd");
    std::fill(dirty.begin() + 2 * 5, dirty.begin() + 2 * kNameUnits, std::byte{0xEE});
    std::fill(dirty.begin() + 2 * (kNameUnits + 4), dirty.end(), std::byte{0x55});
    TypeParam::WriteBytes(this->ConfigPath(), dirty);
    this->Load();
    ASSERT_TRUE(this->Save());
    EXPECT_EQ(TypeParam::ReadBytes(this->ConfigPath()), RecordImage(u"Name", u"cmd"));
}

TYPED_TEST_P(CommandFileContract, FieldsWithoutTerminatorKeepWhatFitsBeforeOne) {
    TypeParam::WriteBytes(this->ConfigPath(), RecordImage(std::u16string(kNameUnits, u'n'),
                                                          std::u16string(kCommandUnits, u'c')));
    this->Load();
    ASSERT_EQ(this->list_.GetCount(), 1);
    EXPECT_EQ(this->NameAt(0), std::u16string(kNameUnits - 1, u'n'));
    EXPECT_EQ(this->CommandAt(0), std::u16string(kCommandUnits - 1, u'c'));
    EXPECT_EQ(this->list_.At(0).szName[kNameUnits - 1], u'\0');
    EXPECT_EQ(this->list_.At(0).szCommand[kCommandUnits - 1], u'\0');
}

TYPED_TEST_P(CommandFileContract, EmptyListTruncatesTheFileToZeroBytes) {
    TypeParam::WriteBytes(this->ConfigPath(), RecordImage(u"old", u"old"));
    ASSERT_TRUE(this->Save());
    EXPECT_TRUE(TypeParam::ReadBytes(this->ConfigPath()).empty());
    EXPECT_EQ(this->Entries(), this->onlyTheCommandFile_);
}

TYPED_TEST_P(CommandFileContract, PlainDirectoryWithTheFileNameCountsAsNoFile) {
    ASSERT_TRUE(TypeParam::MakeDirectory(this->ConfigPath()));
    this->Load();
    ASSERT_EQ(this->list_.GetCount(), 1);
    EXPECT_EQ(this->NameAt(0), u"Connect");

    EXPECT_FALSE(this->Save());
    EXPECT_TRUE(TypeParam::IsDirectory(this->ConfigPath()));
    EXPECT_EQ(this->Entries(), this->onlyTheCommandFile_);
}

TYPED_TEST_P(CommandFileContract, ReadOnlyFileKeepsItsContentAtSave) {
    // POSIX rename and Wine's MoveFileExW, unlike Windows, replace a read-only target: the
    // save's own check is what keeps the content.
    const Bytes old = RecordImage(u"Keep", u"keep.exe");
    TypeParam::WriteBytes(this->ConfigPath(), old);
    ASSERT_TRUE(TypeParam::MakeReadOnly(this->ConfigPath()));
    this->list_.AppendCommand(MakeCommandRecord(u"New", u"new.exe"));
    EXPECT_FALSE(this->Save());
    EXPECT_EQ(TypeParam::ReadBytes(this->ConfigPath()), old);
    EXPECT_EQ(this->Entries(), this->onlyTheCommandFile_);
}

TYPED_TEST_P(CommandFileContract, LeftoverTemporaryFileDoesNotStopTheSave) {
    TypeParam::WriteBytes(this->Join(this->folder_.Path(), u"Portmaven.cfg.tmp"),
                          Bytes(7000, std::byte{0x33}));
    this->list_.AppendCommand(MakeCommandRecord(u"A", u"a"));
    ASSERT_TRUE(this->Save());
    EXPECT_EQ(TypeParam::ReadBytes(this->ConfigPath()), RecordImage(u"A", u"a"));
    EXPECT_EQ(this->Entries(), this->onlyTheCommandFile_);
}

TYPED_TEST_P(CommandFileContract, PathsLongerThanAThousandUnitsWork) {
    std::u16string deep = this->folder_.Path();
    for (char16_t level = u'a'; level < u'a' + 6; ++level) {
        deep = this->Join(deep, std::u16string(200, level));
        ASSERT_TRUE(TypeParam::MakeDirectory(deep));
    }
    ASSERT_GT(deep.size(), 1024u);
    const std::unique_ptr<FileSystem> deepFileSystem = TypeParam::FileSystemIn(deep);

    this->list_.AppendCommand(MakeCommandRecord(u"Deep", u"deep.exe"));
    ASSERT_TRUE(SaveCommandList(*deepFileSystem, this->list_));
    EXPECT_EQ(TypeParam::ReadBytes(this->Join(deep, u"Portmaven.cfg")),
              RecordImage(u"Deep", u"deep.exe"));
    LoadCommandList(*deepFileSystem, this->list_, kWindowsDefaultCommand);
    ASSERT_EQ(this->list_.GetCount(), 1);
    EXPECT_EQ(this->NameAt(0), u"Deep");
}

TYPED_TEST_P(CommandFileContract, AMebibyteOfGarbageLoadsAsWholeTerminatedRecords) {
    Bytes garbage(std::size_t{1} << 20);
    std::mt19937 random(20);
    std::generate(garbage.begin(), garbage.end(),
                  [&] { return static_cast<std::byte>(random() & 0xFF); });
    TypeParam::WriteBytes(this->ConfigPath(), garbage);
    this->Load();
    const std::size_t whole = garbage.size() / kRecordBytes;
    ASSERT_EQ(static_cast<std::size_t>(this->list_.GetCount()), whole);
    std::size_t unterminated = 0;
    for (int i = 0; i < this->list_.GetCount(); ++i) {
        unterminated += this->list_.At(i).szName[kNameUnits - 1] != u'\0' ||
                        this->list_.At(i).szCommand[kCommandUnits - 1] != u'\0';
    }
    EXPECT_EQ(unterminated, 0u);
    // The last whole record is the file's own, up to its name's first terminator.
    std::u16string lastName;
    for (std::size_t unit = 0; unit + 1 < kNameUnits; ++unit) {
        const std::size_t at = (whole - 1) * kRecordBytes + 2 * unit;
        const auto code = static_cast<char16_t>(std::to_integer<unsigned>(garbage[at]) |
                                                std::to_integer<unsigned>(garbage[at + 1]) << 8);
        if (code == u'\0') {
            break;
        }
        lastName.push_back(code);
    }
    EXPECT_EQ(this->NameAt(this->list_.GetCount() - 1), lastName);

    ASSERT_TRUE(this->Save());
    EXPECT_EQ(TypeParam::ReadBytes(this->ConfigPath()).size(), whole * kRecordBytes);
}

// The user keeps the file in a folder of their own (under version control, say) and links it
// in: Portmaven.cfg -> links/middle -> ../dotfiles/Portmaven.cfg.
template <class Platform> struct LinkedCommandFile {
    static constexpr char16_t kSep = Platform::kSeparator;
    std::u16string dotfiles;
    std::u16string target;
    std::u16string links;

    explicit LinkedCommandFile(const std::u16string& folder)
        : dotfiles(folder + kSep + u"dotfiles"), target(dotfiles + kSep + u"Portmaven.cfg"),
          links(folder + kSep + u"links") {}

    [[nodiscard]] bool Make(const std::u16string& configPath) const {
        return Platform::MakeDirectory(dotfiles) && Platform::MakeDirectory(links) &&
               Platform::MakeLink(links + kSep + u"middle", std::u16string(u"..") + kSep +
                                                                u"dotfiles" + kSep +
                                                                u"Portmaven.cfg") &&
               Platform::MakeLink(configPath, std::u16string(u"links") + kSep + u"middle");
    }
};

TYPED_TEST_P(CommandFileContract, SaveGoesThroughAChainOfLinksAndLeavesThemInPlace) {
    const LinkedCommandFile<TypeParam> linked(this->folder_.Path());
    if (!linked.Make(this->ConfigPath())) {
        GTEST_SKIP() << "this system lets the test make no symbolic links";
    }
    const Bytes old = RecordImage(u"Old", u"old.exe");
    TypeParam::WriteBytes(linked.target, old);
    this->Load();
    ASSERT_EQ(this->list_.GetCount(), 1);
    EXPECT_EQ(this->NameAt(0), u"Old");

    this->list_.AppendCommand(MakeCommandRecord(u"New", u"new.exe"));
    ASSERT_TRUE(this->Save());
    EXPECT_EQ(TypeParam::ReadBytes(linked.target), Concat({old, RecordImage(u"New", u"new.exe")}));
    // No temporary file is left anywhere, and no file took a link's place: what is written to
    // the file at the end shows through both links.
    EXPECT_EQ(TypeParam::Entries(linked.dotfiles), this->onlyTheCommandFile_);
    EXPECT_EQ(TypeParam::Entries(linked.links), std::vector<std::u16string>{u"middle"});
    EXPECT_EQ(this->Entries(),
              (std::vector<std::u16string>{u"Portmaven.cfg", u"dotfiles", u"links"}));
    const Bytes later = RecordImage(u"Later", u"later.exe");
    TypeParam::WriteBytes(linked.target, later);
    EXPECT_EQ(TypeParam::ReadBytes(this->ConfigPath()), later);
}

TYPED_TEST_P(CommandFileContract, ReadOnlyFileBehindALinkKeepsItsContent) {
    const LinkedCommandFile<TypeParam> linked(this->folder_.Path());
    if (!linked.Make(this->ConfigPath())) {
        GTEST_SKIP() << "this system lets the test make no symbolic links";
    }
    const Bytes old = RecordImage(u"Keep", u"keep.exe");
    TypeParam::WriteBytes(linked.target, old);
    ASSERT_TRUE(TypeParam::MakeReadOnly(linked.target));
    this->list_.AppendCommand(MakeCommandRecord(u"New", u"new.exe"));
    EXPECT_FALSE(this->Save());
    EXPECT_EQ(TypeParam::ReadBytes(linked.target), old);
    EXPECT_EQ(TypeParam::Entries(linked.dotfiles), this->onlyTheCommandFile_);
}

TYPED_TEST_P(CommandFileContract, LinkToNowhereOrInACircleIsNotSavedThrough) {
    const LinkedCommandFile<TypeParam> linked(this->folder_.Path());
    if (!linked.Make(this->ConfigPath())) {
        GTEST_SKIP() << "this system lets the test make no symbolic links";
    }
    this->list_.AppendCommand(MakeCommandRecord(u"New", u"new.exe"));
    EXPECT_FALSE(this->Save());
    EXPECT_TRUE(TypeParam::Entries(linked.dotfiles).empty()) << "a file was made at the end";
    // The links still lead where they did (Wine lists a link to nowhere with nothing else).
    const Bytes image = RecordImage(u"Mine", u"mine.exe");
    TypeParam::WriteBytes(linked.target, image);
    EXPECT_EQ(TypeParam::ReadBytes(this->ConfigPath()), image);
    EXPECT_EQ(TypeParam::Entries(linked.links), std::vector<std::u16string>{u"middle"});

    // ring/Portmaven.cfg -> other -> Portmaven.cfg
    const std::u16string ring = this->Join(this->folder_.Path(), u"ring");
    ASSERT_TRUE(TypeParam::MakeDirectory(ring));
    ASSERT_TRUE(TypeParam::MakeLink(this->Join(ring, u"Portmaven.cfg"), u"other"));
    ASSERT_TRUE(TypeParam::MakeLink(this->Join(ring, u"other"), u"Portmaven.cfg"));
    const std::unique_ptr<FileSystem> ringFileSystem = TypeParam::FileSystemIn(ring);
    EXPECT_FALSE(SaveCommandList(*ringFileSystem, this->list_));
    // A plain file in the circle's place would read.
    EXPECT_TRUE(TypeParam::ReadBytes(this->Join(ring, u"Portmaven.cfg")).empty());
    for (const std::u16string& name : TypeParam::Entries(ring)) {
        EXPECT_EQ(name.find(u".tmp"), std::u16string::npos) << "a temporary file was left";
    }
}

REGISTER_TYPED_TEST_SUITE_P(
    CommandFileContract, MissingFileGivesTheDefaultCommandAndTheFirstSaveWritesIt,
    RecordCountFollowsTheFileLength, RecordsKeepFileOrderAndRoundTripByteForByte,
    LargeFileLoadsWholeAcrossReadPieces, GarbageAfterTerminatorsIsZeroedOnSave,
    FieldsWithoutTerminatorKeepWhatFitsBeforeOne, EmptyListTruncatesTheFileToZeroBytes,
    PlainDirectoryWithTheFileNameCountsAsNoFile, ReadOnlyFileKeepsItsContentAtSave,
    LeftoverTemporaryFileDoesNotStopTheSave, PathsLongerThanAThousandUnitsWork,
    AMebibyteOfGarbageLoadsAsWholeTerminatedRecords,
    SaveGoesThroughAChainOfLinksAndLeavesThemInPlace, ReadOnlyFileBehindALinkKeepsItsContent,
    LinkToNowhereOrInACircleIsNotSavedThrough);

} // namespace portmaven::config::testing
