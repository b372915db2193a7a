#!/usr/bin/env python3
"""Fails when an #include goes against the layers.

Arrows run one way: host (src/app/<platform>/) -> each subsystem's platform code
(src/<subsystem>/<platform>/) -> framework (src/framework/) -> portable core (src/common/ and
the top level of every other subsystem). Across the arrows: Win32 code (win/) and Linux code
(linux/, posix/) never include each other, by path or by platform header; a subsystem's
platform code includes only its own subsystem, the core and (Win32 only) the framework; one
host never includes the other. Between the rooms themselves, arrows run one way too: each room
uses only the rooms it is written over (ROOM_USES), in its portable code and its platform code
alike. Usage:

    check_layers.py [SRC_DIR]      check a source tree (default: src/ beside this script)
    check_layers.py --self-test    prove that every rule catches what it should
"""
import pathlib
import re
import sys
import tempfile

PLATFORM_DIRS = {"win", "linux", "posix"}
NOT_SUBSYSTEMS = {"app", "framework"}
# The two sides of the program: the Win32 side and the Linux side (POSIX code serves Linux).
SIDE_OF_DIR = {"win": "Win32", "linux": "Linux", "posix": "Linux"}

# The rooms each room is written over, besides itself and common/: the tray menu shows the
# ports and the commands, the launch starts a command on a port, access tells why a port will
# not open (who holds it), and a board's arrival runs its command as the menu's choice would,
# through the launch.
ROOM_USES = {
    "common": set(),
    "config": set(),
    "ports": set(),
    "access": {"ports"},
    "launch": {"ports"},
    "tray": {"config", "ports"},
    "arrival": {"tray", "config", "ports", "launch"},
    "about": set(),
}

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.MULTILINE)

# Headers of the platforms and libraries the core must not see.
PLATFORM_HEADER = re.compile(
    r"^(windows|win[a-z0-9]*|shellapi|commctrl|setupapi|shlobj|shlwapi|objbase|ole2|tchar"
    r"|cfgmgr32|devguid|libudev|Q[A-Za-z]*(/.*)?|Qt[A-Za-z]*/.*)\.?h?$",
    re.IGNORECASE,
)


# Headers only one side may see.
WIN32_HEADER = re.compile(
    r"^(windows|win[a-z0-9]*|shellapi|commctrl|setupapi|shlobj|shlwapi|objbase|ole2|tchar"
    r"|cfgmgr32|devguid|dbt)\.h$",
    re.IGNORECASE,
)
LINUX_HEADER = re.compile(r"^(libudev\.h|Q[A-Za-z]*(/.*)?|Qt[A-Za-z]*/.*|unistd\.h|sys/.*)$")


def is_platform_path(header):
    parts = header.split("/")
    return any(part in PLATFORM_DIRS for part in parts[:-1])


def side_of(path_text):
    """"Win32", "Linux" or None for a path such as "config/win/x.h"."""
    for part in path_text.split("/")[:-1]:
        if part in SIDE_OF_DIR:
            return SIDE_OF_DIR[part]
    return None


def side_of_header(kind, header):
    if kind == '"':
        return side_of(header)
    if WIN32_HEADER.match(header):
        return "Win32"
    if LINUX_HEADER.match(header):
        return "Linux"
    return None


def core_violation(kind, header):
    if kind == "<":
        return PLATFORM_HEADER.match(header) is not None and "portable core"
    if is_platform_path(header) or header.split("/")[0] in NOT_SUBSYSTEMS:
        return "portable core"
    return None


def room_of(relative):
    """(room, layer) of a file path relative to src/."""
    parts = relative.parts
    room = parts[0]
    if room == "app":
        return room, "host"
    if room == "framework":
        return room, "framework"
    if len(parts) > 2 and parts[1] in PLATFORM_DIRS:
        return room, "subsystem platform"
    return room, "core"


def room_violation(room, header):
    """A room including a room it is not written over."""
    top = header.split("/")[0]
    if top not in ROOM_USES or top in {room, "common"} or room not in ROOM_USES:
        return None
    if top in ROOM_USES[room]:
        return None
    return f"{room}/ including {top}/, which it is not written over"


def subsystem_violation(room, side, header):
    """What a subsystem's platform code may include: its own room, the core, the framework."""
    top = header.split("/")[0]
    if top == "app":
        return "a subsystem including the host"
    if top == "framework":
        return None if side == "Win32" else "Linux code including the Win32 framework"
    if top != room and is_platform_path(header):
        return "a subsystem including another subsystem's platform code"
    return None


def violation(relative, layer, kind, header):
    if layer == "core":
        return core_violation(kind, header) or (kind == '"' and room_violation(relative.parts[0], header))
    own_side = side_of(relative.as_posix())
    other_side = side_of_header(kind, header)
    if layer == "host" and kind == '"' and header.split("/")[0] == "app" and other_side != own_side:
        return "a host including the other host"
    if own_side and other_side and other_side != own_side:
        return f"{own_side} code including {other_side} code"
    if kind != '"':
        return None
    if layer == "subsystem platform":
        return subsystem_violation(relative.parts[0], own_side, header) or room_violation(
            relative.parts[0], header)
    if layer == "framework" and header.split("/")[0] != "framework":
        return "the framework including Portmaven"
    return None


def check(src):
    findings = []
    for path in sorted(src.rglob("*")):
        if path.suffix not in {".h", ".cpp"}:
            continue
        relative = path.relative_to(src)
        _, layer = room_of(relative)
        for match in INCLUDE.finditer(path.read_text(encoding="utf-8")):
            kind, header = match.group(1), match.group(2)
            why = violation(relative, layer, kind, header)
            if why:
                line = path.read_text(encoding="utf-8")[: match.start()].count("\n") + 1
                findings.append(f"src/{relative}:{line}: {why}: #include {kind}{header}")
    return findings


def self_test():
    bad = [
        ("config/command_file.cpp", '#include "config/win/file_system.h"', "portable core"),
        ("ports/port_name.h", "#include <windows.h>", "portable core"),
        ("common/text.cpp", "#include <QString>", "portable core"),
        ("about/hyper_link_model.cpp", "#include <libudev.h>", "portable core"),
        ("tray/menu_selection.cpp", '#include "framework/win/dialog.h"', "portable core"),
        ("config/x.cpp", '#include "config/linux/x.h"', "portable core"),
        ("launch/win/launch.cpp", '#include "app/win/portmaven_dlg.h"',
         "a subsystem including the host"),
        ("about/linux/about_dialog.cpp", '#include "app/linux/tray_host.h"',
         "a subsystem including the host"),
        ("framework/win/dialog.cpp", '#include "tray/menu_ids.h"',
         "the framework including Portmaven"),
        # Win32 and Linux code never meet, by path or by platform header.
        ("config/win/configure_dialog.cpp", '#include "config/linux/command_store.h"',
         "Win32 code including Linux code"),
        ("config/win/command_store.cpp", '#include "config/posix/file_system.h"',
         "Win32 code including Linux code"),
        ("tray/win/tray_menu.cpp", "#include <QMenu>", "Win32 code including Linux code"),
        ("ports/win/serial_port_enum.cpp", "#include <libudev.h>",
         "Win32 code including Linux code"),
        ("ports/linux/launch.cpp", '#include "launch/win/launch.h"',
         "Linux code including Win32 code"),
        ("config/posix/file_system.cpp", "#include <windows.h>", "Linux code including Win32 code"),
        ("about/linux/about_dialog.cpp", '#include "framework/win/dialog.h"',
         "Linux code including Win32 code"),
        # A subsystem's platform code stays in its own room, the core and the framework.
        ("config/win/configure_dialog.cpp", '#include "launch/win/launch.h"',
         "another subsystem's platform code"),
        ("about/linux/about_dialog.cpp", '#include "config/linux/xdg_config.h"',
         "another subsystem's platform code"),
        # Rooms use only the rooms they are written over.
        ("ports/port_notice.cpp", '#include "tray/menu_ids.h"', "not written over"),
        ("launch/command_line.cpp", '#include "config/command_list.h"', "not written over"),
        ("config/command_list.cpp", '#include "ports/serial_port.h"', "not written over"),
        ("ports/win/port_actions.cpp", '#include "tray/menu_ids.h"', "not written over"),
        ("launch/linux/launch.cpp", '#include "tray/menu_choice.h"', "not written over"),
        ("tray/menu_choice.cpp", '#include "arrival/arrival_runs.h"', "not written over"),
        ("launch/started_process.h", '#include "arrival/notice_click.h"', "not written over"),
        ("access/holder_lookup.cpp", '#include "tray/tray_texts.h"', "not written over"),
        ("ports/win/port_actions.cpp", '#include "access/port_holder.h"', "not written over"),
        ("access/win/holder_scan.cpp", '#include "ports/win/setupapi_functions.h"',
         "another subsystem's platform code"),
        # One host never includes the other.
        ("app/win/portmaven_dlg.cpp", '#include "app/linux/tray_host.h"',
         "a host including the other host"),
        ("app/linux/tray_host.cpp", '#include "app/win/portmaven_dlg.h"',
         "a host including the other host"),
    ]
    good = {
        "config/command_file.cpp": '#include "config/file_system.h"\n#include <cstdint>',
        "ports/win/enum.cpp": '#include "ports/port_name.h"\n#include <windows.h>\n'
        '#include "ports/win/enum.h"\n#include "framework/win/dialog.h"\n#include "common/text.h"',
        "ports/linux/enum.cpp": "#include <libudev.h>\n#include <QString>\n#include <unistd.h>\n"
        '#include "ports/linux/enum.h"\n#include "ports/serial_port.h"',
        "config/linux/store.cpp": '#include "config/posix/file_system.h"',
        "access/win/scan.cpp": '#include "access/holder_lookup.h"\n#include "ports/serial_port.h"\n'
        '#include "framework/win/scoped_handle.h"\n#include <winternl.h>',
        "access/linux/users.cpp": '#include "access/port_holder.h"\n#include <QString>',
        "app/win/host.cpp": '#include "launch/win/launch.h"\n#include "config/win/configure_dialog.h"\n'
        '#include "app/win/portmaven_dlg.h"\n#include "framework/win/dialog.h"',
        "app/linux/tray_host.cpp": '#include "tray/linux/tray_menu.h"\n'
        '#include "app/linux/tray_host.h"',
        "framework/win/dialog.cpp": '#include "framework/win/message_map.h"',
        "arrival/arrival_runs.cpp": '#include "tray/menu_choice.h"\n#include "launch/launch_texts.h"\n'
        '#include "config/command_list.h"\n#include "ports/serial_port.h"',
    }
    failures = []
    with tempfile.TemporaryDirectory() as temp:
        for name, text, why in bad + [(None, None, None)]:
            for path in pathlib.Path(temp).rglob("*.*"):
                path.unlink()
            files = dict(good)
            if name:
                files[name] = text
            for file, content in files.items():
                target = pathlib.Path(temp, file)
                target.parent.mkdir(parents=True, exist_ok=True)
                target.write_text(content + "\n", encoding="utf-8")
            findings = check(pathlib.Path(temp))
            if name and (len(findings) != 1 or why not in findings[0]):
                failures.append(f"{name}: {text!r} gave {findings}, not {why!r}")
            if not name and findings:
                failures.append(f"a clean tree gave {findings}")
    for failure in failures:
        print("self-test:", failure)
    return 1 if failures else 0


def main():
    if sys.argv[1:] == ["--self-test"]:
        return self_test()
    src = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else pathlib.Path(__file__).parent.parent / "src"
    findings = check(src)
    for finding in findings:
        print(finding)
    print(f"layers: {len(findings)} include(s) against the layers")
    return 1 if findings else 0


if __name__ == "__main__":
    sys.exit(main())
