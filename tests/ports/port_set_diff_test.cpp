// Which ports came and went between two enumerations.
#include "ports/port_set_diff.h"

#include <gtest/gtest.h>

#include <vector>

namespace portmaven::ports {
namespace {

const SerialPort kCom3{u"COM3", u"3", u"USB Serial Port (COM3)"};
const SerialPort kCom5{u"COM5", u"5", u"USB Serial Port (COM5)"};
const SerialPort kCom7{u"COM7", u"7", u"Bluetooth Link (COM7)"};

TEST(DiffPortSets, IgnoresOrderAndReportsEachDirectionInItsEnumerationsOrder) {
    const std::vector<SerialPort> before{kCom3, kCom5, kCom7};
    EXPECT_TRUE(DiffPortSets(before, std::vector{kCom7, kCom3, kCom5}).IsEmpty());

    const SerialPort com9{u"COM9", u"9", u"USB Serial Port (COM9)"};
    const SerialPort com1{u"COM1", u"1", u"Communications Port (COM1)"};
    const PortSetChange change = DiffPortSets(before, std::vector{com9, kCom5, com1});
    EXPECT_EQ(change.added, (std::vector{com9, com1}));
    EXPECT_EQ(change.removed, (std::vector{kCom3, kCom7}));
}

TEST(DiffPortSets, ComparesAsMultisetsByNameAndLabel) {
    // A port that the system lists twice is unchanged only when it is still listed twice.
    EXPECT_TRUE(DiffPortSets(std::vector{kCom3, kCom3}, std::vector{kCom3, kCom3}).IsEmpty());
    const PortSetChange lostOne =
        DiffPortSets(std::vector{kCom3, kCom5, kCom3}, std::vector{kCom3});
    EXPECT_TRUE(lostOne.added.empty());
    EXPECT_EQ(lostOne.removed, (std::vector{kCom5, kCom3}));

    // Another device under the same number is a different port.
    const SerialPort otherCom3{u"COM3", u"3", u"Prolific USB-to-Serial (COM3)"};
    const PortSetChange swapped = DiffPortSets(std::vector{kCom3}, std::vector{otherCom3});
    EXPECT_EQ(swapped.added, std::vector{otherCom3});
    EXPECT_EQ(swapped.removed, std::vector{kCom3});
}

} // namespace
} // namespace portmaven::ports
