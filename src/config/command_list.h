// The command list: every command record, by value, in menu order, in one contiguous block
// whose bytes are exactly the content of the command file.
#pragma once

#include "config/command_record.h"

#include <algorithm>
#include <cstddef>
#include <memory>
#include <new>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace portmaven::config {

class CommandList {
public:
    [[nodiscard]] int GetCount() const noexcept { return static_cast<int>(records_.size()); }

    // The record at index; std::out_of_range outside 0 .. count - 1.
    [[nodiscard]] const tag_ST_PORTMAVEN_CONFIG& At(int index) const;

    // Appends a copy of the record: each string up to its terminator, zeros after it.
    void AppendCommand(tag_ST_PORTMAVEN_CONFIG record);

    // Appends up to count records whose file images a reader writes straight into new slots
    // at the end. fill(slots, arrived) gets the count * kRecordBytes bytes to fill, may call
    // arrived(n) whenever the first n bytes are in place, and returns how many it delivered.
    // Each record that has arrived whole is made what AppendCommand makes of it at once, while
    // it is still in the cache; only records delivered whole are kept. Returns their number.
    template <typename Fill> std::size_t AppendRecordImages(std::size_t count, Fill&& fill);

    // Makes room for count records in all, so that appending up to that many moves nothing.
    void Reserve(std::size_t count) { records_.reserve(count); }

    // Releases the storage; count and capacity become 0.
    void RemoveAllCommands() noexcept;

    // Start of the contiguous block of GetCount() * kRecordBytes bytes; null while empty.
    [[nodiscard]] const std::byte* Storage() const noexcept;
    [[nodiscard]] std::size_t StorageBytes() const noexcept {
        return records_.size() * kRecordBytes;
    }

private:
    // Slots that a reader is about to overwrite are not zeroed first: for a large file that
    // would be a second pass over every byte. Every other way in fills a slot completely.
    template <typename T> struct UninitializedAllocator : std::allocator<T> {
        template <typename U> struct rebind { using other = UninitializedAllocator<U>; };
        template <typename U> void construct(U* slot) noexcept {
            ::new (static_cast<void*>(slot)) U;
        }
        template <typename U, typename... Args> void construct(U* slot, Args&&... args) {
            ::new (static_cast<void*>(slot)) U(std::forward<Args>(args)...);
        }
    };

    std::vector<tag_ST_PORTMAVEN_CONFIG, UninitializedAllocator<tag_ST_PORTMAVEN_CONFIG>> records_;
};

template <typename Fill>
std::size_t CommandList::AppendRecordImages(std::size_t count, Fill&& fill) {
    const std::size_t first = records_.size();
    records_.resize(first + count);
    tag_ST_PORTMAVEN_CONFIG* const slots = records_.data() + first;
    std::size_t normalized = 0;
    auto arrived = [&](std::size_t bytes) {
        for (const std::size_t whole = std::min(bytes / kRecordBytes, count); normalized < whole;
             ++normalized) {
            Normalize(slots[normalized]);
        }
    };
    std::size_t delivered = 0;
    try {
        delivered =
            fill(std::span<std::byte>(reinterpret_cast<std::byte*>(slots), count * kRecordBytes),
                 arrived);
    } catch (...) {
        records_.resize(first);
        throw;
    }
    const std::size_t whole = std::min(delivered / kRecordBytes, count);
    arrived(whole * kRecordBytes);
    records_.resize(first + whole);
    return whole;
}

// The commands' names, in list order.
[[nodiscard]] std::vector<std::u16string> CommandNames(const CommandList& commands);

// The one process-wide command list.
extern CommandList g_CommandList;

} // namespace portmaven::config
