#!/usr/bin/env python3
"""Serves the web build's site on 127.0.0.1 and runs its pages in headless
Chromium.

A page opened with ?record=N (and &hash) posts a report of its first N
frames to /report (see programs/web/shell.js); `Site.run_page` waits for it,
and may ask the page to quit at a frame or refuse an image load.

Usage:
  tests/web/pages.py serve <site> [port]    serves the site until Ctrl-C
  tests/web/pages.py still <site> <page> <png> [milliseconds]
                                            a screenshot of the page once that
                                            much of its time has run
  tests/web/pages.py report <site> <markdown file>
                                            measures each program's page into
                                            the file (its one writer)
"""
import argparse
import contextlib
import functools
import http.server
import json
import os
import queue
import re
import shutil
import signal
import statistics
import subprocess
import tempfile
import threading
import time

CHROMIUM = shutil.which("chromium") or "/usr/bin/chromium"
# Headless, without the sandbox (which root cannot use), without the
# background connections a closed network refuses, and with the timers of a
# page that nobody looks at kept at full pace.
CHROMIUM_FLAGS = ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                  "--disable-background-networking", "--disable-component-update", "--disable-sync",
                  "--disable-background-timer-throttling", "--disable-renderer-backgrounding"]
with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "programs", "programs.json")) as f:
    MANIFEST = json.load(f)


@contextlib.contextmanager
def chromium(*arguments):
    """Headless Chromium on a fresh profile, started in a session of its own
    so that its helper processes end with it when the block ends; the files
    it keeps in a temporary folder go with the profile's."""
    with tempfile.TemporaryDirectory(ignore_cleanup_errors=True) as profile:
        browser = subprocess.Popen([CHROMIUM, *CHROMIUM_FLAGS, f"--user-data-dir={profile}", *arguments],
                                   start_new_session=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                   env=dict(os.environ, TMPDIR=profile))
        try:
            yield browser
        finally:
            os.killpg(browser.pid, signal.SIGKILL)
            browser.wait()


class Handler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map, ".wasm": "application/wasm",
                      ".js": "text/javascript", ".data": "application/octet-stream"}

    def do_POST(self):
        body = self.rfile.read(int(self.headers.get("Content-Length", 0)))
        self.send_response(204)
        self.end_headers()
        if self.path == "/report":
            self.server.reports.put(json.loads(body))

    def log_message(self, *args):
        pass


class Site:
    """The site folder served on 127.0.0.1 (port 0: any free one) from a
    thread, until the `with` block ends."""

    def __init__(self, folder, port=0):
        if not os.path.isfile(os.path.join(folder, "shell.js")):
            raise SystemExit(f"no web build in {folder}: run bash tools/web.sh first")
        self.folder = folder
        self.server = http.server.ThreadingHTTPServer(("127.0.0.1", port),
                                                      functools.partial(Handler, directory=folder))
        self.server.reports = queue.Queue()
        self.address = f"http://127.0.0.1:{self.server.server_address[1]}/"
        threading.Thread(target=self.server.serve_forever, daemon=True).start()

    def __enter__(self):
        return self

    def __exit__(self, *exception):
        self.server.shutdown()
        self.server.server_close()

    def run_page(self, page, frames, hashes=False, quit=0, refuse=0, timeout=120):
        """The report of `page` (e.g. "blink_test.html") over its first
        `frames` frames, or of its end if it ends before them; with `quit`,
        the program is closed at that frame, and with `refuse`, that image
        load fails."""
        query = f"?record={frames}&quit={quit}&refuse={refuse}" + ("&hash" if hashes else "")
        with chromium(self.address + page + query) as browser:
            deadline = time.monotonic() + timeout
            while time.monotonic() < deadline:
                try:
                    return self.server.reports.get(timeout=1)
                except queue.Empty:
                    if browser.poll() is not None:
                        raise RuntimeError(f"Chromium ended ({browser.returncode}) before {page} reported")
            raise TimeoutError(f"{page} sent no report within {timeout} s")

    def still(self, page, png, milliseconds):
        """A screenshot of `page` once `milliseconds` of its (virtual) time
        have run."""
        with chromium("--window-size=640,620", f"--virtual-time-budget={milliseconds}",
                      f"--screenshot={os.path.abspath(png)}", self.address + page) as browser:
            if browser.wait(timeout=120) != 0:
                raise RuntimeError(f"Chromium failed ({browser.returncode}) to take {page}")

    def report(self, markdown):
        """Each program's first frame, its pace over 200 frames and the bytes
        its page loads, written as the Markdown file `markdown`."""
        version = subprocess.run([CHROMIUM, "--version"], capture_output=True, text=True, timeout=30).stdout.strip()
        emcc = subprocess.run(["emcc", "--version"], capture_output=True, text=True, timeout=60).stdout
        emscripten = re.search(r"\) (\d+\.\d+\.\d+)", emcc).group(1)
        pause = MANIFEST["pause_ms"]
        rows = []
        for name in (program["name"] for program in MANIFEST["programs"]):
            times = self.run_page(name + ".html", 201)["times"]
            if len(times) < 201:
                raise SystemExit(f"{name} ended after {len(times)} frames")
            median = statistics.median(b - a for a, b in zip(times, times[1:]))
            sizes = [os.path.getsize(os.path.join(self.folder, name + suffix)) for suffix in (".wasm", ".js", ".data")]
            pace = "✓" if abs(median - pause) <= 2 else "✗"
            weight = "✓" if sum(sizes) < 1_000_000 else "✗"
            rows.append(f"| `{name}` | {times[0]:.0f} ms | {median:.1f} ms {pace} | "
                        + " | ".join(f"{size / 1000:.0f} kB" for size in sizes) + f" | {sum(sizes) / 1000:.0f} kB {weight} |")
        with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), "report.md.in")) as template:
            text = template.read().format(emscripten=emscripten, browser=version, pause=pause, rows="\n".join(rows))
        with open(markdown, "w") as f:
            f.write(text)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    commands = parser.add_subparsers(dest="command", required=True)
    serve = commands.add_parser("serve", help="serve the site until Ctrl-C")
    serve.add_argument("site")
    serve.add_argument("port", type=int, nargs="?", default=8000)
    still = commands.add_parser("still", help="a screenshot of a page")
    still.add_argument("site")
    still.add_argument("page")
    still.add_argument("png")
    still.add_argument("milliseconds", type=int, nargs="?", default=10000)
    report = commands.add_parser("report", help="measure the pages into a Markdown file")
    report.add_argument("site")
    report.add_argument("markdown")
    args = parser.parse_args()

    with Site(args.site, args.port if args.command == "serve" else 0) as site:
        if args.command == "serve":
            print(f"Serving {args.site} at {site.address} (Ctrl-C stops)", flush=True)
            try:
                threading.Event().wait()
            except KeyboardInterrupt:
                pass
        elif args.command == "still":
            site.still(args.page, args.png, args.milliseconds)
        else:
            site.report(args.markdown)


if __name__ == "__main__":
    main()
