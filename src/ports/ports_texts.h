// The texts of a port's own dialogs that both front-ends show, each written once.
#pragma once

namespace portmaven::ports {

// The dialog that gives a port's device a name of the user's.
inline constexpr char16_t kRenamePortTitle[] = u"Rename Port";

} // namespace portmaven::ports
