// Arbitrary bytes as the command file: loading must stay inside the buffer and the fields, and
// what it loads must save and load back to exactly the same records.
#include "config/command_file.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>

namespace portmaven::config {
namespace {

// Files held in memory, with the executable in "M:".
class MemoryFileSystem : public FileSystem {
public:
    std::map<std::u16string, std::basic_string<std::byte>> files;

    [[nodiscard]] char16_t PathSeparator() const noexcept override { return u'\\'; }
    [[nodiscard]] std::optional<std::u16string> ModulePath() const override {
        return u"M:\\Portmaven.exe";
    }
    [[nodiscard]] std::optional<std::uint32_t>
    Attributes(const std::u16string& path) const override {
        return files.contains(path) ? std::optional<std::uint32_t>(kAttributeNormal) : std::nullopt;
    }
    [[nodiscard]] std::optional<std::uint64_t> Size(const std::u16string& path) const override {
        const auto file = files.find(path);
        return file == files.end() ? std::nullopt
                                   : std::optional<std::uint64_t>(file->second.size());
    }
    [[nodiscard]] std::unique_ptr<InputFile>
    OpenForReading(const std::u16string& path) const override {
        const auto file = files.find(path);
        if (file == files.end()) {
            return nullptr;
        }
        return std::make_unique<MemoryInputFile>(file->second);
    }
    [[nodiscard]] std::unique_ptr<OutputFile>
    CreateForWriting(const std::u16string& path) override {
        files[path].clear();
        return std::make_unique<MemoryOutputFile>(files[path]);
    }
    bool Replace(const std::u16string& source, const std::u16string& target) override {
        auto node = files.extract(source);
        if (node.empty()) {
            return false;
        }
        files[target] = std::move(node.mapped());
        return true;
    }
    bool Remove(const std::u16string& path) override { return files.erase(path) == 1; }

private:
    class MemoryInputFile : public InputFile {
    public:
        explicit MemoryInputFile(const std::basic_string<std::byte>& content) : rest_(content) {}
        std::optional<std::uint32_t> Read(std::span<std::byte> destination) override {
            const std::size_t count = std::min(destination.size(), rest_.size());
            if (count != 0) {
                std::memcpy(destination.data(), rest_.data(), count);
            }
            rest_ = rest_.subspan(count);
            return static_cast<std::uint32_t>(count);
        }
        bool Close() override { return true; }

    private:
        std::span<const std::byte> rest_;
    };

    class MemoryOutputFile : public OutputFile {
    public:
        explicit MemoryOutputFile(std::basic_string<std::byte>& content) : content_(content) {}
        bool Write(std::span<const std::byte> bytes) override {
            content_.append(bytes.data(), bytes.size());
            return true;
        }
        bool Flush() override { return true; }
        bool Close() override { return true; }

    private:
        std::basic_string<std::byte>& content_;
    };
};

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// What a field of the file must become, worked out the plain way: the units up to the first
// zero unit, or all but the last when there is none, then zeros.
template <std::size_t N>
void RequireLoadedAs(const char16_t (&loaded)[N], const std::uint8_t* image) {
    bool ended = false;
    for (std::size_t i = 0; i < N; ++i) {
        const auto unit = static_cast<char16_t>(image[2 * i] | (image[2 * i + 1] << 8));
        ended = ended || unit == u'\0' || i == N - 1;
        Require(loaded[i] == (ended ? u'\0' : unit));
    }
}

} // namespace
} // namespace portmaven::config

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace portmaven::config;
    const std::u16string path = u"M:\\Portmaven.cfg";
    MemoryFileSystem fileSystem;
    fileSystem.files[path].assign(reinterpret_cast<const std::byte*>(data), size);

    CommandList first;
    LoadCommandList(fileSystem, first, kWindowsDefaultCommand);
    Require(static_cast<std::size_t>(first.GetCount()) == size / kRecordBytes);
    for (int i = 0; i < first.GetCount(); ++i) {
        const std::uint8_t* image = data + static_cast<std::size_t>(i) * kRecordBytes;
        RequireLoadedAs(first.At(i).szName, image);
        RequireLoadedAs(first.At(i).szCommand, image + 2 * kNameUnits);
    }

    // The parser alone sees the same records as the whole load.
    CommandList parsed;
    Require(AppendCommandRecords({reinterpret_cast<const std::byte*>(data), size}, parsed) ==
            static_cast<std::size_t>(first.GetCount()));
    Require(parsed.StorageBytes() == first.StorageBytes());
    Require(first.StorageBytes() == 0 ||
            std::memcmp(parsed.Storage(), first.Storage(), first.StorageBytes()) == 0);

    Require(SaveCommandList(fileSystem, first));
    const auto saved = fileSystem.files.at(path);
    Require(fileSystem.files.size() == 1); // no temporary file left behind
    Require(saved.size() == first.StorageBytes());

    CommandList second;
    LoadCommandList(fileSystem, second, kWindowsDefaultCommand);
    if (first.GetCount() == 0) {
        // An empty file reads as nothing at all, not even the default command.
        Require(second.GetCount() == 0);
        return 0;
    }
    Require(second.GetCount() == first.GetCount());
    Require(std::memcmp(second.Storage(), first.Storage(), first.StorageBytes()) == 0);
    Require(SaveCommandList(fileSystem, second));
    Require(fileSystem.files.at(path) == saved);
    return 0;
}
