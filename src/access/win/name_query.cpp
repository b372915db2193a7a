#include "access/win/name_query.h"

#include "common/guarded.h"

#include <cstring>
#include <utility>
#include <vector>

namespace portmaven::win {

namespace {

constexpr std::size_t kFirstNameBytes = 1024;
constexpr std::size_t kLargestNameBytes = std::size_t{64} << 10;

} // namespace

std::optional<std::wstring> QueryObjectName(const NtdllFunctions& ntdll, HANDLE object) {
    const std::vector<std::byte> answer = QueryIntoGrowingBuffer(
        [&](void* buffer, ULONG size, ULONG* needed) {
            return ntdll.QueryObject(object, ObjectNameInformation, buffer, size, needed);
        },
        kFirstNameBytes, kLargestNameBytes);
    if (answer.size() < sizeof(UNICODE_STRING)) {
        return std::nullopt;
    }
    UNICODE_STRING name{};
    std::memcpy(&name, answer.data(), sizeof name);
    if (name.Buffer == nullptr || name.Length == 0) {
        return std::nullopt;
    }
    // The name's characters lie in the same buffer, after the header.
    const auto* begin = reinterpret_cast<const std::byte*>(name.Buffer);
    if (begin < answer.data() || begin + name.Length > answer.data() + answer.size()) {
        return std::nullopt;
    }
    std::wstring text(name.Length / sizeof(wchar_t), L'\0');
    std::memcpy(text.data(), begin, text.size() * sizeof(wchar_t));
    return text;
}

// What the caller and one query thread share. The caller writes a request and signals it; the
// thread answers and signals back. A caller that stops waiting sets `leave` and signals again,
// so that the thread ends whenever its query returns.
struct GuardedNameQuery::Worker {
    NameQueryFunction query;
    ScopedKernelHandle requested{::CreateEventW(nullptr, FALSE, FALSE, nullptr)};
    ScopedKernelHandle answered{::CreateEventW(nullptr, FALSE, FALSE, nullptr)};
    std::atomic<bool> leave{false};
    ScopedKernelHandle handle;
    std::shared_ptr<std::atomic<bool>> returned;
    std::optional<std::wstring> name;

    void Serve() {
        for (;;) {
            ::WaitForSingleObject(requested.Get(), INFINITE);
            if (leave.load()) {
                return;
            }
            std::optional<std::wstring> answer;
            common::RunGuarded([&] { answer = query(handle.Get()); });
            handle.Reset();
            name = std::move(answer);
            returned->store(true);
            ::SetEvent(answered.Get());
        }
    }

    static DWORD WINAPI ThreadMain(LPVOID parameter) {
        // The thread holds its own share: it may outlive the caller.
        const std::unique_ptr<std::shared_ptr<Worker>> worker(
            static_cast<std::shared_ptr<Worker>*>(parameter));
        (*worker)->Serve();
        return 0;
    }
};

GuardedNameQuery::GuardedNameQuery(NameQueryFunction query, DWORD watchdogMs)
    : query_(std::move(query)), watchdogMs_(watchdogMs) {}

GuardedNameQuery::~GuardedNameQuery() {
    if (worker_ && thread_) {
        worker_->leave.store(true);
        ::SetEvent(worker_->requested.Get());
        // It waits for a request, so it ends at once; the watchdog bounds it all the same.
        ::WaitForSingleObject(thread_.Get(), watchdogMs_);
    }
}

bool GuardedNameQuery::StartWorker() {
    auto worker = std::make_shared<Worker>();
    worker->query = query_;
    if (!worker->requested || !worker->answered) {
        return false;
    }
    auto share = std::make_unique<std::shared_ptr<Worker>>(worker);
    ScopedKernelHandle thread(
        ::CreateThread(nullptr, 0, &Worker::ThreadMain, share.get(), 0, nullptr));
    if (!thread) {
        return false;
    }
    static_cast<void>(share.release()); // the thread owns it now
    worker_ = std::move(worker);
    thread_ = std::move(thread);
    return true;
}

NameAnswer GuardedNameQuery::NameOf(ScopedKernelHandle handle) {
    if (!worker_ && !StartWorker()) {
        return {};
    }
    auto returned = std::make_shared<std::atomic<bool>>(false);
    worker_->handle = std::move(handle);
    worker_->returned = returned;
    ::SetEvent(worker_->requested.Get());
    if (::WaitForSingleObject(worker_->answered.Get(), watchdogMs_) == WAIT_OBJECT_0) {
        return {.name = std::move(worker_->name), .hung = std::nullopt};
    }
    // Left behind: it ends by itself if its query ever returns.
    worker_->leave.store(true);
    ::SetEvent(worker_->requested.Get());
    worker_.reset();
    thread_.Reset();
    return {.name = std::nullopt, .hung = HungQuery(std::move(returned))};
}

} // namespace portmaven::win
