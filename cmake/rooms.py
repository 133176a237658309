#!/usr/bin/env python3
"""Checks the rooms under src/: every folder there is a room, and a file of a
room may include headers of its own room and of the rooms its build target
links, nothing else, however the include is spelled. Also refused: a room that
links a room it includes nothing of, rooms that use each other in a circle,
and an include that names its header through a macro (it cannot be checked).

  rooms.py MAP SRC    MAP: lines "room: used-room ...", one for each of a
                      room's targets, written by CMake from their link
                      libraries; SRC: the src/ folder.

The folders are read afresh at every run, so a new file is checked without
configuring again. Prints what it refuses and exits 1, else exits 0 silently.
"""
import os
import re
import sys

SOURCES = (".h", ".hpp", ".cpp", ".cc", ".inl")
DIRECTIVE = re.compile(r"^\s*#\s*(?:include|include_next|import)\b\s*(.*)$")
NAMED = re.compile(r'^(["<])([^">]+)[">]')


def read_map(path):
    rooms = {}
    with open(path, encoding="utf-8") as lines:
        for line in lines:
            room, _, uses = line.partition(":")
            if room.strip():
                rooms.setdefault(room.strip(), set()).update(uses.split())
    for room, uses in rooms.items():
        uses.discard(room)
    return rooms


def room_of(path, src):
    relative = os.path.relpath(path, src)
    if relative.startswith(os.pardir) or os.path.isabs(relative):
        return None
    return os.path.dirname(relative).replace(os.sep, "/") or None


def resolve(quoted, name, including, src):
    """The header as the compiler finds it: a quoted name beside the file
    that includes it first, then on the include path (src/)."""
    places = ([os.path.dirname(including)] if quoted else []) + [src]
    for place in places:
        candidate = os.path.normpath(os.path.join(place, name))
        if os.path.isfile(candidate):
            return candidate
    return None  # a system header, or none at all: the compiler will say


def circle(rooms):
    """Rooms that use each other in a circle, the first again at the end; or None."""
    done = set()

    def visit(room, path):
        if room in path:
            return path[path.index(room):] + [room]
        if room in done:
            return None
        for used in sorted(rooms.get(room, ())):
            found = visit(used, path + [room])
            if found:
                return found
        done.add(room)
        return None

    for room in sorted(rooms):
        found = visit(room, [])
        if found:
            return found
    return None


def problems(rooms, src):
    found = []
    used = {room: set() for room in rooms}
    for folder, _, files in sorted(os.walk(src)):
        for file in sorted(f for f in files if f.endswith(SOURCES)):
            path = os.path.join(folder, file)
            room = room_of(path, src)
            shown = "src/" + os.path.relpath(path, src).replace(os.sep, "/")
            with open(path, encoding="utf-8", errors="replace") as lines:
                for number, line in enumerate(lines, 1):
                    directive = DIRECTIVE.match(line)
                    if not directive:
                        continue
                    named = NAMED.match(directive.group(1))
                    if not named:
                        found.append(f"{shown}:{number}: names its header through a macro")
                        continue
                    header = resolve(named.group(1) == '"', named.group(2), path, src)
                    target = room_of(header, src) if header else None
                    if target is None or target == room:
                        continue
                    used.setdefault(room, set()).add(target)
                    if target not in rooms.get(room, ()):
                        found.append(f"{shown}:{number}: includes {named.group(2)}, of room "
                                     f"{target}, which room {room} does not link")
    for room in sorted(rooms):
        for unused in sorted(rooms[room] - used.get(room, set())):
            found.append(f"room {room} links room {unused} but includes nothing of it")
    loop = circle(rooms)
    if loop:
        found.append("rooms use each other in a circle: " + " -> ".join(loop))
    return found


def main(arguments):
    if len(arguments) != 2:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    found = problems(read_map(arguments[0]), os.path.abspath(arguments[1]))
    for problem in found:
        print(problem)
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
