#!/usr/bin/env python3
"""Writes the seed corpus of the command-file fuzzer: a few tiny files covering the shapes a
command file can take (empty, too short, one record, a trailing piece, garbage after the
terminators, fields without terminators, several records with non-ASCII text)."""

import pathlib

NAME_UNITS = 256
COMMAND_UNITS = 1024


def field(text, units, fill=b""):
    data = text.encode("utf-16-le")
    data = data + b"\0\0" + fill
    return (data + b"\0" * (2 * units))[: 2 * units]


def record(name, command, name_fill=b"", command_fill=b""):
    return field(name, NAME_UNITS, name_fill) + field(command, COMMAND_UNITS, command_fill)


def main(out_dir):
    out = pathlib.Path(out_dir)
    out.mkdir(parents=True, exist_ok=True)
    connect = record("Connect", "C:\\Program Files\\TTERMPRO\\ttermpro.exe /C=%PORTNUM%")
    seeds = {
        "empty": b"",
        "short": connect[:-1],
        "connect": connect,
        "trailing_piece": connect + b"\x7f",
        "garbage_after_terminators": record("Name", "cmd", b"\xee" * 40, b"\x55" * 300),
        "no_terminators": ("n" * NAME_UNITS).encode("utf-16-le")
        + ("c" * COMMAND_UNITS).encode("utf-16-le"),
        "three_records": record("One", "a.exe %PORTNUM%")
        + record("Zwei \u00dc", "b.exe /p=%PORTNUM%")
        + record("Three \U0001F600", "c.exe"),
    }
    for name, data in seeds.items():
        (out / name).write_bytes(data)


if __name__ == "__main__":
    main(pathlib.Path(__file__).resolve().parent / "corpus" / "command_file")
