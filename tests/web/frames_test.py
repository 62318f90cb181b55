#!/usr/bin/python3
"""The web build against the desktop: each program's page, in headless
Chromium and titled with the programs' caption, flips frames whose pixels
hash the same as the desktop program's under the harness, frame for frame
(as many as a headless run's, from the build's programs.env), and so do its test
pages on the program's pictures written as PNG files, and at 16 bits with
an alpha mask (against the desktop on those); a picture that cannot
be loaded ends the page with the desktop's message and status; the guide's
scrolling example, with soft-edged pictures, flips the desktop's frames; and the
page's own harness delivers a quit and a refused load as the desktop's does.

Usage: frames_test.py <anim_headless of the build> <desktop run folder>...
The web build's folder comes from ANIM_WEB_BUILD (the web test preset sets
it; tools/web.sh makes the build), and PYTHONPATH names tools/, where
browser_pages.py is (CTest sets it).
"""
import os
import shutil
import subprocess
import sys
import tempfile

from browser_pages import Site, program_facts  # in tools/, which the test's PYTHONPATH names


def desktop_run(run_dir, frames, headless, work, pictures=None, refuse=0):
    """The desktop program of `run_dir` for `frames` frames, run in the
    folder `pictures` (its own by default) by the command `headless`, with
    image load `refuse` refused (none by default): its frame hashes, status
    and error output."""
    name = os.path.basename(run_dir)
    log = os.path.join(work, name + ".log")
    run = subprocess.run([headless, "--frames", str(frames), "--refuse", str(refuse), "--log", log,
                          "--in", pictures or run_dir, os.path.join(run_dir, name)],
                         capture_output=True, text=True, timeout=120)
    with open(log) as lines:
        return [line.split()[2] for line in lines if line.startswith("frame ")], run.returncode, run.stderr


def differing(page, desktop):
    """The frames, counted from 1, whose hashes on the page are not the
    desktop's."""
    return [k + 1 for k in range(len(desktop)) if k >= len(page["frames"]) or page["frames"][k] != desktop[k]]


def compare_frames(sites, run_dir, headless, work, facts):
    """What differs between the desktop program of `run_dir` and its pages:
    its page in the site and its test page on its pictures as PNG files,
    both against the desktop on its own pictures, and its test
    page on its pictures at 16 bits with an alpha mask against the desktop
    on those; empty when nothing does."""
    name = os.path.basename(run_dir)
    frames = int(facts["ANIM_RUN_FRAMES"])
    at_16 = os.path.join(os.path.dirname(os.path.dirname(run_dir)), "run-16", name)
    problems = []
    desktop_runs = {pictures: desktop_run(run_dir, frames, headless, work, pictures) for pictures in (run_dir, at_16)}
    for pictures, (desktop, status, errors) in desktop_runs.items():
        if status != 0 or len(desktop) != frames:
            problems.append(f"{name} in {pictures}: the desktop program ended with {status} after {len(desktop)} "
                            f"frames: {errors}")
    if problems:
        return problems
    for site, page_name, pictures in ((sites[0], name, run_dir), (sites[1], name + "_png", run_dir),
                                      (sites[1], name + "_16", at_16)):
        desktop = desktop_runs[pictures][0]
        page = site.run_page(page_name + ".html", frames, hashes=True)
        wrong = differing(page, desktop)
        print(f"{page_name}: {frames - len(wrong)} of {frames} frames equal, titled {page['title']!r}")
        problems += [f"{page_name}: frames {wrong[:20]} differ ({len(wrong)} in all)"] if wrong else []
        problems += [f"{page_name}: the page is titled {page['title']!r}"] if page["title"] != facts["ANIM_CAPTION"] else []
    return problems


def compare_broken_picture(site_dir, run_dir, headless, work):
    """A picture of blink_test broken in both builds: what differs between the
    page's end and the desktop program's."""
    broken = sorted(name for name in os.listdir(run_dir) if name.endswith(".bmp"))[0]
    picture = os.path.join(run_dir, broken)
    with open(picture, "rb") as f:
        original = f.read()
    broken_run = shutil.copytree(run_dir, os.path.join(work, "blink_test"))
    broken_site = shutil.copytree(site_dir, os.path.join(work, "site"))
    with open(os.path.join(broken_site, "blink_test.data"), "r+b") as package:
        start = package.read().find(original)
        if start < 0:
            return [f"a broken picture: {broken} is not in blink_test.data"]
        package.seek(start)
        package.write(b"XX")  # instead of the signature "BM"
    with open(os.path.join(broken_run, broken), "r+b") as f:
        f.write(b"XX")
    _, status, errors = desktop_run(broken_run, 3, headless, work)
    with Site(broken_site) as site:
        page = site.run_page("blink_test.html", 3)
    print(f"a broken picture: desktop status {status}, page status {page['status']}")
    if (page["status"], page["messages"]) != (status, errors.splitlines()):
        return [f"a broken picture: the page shows {page['messages']} and ends with {page['status']}, "
                f"the desktop {errors.splitlines()} and {status}"]
    return []


# Frames of the guide's scrolling example compared: its child runs past the
# fir tree, the lantern fades in and out, and the view scrolls.
EXAMPLE_FRAMES = 120


def compare_example(pages, run_dir, headless, work):
    """What differs between the guide's scrolling example on the desktop and
    its test page, whose child and fir tree have soft edges."""
    desktop, status, errors = desktop_run(run_dir, EXAMPLE_FRAMES, headless, work)
    page = pages.run_page("scrolling.html", EXAMPLE_FRAMES, hashes=True)
    wrong = differing(page, desktop)
    print(f"scrolling: {len(desktop) - len(wrong)} of {EXAMPLE_FRAMES} frames equal")
    if status != 0 or len(desktop) != EXAMPLE_FRAMES:
        return [f"scrolling: the desktop example ended with {status} after {len(desktop)} frames: {errors}"]
    return [f"scrolling: frames {wrong[:20]} differ ({len(wrong)} in all)"] if wrong else []


def check_page_harness(site, run_dir, headless, work):
    """What differs between blink_test's page and the desktop program under
    its harness, each asked to quit at frame 5 and to refuse no load, its
    first load or a later one: the frames flipped, the status and what the
    program wrote."""
    problems = []
    for refused in (0, 1, 60):
        page = site.run_page("blink_test.html", 6, quit=5, refuse=refused)
        frames, status, errors = desktop_run(run_dir, 5, headless, work, refuse=refused)
        seen, expected = (len(page["times"]), page["status"], page["messages"]), (len(frames), status, errors.splitlines())
        print(f"blink_test asked to quit at frame 5 and refuse load {refused}: {seen}")
        problems += [f"the page's harness: {seen} instead of {expected}"] if seen != expected else []
    return problems


def main():
    headless, run_dirs = sys.argv[1], sys.argv[2:]
    if "ANIM_WEB_BUILD" not in os.environ:
        sys.exit("ANIM_WEB_BUILD is not set: run the test with ctest --preset web, after bash tools/web.sh")
    site_dir, test_pages = (os.path.join(os.environ["ANIM_WEB_BUILD"], part) for part in ("site", "test-pages"))
    facts = program_facts(os.path.dirname(os.path.dirname(run_dirs[0])))
    with tempfile.TemporaryDirectory() as work, Site(site_dir) as site, Site(test_pages) as pages:
        failures = [problem for run_dir in run_dirs
                    for problem in compare_frames((site, pages), run_dir, headless, work, facts)]
        blink_test = next(d for d in run_dirs if os.path.basename(d) == "blink_test")
        failures += compare_broken_picture(site_dir, blink_test, headless, work)
        failures += compare_example(pages, os.path.join(os.path.dirname(blink_test), "scrolling"), headless, work)
        failures += check_page_harness(site, blink_test, headless, work)
    for failure in failures:
        print("FAILED: " + failure, file=sys.stderr)
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
