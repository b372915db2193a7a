// Runs each look for the ports' holders on a thread of its own and hands its answer to the
// thread that made the worker (the GUI's), through that thread's event loop: the worker never
// touches the GUI, and the menu never waits for it.
#pragma once

#include "access/holder_lookup.h"

#include <QObject>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace portmaven::linux_desktop {

class HolderScanWorker final : public access::HolderScanner {
public:
    using AnswerHandler = std::function<void(const access::HolderScanAnswer&)>;

    // onAnswer runs on this thread's event loop; a look stops at `deadline` after it started.
    HolderScanWorker(AnswerHandler onAnswer, access::ScanClock::duration deadline,
                     std::filesystem::path proc = "/proc");
    // A look still running is left behind: it keeps only what it shares with this object, and
    // its answer goes nowhere.
    ~HolderScanWorker() override;
    HolderScanWorker(const HolderScanWorker&) = delete;
    HolderScanWorker& operator=(const HolderScanWorker&) = delete;
    HolderScanWorker(HolderScanWorker&&) = delete;
    HolderScanWorker& operator=(HolderScanWorker&&) = delete;

    void Start(std::uint64_t scan, std::vector<std::u16string> portNames) override;

private:
    struct Shared;

    // Receives the answers on this thread; gone with the worker, and with it any answer
    // still on its way.
    std::unique_ptr<QObject> receiver_;
    std::shared_ptr<Shared> shared_;
    access::ScanClock::duration deadline_;
    std::filesystem::path proc_;
};

} // namespace portmaven::linux_desktop
