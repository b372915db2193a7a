// The application object: one copy per log-on session, then the hidden host dialog, run
// modally for the program's whole life.
#pragma once

#include "framework/win/scoped_handle.h"
#include "framework/win/win_app.h"

namespace portmaven::win {

inline constexpr wchar_t kInstanceEventName[] = L"PORTMAVEN_EVENT";

class CPortmavenApp : public WinApp {
public:
    CPortmavenApp() noexcept = default;
    ~CPortmavenApp() override = default;

    CPortmavenApp(const CPortmavenApp&) = delete;
    CPortmavenApp& operator=(const CPortmavenApp&) = delete;
    CPortmavenApp(CPortmavenApp&&) = delete;
    CPortmavenApp& operator=(CPortmavenApp&&) = delete;

    BOOL InitInstance() override;

private:
    // The named event whose existence marks the running copy. Held until the process ends,
    // so the name exists exactly as long as this copy runs.
    ScopedKernelHandle m_hInstanceEvent;
};

} // namespace portmaven::win
