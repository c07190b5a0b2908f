#!/usr/bin/env python3
"""Collects the texts a user of the programs reads: every literal given to tr() or QT_TR_NOOP() in the
desktop programs, the pop-up help and welcome texts, the builder's tips, the error reports' messages and
the Tips file. Prints one text a line (with --list) or checks them with hunspell."""
import pathlib
import re
import subprocess
import sys

ROOT = pathlib.Path(__file__).resolve().parents[2]
GUI_FOLDERS = ["src/editor", "src/dialogs", "src/player", "src/tooltip/qt"]
# Headers whose every string literal is shown to the user (identifiers of controls aside, see below).
TEXT_HEADERS = ["src/tooltip/tip_texts.h", "src/movie/gift_messages.h", "src/app/error_report.cpp"]

LITERAL = r'"(?:[^"\\\n]|\\.)*"'
# tr("a" "b") and QT_TR_NOOP("a"): one or more adjacent literals.
TR_CALL = re.compile(r'\b(?:[tT]r\(|QT_TR_NOOP\(|translate\(\s*"[^"]*"\s*,)\s*((?:' + LITERAL + r'\s*)+)')
# A named text constant: constexpr const char* kRescueQuestion = "...";
NAMED_TEXT = re.compile(r'constexpr (?:const char\*(?: const)?|std::string_view) k\w+ =\s*((?:' + LITERAL + r'\s*)+);')
ANY_LITERALS = re.compile(r'((?:' + LITERAL + r'\s*)+)')


def join_literals(group):
    parts = re.findall(LITERAL, group)
    text = "".join(p[1:-1] for p in parts)
    return bytes(text, "utf-8").decode("unicode_escape") if "\\" in text else text


def strip_comments(source):
    return re.sub(r'//[^\n]*', '', source)


def collect():
    texts = []
    for folder in GUI_FOLDERS:
        for path in sorted((ROOT / folder).rglob("*.cpp")) + sorted((ROOT / folder).rglob("*.h")):
            source = strip_comments(path.read_text(encoding="utf-8"))
            texts += [(path, join_literals(m.group(1))) for m in TR_CALL.finditer(source)]
            named = (join_literals(m.group(1)) for m in NAMED_TEXT.finditer(source))
            texts += [(path, text) for text in named if " " in text]  # not settings keys or names
    for header in TEXT_HEADERS:
        path = ROOT / header
        source = strip_comments(path.read_text(encoding="utf-8"))
        source = re.sub(r'\{\d+,\s*' + LITERAL, '{', source)  # a control's name, for the wiring only
        texts += [(path, join_literals(m.group(1))) for m in ANY_LITERALS.finditer(source)]
    # The publishing messages; file names and the mail's fixed fields are what peers see, not messages.
    for path in sorted((ROOT / "src/publish").glob("*.h")):
        for m in re.finditer(r'constexpr std::string_view (k\w+)\s*=\s*((?:' + LITERAL + r'\s*)+);',
                             path.read_text(encoding="utf-8")):
            if not m.group(1).startswith(("kMail", "kZipIt")):
                texts.append((path, join_literals(m.group(2))))
    reasons = ROOT / "src/app/reasons.h"
    for m in re.finditer(r'CW_REASON\(\w+,\s*((?:' + LITERAL + r'\s*)+)\)', reasons.read_text(encoding="utf-8")):
        texts.append((reasons, join_literals(m.group(1))))
    for m in re.finditer(r'Reason \w+\{\s*((?:' + LITERAL + r'\s*)+),', reasons.read_text(encoding="utf-8")):
        texts.append((reasons, join_literals(m.group(1))))
    tips = ROOT / "data/Tips.txt"
    for line in tips.read_text(encoding="utf-8").splitlines():
        if line and line[0] not in ";\t ":
            texts.append((tips, line))
    return texts


def words(text):
    text = re.sub(r'<[^>]*>', ' ', text)               # mark-up of the pop-up help
    text = re.sub(r'&(?=\w)', '', text)                # menu accelerators
    text = re.sub(r'%\d+|%[-.*\d]*[sd]', ' ', text)    # placeholders
    text = re.sub(r'\b\w+://\S+|\S+@\S+', ' ', text)   # addresses
    text = re.sub(r'\*?(?<!\w)\.[a-z0-9]+\b', ' ', text)  # file name patterns and extensions
    text = re.sub(r'\b\w*(?:::|_)\w*\b', ' ', text)   # identifiers in the error reports
    text = re.sub(r'\b[a-z]+[A-Z]\w*', ' ', text)      # getUrl, gotoAndPlay
    text = re.sub(r'\b\w+\.(?:swf|cwp|jpg|png|gif|mp3|ocx|html|txt|zip|log)\b', ' ', text, flags=re.I)
    return re.findall(r"[A-Za-z][A-Za-z']*", text)


def base(word):
    """The word without quotes around it and without a possessive "'s"."""
    word = word.strip("'")
    return word[:-2] if word.endswith("'s") else word


def main():
    texts = collect()
    if "--list" in sys.argv:
        for path, text in texts:
            print(f"{path.relative_to(ROOT)}: {text!r}")
        return 0
    allowed = set((ROOT / "tests/texts/allowed_words.txt").read_text(encoding="utf-8").split())
    if len(texts) < 300:
        print(f"only {len(texts)} texts found: the collector has lost its way", file=sys.stderr)
        return 1
    candidates = sorted({base(w) for _, t in texts for w in words(t)} - allowed)
    result = subprocess.run(["hunspell", "-l", "-d", "en_US,en_GB"], input="\n".join(candidates),
                            capture_output=True, text=True, check=True)
    rejected = set(result.stdout.split())
    if not rejected:
        print(f"{len(texts)} texts, {len(candidates)} words: all known")
        return 0
    for path, text in texts:
        bad = sorted(set(base(w) for w in words(text)) & rejected)
        if bad:
            print(f"{path.relative_to(ROOT)}: {', '.join(bad)} in {text!r}", file=sys.stderr)
    return 1


if __name__ == "__main__":
    sys.exit(main())
