// The command file's load and save logic against file systems that misbehave on purpose:
// attribute rules, short reads, and a save cut off at each of its steps.
#include "config/command_file.h"
#include "posix_test_dir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace portmaven::config::testing {
namespace {

using ::testing::ElementsAre;

class StubInputFile : public InputFile {
public:
    explicit StubInputFile(const Bytes& content) : rest_(content) {}
    std::optional<std::uint32_t> Read(std::span<std::byte> destination) override {
        const std::size_t count = std::min(destination.size(), rest_.size());
        std::copy_n(rest_.begin(), count, destination.begin());
        rest_ = rest_.subspan(count);
        return static_cast<std::uint32_t>(count);
    }
    bool Close() override { return true; }

private:
    std::span<const std::byte> rest_;
};

// A file system of one file, whose answers the test sets.
class StubFileSystem : public FileSystem {
public:
    std::optional<std::u16string> modulePath = u"C:\\Tools\\Portmaven.exe";
    std::optional<std::uint32_t> attributes = kAttributeNormal;
    std::optional<std::uint64_t> size;
    Bytes content;
    std::u16string lastPath;

    [[nodiscard]] char16_t PathSeparator() const noexcept override { return u'\\'; }
    [[nodiscard]] std::optional<std::u16string> ModulePath() const override { return modulePath; }
    [[nodiscard]] std::optional<std::uint32_t>
    Attributes(const std::u16string& path) const override {
        const_cast<StubFileSystem*>(this)->lastPath = path;
        return attributes;
    }
    [[nodiscard]] std::optional<std::uint64_t> Size(const std::u16string&) const override {
        return size ? size : std::optional<std::uint64_t>(content.size());
    }
    [[nodiscard]] std::unique_ptr<InputFile> OpenForReading(const std::u16string&) const override {
        return std::make_unique<StubInputFile>(content);
    }
    [[nodiscard]] std::unique_ptr<OutputFile> CreateForWriting(const std::u16string&) override {
        return nullptr;
    }
    bool Replace(const std::u16string&, const std::u16string&) override { return false; }
    bool Remove(const std::u16string&) override { return false; }
};

TEST(CommandFilePresence, OnlyAPlainDirectoryOrUnreadableAttributesCountAsAbsent) {
    StubFileSystem fileSystem;
    const struct {
        std::optional<std::uint32_t> attributes;
        bool present;
    } cases[] = {
        {std::nullopt, false},
        {kAttributeDirectory, false},
        {kAttributeDirectory | kAttributeReadOnly, true},
        {kAttributeDirectory | 0x20, true},
        {kAttributeNormal, true},
        {0x20, true},
        {kAttributeReadOnly, true},
    };
    for (const auto& c : cases) {
        fileSystem.attributes = c.attributes;
        EXPECT_EQ(IsFilePresent(fileSystem, u"x"), c.present) << c.attributes.value_or(~0u);
    }
    fileSystem.size = 12345;
    fileSystem.attributes = kAttributeDirectory;
    EXPECT_EQ(QueryFileSize(fileSystem, u"x"), 0u);
    fileSystem.attributes = kAttributeNormal;
    EXPECT_EQ(QueryFileSize(fileSystem, u"x"), 12345u);
}

TEST(CommandFileLocation, IsBesideTheExecutable) {
    StubFileSystem fileSystem;
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
    StubFileSystem fileSystem;
    fileSystem.modulePath = std::nullopt;
    fileSystem.attributes = std::nullopt;
    CommandList list;
    list.AppendCommand(MakeCommandRecord(u"stale", u"stale"));
    LoadCommandList(fileSystem, list, kWindowsDefaultCommand);
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_FALSE(SaveCommandList(fileSystem, list));
}

TEST(CommandFileLoad, ShortReadKeepsOnlyTheRecordsFullyDelivered) {
    StubFileSystem fileSystem;
    // The file was three records when its size was queried, and shrank before the read.
    fileSystem.size = 3 * kRecordBytes;
    fileSystem.content = Concat({RecordImage(u"A", u"a"), RecordImage(u"B", u"b")});
    fileSystem.content.resize(fileSystem.content.size() - 1);
    CommandList list;
    LoadCommandList(fileSystem, list, kWindowsDefaultCommand);
    ASSERT_EQ(list.GetCount(), 1);
    EXPECT_EQ(FieldText(list.At(0).szName), u"A");
}

TEST(CommandFileLoad, ReadDeliveringNothingGivesAnEmptyList) {
    StubFileSystem fileSystem;
    fileSystem.size = kRecordBytes;
    CommandList list;
    LoadCommandList(fileSystem, list, kWindowsDefaultCommand);
    EXPECT_EQ(list.GetCount(), 0);
}

// The steps of a save, each of which can be made to fail.
enum class Step { Create, Write, PartialWrite, Flush, Close, Replace };

class FailingOutputFile : public OutputFile {
public:
    FailingOutputFile(std::unique_ptr<OutputFile> real, Step failAt)
        : real_(std::move(real)), failAt_(failAt) {}
    bool Write(std::span<const std::byte> bytes) override {
        if (failAt_ == Step::PartialWrite) {
            real_->Write(bytes.first(bytes.size() / 2));
            return false;
        }
        return failAt_ != Step::Write && real_->Write(bytes);
    }
    bool Flush() override { return failAt_ != Step::Flush && real_->Flush(); }
    bool Close() override {
        // A failed close still releases the descriptor.
        const bool closed = real_->Close();
        return failAt_ != Step::Close && closed;
    }

private:
    std::unique_ptr<OutputFile> real_;
    Step failAt_;
};

class FailingFileSystem : public ModuleInDirectory {
public:
    FailingFileSystem(fs::path directory, Step failAt)
        : ModuleInDirectory(std::move(directory)), failAt_(failAt) {}
    [[nodiscard]] std::unique_ptr<OutputFile>
    CreateForWriting(const std::u16string& path) override {
        if (failAt_ == Step::Create) {
            return nullptr;
        }
        return std::make_unique<FailingOutputFile>(ModuleInDirectory::CreateForWriting(path),
                                                   failAt_);
    }
    bool Replace(const std::u16string& source, const std::u16string& target) override {
        return failAt_ != Step::Replace && ModuleInDirectory::Replace(source, target);
    }

private:
    Step failAt_;
};

class InterruptedSave : public ::testing::TestWithParam<Step> {};

TEST_P(InterruptedSave, LeavesTheOldFileIntactAndNoTemporaryFile) {
    TempDir dir;
    const Bytes old = Concat({RecordImage(u"Old 1", u"one.exe"), RecordImage(u"Old 2", u"two")});
    WriteBytes(dir.Path() / "Portmaven.cfg", old);
    CommandList list;
    for (int i = 0; i < 5; ++i) {
        list.AppendCommand(MakeCommandRecord(u"New", u"new.exe"));
    }

    FailingFileSystem fileSystem(dir.Path(), GetParam());
    EXPECT_FALSE(SaveCommandList(fileSystem, list));
    EXPECT_EQ(ReadBytes(dir.Path() / "Portmaven.cfg"), old);
    EXPECT_THAT(Entries(dir.Path()), ElementsAre("Portmaven.cfg"));
}

INSTANTIATE_TEST_SUITE_P(EachStep, InterruptedSave,
                         ::testing::Values(Step::Create, Step::Write, Step::PartialWrite,
                                           Step::Flush, Step::Close, Step::Replace));

TEST(InterruptedSaveOfANewFile, LeavesNoFileAtAll) {
    TempDir dir;
    CommandList list;
    list.AppendCommand(MakeCommandRecord(u"New", u"new.exe"));
    FailingFileSystem fileSystem(dir.Path(), Step::Flush);
    EXPECT_FALSE(SaveCommandList(fileSystem, list));
    EXPECT_TRUE(Entries(dir.Path()).empty());
}

} // namespace
} // namespace portmaven::config::testing
