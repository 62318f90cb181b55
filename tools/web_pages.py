#!/usr/bin/env python3
"""The web build's site served, photographed and measured, through the
browser's test runner (tools/browser_pages.py), with the programs' facts of
the desktop build that drew the pictures (build/dev).

Usage:
  tools/web_pages.py serve <site> [port]    serves the site until Ctrl-C
  tools/web_pages.py still <site> <page> <png> [milliseconds]
                                            a screenshot of the page once that
                                            much of its time has run
  tools/web_pages.py report <site> <markdown file>
                                            measures each program's page into
                                            the file (its one writer)
"""
import argparse
import os
import re
import statistics
import subprocess
import threading

from browser_pages import CHROMIUM, Site, chromium, program_facts

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
FACTS = program_facts(os.path.join(ROOT, "build", "dev"))


def still(site, page, png, milliseconds):
    """A screenshot of `page` once `milliseconds` of its (virtual) time
    have run."""
    with chromium("--window-size=640,620", f"--virtual-time-budget={milliseconds}",
                  f"--screenshot={os.path.abspath(png)}", site.address + page) as browser:
        if browser.wait(timeout=120) != 0:
            raise RuntimeError(f"Chromium failed ({browser.returncode}) to take {page}")


def report(site, markdown):
    """Each program's first frame, its pace over 200 frames and the bytes
    its page loads, written as the Markdown file `markdown`."""
    version = subprocess.run([CHROMIUM, "--version"], capture_output=True, text=True, timeout=30).stdout.strip()
    emcc = subprocess.run(["emcc", "--version"], capture_output=True, text=True, timeout=60).stdout
    emscripten = re.search(r"\) (\d+\.\d+\.\d+)", emcc).group(1)
    pause = int(FACTS["ANIM_PAUSE_MS"])
    rows = []
    for name in FACTS["ANIM_PROGRAMS"].split():
        times = site.run_page(name + ".html", 201)["times"]
        if len(times) < 201:
            raise SystemExit(f"{name} ended after {len(times)} frames")
        median = statistics.median(b - a for a, b in zip(times, times[1:]))
        sizes = [os.path.getsize(os.path.join(site.folder, name + suffix)) for suffix in (".wasm", ".js", ".data")]
        pace = "✓" if abs(median - pause) <= 2 else "✗"
        weight = "✓" if sum(sizes) < 1_000_000 else "✗"
        rows.append(f"| `{name}` | {times[0]:.0f} ms | {median:.1f} ms {pace} | "
                    + " | ".join(f"{size / 1000:.0f} kB" for size in sizes) + f" | {sum(sizes) / 1000:.0f} kB {weight} |")
    with open(os.path.join(ROOT, "tools", "web_report.md.in")) as template:
        text = template.read().format(emscripten=emscripten, browser=version, pause=pause, rows="\n".join(rows))
    with open(markdown, "w") as f:
        f.write(text)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    commands = parser.add_subparsers(dest="command", required=True)
    serve = commands.add_parser("serve", help="serve the site until Ctrl-C")
    serve.add_argument("site")
    serve.add_argument("port", type=int, nargs="?", default=8000)
    photograph = commands.add_parser("still", help="a screenshot of a page")
    photograph.add_argument("site")
    photograph.add_argument("page")
    photograph.add_argument("png")
    photograph.add_argument("milliseconds", type=int, nargs="?", default=10000)
    measure = commands.add_parser("report", help="measure the pages into a Markdown file")
    measure.add_argument("site")
    measure.add_argument("markdown")
    args = parser.parse_args()

    with Site(args.site, args.port if args.command == "serve" else 0) as site:
        if args.command == "serve":
            print(f"Serving {args.site} at {site.address} (Ctrl-C stops)", flush=True)
            try:
                threading.Event().wait()
            except KeyboardInterrupt:
                pass
        elif args.command == "still":
            still(site, args.page, args.png, args.milliseconds)
        else:
            report(site, args.markdown)


if __name__ == "__main__":
    main()
