// When to look for who holds the ports open, and what to believe of the answers. A look goes
// through the open files of a whole system and can be slow, so it runs away from the menu,
// which shows what is known meanwhile:
// - one look at a time: a request while one runs is answered by that one, neither queued nor
//   started again;
// - a look that misses its deadline is dropped, and its ports say nothing about use;
// - answers are matched to the ports by name, so ports enumerated again in between take them;
// - a look that ended moments ago stands for the same ports: a panel asks before it shows the
//   menu and each submenu, and a look for every one of those would spend on the system's open
//   files what the menu needs to come up.
#pragma once

#include "access/port_holder.h"
#include "ports/serial_port.h"

#include <chrono>
#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace portmaven::access {

using ScanClock = std::chrono::steady_clock;

// What one look found, under the number it was started with.
struct HolderScanAnswer {
    std::uint64_t scan = 0;
    // False when the look stopped before it had seen every open file (it ran out of time, or
    // the system would not tell): then it proves nothing about use.
    bool complete = false;
    HoldersByPort holders;
};

// Starts a look on the platform's worker. Its answer is handed to HolderLookup::OnAnswer later,
// on the thread that owns the lookup.
class HolderScanner {
public:
    HolderScanner() = default;
    virtual ~HolderScanner() = default;
    HolderScanner(const HolderScanner&) = delete;
    HolderScanner& operator=(const HolderScanner&) = delete;
    HolderScanner(HolderScanner&&) = delete;
    HolderScanner& operator=(HolderScanner&&) = delete;

    virtual void Start(std::uint64_t scan, std::vector<std::u16string> portNames) = 0;
};

class HolderLookup {
public:
    enum class Request { Started, Merged, Fresh };

    // `freshFor`: how long the answer of a look, even one that proved nothing, stands for the
    // same ports without a new look.
    HolderLookup(HolderScanner& scanner, ScanClock::duration deadline,
                 ScanClock::duration freshFor = {}) noexcept
        : scanner_(scanner), deadline_(deadline), freshFor_(freshFor) {}

    // The user is about to see `ports`: starts a look for them, unless one runs already (its
    // answer then serves this request too) or one for the same ports ended less than
    // `freshFor` ago. A running look already past its deadline is dropped here.
    Request Refresh(std::span<const ports::SerialPort> ports, ScanClock::time_point now);

    // An answer came at `now`. True when what the ports say about use changed, so that
    // whatever shows them is written again.
    bool OnAnswer(const HolderScanAnswer& answer, ScanClock::time_point now);

    // Sets each port's usedBy from what is known of it by its name; ports not known say
    // nothing about use.
    void Note(std::span<ports::SerialPort> ports) const;

private:
    struct RunningScan {
        std::uint64_t number = 0;
        ScanClock::time_point deadline;
        std::vector<std::u16string> portNames;
        bool dropped = false;
    };

    // Forgets what is known of these ports; true when something was known.
    bool Forget(const std::vector<std::u16string>& portNames);

    struct EndedLook {
        ScanClock::time_point at;
        std::vector<std::u16string> portNames;
    };

    HolderScanner& scanner_;
    ScanClock::duration deadline_;
    ScanClock::duration freshFor_;
    std::uint64_t lastScan_ = 0;
    std::optional<EndedLook> lastAnswer_;
    std::optional<RunningScan> running_;
    // The usedBy text of each port with holders, from the last answer that counted.
    std::map<std::u16string, std::u16string, std::less<>> known_;
};

} // namespace portmaven::access
