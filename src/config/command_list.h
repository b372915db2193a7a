// The command list: every command record, by value, in menu order, in one contiguous block
// whose bytes are exactly the content of the command file.
#pragma once

#include "config/command_record.h"

#include <cstddef>
#include <vector>

namespace portmaven::config {

class CommandList {
public:
    [[nodiscard]] int GetCount() const noexcept { return static_cast<int>(records_.size()); }

    // The record at index; std::out_of_range outside 0 .. count - 1.
    [[nodiscard]] const tag_ST_PORTMAVEN_CONFIG& At(int index) const;

    // Appends a copy of the record: each string up to its terminator, zeros after it.
    void AppendCommand(tag_ST_PORTMAVEN_CONFIG record);

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
    std::vector<tag_ST_PORTMAVEN_CONFIG> records_;
};

// The one process-wide command list.
extern CommandList g_CommandList;

} // namespace portmaven::config
