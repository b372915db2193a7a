// The program's own texts that both front-ends show, each written once.
#pragma once

namespace portmaven::common {

// The program's name as its windows, message boxes, tray tip and tooltip show it.
inline constexpr char16_t kProgramTitle[] = u"Portmaven";
// A second copy in the same session says this and ends.
inline constexpr char16_t kAlreadyRunningText[] = u"Portmaven already running!";
// The caption of that box.
inline constexpr char16_t kAlreadyRunningCaption[] = u"Information";

} // namespace portmaven::common
