#!/usr/bin/python3
"""scene_demo in a real window: under Xvfb the program opens its 256 x 256
"Blink Test" window, draws the scene into it, and ends with status 0 when the
window is closed the way a window manager closes it (a WM_DELETE_WINDOW
client message).

Usage: real_window_test.py <scene_demo binary>
"""
import os
import subprocess
import sys
import time

from Xlib import X, display, protocol


def wait_for(condition, seconds, what):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        value = condition()
        if value:
            return value
        time.sleep(0.05)
    raise AssertionError(f"timed out waiting for {what}")


def free_display_number():
    return next(n for n in range(90, 200)
                if not os.path.exists(f"/tmp/.X11-unix/X{n}") and not os.path.exists(f"/tmp/.X{n}-lock"))


def connect(name):
    """A connection to the X server `name`, or None while it does not take one."""
    try:
        return display.Display(name)
    except Exception:
        return None


def captioned(window, caption):
    """The window below `window` with that caption, or None."""
    try:  # windows may go away while we look
        for child in window.query_tree().children:
            found = child if child.get_wm_name() == caption else captioned(child, caption)
            if found:
                return found
    except Exception:
        pass
    return None


def distinct_colours(window):
    data = window.get_image(0, 0, 256, 256, X.ZPixmap, 0xFFFFFFFF).data
    return len({bytes(data[i:i + 3]) for i in range(0, len(data), 4)})


def main():
    binary = os.path.abspath(sys.argv[1])
    name = f":{free_display_number()}"
    server = subprocess.Popen(["Xvfb", name, "-screen", "0", "640x480x24", "-nolisten", "tcp"],
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    program = None
    try:
        d = wait_for(lambda: connect(name), 10, "Xvfb")
        env = dict(os.environ, DISPLAY=name, SDL_VIDEODRIVER="x11")
        env.pop("LD_PRELOAD", None)
        program = subprocess.Popen([binary], cwd=os.path.dirname(binary), env=env)
        window = wait_for(lambda: captioned(d.screen().root, "Blink Test"), 15, "the 'Blink Test' window")
        size = (window.get_geometry().width, window.get_geometry().height)
        assert size == (256, 256), f"window is {size[0]} x {size[1]}"
        # A blank or single-colour window gives a handful of colours; the scene hundreds.
        colours = wait_for(lambda: max(distinct_colours(window) - 100, 0), 20, "the scene to be drawn") + 100
        print(f"window 256 x 256 showing {colours} distinct colours")
        assert program.poll() is None, "the program ended on its own"
        message = protocol.event.ClientMessage(window=window, client_type=d.intern_atom("WM_PROTOCOLS"),
                                               data=(32, [d.intern_atom("WM_DELETE_WINDOW"), X.CurrentTime, 0, 0, 0]))
        window.send_event(message, event_mask=X.NoEventMask)
        d.flush()
        status = program.wait(timeout=10)
        assert status == 0, f"exit status {status} after the window was closed"
        print("closed with status 0")
    finally:
        if program is not None and program.poll() is None:
            program.kill()
        server.terminate()
        server.wait()


if __name__ == "__main__":
    main()
