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

CAPTION = "Blink Test"


def free_display_number():
    for n in range(90, 200):
        if not os.path.exists(f"/tmp/.X11-unix/X{n}") and not os.path.exists(f"/tmp/.X{n}-lock"):
            return n
    raise RuntimeError("no free X display number")


def wait_for(condition, seconds, what):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        value = condition()
        if value:
            return value
        time.sleep(0.05)
    raise AssertionError(f"timed out waiting for {what}")


def find_window(root, caption):
    try:
        children = root.query_tree().children
    except Exception:  # the window went away while we looked
        return None
    for child in children:
        try:
            if child.get_wm_name() == caption:
                return child
        except Exception:
            pass
        found = find_window(child, caption)
        if found is not None:
            return found
    return None


def distinct_colours(window, width, height):
    image = window.get_image(0, 0, width, height, X.ZPixmap, 0xFFFFFFFF)
    data = image.data
    return len({bytes(data[i:i + 3]) for i in range(0, len(data), 4)})


def close_like_a_window_manager(d, window):
    protocols = d.intern_atom("WM_PROTOCOLS")
    delete = d.intern_atom("WM_DELETE_WINDOW")
    message = protocol.event.ClientMessage(window=window, client_type=protocols,
                                           data=(32, [delete, X.CurrentTime, 0, 0, 0]))
    window.send_event(message, event_mask=X.NoEventMask)
    d.flush()


def main():
    binary = os.path.abspath(sys.argv[1])
    number = free_display_number()
    name = f":{number}"
    server = subprocess.Popen(["Xvfb", name, "-screen", "0", "640x480x24", "-nolisten", "tcp"],
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    program = None
    try:
        wait_for(lambda: os.path.exists(f"/tmp/.X11-unix/X{number}"), 10, "Xvfb")
        env = dict(os.environ, DISPLAY=name, SDL_VIDEODRIVER="x11")
        env.pop("LD_PRELOAD", None)
        program = subprocess.Popen([binary], cwd=os.path.dirname(binary), env=env)
        d = display.Display(name)
        window = wait_for(lambda: find_window(d.screen().root, CAPTION), 15, f"the '{CAPTION}' window")
        geometry = window.get_geometry()
        assert (geometry.width, geometry.height) == (256, 256), f"window is {geometry.width} x {geometry.height}"
        # A blank or single-colour window would give a handful of colours;
        # the scene has hundreds.
        colours = wait_for(lambda: (lambda n: n if n > 100 else 0)(distinct_colours(window, 256, 256)), 20,
                           "the scene to be drawn")
        print(f"window 256 x 256 showing {colours} distinct colours")
        assert program.poll() is None, "the program ended on its own"
        close_like_a_window_manager(d, window)
        status = program.wait(timeout=10)
        assert status == 0, f"exit status {status} after the window was closed"
        print("closed with status 0")
        return 0
    finally:
        if program is not None and program.poll() is None:
            program.kill()
        server.terminate()
        server.wait()


if __name__ == "__main__":
    sys.exit(main())
