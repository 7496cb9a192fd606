#!/usr/bin/env python3
"""Writes stand-in editor art for the editor tests and benchmarks: every resource the layout
loads, at its id, name, size and frame count, each frame one opaque colour
that differs from frame to frame (so a control's pixels show which frame it
draws). Used when the real art is not part of the build.

usage: make_stand_in_art.py OUTPUT_DIR
"""
import os
import struct
import sys
import zlib

# id, name, width, height of the whole strip, frames (stacked vertically)
RESOURCES = [
    (100, "BG_400x200", 674, 262, 1), (101, "fader-cap_sm", 170, 6432, 201), (103, "rLight", 29, 54, 2),
    (104, "large_knob_a", 70, 47434, 641), (105, "small_knob_b", 40, 25640, 641),
    (106, "small_knob_a", 40, 25640, 641), (107, "VU-meter_sm", 132, 84612, 641),
    (108, "VU-meter_sm_R", 132, 84612, 641), (109, "VU-meter_sm_gr", 92, 58972, 641),
    (110, "pdr", 36, 11, 1), (111, "meter", 15, 9615, 641), (112, "meterClip", 11, 22, 2),
    (113, "tight", 80, 20, 1), (114, "classic", 80, 20, 1), (115, "juice", 80, 20, 1),
    (116, "attack", 80, 20, 1), (117, "release", 80, 20, 1), (118, "sens", 80, 20, 1),
    (119, "bal", 80, 20, 1), (120, "strength", 80, 20, 1), (121, "out", 80, 20, 1),
    (122, "font", 7, 665, 95), (123, "Abut", 29, 108, 4), (124, "Bbut", 29, 108, 4),
    (125, "Cbut", 29, 108, 4), (126, "Ubut", 29, 81, 3), (127, "Rbut", 29, 81, 3),
    (128, "bLight", 29, 54, 2), (129, "Dbut", 29, 108, 4), (130, "minus", 34, 50, 2),
    (131, "plus", 34, 50, 2), (132, "switch", 23, 46, 2), (133, "env", 36, 11, 1),
    (134, "switchlight", 23, 46, 2), (135, "angle", 80, 20, 1), (136, "sliderlight", 170, 6432, 201),
    (137, "info", 674, 262, 1), (138, "qLogo", 35, 35, 1), (139, "tLogo", 139, 76, 2),
    (140, "screw", 38, 8442, 201), (142, "ext", 36, 11, 1), (143, "font_altered_95frames", 8, 1330, 95),
    (144, "small_knob_a3", 40, 25640, 641), (145, "uLight", 29, 54, 2), (146, "aLight", 29, 54, 2),
    (147, "cLight", 29, 54, 2), (148, "dLight", 29, 54, 2), (149, "small_knob_b2", 40, 25640, 641),
    (150, "small_knob_b3", 40, 25640, 641), (151, "small_knob_a2", 40, 25640, 641), (152, "mode", 80, 102, 3),
]


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def png(width, height, frames, rid):
    raw = bytearray()
    for y in range(height):
        k = y * frames // height  # frame of this row
        # Colours differ per frame and per resource; alpha opaque.
        pixel = bytes(((k * 37 + rid) % 256, (k * 11 + 2 * rid) % 256, (k * 3 + 90) % 256, 255))
        raw += b"\x00" + pixel * width
    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(bytes(raw), 9))
            + chunk(b"IEND", b""))


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    for rid, name, width, height, frames in RESOURCES:
        with open(os.path.join(out, "%d_%s.png" % (rid, name)), "wb") as f:
            f.write(png(width, height, frames, rid))


if __name__ == "__main__":
    main()
