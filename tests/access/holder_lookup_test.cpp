// The rule of a look for who holds the ports open, driven as a host drives it: a scanner that
// only records what it was asked, answers handed in at moments of a made-up clock.
#include "access/holder_lookup.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <utility>
#include <vector>

namespace portmaven::access {
namespace {

using namespace std::chrono_literals;
using Ports = std::vector<ports::SerialPort>;

constexpr auto kDeadline = 300ms;
const ScanClock::time_point kStart{};

class RecordingScanner final : public HolderScanner {
public:
    void Start(std::uint64_t scan, std::vector<std::u16string> portNames) override {
        started.emplace_back(scan, std::move(portNames));
    }
    std::vector<std::pair<std::uint64_t, std::vector<std::u16string>>> started;
};

Ports TwoPorts() {
    return {{.name = u"COM3", .number = u"3", .label = u"USB Serial Port (COM3)"},
            {.name = u"COM5", .number = u"5", .label = u"USB Serial Port (COM5)"}};
}

std::vector<std::u16string> UsedBy(const Ports& ports) {
    std::vector<std::u16string> texts;
    for (const ports::SerialPort& port : ports) {
        texts.push_back(port.usedBy);
    }
    return texts;
}

class HolderLookupRule : public ::testing::Test {
protected:
    HolderScanAnswer Answer(std::uint64_t scan, HoldersByPort holders, bool complete = true) {
        return {.scan = scan, .complete = complete, .holders = std::move(holders)};
    }

    RecordingScanner scanner_;
    HolderLookup lookup_{scanner_, kDeadline};
    Ports ports_ = TwoPorts();
};

TEST_F(HolderLookupRule, OneLookAtATimeAndItsAnswerGoesToThePortsByName) {
    EXPECT_EQ(lookup_.Refresh(ports_, kStart), HolderLookup::Request::Started);
    // The menu opens twice more while the look runs: neither queued nor started again.
    EXPECT_EQ(lookup_.Refresh(ports_, kStart + 50ms), HolderLookup::Request::Merged);
    EXPECT_EQ(lookup_.Refresh(ports_, kStart + 100ms), HolderLookup::Request::Merged);
    ASSERT_EQ(scanner_.started.size(), 1u);
    EXPECT_EQ(scanner_.started[0].second, (std::vector<std::u16string>{u"COM3", u"COM5"}));

    // An answer to another look than the running one is not believed.
    EXPECT_FALSE(lookup_.OnAnswer(Answer(7, {{u"COM3", {{u"plink", 9}}}}), kStart + 120ms));
    EXPECT_TRUE(lookup_.OnAnswer(
        Answer(scanner_.started[0].first,
               {{u"COM5", {{u"putty", 4321}, {u"plink", 77}}}, {u"COM9", {{u"stray", 1}}}}),
        kStart + 150ms));
    // The ports were enumerated again meanwhile, in another order: the names decide.
    Ports reordered{ports_[1], ports_[0]};
    lookup_.Note(reordered);
    EXPECT_EQ(UsedBy(reordered), (std::vector<std::u16string>{u"putty (4321), plink (77)", u""}));

    // The next opening starts a new look; the same answer again changes nothing.
    EXPECT_EQ(lookup_.Refresh(ports_, kStart + 1s), HolderLookup::Request::Started);
    ASSERT_EQ(scanner_.started.size(), 2u);
    EXPECT_FALSE(lookup_.OnAnswer(
        Answer(scanner_.started[1].first, {{u"COM5", {{u"putty", 4321}, {u"plink", 77}}}}),
        kStart + 1100ms));
}

TEST_F(HolderLookupRule, ALookPastItsDeadlineOrIncompleteSaysNothingAboutUse) {
    lookup_.Refresh(ports_, kStart);
    ASSERT_TRUE(lookup_.OnAnswer(Answer(1, {{u"COM3", {{u"putty", 4321}}}}), kStart + 10ms));

    // Answered after its deadline: dropped, and what was known of its ports is forgotten.
    lookup_.Refresh(ports_, kStart + 1s);
    EXPECT_TRUE(lookup_.OnAnswer(Answer(2, {{u"COM3", {{u"putty", 4321}}}}),
                                 kStart + 1s + kDeadline + 1ms));
    lookup_.Note(ports_);
    EXPECT_EQ(UsedBy(ports_), (std::vector<std::u16string>{u"", u""}));

    // A look that stopped before it saw every handle proves nothing either.
    lookup_.Refresh(ports_, kStart + 2s);
    EXPECT_FALSE(
        lookup_.OnAnswer(Answer(3, {{u"COM3", {{u"putty", 4321}}}}, false), kStart + 2s + 10ms));
    lookup_.Note(ports_);
    EXPECT_EQ(UsedBy(ports_), (std::vector<std::u16string>{u"", u""}));
}

TEST_F(HolderLookupRule, AnOpeningAfterAMissedDeadlineForgetsButWaitsForTheLookToEnd) {
    lookup_.Refresh(ports_, kStart);
    ASSERT_TRUE(lookup_.OnAnswer(Answer(1, {{u"COM3", {{u"putty", 4321}}}}), kStart + 10ms));
    lookup_.Refresh(ports_, kStart + 1s);

    // The look hangs past its deadline: the next opening shows nothing about use, and starts
    // no second look beside the first.
    EXPECT_EQ(lookup_.Refresh(ports_, kStart + 1s + kDeadline + 1ms),
              HolderLookup::Request::Merged);
    lookup_.Note(ports_);
    EXPECT_EQ(UsedBy(ports_), (std::vector<std::u16string>{u"", u""}));
    EXPECT_EQ(scanner_.started.size(), 2u);

    // Its answer, however good, comes too late; only then may a new look start.
    EXPECT_FALSE(lookup_.OnAnswer(Answer(2, {{u"COM3", {{u"putty", 4321}}}}), kStart + 5s));
    lookup_.Note(ports_);
    EXPECT_EQ(UsedBy(ports_), (std::vector<std::u16string>{u"", u""}));
    EXPECT_EQ(lookup_.Refresh(ports_, kStart + 6s), HolderLookup::Request::Started);
    EXPECT_EQ(scanner_.started.size(), 3u);
}

// A panel asks before each submenu it shows: moments after a look ended, its answer stands for
// the same ports, even one that proved nothing, but not for other ports, and not once it is old.
TEST_F(HolderLookupRule, AFreshAnswerStandsForTheSamePortsOnly) {
    HolderLookup lookup{scanner_, kDeadline, 1s};
    lookup.Refresh(ports_, kStart);
    ASSERT_TRUE(lookup.OnAnswer(Answer(1, {{u"COM3", {{u"putty", 4321}}}}), kStart + 10ms));

    EXPECT_EQ(lookup.Refresh(ports_, kStart + 500ms), HolderLookup::Request::Fresh);
    lookup.Note(ports_);
    EXPECT_EQ(UsedBy(ports_), (std::vector<std::u16string>{u"putty (4321)", u""}));
    const Ports onePort{ports_[0]};
    EXPECT_EQ(lookup.Refresh(onePort, kStart + 600ms), HolderLookup::Request::Started);
    ASSERT_FALSE(lookup.OnAnswer(Answer(2, {{u"COM3", {{u"putty", 4321}}}}), kStart + 700ms));

    EXPECT_EQ(lookup.Refresh(onePort, kStart + 1700ms + 1ms), HolderLookup::Request::Started);
    EXPECT_TRUE(lookup.OnAnswer(Answer(3, {}, false), kStart + 1800ms)); // COM3 forgotten
    EXPECT_EQ(lookup.Refresh(onePort, kStart + 1900ms), HolderLookup::Request::Fresh);
    lookup.Note(ports_);
    EXPECT_EQ(UsedBy(ports_), (std::vector<std::u16string>{u"", u""}));
    EXPECT_EQ(lookup.Refresh(onePort, kStart + 2800ms + 1ms), HolderLookup::Request::Started);
    EXPECT_EQ(scanner_.started.size(), 4u);
}

} // namespace
} // namespace portmaven::access
