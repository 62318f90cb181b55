#!/usr/bin/python3
"""The web build against the desktop: each program's page, in headless
Chromium, flips frames whose pixels hash the same as the desktop program's
under the harness, frame for frame (scene_demo's first 520, the others'
first 208); and a picture that cannot be loaded ends the page with the
desktop's message and status.

Usage: frames_test.py <site folder> <harness library> <desktop run folder>...
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
from web_pages import Site  # noqa: E402

FRAMES = {"blink_test": 208, "blink_sprite_test": 208, "scene_demo": 520}


def desktop_run(run_dir, frames, harness, work):
    """The desktop program of `run_dir` for `frames` frames: its frame
    hashes, status and error output."""
    name = os.path.basename(run_dir)
    log = os.path.join(work, name + ".log")
    env = dict(os.environ, SDL_VIDEODRIVER="dummy", LD_PRELOAD=harness, ANIM_HARNESS_QUIT_AT=str(frames),
               ANIM_HARNESS_NO_DELAY="1", ANIM_HARNESS_LOG=log)
    run = subprocess.run([os.path.join(run_dir, name)], cwd=run_dir, env=env, capture_output=True, text=True,
                         timeout=120)
    with open(log) as lines:
        return [line.split()[2] for line in lines if line.startswith("frame ")], run.returncode, run.stderr


def break_signature(data, offset):
    """Overwrites the two bytes at `offset` of file `data` (a BMP's "BM")."""
    with open(data, "r+b") as f:
        f.seek(offset)
        f.write(b"XX")


def main():
    site_dir, harness, run_dirs = sys.argv[1], sys.argv[2], sys.argv[3:]
    failures = []
    with tempfile.TemporaryDirectory() as work:
        site = Site(site_dir)
        for run_dir in run_dirs:
            name = os.path.basename(run_dir)
            desktop, _, _ = desktop_run(run_dir, FRAMES[name], harness, work)
            web = site.run_page(name + ".html", FRAMES[name], hashes=True)["frames"]
            differing = [k + 1 for k in range(FRAMES[name]) if k >= len(web) or web[k] != desktop[k]]
            print(f"{name}: {FRAMES[name] - len(differing)} of {FRAMES[name]} frames equal")
            if differing:
                failures.append(f"{name}: frames {differing[:20]} differ ({len(differing)} in all)")
        site.close()

        # blink_test's backdrop broken in both builds.
        broken_run = shutil.copytree(next(d for d in run_dirs if d.endswith("blink_test")), work + "/blink_test")
        break_signature(broken_run + "/img_fond.bmp", 0)
        broken_site = shutil.copytree(site_dir, work + "/site")
        with open(broken_site + "/blink_test.js") as script:
            start = re.search(r'"filename":"/img_fond.bmp","start":(\d+)', script.read()).group(1)
        break_signature(broken_site + "/blink_test.data", int(start))
        _, status, message = desktop_run(broken_run, 3, harness, work)
        site = Site(broken_site)
        report = site.run_page("blink_test.html", 3)
        site.close()
        print(f"a broken picture: desktop status {status}, page status {report['status']}")
        if (report["status"], report["messages"]) != (status, message.splitlines()):
            failures.append(f"a broken picture: the page shows {report['messages']} and ends with "
                            f"{report['status']}, the desktop {message.splitlines()} and {status}")
    for failure in failures:
        print("FAILED: " + failure, file=sys.stderr)
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
