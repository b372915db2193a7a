#include "framework/win/icon_file.h"

#include "framework/win/scoped_handle.h"

#include <cstddef>
#include <cstring>
#include <new>
#include <span>
#include <vector>

namespace portmaven::win {

namespace {

// The icon directory's header (reserved, type, count) is the same in a resource and a file.
// Each entry in a resource ends in the id of its image (a WORD); in a file, in the image's
// offset from the start of the file (a DWORD). The 12 bytes before are the same.
constexpr std::size_t kHeaderSize = 6;
constexpr std::size_t kResourceEntrySize = 14;
constexpr std::size_t kFileEntrySize = 16;
constexpr std::size_t kSharedEntrySize = 12;

std::span<const BYTE> ResourceBytes(HMODULE module, LPCWSTR name, LPCWSTR type) noexcept {
    HRSRC found = ::FindResourceW(module, name, type);
    HGLOBAL loaded = found != nullptr ? ::LoadResource(module, found) : nullptr;
    const void* bytes = loaded != nullptr ? ::LockResource(loaded) : nullptr;
    if (bytes == nullptr) {
        return {};
    }
    return {static_cast<const BYTE*>(bytes), ::SizeofResource(module, found)};
}

template <typename Value> Value ReadAt(std::span<const BYTE> bytes, std::size_t offset) noexcept {
    Value value{};
    std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

template <typename Value>
void WriteAt(std::vector<BYTE>& bytes, std::size_t offset, Value value) noexcept {
    std::memcpy(bytes.data() + offset, &value, sizeof value);
}

// The .ico file's bytes; empty when the resource does not make one.
std::vector<BYTE> IconFileImage(HMODULE module, int id) {
    const std::span<const BYTE> group = ResourceBytes(module, MAKEINTRESOURCEW(id), RT_GROUP_ICON);
    if (group.size() < kHeaderSize) {
        return {};
    }
    const std::size_t count = ReadAt<WORD>(group, 4);
    if (count == 0 || group.size() < kHeaderSize + count * kResourceEntrySize) {
        return {};
    }
    std::vector<BYTE> file(kHeaderSize + count * kFileEntrySize);
    std::memcpy(file.data(), group.data(), kHeaderSize);
    for (std::size_t index = 0; index < count; ++index) {
        const std::size_t from = kHeaderSize + index * kResourceEntrySize;
        const std::size_t to = kHeaderSize + index * kFileEntrySize;
        const std::span<const BYTE> image = ResourceBytes(
            module, MAKEINTRESOURCEW(ReadAt<WORD>(group, from + kSharedEntrySize)), RT_ICON);
        if (image.empty()) {
            return {};
        }
        std::memcpy(file.data() + to, group.data() + from, kSharedEntrySize);
        // The image's own size, whatever the directory claims.
        WriteAt(file, to + 8, static_cast<DWORD>(image.size()));
        WriteAt(file, to + kSharedEntrySize, static_cast<DWORD>(file.size()));
        file.insert(file.end(), image.begin(), image.end());
    }
    return file;
}

} // namespace

bool WriteIconFile(HMODULE module, int id, const std::wstring& path) noexcept {
    try {
        const std::vector<BYTE> image = IconFileImage(module, id);
        if (image.empty()) {
            return false;
        }
        const ScopedFileHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr,
                                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        return file &&
               ::WriteFile(file.Get(), image.data(), static_cast<DWORD>(image.size()), &written,
                           nullptr) != FALSE &&
               written == image.size();
    } catch (const std::bad_alloc&) {
        return false;
    }
}

} // namespace portmaven::win
