// Arbitrary bytes as the command file: loading must stay inside the buffer and the fields, and
// what it loads must save and load back to exactly the same records.
#include "config/command_file.h"
#include "support/memory_file_system.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace portmaven::config {
namespace {

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
    const std::u16string path = testing::MemoryFileSystem::kCommandFile;
    testing::MemoryFileSystem fileSystem;
    const auto* bytes = reinterpret_cast<const std::byte*>(data);
    fileSystem.files[path].assign(bytes, bytes + size);

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
