"""Reads a mail draft with Python's email package and compares its attachments with files on disk.

usage: check_eml.py DRAFT NAME=PATH [NAME=PATH ...]
Exit 0 when the draft has exactly these attachments, in this order, byte for byte; 1 otherwise.
"""
import email
import email.policy
import sys


def main(argv):
    with open(argv[1], "rb") as f:
        message = email.message_from_binary_file(f, policy=email.policy.default)
    expected = [arg.split("=", 1) for arg in argv[2:]]
    found = list(message.iter_attachments())
    problems = []
    if len(found) != len(expected):
        problems.append(f"{len(found)} attachments, expected {len(expected)}")
    for part, (name, path) in zip(found, expected):
        with open(path, "rb") as f:
            wanted = f.read()
        if part.get_filename() != name:
            problems.append(f"attachment named {part.get_filename()!r}, expected {name!r}")
        if part.get_content() != wanted:
            problems.append(f"{name}: content differs")
    if message["Subject"] != "Gift for you":
        problems.append(f"subject {message['Subject']!r}")
    if message["To"] is not None:
        problems.append(f"To is filled in: {message['To']!r}")
    body = message.get_body(("plain",))
    if body is None or body.get_content().strip() != "Body text for this email":
        problems.append("body differs")
    for p in problems:
        print(p)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
