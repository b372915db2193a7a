// The command file's load and save logic against a file system that misbehaves on purpose:
// what counts as the file, short reads, and a save cut off at each of its steps.
#include "config/command_file.h"
#include "support/command_file_images.h"
#include "support/memory_file_system.h"

#include <gtest/gtest.h>

namespace portmaven::config::testing {
namespace {

constexpr std::u16string_view kFile = MemoryFileSystem::kCommandFile;

MemoryFileSystem::Content AsContent(const Bytes& bytes) {
    return {bytes.begin(), bytes.end()};
}

TEST(CommandFilePresence, OnlyAMissingPathOrAPlainDirectoryCountAsAbsent) {
    MemoryFileSystem fileSystem;
    const struct {
        FileKind kind;
        bool present;
    } cases[] = {
        {FileKind::Missing, false},
        {FileKind::Directory, false},
        {FileKind::ReadOnly, true},
        {FileKind::File, true},
    };
    for (const auto& c : cases) {
        fileSystem.kind = c.kind;
        EXPECT_EQ(IsFilePresent(fileSystem, u"x"), c.present) << static_cast<int>(c.kind);
    }
    fileSystem.size = 12345;
    fileSystem.kind = FileKind::Directory;
    EXPECT_EQ(QueryFileSize(fileSystem, u"x"), 0u);
    fileSystem.kind = FileKind::File;
    EXPECT_EQ(QueryFileSize(fileSystem, u"x"), 12345u);
}

TEST(CommandFileLocation, IsBesideTheExecutable) {
    MemoryFileSystem fileSystem;
    std::u16string directory = u"untouched";
    fileSystem.modulePath = u"Portmaven.exe";
    EXPECT_FALSE(GetModuleDirectory(fileSystem, directory));
    fileSystem.modulePath = std::nullopt;
    EXPECT_FALSE(GetModuleDirectory(fileSystem, directory));
    EXPECT_EQ(directory, u"untouched");

    fileSystem.modulePath = u"D:\\Apps\\Port maven\\Portmaven.exe";
    ASSERT_TRUE(GetModuleDirectory(fileSystem, directory));
    EXPECT_EQ(directory, u"D:\\Apps\\Port maven");

    CommandList list;
    LoadCommandList(fileSystem, list, kWindowsDefaultCommand);
    EXPECT_EQ(fileSystem.lastPath, u"D:\\Apps\\Port maven\\Portmaven.cfg");
}

TEST(CommandFileLoad, UnknownExecutableDirectoryGivesAnEmptyListWithoutDefault) {
    MemoryFileSystem fileSystem;
    fileSystem.modulePath = std::nullopt;
    CommandList list;
    list.AppendCommand(MakeCommandRecord(u"stale", u"stale"));
    LoadCommandList(fileSystem, list, kWindowsDefaultCommand);
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_FALSE(SaveCommandList(fileSystem, list));
    EXPECT_TRUE(fileSystem.files.empty());
}

TEST(CommandFileLoad, ShortReadKeepsOnlyTheRecordsFullyDelivered) {
    MemoryFileSystem fileSystem;
    // The file was three records when its size was queried, and shrank before the read.
    fileSystem.size = 3 * kRecordBytes;
    Bytes content = Concat({RecordImage(u"A", u"a"), RecordImage(u"B", u"b")});
    content.resize(content.size() - 1);
    fileSystem.files[std::u16string(kFile)] = AsContent(content);
    CommandList list;
    LoadCommandList(fileSystem, list, kWindowsDefaultCommand);
    ASSERT_EQ(list.GetCount(), 1);
    EXPECT_EQ(FieldText(list.At(0).szName), u"A");
}

TEST(CommandFileLoad, ReadDeliveringNothingGivesAnEmptyList) {
    MemoryFileSystem fileSystem;
    fileSystem.size = kRecordBytes;
    fileSystem.files[std::u16string(kFile)] = {};
    CommandList list;
    LoadCommandList(fileSystem, list, kWindowsDefaultCommand);
    EXPECT_EQ(list.GetCount(), 0);
}

class InterruptedSave : public ::testing::TestWithParam<SaveStep> {};

TEST_P(InterruptedSave, LeavesTheOldFileIntactAndNoTemporaryFile) {
    MemoryFileSystem fileSystem;
    const Bytes old = Concat({RecordImage(u"Old 1", u"one.exe"), RecordImage(u"Old 2", u"two")});
    fileSystem.files[std::u16string(kFile)] = AsContent(old);
    CommandList list;
    for (int i = 0; i < 5; ++i) {
        list.AppendCommand(MakeCommandRecord(u"New", u"new.exe"));
    }

    fileSystem.failAt = GetParam();
    EXPECT_FALSE(SaveCommandList(fileSystem, list));
    ASSERT_EQ(fileSystem.files.size(), 1u) << "a temporary file was left behind";
    EXPECT_EQ(fileSystem.files.at(std::u16string(kFile)), AsContent(old));
}

INSTANTIATE_TEST_SUITE_P(EachStep, InterruptedSave,
                         ::testing::Values(SaveStep::Create, SaveStep::Write,
                                           SaveStep::PartialWrite, SaveStep::Flush, SaveStep::Close,
                                           SaveStep::Replace));

TEST(InterruptedSaveOfANewFile, LeavesNoFileAtAll) {
    MemoryFileSystem fileSystem;
    CommandList list;
    list.AppendCommand(MakeCommandRecord(u"New", u"new.exe"));
    fileSystem.failAt = SaveStep::Flush;
    EXPECT_FALSE(SaveCommandList(fileSystem, list));
    EXPECT_TRUE(fileSystem.files.empty());
}

} // namespace
} // namespace portmaven::config::testing
