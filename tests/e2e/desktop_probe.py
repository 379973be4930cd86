"""What a desktop asks of a window, and how long the window takes to answer.

    desktop_probe.py ping WINDOW     a _NET_WM_PING; prints the seconds to the answer
    desktop_probe.py expose WINDOW   maps a window over the game's and takes it away again;
                                     prints the seconds until the uncovered pixels are back
    desktop_probe.py close WINDOW    a WM_DELETE_WINDOW request, as a close button sends it
    desktop_probe.py pings WINDOW SECONDS
                                     pings one after another for SECONDS; prints the longest
                                     time a ping waited, and the count

No window manager runs under the tests' Xvfb: this plays its part. Exit status 1 when the
window does not answer within 5 s.
"""
import sys
import time

from Xlib import X, display
from Xlib.protocol import event

LIMIT = 5.0


def atom(d, name):
    return d.intern_atom(name)


def client_message(d, window, type_name, data):
    return event.ClientMessage(window=window, client_type=atom(d, type_name),
                               data=(32, data))


def ping(d, window):
    root = d.screen().root
    # The answer goes to the root window, for whoever listens there as a window manager does.
    root.change_attributes(event_mask=X.StructureNotifyMask | X.SubstructureNotifyMask)
    stamp = int(time.time() * 1000) & 0xFFFFFFFF
    ping_atom = atom(d, "_NET_WM_PING")
    start = time.monotonic()
    window.send_event(client_message(d, window, "WM_PROTOCOLS",
                                     [ping_atom, stamp, window.id, 0, 0]))
    d.flush()
    while time.monotonic() - start < LIMIT:
        while d.pending_events():
            e = d.next_event()
            if (e.type == X.ClientMessage and e.data[1][0] == ping_atom and
                    e.data[1][1] == stamp):
                return time.monotonic() - start
        time.sleep(0.002)
    return None


def pings(d, window, seconds):
    longest = 0.0
    count = 0
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        took = ping(d, window)
        if took is None:
            return None
        longest = max(longest, took)
        count += 1
        time.sleep(0.005)
    print("%.4f %d" % (longest, count))
    return longest


def pixels(d, window):
    geometry = window.get_geometry()
    return window.get_image(0, 0, geometry.width, geometry.height, X.ZPixmap,
                            0xFFFFFFFF).data


def expose(d, window):
    before = pixels(d, window)
    origin = window.translate_coords(d.screen().root, 0, 0)
    geometry = window.get_geometry()
    cover = d.screen().root.create_window(
        -origin.x, -origin.y, geometry.width, geometry.height, 0, d.screen().root_depth,
        background_pixel=d.screen().black_pixel, override_redirect=True)
    cover.map()
    d.sync()
    time.sleep(0.2)
    cover.destroy()
    d.sync()
    start = time.monotonic()
    while time.monotonic() - start < LIMIT:
        if pixels(d, window) == before:
            return time.monotonic() - start
        time.sleep(0.005)
    return None


def close(d, window):
    window.send_event(client_message(d, window, "WM_PROTOCOLS",
                                     [atom(d, "WM_DELETE_WINDOW"), X.CurrentTime, 0, 0, 0]))
    d.flush()
    return 0.0


def main():
    command = sys.argv[1] if len(sys.argv) > 1 else ""
    if not ((command in ("ping", "expose", "close") and len(sys.argv) == 3) or
            (command == "pings" and len(sys.argv) == 4)):
        sys.stderr.write(__doc__)
        return 2
    d = display.Display()
    window = d.create_resource_object("window", int(sys.argv[2], 0))
    if command == "pings":
        return 0 if pings(d, window, float(sys.argv[3])) is not None else 1
    seconds = globals()[command](d, window)
    if seconds is None:
        print("no answer within %.0f s" % LIMIT)
        return 1
    print("%.3f" % seconds)
    return 0


if __name__ == "__main__":
    sys.exit(main())
