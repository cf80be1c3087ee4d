#!/usr/bin/env python3
"""Opens URL in headless Chromium, in a page of WIDTHxHEIGHT pixels, waits
until the script READY evaluates to true on the page (anything else it
returns says what is still awaited), and saves a picture of the element
SELECTOR as it shows on screen, as PNG.
Usage: browser_shot.py URL READY SELECTOR OUT.png WIDTHxHEIGHT [SECONDS]
Exits 1 when READY is not true within SECONDS (default 20), after saving a
picture of the whole page to OUT.png for the diagnosis."""

import base64
import fcntl
import json
import os
import shutil
import subprocess
import sys
import tempfile
import time


def _place_fds(read_end, write_end):
    """Puts READ_END at descriptor 3 and WRITE_END at 4, whichever numbers
    they have now (moved out of the way first, so neither overwrites the
    other)."""
    read_end, write_end = (fcntl.fcntl(fd, fcntl.F_DUPFD, 10) for fd in (read_end, write_end))
    os.dup2(read_end, 3)
    os.dup2(write_end, 4)


class Browser:
    """Headless Chromium driven over the DevTools protocol on a pipe: the
    browser reads commands on its descriptor 3 and answers on 4, each
    message ending with a NUL byte."""

    def __init__(self, profile):
        to_browser_read, self._to_browser = os.pipe()
        self._from_browser, from_browser_write = os.pipe()
        # Ends with this process however that ends. A temporary profile; no
        # sandbox, which cannot start as root.
        self._process = subprocess.Popen(
            ["setpriv", "--pdeathsig", "KILL", "--", "chromium", "--headless=new", "--no-sandbox", "--disable-gpu",
             "--no-first-run", "--user-data-dir=" + profile,
             "--window-size=1280,1024", "--remote-debugging-pipe", "about:blank"],
            pass_fds=(3, 4), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            preexec_fn=lambda: _place_fds(to_browser_read, from_browser_write))
        os.close(to_browser_read)
        os.close(from_browser_write)
        self._next_id = 0
        self._buffer = b""
        page = next(t for t in self.call("Target.getTargets")["targetInfos"] if t["type"] == "page")
        self._session = self.call("Target.attachToTarget", targetId=page["targetId"],
                                  flatten=True)["sessionId"]

    def call(self, method, session=None, **params):
        self._next_id += 1
        message = {"id": self._next_id, "method": method, "params": params}
        if session:
            message["sessionId"] = session
        os.write(self._to_browser, json.dumps(message).encode() + b"\0")
        while True:
            answer = json.loads(self._read_message())
            if answer.get("id") == self._next_id:
                if "error" in answer:
                    raise RuntimeError(f"{method}: {answer['error']}")
                return answer["result"]

    def page(self, method, **params):
        return self.call(method, session=self._session, **params)

    def evaluate(self, script):
        result = self.page("Runtime.evaluate", expression=script, returnByValue=True)
        if "exceptionDetails" in result:
            return result["exceptionDetails"]["exception"].get("description", "an exception")
        return result["result"].get("value")

    def _read_message(self):
        while b"\0" not in self._buffer:
            chunk = os.read(self._from_browser, 65536)
            if not chunk:
                raise RuntimeError("Chromium ended")
            self._buffer += chunk
        message, self._buffer = self._buffer.split(b"\0", 1)
        return message

    def close(self):
        self._process.terminate()
        try:
            self._process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self._process.kill()
            self._process.wait()


def main():
    url, ready, selector, out, size = sys.argv[1:6]
    seconds = float(sys.argv[6]) if len(sys.argv) > 6 else 20
    profile = tempfile.mkdtemp(prefix="browser-shot-")
    browser = None
    try:
        browser = Browser(profile)
        # Exactly this size, whatever the browser's own bars take: a page
        # that scales a picture to fit shows one of this size as it is.
        width, height = (int(n) for n in size.split("x"))
        browser.page("Emulation.setDeviceMetricsOverride", width=width, height=height, deviceScaleFactor=1,
                     mobile=False)
        browser.page("Page.navigate", url=url)
        deadline = time.monotonic() + seconds
        state = browser.evaluate(ready)
        while state is not True and time.monotonic() < deadline:
            time.sleep(0.1)
            state = browser.evaluate(ready)
        clip = {}
        if state is True:
            box = browser.evaluate(f"(() => {{ const r = document.querySelector({json.dumps(selector)})"
                                   ".getBoundingClientRect(); return [r.x, r.y, r.width, r.height]; })()")
            clip = {"clip": dict(zip(("x", "y", "width", "height"), box), scale=1)}
        shot = browser.page("Page.captureScreenshot", format="png", **clip)
        with open(out, "wb") as file:
            file.write(base64.b64decode(shot["data"]))
        if state is not True:
            print(f"the page was not ready within {seconds:g} s: {state}", file=sys.stderr)
            return 1
        return 0
    finally:
        if browser:
            browser.close()
        shutil.rmtree(profile, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
