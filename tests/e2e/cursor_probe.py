#!/usr/bin/env python3
"""Answers the end-to-end tests' questions about the mouse pointer's shape.

Cursors are private to their process under Wine, so the tests ask the X
server instead: for each NAME.request that appears in DIR, this writes
NAME.reply with the current pointer image as
"width height xhot yhot opaque" (opaque = pixels with alpha > 0).

    cursor_probe.py DIR      runs until DIR/stop appears or an hour passes
"""
import ctypes
import os
import sys
import time


class XFixesCursorImage(ctypes.Structure):
    _fields_ = [("x", ctypes.c_short), ("y", ctypes.c_short),
                ("width", ctypes.c_ushort), ("height", ctypes.c_ushort),
                ("xhot", ctypes.c_ushort), ("yhot", ctypes.c_ushort),
                ("cursor_serial", ctypes.c_ulong), ("pixels", ctypes.POINTER(ctypes.c_ulong)),
                ("atom", ctypes.c_ulong), ("name", ctypes.c_char_p)]


def main(folder):
    x11 = ctypes.CDLL("libX11.so.6")
    xfixes = ctypes.CDLL("libXfixes.so.3")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XFree.argtypes = [ctypes.c_void_p]
    xfixes.XFixesGetCursorImage.restype = ctypes.POINTER(XFixesCursorImage)
    xfixes.XFixesGetCursorImage.argtypes = [ctypes.c_void_p]
    display = x11.XOpenDisplay(None)
    if not display:
        sys.exit("cursor_probe: cannot open display %s" % os.environ.get("DISPLAY"))
    deadline = time.time() + 3600
    while time.time() < deadline and not os.path.exists(os.path.join(folder, "stop")):
        for name in sorted(os.listdir(folder)):
            if not name.endswith(".request"):
                continue
            request = os.path.join(folder, name)
            image = xfixes.XFixesGetCursorImage(display)
            if image:
                c = image.contents
                opaque = sum(1 for i in range(c.width * c.height) if (c.pixels[i] >> 24) & 0xFF)
                answer = "%d %d %d %d %d\n" % (c.width, c.height, c.xhot, c.yhot, opaque)
                x11.XFree(image)
            else:
                answer = "0 0 0 0 0\n"
            reply = request[: -len(".request")] + ".reply"
            with open(reply + ".tmp", "w") as f:
                f.write(answer)
            os.rename(reply + ".tmp", reply)
            os.remove(request)
        time.sleep(0.05)


if __name__ == "__main__":
    main(sys.argv[1])
