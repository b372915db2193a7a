// The name of a handle's object, asked on a thread of its own. On some synchronous handles
// (a pipe with a read pending, for one) the name query never returns; then only that thread
// is lost: the caller stops waiting after a watchdog's time, leaves the thread behind, and the
// next query gets a new one.
#pragma once

#include "access/win/ntdll_functions.h"
#include "framework/win/scoped_handle.h"

#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace portmaven::win {

// How long one name query may take before its thread is left behind.
inline constexpr DWORD kNameQueryWatchdogMs = 200;

// Asks the name of an object; nullopt when it has none or the system would not tell.
using NameQueryFunction = std::function<std::optional<std::wstring>(HANDLE)>;

// NtQueryObject's ObjectNameInformation.
std::optional<std::wstring> QueryObjectName(const NtdllFunctions& ntdll, HANDLE object);

// A query that did not answer in time, for as long as it may still be running.
class HungQuery {
public:
    explicit HungQuery(std::shared_ptr<const std::atomic<bool>> returned) noexcept
        : returned_(std::move(returned)) {}
    [[nodiscard]] bool StillRunning() const noexcept { return !returned_->load(); }

private:
    std::shared_ptr<const std::atomic<bool>> returned_;
};

struct NameAnswer {
    std::optional<std::wstring> name;
    // Set when the query did not answer in time.
    std::optional<HungQuery> hung;
};

class GuardedNameQuery {
public:
    explicit GuardedNameQuery(NameQueryFunction query, DWORD watchdogMs = kNameQueryWatchdogMs);
    // Ends the thread that waits for the next query; threads left behind stay behind.
    ~GuardedNameQuery();
    GuardedNameQuery(const GuardedNameQuery&) = delete;
    GuardedNameQuery& operator=(const GuardedNameQuery&) = delete;
    GuardedNameQuery(GuardedNameQuery&&) = delete;
    GuardedNameQuery& operator=(GuardedNameQuery&&) = delete;

    // The name of the object of `handle`, which the query owns from now on (a thread left
    // behind closes it when its query returns, if ever).
    NameAnswer NameOf(ScopedKernelHandle handle);

private:
    struct Worker;
    // A thread ready for queries, started when the first query comes or the last one hung.
    bool StartWorker();

    NameQueryFunction query_;
    DWORD watchdogMs_;
    std::shared_ptr<Worker> worker_;
    ScopedKernelHandle thread_;
};

} // namespace portmaven::win
