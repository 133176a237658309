#!/usr/bin/env python3
"""The room check (cmake/rooms.py) run on rooms made up for it: each way
around a room's limits is refused, and rooms that keep to them pass."""
import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "cmake"))
import rooms  # noqa: E402


class RoomCheck(unittest.TestCase):
    def check(self, files, links):
        """Problems found in a src/ holding `files` (path: text), whose rooms
        link as `links` says (room: rooms it links)."""
        with tempfile.TemporaryDirectory() as src:
            for path, text in files.items():
                os.makedirs(os.path.join(src, os.path.dirname(path)), exist_ok=True)
                with open(os.path.join(src, path), "w", encoding="utf-8") as file:
                    file.write(text)
            return rooms.problems({room: set(used) for room, used in links.items()}, src)

    def test_every_spelling_of_an_include_of_a_room_not_linked_is_refused(self):
        spellings = [
            '#include "high/top.h"',
            "#include <high/top.h>",
            '#  include "high/top.h"',
            ' #include "high/top.h"',
            '#include "../high/top.h"',
            '#include_next "high/top.h"',
            "#include HEADER_OF_HIGH",
        ]
        files = {"high/top.h": "#pragma once\n", "low/bottom.cpp": "\n".join(spellings) + "\n"}
        found = self.check(files, {"low": [], "high": []})
        self.assertEqual(len(found), len(spellings), "\n".join(found))
        self.assertTrue(all(problem.startswith("src/low/bottom.cpp:") for problem in found))

    def test_rooms_that_keep_to_what_they_link_pass(self):
        files = {
            "high/top.h": '#pragma once\n#include "low/bottom.h"\n#include <vector>\n',
            "high/top.cpp": '#include "high/top.h"\n#include "top.h"\n#include "low/bottom.h"\n',
            "low/bottom.h": "#pragma once\n",
            "low/deeper/deepest.h": '#include "low/bottom.h"\n',
        }
        self.assertEqual(self.check(files, {"high": ["low"], "low": [], "low/deeper": ["low"]}), [])

    def test_a_room_linked_but_not_used_and_a_circle_are_refused(self):
        files = {"a/a.h": '#include "b/b.h"\n', "b/b.h": '#include "a/a.h"\n', "c/c.h": ""}
        found = self.check(files, {"a": ["b"], "b": ["a"], "c": ["a"]})
        self.assertEqual(
            found,
            ["room c links room a but includes nothing of it",
             "rooms use each other in a circle: a -> b -> a"])


if __name__ == "__main__":
    unittest.main()
