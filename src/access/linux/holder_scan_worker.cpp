#include "access/linux/holder_scan_worker.h"

#include "access/linux/port_users.h"
#include "common/guarded.h"

#include <QMetaObject>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

namespace portmaven::linux_desktop {

namespace {

// The look is work the user does not wait for: it yields the processor to the menu it serves.
// On Linux the niceness of a thread is its own.
constexpr int kLookNiceness = 10;

void YieldToTheMenu() {
    const id_t thread = static_cast<id_t>(::gettid());
    errno = 0;
    const int now = ::getpriority(PRIO_PROCESS, thread);
    if (errno == 0) {
        ::setpriority(PRIO_PROCESS, thread, std::min(now + kLookNiceness, 19));
    }
}

} // namespace

struct HolderScanWorker::Shared {
    std::mutex mutex;
    // Null once the worker is gone.
    QObject* receiver = nullptr;
    AnswerHandler onAnswer;

    void Deliver(access::HolderScanAnswer answer) {
        const std::lock_guard lock(mutex);
        if (receiver == nullptr) {
            return;
        }
        // Posted while the worker cannot go: the receiver's end takes the posted call along.
        QMetaObject::invokeMethod(
            receiver,
            [handler = onAnswer, answer = std::move(answer)] {
                common::RunGuarded([&] { handler(answer); });
            },
            Qt::QueuedConnection);
    }
};

HolderScanWorker::HolderScanWorker(AnswerHandler onAnswer, access::ScanClock::duration deadline,
                                   std::filesystem::path proc)
    : receiver_(std::make_unique<QObject>()), shared_(std::make_shared<Shared>()),
      deadline_(deadline), proc_(std::move(proc)) {
    shared_->receiver = receiver_.get();
    shared_->onAnswer = std::move(onAnswer);
}

HolderScanWorker::~HolderScanWorker() {
    const std::lock_guard lock(shared_->mutex);
    shared_->receiver = nullptr;
}

void HolderScanWorker::Start(std::uint64_t scan, std::vector<std::u16string> portNames) {
    const access::ScanClock::time_point deadline = access::ScanClock::now() + deadline_;
    try {
        std::thread([shared = shared_, scan, portNames = std::move(portNames), deadline,
                     proc = proc_] {
            YieldToTheMenu();
            // Whatever happens, an answer goes back, so that the next look may start.
            access::HolderScanAnswer answer{.scan = scan, .complete = false, .holders = {}};
            common::RunGuarded([&] { answer = ScanPortHolders(scan, portNames, deadline, proc); });
            common::RunGuarded([&] { shared->Deliver(std::move(answer)); });
        }).detach();
    } catch (const std::system_error&) {
        // No thread, no look: an answer that proves nothing frees the way for the next one.
        shared_->Deliver({.scan = scan, .complete = false, .holders = {}});
    }
}

} // namespace portmaven::linux_desktop
