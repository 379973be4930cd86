"""The game as a screen reader sees it over AT-SPI, and pressed as one presses it.

    atspi_client.py tree          checks what the game offers: a frame, seven choice tiles
                                  that are named, focusable push buttons with a press action
                                  and say which of the seven they are, and nothing that never
                                  shows; prints the tiles' names, left to right
    atspi_client.py press K       presses choice tile K (1 to 7) through its action
    atspi_client.py keys KEY...   types the keys into the window with xdotool
    atspi_client.py names         prints the push buttons' names, and the focused object

After a press or keys it waits for the verdict told to a screen reader: a notification that
shows, which Orca speaks wherever the focus is. It prints "told: NAME", then the name of the
result picture that shows. Exit status 1 when something is wrong or nothing is told within
20 s.
"""
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

APP = "Qovex Dravel"
CHOICES = "Choice(Please, Click here!):"
# What lies under other controls or is hidden, by the names Qt would give it.
NEVER_SHOWN = {"Last Task:", "GO!", "AutoStep", "Memo1", "Memo2", "Control"}


def fail(message):
    print("FAILED: " + message, file=sys.stderr)
    sys.exit(1)


def app():
    end = time.monotonic() + 20
    while time.monotonic() < end:
        for candidate in pyatspi.Registry.getDesktop(0):
            if candidate is not None and candidate.name == APP:
                return candidate
        time.sleep(0.2)
    fail("no application named %r on the accessibility bus" % APP)


def walk(obj):
    yield obj
    for child in obj:
        if child is not None:
            yield from walk(child)


def actions(obj):
    try:
        action = obj.queryAction()
    except NotImplementedError:
        return []
    return [action.getName(i) for i in range(action.nActions)]


def has(obj, state):
    return obj.getState().contains(state)


def tiles(root):
    for obj in walk(root):
        if obj.getRole() == pyatspi.ROLE_PANEL and obj.name == CHOICES:
            buttons = [c for c in obj if c.getRole() == pyatspi.ROLE_PUSH_BUTTON]
            return buttons[:7]
    fail("no group %r" % CHOICES)


def check_tree():
    root = app()
    frames = [c for c in root if c.getRole() == pyatspi.ROLE_FRAME]
    if len(frames) != 1 or frames[0].name != APP:
        fail("the application's window is not one frame named %r" % APP)
    notices = []
    for obj in walk(frames[0]):
        if obj.name in NEVER_SHOWN:
            fail("offered, though it never shows: %s %r" % (obj.getRoleName(), obj.name))
        if obj.getRole() == pyatspi.ROLE_NOTIFICATION:
            notices.append(obj)
        elif not has(obj, pyatspi.STATE_SHOWING):
            fail("offered, though not showing: %s %r" % (obj.getRoleName(), obj.name))
        if obj.getRole() in (pyatspi.ROLE_CHECK_BOX, pyatspi.ROLE_LABEL, pyatspi.ROLE_TEXT):
            fail("a %s is offered: %r" % (obj.getRoleName(), obj.name))
    # The verdict's notification shows from the first verdict on.
    if len(notices) != 1 or has(notices[0], pyatspi.STATE_SHOWING) or notices[0].name:
        fail("not one silent notification for the verdicts before the first pick")
    results = [o for o in walk(frames[0]) if o.name == "Result:"]
    if len(results) != 1:
        fail("%d objects named 'Result:', not the one group" % len(results))
    buttons = tiles(root)
    if len(buttons) != 7:
        fail("%d choice tiles, not 7" % len(buttons))
    for k, tile in enumerate(buttons, 1):
        if not tile.name:
            fail("choice tile %d has no name" % k)
        if tile.description != "%d of 7" % k:
            fail("choice tile %d says %r, not '%d of 7'" % (k, tile.description, k))
        if not has(tile, pyatspi.STATE_FOCUSABLE):
            fail("choice tile %d cannot take the focus" % k)
        if "Press" not in actions(tile):
            fail("choice tile %d has no press action: %s" % (k, actions(tile)))
        print(tile.name)


def result_name(root):
    for obj in walk(root):
        if (obj.getRole() == pyatspi.ROLE_IMAGE and obj.name.startswith("Result")
                and has(obj, pyatspi.STATE_SHOWING)):
            return obj.name
    return ""


def await_verdict(act):
    """Runs act once the listener is in place; prints the first verdict told."""
    root = app()
    told = []

    def on_showing(event):
        if (event.host_application.name == APP and event.detail1 == 1
                and event.source.getRole() == pyatspi.ROLE_NOTIFICATION):
            told.append(event.source.name)
            pyatspi.Registry.stop()

    def start():
        act(root)
        return False

    def give_up():
        pyatspi.Registry.stop()
        return False

    pyatspi.Registry.registerEventListener(on_showing, "object:state-changed:showing")
    # The game learns of the listener over the bus before it tells anything.
    GLib.timeout_add(500, start)
    GLib.timeout_add_seconds(20, give_up)
    pyatspi.Registry.start()
    if not told:
        fail("no verdict was told within 20 s")
    print("told: %s" % told[0])
    print("result: %s" % result_name(root))


def press(root, k):
    tile = tiles(root)[k - 1]
    action = tile.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    if not action.doAction(names.index("Press")):
        fail("the press of tile %d was refused" % k)


def names():
    root = app()
    for obj in walk(root):
        if obj.getRole() == pyatspi.ROLE_PUSH_BUTTON:
            print("button: %s" % obj.name)
        if has(obj, pyatspi.STATE_FOCUSED):
            print("focused: %s (%s)" % (obj.name, obj.description))


def main():
    command = sys.argv[1] if len(sys.argv) > 1 else ""
    if command == "tree":
        check_tree()
    elif command == "press" and len(sys.argv) == 3:
        await_verdict(lambda root: press(root, int(sys.argv[2])))
    elif command == "keys" and len(sys.argv) > 2:
        await_verdict(lambda root: subprocess.run(["xdotool", "key", "--clearmodifiers"] +
                                                  sys.argv[2:], check=True))
    elif command == "names":
        names()
    else:
        print(__doc__, file=sys.stderr)
        sys.exit(2)


if __name__ == "__main__":
    main()
