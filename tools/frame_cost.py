#!/usr/bin/env python3
"""Measures anim_frame_cost's scene on each SDL: the instructions of a frame
under callgrind, for every display depth, window size and form of the images,
and, run natively, its facts (creation time, the bytes of a fade, how far the
frames are from the files' format). Writes them as one JSON file.

Usage: frame_cost.py <anim_frame_cost> <output.json> [<classic SDL library folder>]
(headless: SDL_VIDEODRIVER=dummy is set for every run)
"""
import json
import os
import re
import subprocess
import sys
import tempfile
from concurrent.futures import ThreadPoolExecutor

SIZES = [(256, 256), (640, 480), (1280, 720), (1920, 1080)]
FACT_SIZES = [(640, 480), (1920, 1080)]
DEPTHS = [32, 16]
FORMS = ["files", "display", "hand"]
FRAMES = 4  # frames counted in each run; every run draws the same ones


def environment(library):
    env = dict(os.environ, SDL_VIDEODRIVER="dummy")
    if library:
        env["LD_LIBRARY_PATH"] = library
    return env


def instructions_a_frame(program, library, form, depth, size):
    with tempfile.TemporaryDirectory() as folder:
        out = os.path.join(folder, "callgrind.out")
        subprocess.run(["valgrind", "--tool=callgrind", "--collect-atstart=no", "--toggle-collect=*measured_frames*",
                        f"--callgrind-out-file={out}", program, "frames", form, str(depth), str(size[0]), str(size[1]),
                        str(FRAMES)], env=environment(library), check=True, capture_output=True)
        with open(out) as counts:
            total = int(re.search(r"^totals: (\d+)", counts.read(), re.M).group(1))
    return {"form": form, "depth": depth, "width": size[0], "height": size[1], "instructions": total / FRAMES}


def facts(program, library, depth, size):
    run = subprocess.run([program, "facts", str(depth), str(size[0]), str(size[1])], env=environment(library),
                         check=True, capture_output=True, text=True)
    return dict(json.loads(run.stdout), depth=depth, width=size[0], height=size[1])


def version(program, library):
    """The SDL the program loads, by the library's own report."""
    env = environment(library)
    found = subprocess.run(["ldd", program], env=env, capture_output=True, text=True, check=True).stdout
    path = re.search(r"libSDL-1\.2\.so\.0 => (\S+)", found).group(1)
    script = ("import ctypes, sys\nv = ctypes.CDLL(sys.argv[1]).SDL_Linked_Version\n"
              "v.restype = ctypes.POINTER(ctypes.c_uint8 * 3)\nprint(*v().contents, sep='.')")
    return subprocess.run([sys.executable, "-c", script, path], capture_output=True, text=True,
                          check=True).stdout.strip()


def measure(program, library, name):
    # Facts first, alone: their creation times are wall-clock.
    taken = [facts(program, library, depth, size) for depth in DEPTHS for size in FACT_SIZES]
    with ThreadPoolExecutor(max_workers=os.cpu_count() or 1) as pool:
        runs = [pool.submit(instructions_a_frame, program, library, form, depth, size)
                for depth in DEPTHS for size in SIZES for form in FORMS]
        frames = [r.result() for r in runs]
    return {"name": name, "version": version(program, library), "frames": frames, "facts": taken}


def main():
    program, output = sys.argv[1], sys.argv[2]
    sdls = [measure(program, None, "compatibility")]
    if len(sys.argv) > 3 and sys.argv[3]:
        sdls.append(measure(program, sys.argv[3], "classic"))
    with open(output, "w") as out:
        json.dump({"frames_counted": FRAMES, "sdls": sdls}, out, indent=1)


if __name__ == "__main__":
    main()
