#!/usr/bin/env python3
"""Serves a web build's folder on 127.0.0.1 and runs its pages in headless
Chromium, for tools/web_pages.py and the web build's tests; and reads the
programs' facts that the build writes (programs.env).

A page opened with ?record=N (and &hash) posts a report of its first N
frames to /report (see programs/web/shell.js); `Site.run_page` waits for it,
and may ask the page to quit at a frame or refuse an image load.
"""
import contextlib
import functools
import http.server
import json
import os
import queue
import shutil
import signal
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


def program_facts(build):
    """The programs' facts that the build in folder `build` wrote into its
    programs.env: each NAME="value" line, as a dictionary."""
    with open(os.path.join(build, "programs.env")) as lines:
        pairs = (line.strip().split("=", 1) for line in lines if "=" in line and not line.startswith("#"))
        return {name: value.strip('"') for name, value in pairs}
