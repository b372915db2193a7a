// The program's name as its windows and message boxes show it.
#pragma once

namespace portmaven::common {

inline constexpr char16_t kProgramTitle[] = u"Portmaven";

} // namespace portmaven::common
