# SPDX-License-Identifier: GPL-3.0-or-later
"""A small DevTools protocol client: headless Chromium driven over --remote-debugging-pipe
(file descriptors 3 and 4, messages ended by NUL), so no extra Python package is needed."""

import json
import os
import queue
import subprocess
import tempfile
import threading
import time

import chromium


class DevToolsError(RuntimeError):
    pass


class Browser:
    def __init__(self, executable):
        self.profile = tempfile.TemporaryDirectory(prefix="kestrune-devtools-")
        to_child, self.to_browser = os.pipe()
        self.from_browser, from_child = os.pipe()

        def wire():
            a, b = os.dup(to_child), os.dup(from_child)
            os.dup2(a, 3)
            os.dup2(b, 4)

        self.process = subprocess.Popen(
            [executable, *chromium.FLAGS, "--user-data-dir=" + self.profile.name, "--remote-debugging-pipe",
             "about:blank"],
            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            preexec_fn=wire, close_fds=False)
        os.close(to_child)
        os.close(from_child)
        self.next_id = 0
        self.replies = {}
        self.events = queue.Queue()
        self.lock = threading.Condition()
        threading.Thread(target=self._read, daemon=True).start()

    def _read(self):
        buffer = b""
        with os.fdopen(self.from_browser, "rb", buffering=0) as stream:
            while True:
                chunk = stream.read(1 << 16)
                if not chunk:
                    break
                buffer += chunk
                while b"\0" in buffer:
                    raw, buffer = buffer.split(b"\0", 1)
                    message = json.loads(raw.decode("utf-8"))
                    if "id" in message:
                        with self.lock:
                            self.replies[message["id"]] = message
                            self.lock.notify_all()
                    else:
                        self.events.put(message)
        with self.lock:
            self.replies[None] = {"error": {"message": "the browser closed"}}
            self.lock.notify_all()

    def send(self, method, params=None, session=None, timeout=60):
        with self.lock:
            self.next_id += 1
            ident = self.next_id
        message = {"id": ident, "method": method, "params": params or {}}
        if session:
            message["sessionId"] = session
        os.write(self.to_browser, json.dumps(message).encode("utf-8") + b"\0")
        deadline = time.monotonic() + timeout
        with self.lock:
            while ident not in self.replies:
                if None in self.replies:
                    raise DevToolsError("%s: the browser closed" % method)
                left = deadline - time.monotonic()
                if left <= 0:
                    raise DevToolsError("%s: no answer in %d s" % (method, timeout))
                self.lock.wait(left)
            reply = self.replies.pop(ident)
        if "error" in reply:
            raise DevToolsError("%s: %s" % (method, reply["error"].get("message")))
        return reply.get("result", {})

    def new_tab(self):
        target = self.send("Target.createTarget", {"url": "about:blank"})["targetId"]
        session = self.send("Target.attachToTarget", {"targetId": target, "flatten": True})["sessionId"]
        return Tab(self, session, target)

    def close(self):
        try:
            self.send("Browser.close", timeout=10)
        except DevToolsError:
            pass
        try:
            self.process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
        os.close(self.to_browser)
        self.profile.cleanup()


class Tab:
    def __init__(self, browser, session, target):
        self.browser, self.session, self.target = browser, session, target
        self.seen = []
        for domain in ("Page", "Runtime", "Network"):
            self.send(domain + ".enable")

    def send(self, method, params=None, timeout=60):
        return self.browser.send(method, params, self.session, timeout)

    def _take_events(self):
        while True:
            try:
                event = self.browser.events.get_nowait()
            except queue.Empty:
                return
            if event.get("sessionId") == self.session:
                self.seen.append(event)

    def wait_event(self, method, timeout=60, after=0):
        """The first event of that name from position `after` in the seen list on."""
        deadline = time.monotonic() + timeout
        while True:
            self._take_events()
            for index in range(after, len(self.seen)):
                if self.seen[index]["method"] == method:
                    return index
            if time.monotonic() > deadline:
                raise DevToolsError("no %s in %d s" % (method, timeout))
            time.sleep(0.02)

    def open(self, url, timeout=60, settle=True):
        """Loads the page; settle waits two frames more, for what the page does once laid out."""
        self._take_events()
        mark = len(self.seen)
        self.send("Page.navigate", {"url": url})
        self.wait_event("Page.loadEventFired", timeout, mark)
        if settle:
            self.evaluate("new Promise((r) => requestAnimationFrame(() => requestAnimationFrame(r)))", timeout)

    def requests(self):
        self._take_events()
        return [e["params"]["request"]["url"] for e in self.seen if e["method"] == "Network.requestWillBeSent"]

    def evaluate(self, expression, timeout=60):
        result = self.send("Runtime.evaluate", {"expression": expression, "awaitPromise": True, "returnByValue": True,
                                                "timeout": timeout * 1000}, timeout)
        if "exceptionDetails" in result:
            details = result["exceptionDetails"]
            raise DevToolsError("script failed: %s" % details.get("exception", {}).get("description", details))
        return result["result"].get("value")

    def phone(self, width, height, touch=True):
        self.send("Emulation.setDeviceMetricsOverride", {"width": width, "height": height, "deviceScaleFactor": 2,
                                                          "mobile": True})
        self.send("Emulation.setTouchEmulationEnabled", {"enabled": touch, "maxTouchPoints": 5})

    def desktop(self, width=1024, height=768):
        self.send("Emulation.setDeviceMetricsOverride", {"width": width, "height": height, "deviceScaleFactor": 1,
                                                          "mobile": False})
        self.send("Emulation.setTouchEmulationEnabled", {"enabled": False})

    def tap(self, x, y):
        point = [{"x": x, "y": y}]
        self.send("Input.dispatchTouchEvent", {"type": "touchStart", "touchPoints": point})
        self.send("Input.dispatchTouchEvent", {"type": "touchEnd", "touchPoints": []})

    def mouse_to(self, x, y):
        self.send("Input.dispatchMouseEvent", {"type": "mouseMoved", "x": x, "y": y})

    def key(self, key, code=None, shift=False):
        codes = {"ArrowDown": 40, "ArrowUp": 38, "ArrowLeft": 37, "ArrowRight": 39, "Tab": 9, "Escape": 27,
                 "Enter": 13, " ": 32, "Home": 36, "End": 35}
        params = {"key": key, "code": code or {" ": "Space"}.get(key, key), "windowsVirtualKeyCode": codes.get(key, 0),
                  "modifiers": 8 if shift else 0}
        self.send("Input.dispatchKeyEvent", dict(params, type="rawKeyDown"))
        self.send("Input.dispatchKeyEvent", dict(params, type="keyUp"))

    def close(self):
        try:
            self.browser.send("Target.closeTarget", {"targetId": self.target}, timeout=10)
        except DevToolsError:
            pass
