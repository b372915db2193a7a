#include "access/linux/holder_scan_worker.h"

#include "access/linux/port_users.h"
#include "common/guarded.h"

#include <QCoreApplication>
#include <QEvent>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <functional>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

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

QEvent::Type AnswerEventType() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

} // namespace

struct HolderScanWorker::Shared {
    std::mutex mutex;
    // Null once the worker is gone.
    QObject* receiver = nullptr;
    std::vector<access::HolderScanAnswer> answers;

    // On the look's thread: keeps the answer and wakes the receiver's thread for it.
    void Deliver(access::HolderScanAnswer answer) {
        const std::lock_guard lock(mutex);
        if (receiver == nullptr) {
            return;
        }
        answers.push_back(std::move(answer));
        // Posted while the worker cannot go; the receiver's end takes the event along.
        QCoreApplication::postEvent(receiver, new QEvent(AnswerEventType()));
    }

    std::vector<access::HolderScanAnswer> Take() {
        const std::lock_guard lock(mutex);
        return std::exchange(answers, {});
    }
};

namespace {

// Hands the answers to their handler on the thread it lives on.
class AnswerReceiver final : public QObject {
public:
    explicit AnswerReceiver(std::function<void()> take) : take_(std::move(take)) {}

    bool event(QEvent* event) override {
        if (event->type() != AnswerEventType()) {
            return QObject::event(event);
        }
        common::RunGuarded(take_);
        return true;
    }

private:
    std::function<void()> take_;
};

} // namespace

HolderScanWorker::HolderScanWorker(AnswerHandler onAnswer, access::ScanClock::duration deadline,
                                   std::filesystem::path proc)
    : shared_(std::make_shared<Shared>()), deadline_(deadline), proc_(std::move(proc)) {
    receiver_ =
        std::make_unique<AnswerReceiver>([shared = shared_, onAnswer = std::move(onAnswer)] {
            for (const access::HolderScanAnswer& answer : shared->Take()) {
                common::RunGuarded([&] { onAnswer(answer); });
            }
        });
    shared_->receiver = receiver_.get();
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
