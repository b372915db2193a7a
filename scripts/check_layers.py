#!/usr/bin/env python3
"""Fails when an #include goes against the layers.

Arrows run one way: host (src/app/<platform>/) -> each subsystem's platform code
(src/<subsystem>/<platform>/, and src/support/) -> framework (src/framework/) -> portable core
(src/common/ and the top level of every other subsystem). Usage:

    check_layers.py [SRC_DIR]      check a source tree (default: src/ beside this script)
    check_layers.py --self-test    prove that every rule catches what it should
"""
import pathlib
import re
import sys
import tempfile

PLATFORM_DIRS = {"win", "linux", "posix"}
NOT_SUBSYSTEMS = {"app", "framework", "support"}

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.MULTILINE)

# Headers of the platforms and libraries the core must not see.
PLATFORM_HEADER = re.compile(
    r"^(windows|win[a-z0-9]*|shellapi|commctrl|setupapi|shlobj|shlwapi|objbase|ole2|tchar"
    r"|cfgmgr32|devguid|libudev|Q[A-Za-z]*(/.*)?|Qt[A-Za-z]*/.*)\.?h?$",
    re.IGNORECASE,
)


def is_platform_path(header):
    parts = header.split("/")
    return any(part in PLATFORM_DIRS for part in parts[:-1])


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
    if room == "support" or (len(parts) > 2 and parts[1] in PLATFORM_DIRS):
        return room, "subsystem platform"
    return room, "core"


def violation(layer, kind, header):
    if layer == "core":
        return core_violation(kind, header)
    if kind != '"':
        return None
    top = header.split("/")[0]
    if layer == "subsystem platform" and top == "app":
        return "a subsystem including the host"
    if layer == "framework" and top != "framework":
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
            why = violation(layer, kind, header)
            if why:
                line = path.read_text(encoding="utf-8")[: match.start()].count("\n") + 1
                findings.append(f"src/{relative}:{line}: {why}: #include {kind}{header}")
    return findings


def self_test():
    bad = {
        "config/command_file.cpp": '#include "config/win/file_system.h"',
        "ports/port_name.h": "#include <windows.h>",
        "common/text.cpp": "#include <QString>",
        "about/hyper_link_model.cpp": "#include <libudev.h>",
        "ports/menu_selection.cpp": '#include "framework/win/dialog.h"',
        "config/x.cpp": '#include "config/linux/x.h"',
        "ports/win/port_menu_win.cpp": '#include "app/win/portmaven_dlg.h"',
        "about/linux/about_dialog.cpp": '#include "app/linux/tray_host.h"',
        "framework/win/dialog.cpp": '#include "ports/menu_ids.h"',
    }
    good = {
        "config/command_file.cpp": '#include "config/file_system.h"\n#include <cstdint>',
        "ports/win/port_menu_win.cpp": '#include "ports/port_name.h"\n#include <windows.h>',
        "ports/linux/enum.cpp": "#include <libudev.h>\n#include <QString>",
        "app/win/host.cpp": '#include "ports/win/port_menu_win.h"',
        "framework/win/dialog.cpp": '#include "framework/win/message_map.h"',
    }
    failures = []
    with tempfile.TemporaryDirectory() as temp:
        for name, text in list(bad.items()) + [(None, None)]:
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
            if name and len(findings) != 1:
                failures.append(f"{name}: {text!r} gave {findings}")
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
