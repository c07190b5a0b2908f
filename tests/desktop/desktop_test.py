#!/usr/bin/env python3
"""The editor on a real desktop, driven as a person drives it: an X server (Xvfb) with a window manager
(openbox), the pointer and keys from xdotool, controls found over the accessibility bus (AT-SPI, pyatspi)
and pixels from screenshots. Offscreen tests meet none of these.

Usage (inside its own session bus): dbus-run-session -- python3 desktop_test.py CARDWRIGHT CARDWRIGHT_CLI
Each case prints "ok" or "FAILED: why"; the last line counts them."""
import json
import os
import pathlib
import shutil
import subprocess
import sys
import tempfile
import time

import pyatspi

EDITOR, CLI = sys.argv[1], sys.argv[2]
ROOT_COLOUR = (0x5B, 0x7A, 0x99)  # the desktop behind the windows; black there would be drawing faults
WORK = pathlib.Path(tempfile.mkdtemp(prefix="cardwright-desktop-"))
CHILDREN = []


def start(*command):
    log = open(WORK / (pathlib.Path(command[0]).name + ".log"), "wb")  # read when a case fails
    process = subprocess.Popen(command, stdout=log, stderr=subprocess.STDOUT)
    CHILDREN.append(process)
    return process


def wait_for(predicate, timeout, what):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        value = predicate()
        if value:
            return value
        time.sleep(0.1)
    raise AssertionError(f"{what} (waited {timeout} s)")


def free_display():
    for number in range(90, 200):
        if not os.path.exists(f"/tmp/.X{number}-lock") and not os.path.exists(f"/tmp/.X11-unix/X{number}"):
            return f":{number}"
    raise RuntimeError("no free X display number")


def xdotool(*args):
    subprocess.run(["xdotool", *map(str, args)], check=True)


def screenshot():
    """The whole screen as (width, height, RGB bytes)."""
    data = subprocess.run(["import", "-window", "root", "-depth", "8", "rgb:-"], check=True,
                          capture_output=True).stdout
    return 1280, 900, data


def pixel(shot, x, y):
    width, _, data = shot
    i = (y * width + x) * 3
    return tuple(data[i:i + 3])


def crop(shot, box):
    x, y, w, h = box
    return b"".join(shot[2][((y + r) * shot[0] + x) * 3:((y + r) * shot[0] + x + w) * 3] for r in range(h))


def mean_colour(shot, box):
    data = crop(shot, box)
    n = len(data) // 3
    return tuple(sum(data[c::3]) / n for c in range(3))


def settled_screenshot(box):
    """A screenshot taken once the pixels of `box` stay the same for a moment (a window being shown or
    moved draws its background before its contents)."""
    def steady():
        first = screenshot()
        time.sleep(0.3)
        second = screenshot()
        return second if crop(first, box) == crop(second, box) else None
    return wait_for(steady, 20, "the screen did not settle")


def find(predicate, node=None, depth=0):
    """The first accessible object below the desktop (or `node`) for which `predicate` holds."""
    if node is None:
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == "Cardwright":
                found = find(predicate, app, 1)
                if found is not None:
                    return found
        return None
    try:
        if predicate(node):
            return node
        children = list(node)
    except Exception:  # an object that went away meanwhile
        return None
    if depth > 14:
        return None
    for child in children:
        found = find(predicate, child, depth + 1)
        if found is not None:
            return found
    return None


def named(name, role=None):
    def test(node):
        return node.name == name and (role is None or node.getRoleName() == role) and \
            node.getState().contains(pyatspi.STATE_SHOWING)
    return test


def extents(node):
    e = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return e.x, e.y, e.width, e.height


def centre(node):
    x, y, w, h = extents(node)
    return x + w // 2, y + h // 2


def make_project():
    """Two cards with large photos (red, then blue) as backgrounds, one plain, then 120 more cards with a
    green photo each, so that Preview takes seconds (every card's picture is converted)."""
    photos = []
    for name, colour in (("red", "#D02020"), ("blue", "#2040D0")):
        path = WORK / f"{name}.jpg"
        subprocess.run(["convert", "-size", "4000x3000", f"xc:{colour}", "-quality", "90", str(path)], check=True)
        photos.append(str(path))
    default = WORK / "default.cwp"
    subprocess.run([CLI, "new", "-o", str(default)], check=True)
    project = json.loads(subprocess.run([CLI, "dump", str(default)], check=True, capture_output=True).stdout)
    for card, photo in zip(project["cards"], photos):
        card.update({"m_strBackground": photo, "m_nBgAlign": 10, "m_bProjectBg": 0})
    green = WORK / "green.jpg"
    subprocess.run(["convert", "-size", "2400x1800", "gradient:#208020-#A0E0A0", "-quality", "90", str(green)],
                   check=True)
    for _ in range(120):
        card = json.loads(json.dumps(project["cards"][2]))
        card.update({"m_strBackground": str(green), "m_nBgAlign": 10, "m_bProjectBg": 0})
        project["cards"].append(card)
    (WORK / "photos.json").write_text(json.dumps(project))
    subprocess.run([CLI, "pack", str(WORK / "photos.json"), "-o", str(WORK / "photos.cwp")], check=True)
    return WORK / "photos.cwp"


def case_welcome_balloon_and_tips_of_the_day(ctx):
    balloon = wait_for(lambda: find(named("Help tip")), 30, "no welcome balloon")
    fx, fy, fw, fh = ctx["frame"]
    bx, by, bw, bh = extents(balloon)
    assert fx <= bx and bx + bw <= fx + fw and fy <= by and by + bh <= fy + fh, \
        f"balloon {bx},{by} {bw}x{bh} is not over the window {fx},{fy} {fw}x{fh}"
    tips = find(named("Cardwright Tip of the Day", "dialog"))
    tx, ty, tw, th = extents(tips)
    assert abs((tx + tw / 2) - (fx + fw / 2)) < 40 and abs((ty + th / 2) - (fy + fh / 2)) < 80, \
        f"Tips of the Day at {tx},{ty} {tw}x{th} is not centred on the editor at {fx},{fy} {fw}x{fh}"
    # Along the balloon's right and bottom edges (where a shadow or a transparent corner would come out
    # black without a compositing manager), nothing may turn black that is not black once it is gone.
    wait_for(lambda: mean_colour(screenshot(), ctx["stage"])[0] > 150, 30, "the first card's red photo")
    bx, by, bw, bh = extents(find(named("Help tip")))  # where it is now that the window has settled
    with_balloon = settled_screenshot((bx, by, bw, bh))
    xdotool("mousemove", *centre(ctx["tree"]), "click", 1)  # a click puts it away
    wait_for(lambda: find(named("Help tip")) is None, 10, "the balloon stayed after a click")
    without = settled_screenshot((bx, by, bw, bh))
    edge = [(x, y) for x in range(bx, bx + bw) for y in range(by + bh - 8, by + bh)] + \
           [(x, y) for y in range(by, by + bh) for x in range(bx + bw - 8, bx + bw)]
    black = sum(1 for x, y in edge if pixel(with_balloon, x, y) == (0, 0, 0) and pixel(without, x, y) != (0, 0, 0))
    assert black < len(edge) // 50, f"{black} of {len(edge)} pixels along the balloon's edges were drawn black"
    xdotool("mousemove", *centre(find(named("OK", "push button"))), "click", 1)
    wait_for(lambda: find(named("Cardwright Tip of the Day", "dialog")) is None, 10, "Tips of the Day stayed")


def case_tip_shows_when_the_pointer_rests(ctx):
    button = find(named("New", "push button"))
    x, y = centre(button)
    xdotool("mousemove", x - 3, y)
    xdotool("mousemove", x, y)
    def tip_near_the_button():
        tip = find(named("Help tip"))
        if tip is None:
            return None
        tx, ty, tw, _ = extents(tip)
        return tx - 40 <= x <= tx + tw + 40 and abs(ty - y) < 100  # its tail points at the button
    wait_for(tip_near_the_button, 10, "no tip near New after the pointer rested on it")
    xdotool("mousemove", *centre(ctx["tree"]))


def case_typing_reaches_the_preview(ctx):
    title = find(named("Title", "text"))
    before = crop(screenshot(), ctx["preview"])
    xdotool("mousemove", *centre(title), "click", 1)
    xdotool("key", "End")
    xdotool("type", "--delay", "40", " Hello")
    wait_for(lambda: crop(screenshot(), ctx["preview"]) != before, 20, "the preview did not change after typing")


def case_photo_cards_switch(ctx):
    # The first card's photo is red, the second's blue: the preview follows the card chosen in the tree.
    def row(title):
        return find(lambda n: n.name.startswith(title) and n.getState().contains(pyatspi.STATE_SHOWING) and
                    n.getRoleName() in ("table cell", "tree item"), ctx["tree"])
    xdotool("mousemove", *centre(row("Card 1:")), "click", 1)
    wait_for(lambda: mean_colour(screenshot(), ctx["stage"])[0] > 150, 30, "the first card's red photo")
    xdotool("mousemove", *centre(row("Card 2:")), "click", 1)
    wait_for(lambda: mean_colour(screenshot(), ctx["stage"])[2] > 150, 30, "the second card's blue photo")


def case_dialog_opens_from_a_button(ctx):
    xdotool("mousemove", *centre(find(named("Project Settings", "push button"))), "click", 1)
    dialog = wait_for(lambda: find(named("Project Settings", "dialog")), 15, "no Project Settings dialog")
    assert dialog.getState().contains(pyatspi.STATE_ACTIVE) or find(named("OK", "push button")), \
        "the dialog did not come to the front"
    xdotool("key", "Escape")
    wait_for(lambda: find(named("Project Settings", "dialog")) is None, 10, "Escape left the dialog open")


def case_preview_shows_progress_and_cancel_ends_it(ctx):
    xdotool("mousemove", *centre(ctx["tree"]), "click", 1)
    xdotool("key", "F5")
    progress = wait_for(lambda: find(named("Making the preview...", "dialog")), 15, "no progress window for Preview")
    bar = wait_for(lambda: find(lambda n: n.getRoleName() == "progress bar", progress), 5, "no progress bar")
    wait_for(lambda: bar.queryValue().currentValue > 0, 15, "the progress bar did not move")
    cancel = find(named("Cancel", "push button"), progress)
    xdotool("mousemove", *centre(cancel), "click", 1)
    wait_for(lambda: find(named("Making the preview...", "dialog")) is None, 15, "Cancel left the progress window")
    time.sleep(1)
    assert find(named("Preview", "dialog")) is None, "the cancelled Preview opened its dialog"


def main():
    display = free_display()
    os.environ.update(DISPLAY=display, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QTWEBENGINE_DISABLE_SANDBOX="1",
                      CARDWRIGHT_WORK=str(WORK / "state"), XDG_CONFIG_HOME=str(WORK / "config"))
    os.environ.pop("QT_QPA_PLATFORM", None)
    # -noreset: the server would start afresh (dropping the root colour) when its last client leaves.
    server = start("Xvfb", display, "-screen", "0", "1280x900x24", "-nolisten", "tcp", "-noreset")
    wait_for(lambda: server.poll() is None and
             subprocess.run(["xprop", "-root"], capture_output=True).returncode == 0, 20, f"no X server on {display}")
    subprocess.run(["xsetroot", "-solid", "#%02x%02x%02x" % ROOT_COLOUR], check=True)
    start("openbox")
    wait_for(lambda: b"_NET_SUPPORTING_WM_CHECK" in
             subprocess.run(["xprop", "-root"], capture_output=True).stdout, 20, "no window manager")
    start("/usr/libexec/at-spi-bus-launcher", "--launch-immediately")
    project = make_project()
    start(EDITOR, str(project))
    frame = wait_for(lambda: find(lambda n: n.getRoleName() == "frame" and n.name.endswith("- Cardwright")),
                     60, "the editor's window did not appear on the accessibility bus")
    # Tips of the Day opens once the window manager has placed the window: then its place is final.
    wait_for(lambda: find(named("Cardwright Tip of the Day", "dialog")), 30, "no Tips of the Day")
    fx, fy, fw, fh = extents(frame)
    title = find(named("Title", "text"))
    tree = find(lambda n: n.name == "Cards and links")
    tree_x, _, tree_w, _ = extents(tree)
    _, title_y, _, _ = extents(title)
    # The preview lies right of the tree and above the title field; its stage is letterboxed inside it.
    preview = (tree_x + tree_w + 8, fy + 40, fx + fw - (tree_x + tree_w) - 24, title_y - fy - 50)
    px, py, pw, ph = preview
    stage = (px + pw // 2 - 60, py + ph // 2 - 20, 120, 40)
    ctx = {"frame": (fx, fy, fw, fh), "tree": tree, "preview": preview, "stage": stage}
    cases = [case_welcome_balloon_and_tips_of_the_day, case_tip_shows_when_the_pointer_rests,
             case_photo_cards_switch, case_typing_reaches_the_preview, case_dialog_opens_from_a_button,
             case_preview_shows_progress_and_cancel_ends_it]
    failed = 0
    for case in cases:
        name = case.__name__[len("case_"):].replace("_", " ")
        try:
            case(ctx)
            print(f"ok - {name}")
        except Exception as error:  # one case's failure must not hide the others'
            failed += 1
            print(f"FAILED - {name}: {error}")
            subprocess.run(["import", "-window", "root", str(WORK / (case.__name__ + ".png"))])
            print(f"  screen: {WORK / (case.__name__ + '.png')}")
    print(f"{len(cases) - failed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    status = 1
    try:
        status = main()
    finally:
        for child in reversed(CHILDREN):
            child.terminate()
        for child in CHILDREN:
            try:
                child.wait(5)
            except subprocess.TimeoutExpired:
                child.kill()
    if status == 0:
        shutil.rmtree(WORK, ignore_errors=True)
    sys.exit(status)
