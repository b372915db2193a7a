#include "config/command_record.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

namespace portmaven::config {

tag_ST_PORTMAVEN_CONFIG MakeCommandRecord(std::u16string_view name, std::u16string_view command) {
    tag_ST_PORTMAVEN_CONFIG record{};
    SetFieldText(record.szName, name);
    SetFieldText(record.szCommand, command);
    return record;
}

namespace {

// The scan reads four units as one 64-bit word and takes the lowest unit to be the first in
// memory; and a record's memory image is its file image only where char16_t is little-endian.
static_assert(std::endian::native == std::endian::little,
              "command records are read and written as UTF-16LE memory images");

// Keeps the field's text and zeroes what follows it. Every file the program reads passes
// through here, so the field is looked at four units at a time: first for the terminator,
// then (the tail being nearly always zero already, and looking cheaper than writing) for any
// unit that is not zero behind it.
template <std::size_t N> void ZeroAfterText(char16_t (&field)[N]) noexcept {
    static_assert(N % 4 == 0);
    constexpr std::size_t kWords = N / 4;
    constexpr std::uint64_t kLowBits = 0x0001000100010001;
    constexpr std::uint64_t kHighBits = 0x8000800080008000;
    const auto wordAt = [&field](std::size_t word) {
        std::uint64_t bits = 0;
        std::memcpy(&bits, field + 4 * word, sizeof bits);
        return bits;
    };
    std::size_t word = 0;
    std::uint64_t zeroUnits = 0;
    for (; word < kWords; ++word) {
        const std::uint64_t bits = wordAt(word);
        // The lowest flagged unit is exactly the first zero unit of the word.
        zeroUnits = (bits - kLowBits) & ~bits & kHighBits;
        if (zeroUnits != 0) {
            break;
        }
    }
    if (word == kWords) {
        field[N - 1] = u'\0'; // no terminator: the last unit becomes one
        return;
    }
    const auto unitInWord = static_cast<unsigned>(std::countr_zero(zeroUnits) / 16);
    std::uint64_t dirty = wordAt(word) & (~std::uint64_t{0} << (16 * unitInWord));
    // Four independent lanes keep the loads flowing; the field is scanned for every record of
    // every file read.
    std::size_t rest = word + 1;
    std::uint64_t lanes[4] = {};
    for (; rest + 4 <= kWords; rest += 4) {
        for (std::size_t lane = 0; lane < 4; ++lane) {
            lanes[lane] |= wordAt(rest + lane);
        }
    }
    for (; rest < kWords; ++rest) {
        dirty |= wordAt(rest);
    }
    dirty |= lanes[0] | lanes[1] | lanes[2] | lanes[3];
    if (dirty != 0) {
        std::fill(field + 4 * word + unitInWord, field + N, u'\0');
    }
}

} // namespace

void Normalize(tag_ST_PORTMAVEN_CONFIG& record) noexcept {
    ZeroAfterText(record.szName);
    ZeroAfterText(record.szCommand);
}

tag_ST_PORTMAVEN_CONFIG NormalizedCopy(const tag_ST_PORTMAVEN_CONFIG& source) {
    tag_ST_PORTMAVEN_CONFIG copy = source;
    Normalize(copy);
    return copy;
}

} // namespace portmaven::config
