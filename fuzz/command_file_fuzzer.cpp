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
    [[nodiscard]] std::optional<std::uint32_t>
    Read(const std::u16string& path, std::span<std::byte> destination) const override {
        const auto file = files.find(path);
        if (file == files.end()) {
            return std::nullopt;
        }
        const std::size_t count = std::min(destination.size(), file->second.size());
        std::memcpy(destination.data(), file->second.data(), count);
        return static_cast<std::uint32_t>(count);
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

// Each field holds its text, one terminator inside the field, and zeros after it.
template <std::size_t N> void RequireWellFormed(const char16_t (&field)[N]) {
    const std::size_t length = FieldText(field).size();
    Require(length < N);
    for (std::size_t i = length; i < N; ++i) {
        Require(field[i] == u'\0');
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
    LoadCommandList(fileSystem, first);
    Require(static_cast<std::size_t>(first.GetCount()) == size / kRecordBytes);
    for (int i = 0; i < first.GetCount(); ++i) {
        RequireWellFormed(first.At(i).szName);
        RequireWellFormed(first.At(i).szCommand);
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
    LoadCommandList(fileSystem, second);
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
