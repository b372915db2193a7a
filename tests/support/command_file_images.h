// Byte images of command records, built by hand the way the file lays them out (UTF-16LE,
// name at 0, command line at 512), for tests that put files on disk.
#pragma once

#include "config/command_record.h"

#include <cstddef>
#include <string_view>
#include <vector>

namespace portmaven::config::testing {

using Bytes = std::vector<std::byte>;

inline void PutUnits(Bytes& image, std::size_t offset, std::u16string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        image[offset + 2 * i] = static_cast<std::byte>(text[i] & 0xFF);
        image[offset + 2 * i + 1] = static_cast<std::byte>(text[i] >> 8);
    }
}

// One record: the texts, each followed by zeros up to the end of its field.
inline Bytes RecordImage(std::u16string_view name, std::u16string_view command) {
    Bytes image(kRecordBytes);
    PutUnits(image, 0, name);
    PutUnits(image, 2 * kNameUnits, command);
    return image;
}

inline Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

} // namespace portmaven::config::testing
