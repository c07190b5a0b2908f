"""Tests of check_movies.py: the independent parser check must fail on what it exists to catch."""
import struct
import subprocess
import sys
import tempfile
import unittest
import zlib
from pathlib import Path

CHECK = Path(__file__).with_name("check_movies.py")


def tag(code, body=b""):
    if len(body) < 63:
        return struct.pack("<H", code << 6 | len(body)) + body
    return struct.pack("<HI", code << 6 | 0x3F, len(body)) + body


def movie(tags, frames=None, compress=False):
    # Stage 0..20 x 0..20 twips (5-bit fields), 12 fps.
    rect = bytes([0x30, 0x0A, 0x00, 0xA0])
    body = rect + struct.pack("<HH", 12 << 8, tags.count(tag(1)) if frames is None else frames)
    body += b"".join(tags) + tag(0)
    if compress:
        return b"CWS\x06" + struct.pack("<I", 8 + len(body)) + zlib.compress(body)
    return b"FWS\x06" + struct.pack("<I", 8 + len(body)) + body


SHOW = tag(1)
BACKGROUND = tag(9, b"\x10\x20\x30")
# A button with one record (all states, character 1, depth 1, empty matrix and colour transform).
BUTTON_RECORD = b"\x0f\x01\x00\x01\x00\x00\x00"
BUTTON_NO_ACTIONS = tag(34, b"\x02\x00\x00\x00\x00" + BUTTON_RECORD + b"\x00")
BUTTON_STOP = tag(34, b"\x02\x00\x00" + struct.pack("<H", 2 + len(BUTTON_RECORD) + 1) + BUTTON_RECORD
                  + b"\x00" + b"\x00\x00\x08\x00\x07\x00")


class CheckMovies(unittest.TestCase):
    def check(self, files):
        with tempfile.TemporaryDirectory() as folder:
            for name, data in files.items():
                path = Path(folder) / name
                path.parent.mkdir(parents=True, exist_ok=True)
                path.write_bytes(data)
            run = subprocess.run([sys.executable, str(CHECK), folder], capture_output=True, text=True)
            return run.returncode, run.stdout + run.stderr

    def test_good_movies_pass_in_nested_folders(self):
        code, out = self.check({
            "a.swf": movie([BACKGROUND, SHOW]),
            "sub/b.swf": movie([BACKGROUND, SHOW, SHOW], compress=True),
            "sub/buttons.swf": movie([BUTTON_NO_ACTIONS, BUTTON_STOP, SHOW]),
        })
        self.assertEqual(code, 0, out)
        self.assertIn("3 passed, 0 failed", out)

    def test_an_empty_folder_fails(self):
        code, out = self.check({"notes.txt": b"no movies"})
        self.assertNotEqual(code, 0)
        self.assertIn("no movies", out)

    def test_broken_movies_fail(self):
        good = movie([BACKGROUND, SHOW])
        cases = {
            "truncated.swf": good[:-3],
            "bad_signature.swf": b"XWS" + good[3:],
            "tag_too_long.swf": movie([tag(9, b"\x10\x20\x30\x40"), SHOW]),
            "frame_count.swf": movie([SHOW], frames=2),
            "after_end.swf": good[:4] + struct.pack("<I", len(good) + 2) + good[8:] + b"\x00\x00",
            "bad_zlib.swf": movie([SHOW], compress=True)[:-4],
            "button_records_short.swf": movie([tag(34, b"\x02\x00\x00\x00\x00" + BUTTON_RECORD[:-1] + b"\x00"), SHOW]),
        }
        for name, data in cases.items():
            with self.subTest(name):
                code, out = self.check({name: data, "good.swf": good})
                self.assertNotEqual(code, 0, out)
                self.assertIn(f"FAIL {name}", out)
                self.assertIn("1 passed, 1 failed", out)


if __name__ == "__main__":
    unittest.main()
