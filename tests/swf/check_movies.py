"""Parses every movie the tests wrote with an independent SWF parser (Debian's python3-yaswfp) and
checks that every tag parses (tags the parser does not model are passed over), and that the header's
frame count and version hold. Usage: check_movies.py FOLDER"""
import pathlib
import sys

from yaswfp import swfparser

# Language code 0 ("no language") is valid in DefineFont2 but missing from the parser's table.
swfparser.LANGCODES.setdefault(0, "None")


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
