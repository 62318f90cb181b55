#!/usr/bin/env python3
"""Serves the web build's site on 127.0.0.1 and runs its pages in headless
Chromium.

A page opened with ?record=N (and &hash) posts a report of its first N
frames to /report (see programs/web/shell.js); `run_page` waits for it.

Usage:
  tools/web_pages.py serve <site> [port]   serve until interrupted
  tools/web_pages.py still <site> <page> <png> [milliseconds]
                                           a screenshot of the page after
                                           that much of its time
"""
import functools
import http.server
import json
import os
import queue
import shutil
import signal
import subprocess
import sys
import tempfile
import threading

CHROMIUM = shutil.which("chromium") or "/usr/bin/chromium"
# Headless, without the sandbox (which root cannot use), and without the
# background connections a closed network refuses.
CHROMIUM_FLAGS = ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                  "--disable-background-networking", "--disable-component-update", "--disable-sync",
                  "--disable-background-timer-throttling", "--disable-renderer-backgrounding"]


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
    """The site folder served on 127.0.0.1 (port 0: any free one) in a thread."""

    def __init__(self, folder, port=0):
        self.server = http.server.ThreadingHTTPServer(("127.0.0.1", port),
                                                      functools.partial(Handler, directory=folder))
        self.server.reports = queue.Queue()
        self.address = f"http://127.0.0.1:{self.server.server_address[1]}/"
        threading.Thread(target=self.server.serve_forever, daemon=True).start()

    def close(self):
        self.server.shutdown()
        self.server.server_close()

    def run_page(self, page, frames, hashes=False, timeout=120):
        """The report of `page` (e.g. "blink_test.html") over its first
        `frames` frames, or of its end if it ends before them."""
        query = f"?record={frames}" + ("&hash" if hashes else "")
        with tempfile.TemporaryDirectory(ignore_cleanup_errors=True) as profile:
            # A session of its own, so that its helper processes end with it.
            browser = subprocess.Popen([CHROMIUM, *CHROMIUM_FLAGS, f"--user-data-dir={profile}",
                                        self.address + page + query], start_new_session=True,
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            try:
                return self.server.reports.get(timeout=timeout)
            except queue.Empty:
                raise TimeoutError(f"{page} sent no report within {timeout} s") from None
            finally:
                os.killpg(browser.pid, signal.SIGKILL)
                browser.wait()

    def still(self, page, png, milliseconds):
        """A screenshot of `page` once `milliseconds` of its (virtual) time
        have run."""
        with tempfile.TemporaryDirectory(ignore_cleanup_errors=True) as profile:
            subprocess.run([CHROMIUM, *CHROMIUM_FLAGS, f"--user-data-dir={profile}", "--window-size=640,620",
                            f"--virtual-time-budget={milliseconds}", f"--screenshot={os.path.abspath(png)}",
                            self.address + page], check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                           timeout=120)


def main():
    command, folder = sys.argv[1], sys.argv[2]
    site = Site(folder, int(sys.argv[3]) if command == "serve" and len(sys.argv) > 3 else 0)
    if command == "serve":
        print(f"Serving {folder} at {site.address} (Ctrl-C stops)", flush=True)
        try:
            threading.Event().wait()
        except KeyboardInterrupt:
            pass
    elif command == "still":
        site.still(sys.argv[3], sys.argv[4], int(sys.argv[5]) if len(sys.argv) > 5 else 10000)
    site.close()


if __name__ == "__main__":
    main()
