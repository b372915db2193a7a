// The program's own texts that both front-ends show, each written once.
#pragma once

namespace portmaven::common {

// The program's name as its windows, message boxes, tray tip and tooltip show it.
inline constexpr char16_t kProgramTitle[] = u"Portmaven";
// A second copy in the same session says this and ends.
inline constexpr char16_t kAlreadyRunningText[] = u"Portmaven already running!";
// The caption of that box.
inline constexpr char16_t kAlreadyRunningCaption[] = u"Information";

// What "--help" prints: the options both programs take.
inline constexpr char16_t kCommandLineHelpText[] =
    u"Options:\n"
    u"  --list-ports  Print one line per serial port present, in menu order, and end. Fields,\n"
    u"                separated by tabs: name, label, VID:PID, serial number, manufacturer,\n"
    u"                \"hidden\" or \"shown\". Works whether or not the program is running.\n"
    u"  --help        Print this text and end.\n";

} // namespace portmaven::common
