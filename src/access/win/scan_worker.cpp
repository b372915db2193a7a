#include "access/win/scan_worker.h"

#include "access/win/holder_scan.h"
#include "common/guarded.h"
#include "framework/win/scoped_handle.h"

#include <mutex>
#include <utility>

namespace portmaven::win {

struct HolderScanWorker::Shared {
    HWND window = nullptr;
    UINT message = 0;
    std::mutex mutex;
    std::optional<access::HolderScanAnswer> answer;
    // Only the running look touches it, and one look runs at a time.
    std::vector<HungHandle> hung;

    void Deliver(access::HolderScanAnswer found) {
        {
            const std::lock_guard lock(mutex);
            answer = std::move(found);
        }
        ::PostMessageW(window, message, 0, 0);
    }
};

struct HolderScanWorker::Job {
    std::shared_ptr<Shared> shared;
    std::uint64_t scan = 0;
    std::vector<std::u16string> portNames;
    access::ScanClock::time_point deadline;
};

DWORD WINAPI HolderScanWorker::RunJob(LPVOID parameter) {
    const std::unique_ptr<Job> job(static_cast<Job*>(parameter));
    // Whatever happens, an answer goes back, so that the next look may start.
    access::HolderScanAnswer answer{.scan = job->scan, .complete = false, .holders = {}};
    common::RunGuarded([&] {
        answer = ScanPortHolders(job->scan, job->portNames, job->deadline, job->shared->hung);
    });
    common::RunGuarded([&] { job->shared->Deliver(std::move(answer)); });
    return 0;
}

HolderScanWorker::HolderScanWorker(HWND window, UINT message, access::ScanClock::duration deadline)
    : shared_(std::make_shared<Shared>()), deadline_(deadline) {
    shared_->window = window;
    shared_->message = message;
}

void HolderScanWorker::Start(std::uint64_t scan, std::vector<std::u16string> portNames) {
    auto job = std::make_unique<Job>(
        Job{shared_, scan, std::move(portNames), access::ScanClock::now() + deadline_});
    const ScopedKernelHandle thread(::CreateThread(nullptr, 0, &RunJob, job.get(), 0, nullptr));
    if (thread) {
        static_cast<void>(job.release()); // the thread owns it now
        return;
    }
    // No thread, no look: an answer that proves nothing frees the way for the next one.
    shared_->Deliver({.scan = scan, .complete = false, .holders = {}});
}

std::optional<access::HolderScanAnswer> HolderScanWorker::TakeAnswer() {
    const std::lock_guard lock(shared_->mutex);
    return std::exchange(shared_->answer, std::nullopt);
}

} // namespace portmaven::win
