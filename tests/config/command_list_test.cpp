#include "config/command_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <span>
#include <stdexcept>

namespace portmaven::config {
namespace {

TEST(CommandList, StartsEmptyWithoutStorage) {
    CommandList list;
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_EQ(list.Storage(), nullptr);
    EXPECT_THROW((void)list.At(0), std::out_of_range);
}

TEST(CommandList, AppendKeepsOrderAndContiguousImage) {
    CommandList list;
    list.AppendCommand(MakeCommandRecord(u"A", u"a.exe %PORTNUM%"));
    list.AppendCommand(MakeCommandRecord(u"B", u"b.exe"));
    ASSERT_EQ(list.GetCount(), 2);
    EXPECT_EQ(FieldText(list.At(1).szName), u"B");
    ASSERT_NE(list.Storage(), nullptr);
    EXPECT_EQ(list.StorageBytes(), 2 * kRecordBytes);
    EXPECT_EQ(std::memcmp(list.Storage() + kRecordBytes, &list.At(1), kRecordBytes), 0);
    EXPECT_THROW((void)list.At(-1), std::out_of_range);
    EXPECT_THROW((void)list.At(2), std::out_of_range);
}

TEST(CommandList, AppendZeroesGarbageAfterTerminators) {
    tag_ST_PORTMAVEN_CONFIG dirty{};
    std::memset(&dirty, 0x41, sizeof dirty);
    dirty.szName[3] = u'\0';
    dirty.szCommand[7] = u'\0';
    CommandList list;
    list.AppendCommand(dirty);
    const auto& kept = list.At(0);
    EXPECT_EQ(FieldText(kept.szName).size(), 3u);
    EXPECT_EQ(FieldText(kept.szCommand).size(), 7u);
    for (size_t i = 3; i < kNameUnits; ++i) {
        ASSERT_EQ(kept.szName[i], u'\0') << i;
    }
    for (size_t i = 7; i < kCommandUnits; ++i) {
        ASSERT_EQ(kept.szCommand[i], u'\0') << i;
    }
}

TEST(CommandList, SingleStrayUnitBehindTheTerminatorIsZeroedWhereverItIs) {
    // Fields are examined several units at a time: put the terminator at every position
    // within such a group and one stray unit at every distance behind it.
    for (std::size_t length = 0; length < 12; ++length) {
        for (std::size_t stray = length + 1; stray < kCommandUnits; stray += stray < 16 ? 1 : 97) {
            tag_ST_PORTMAVEN_CONFIG record{};
            for (std::size_t i = 0; i < length; ++i) {
                record.szName[i] = u'n';
                record.szCommand[i] = u'c';
            }
            record.szCommand[stray] = u'X';
            record.szName[std::min(stray, kNameUnits - 1)] = u'X';
            CommandList list;
            list.AppendCommand(record);
            EXPECT_EQ(FieldText(list.At(0).szName), std::u16string(length, u'n'));
            EXPECT_EQ(FieldText(list.At(0).szCommand), std::u16string(length, u'c'));
            EXPECT_EQ(list.At(0).szCommand[stray], u'\0') << length << " " << stray;
            EXPECT_EQ(list.At(0).szName[std::min(stray, kNameUnits - 1)], u'\0')
                << length << " " << stray;
        }
    }
}

TEST(CommandList, FullLengthNameKeepsItsTerminator) {
    const std::u16string longName(400, u'n');
    const auto record = MakeCommandRecord(longName, u"x");
    EXPECT_EQ(FieldText(record.szName).size(), kNameUnits - 1);
    EXPECT_EQ(record.szName[kNameUnits - 1], u'\0');
}

TEST(CommandList, RecordImagesKeepOnlyWholeRecordsEachNormalized) {
    CommandList list;
    list.AppendCommand(MakeCommandRecord(u"First", u"first"));
    tag_ST_PORTMAVEN_CONFIG dirty{};
    std::memset(&dirty, 0x41, sizeof dirty);
    dirty.szName[2] = u'\0';
    const std::size_t appended = list.AppendRecordImages(3, [&](std::span<std::byte> slots, auto) {
        EXPECT_EQ(slots.size(), 3 * kRecordBytes);
        std::memcpy(slots.data(), &dirty, kRecordBytes);
        std::memcpy(slots.data() + kRecordBytes, &dirty, kRecordBytes);
        return 2 * kRecordBytes - 1; // the second record arrived short of one byte
    });
    EXPECT_EQ(appended, 1u);
    ASSERT_EQ(list.GetCount(), 2);
    EXPECT_EQ(FieldText(list.At(0).szName), u"First");
    EXPECT_EQ(FieldText(list.At(1).szName), u"\x4141\x4141");
    EXPECT_EQ(FieldText(list.At(1).szCommand), std::u16string(kCommandUnits - 1, u'\x4141'));
    for (size_t i = 2; i < kNameUnits; ++i) {
        ASSERT_EQ(list.At(1).szName[i], u'\0') << i;
    }
    EXPECT_EQ(list.At(1).szCommand[kCommandUnits - 1], u'\0');
}

TEST(CommandList, ReaderThatThrowsLeavesTheListAsItWas) {
    CommandList list;
    list.AppendCommand(MakeCommandRecord(u"Keep", u"keep"));
    EXPECT_THROW(list.AppendRecordImages(
                     5, [](std::span<std::byte>, auto) -> std::size_t { throw std::bad_alloc(); }),
                 std::bad_alloc);
    ASSERT_EQ(list.GetCount(), 1);
    EXPECT_EQ(FieldText(list.At(0).szName), u"Keep");
}

TEST(CommandList, RemoveAllReleasesStorage) {
    CommandList list;
    list.AppendCommand(MakeCommandRecord(u"A", u"a"));
    list.RemoveAllCommands();
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_EQ(list.Storage(), nullptr);
}

} // namespace
} // namespace portmaven::config
