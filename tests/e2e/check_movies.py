"""Parses every movie under a folder with an independent SWF parser (Debian's python3-yaswfp).

Usage: /usr/bin/python3 check_movies.py FOLDER

Fails when the folder holds no movie, or when a movie does not parse: a bad header, a length that
disagrees with the file, a tag whose body the parser cannot read exactly (yaswfp turns those into
"FailingObject"s instead of raising), a missing End tag, bytes after it, or a frame count that
disagrees with the ShowFrame tags.
"""
import io
import sys
from pathlib import Path

from yaswfp import swfparser

# Language code 0 ("no language", what fonts without a script setting carry) is missing from yaswfp's
# table, which makes it reject every such DefineFont2.
swfparser.LANGCODES.setdefault(0, "None")


class Parser(swfparser.SWFParser):
    """yaswfp, with one gap filled: it reads a condition list even from a DefineButton2 whose action
    offset is 0 (a button without actions), running past the tag. Such a button is parsed with an
    empty last condition appended, and must still use its bytes exactly."""

    def _handle_tag_definebutton2(self):
        body = self._src.read(self._src.guard)
        without_actions = int.from_bytes(body[3:5], "little") == 0
        if without_actions:
            body += bytes(5)  # last condition: size 0, no events, End
        outer, self._src = self._src, io.BytesIO(body)
        try:
            button = super()._handle_tag_definebutton2()
            if self._src.tell() != len(body):
                raise ValueError("DefineButton2 ends before its tag does")
        finally:
            self._src = outer
        if without_actions:
            button.Actions = []
        return button


def failing_tags(tags, where="movie"):
    for tag in tags:
        if type(tag).__name__ == "FailingObject":
            yield f"{where}: tag {tag.name} does not parse"
        for child in getattr(tag, "ControlTags", None) or []:
            yield from failing_tags([child], f"{where} > sprite {getattr(tag, 'CharacterId', '?')}")


def problems(data):
    if data[:3] not in (b"FWS", b"CWS"):
        return [f"bad signature {data[:3]!r}"]
    if data[:3] == b"FWS" and int.from_bytes(data[4:8], "little") != len(data):
        return [f"header length {int.from_bytes(data[4:8], 'little')} but the file has {len(data)} bytes"]
    parser = Parser(io.BytesIO(data))
    found = list(failing_tags(parser.tags))
    end = parser._src.tell() + 8 if data[:3] == b"CWS" else parser._src.tell()
    if end != parser.header.FileLength:
        found.append(f"the End tag is at byte {end}, the header says {parser.header.FileLength}")
    frames = sum(1 for tag in parser.tags if tag.name == "ShowFrame")
    if frames != parser.header.FrameCount:
        found.append(f"header frame count {parser.header.FrameCount} but {frames} ShowFrame tags")
    return found


def main():
    if len(sys.argv) != 2:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    folder = Path(sys.argv[1])
    movies = sorted(folder.rglob("*.swf")) if folder.is_dir() else []
    if not movies:
        print(f"no movies under {folder}", file=sys.stderr)
        return 1
    failed = 0
    for movie in movies:
        try:
            found = problems(movie.read_bytes())
        except Exception as e:  # a truncated or garbled movie makes the parser raise anything
            found = [f"parser raised {type(e).__name__}: {e}"]
        for problem in found:
            print(f"FAIL {movie.relative_to(folder)}: {problem}")
        failed += bool(found)
    print(f"{len(movies) - failed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
