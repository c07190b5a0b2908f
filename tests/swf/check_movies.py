"""Parses every movie the tests wrote with an independent SWF parser (Debian's python3-yaswfp) and
checks that every tag parses (tags the parser does not model are passed over), and that the header's
frame count and version hold. Usage: check_movies.py FOLDER"""
import pathlib
import sys

from yaswfp import swfparser

# Two gaps of the parser, filled so that it reads what the format allows:
# - language code 0 ("no language") is valid in DefineFont2 but missing from its table;
# - a DefineButton2 whose ActionOffset is 0 has no action records, but the parser always reads one.
swfparser.LANGCODES.setdefault(0, "None")
_read_button2 = swfparser.SWFParser._handle_tag_definebutton2


def _read_button2_without_actions(self):
    start = self._src.tell()
    self._src.seek(start + 3)
    action_offset = swfparser.unpack_ui16(self._src)
    self._src.seek(start)
    if action_offset != 0:
        return _read_button2(self)
    obj = swfparser._make_object("DefineButton2")
    obj.ButtonId = swfparser.unpack_ui16(self._src)
    swfparser.unpack_ui8(self._src)  # reserved bits and TrackAsMenu
    obj.ActionOffset = swfparser.unpack_ui16(self._src)
    obj.Characters = []
    while swfparser.unpack_ui8(self._src) != 0:
        self._src.seek(-1, 1)
        record = swfparser._make_object("ButtonRecord")
        flags = swfparser.unpack_ui8(self._src)
        record.CharacterId = swfparser.unpack_ui16(self._src)
        record.PlaceDepth = swfparser.unpack_ui16(self._src)
        record.PlaceMatrix = self._get_struct_matrix()
        record.ColorTransform = self._get_struct_cxformwithalpha()
        if flags & 0x10:
            record.FilterList = self._get_struct_filterlist()
        if flags & 0x20:
            record.BlendMode = swfparser.unpack_ui8(self._src)
        obj.Characters.append(record)
    obj.Actions = []
    return obj


swfparser.SWFParser._handle_tag_definebutton2 = _read_button2_without_actions


def check(path):
    parsed = swfparser.parsefile(str(path))
    names = [tag.name for tag in parsed.tags]
    problems = []
    failing = [tag.name for tag in parsed.tags if type(tag).__name__ == "FailingObject"]
    if failing:
        problems.append("tags that do not parse: %s" % sorted(set(failing)))
    frames = names.count("ShowFrame")
    if frames != parsed.header.FrameCount:
        problems.append("header counts %d frames, file shows %d" % (parsed.header.FrameCount, frames))
    if parsed.header.Version != 6:
        problems.append("version %d" % parsed.header.Version)
    return problems


def main():
    folder = pathlib.Path(sys.argv[1])
    movies = sorted(folder.glob("*.swf"))
    if not movies:
        print("no movies in %s" % folder)
        return 1
    failures = 0
    for movie in movies:
        try:
            problems = check(movie)
        except Exception as error:  # any parser failure is a malformed movie
            problems = ["parser failed: %r" % error]
        if problems:
            failures += 1
            print("%s: %s" % (movie.name, "; ".join(problems)))
    print("%d movies checked, %d with problems" % (len(movies), failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
