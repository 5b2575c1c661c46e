"""A small client for Firefox's Marionette protocol: length-prefixed JSON over TCP.

Each command is [0, id, name, parameters]; each answer is [1, id, error, result]."""
import json
import socket
import time

ELEMENT = "element-6066-11e4-a52e-4f735466cecf"


class MarionetteError(RuntimeError):
    pass


class Marionette:
    def __init__(self, port, timeout=60):
        deadline = time.time() + timeout
        while True:
            try:
                self.sock = socket.create_connection(("127.0.0.1", port), timeout=timeout)
                break
            except OSError:
                if time.time() > deadline:
                    raise
                time.sleep(0.5)
        self.sock.settimeout(timeout)
        self.buffer = b""
        self.next_id = 0
        self._read()  # the server's greeting

    def _read(self):
        while b":" not in self.buffer:
            self._fill()
        length, _, rest = self.buffer.partition(b":")
        length = int(length)
        self.buffer = rest
        while len(self.buffer) < length:
            self._fill()
        message, self.buffer = self.buffer[:length], self.buffer[length:]
        return json.loads(message)

    def _fill(self):
        chunk = self.sock.recv(65536)
        if not chunk:
            raise MarionetteError("connection closed")
        self.buffer += chunk

    def call(self, name, params=None):
        self.next_id += 1
        body = json.dumps([0, self.next_id, name, params or {}]).encode()
        self.sock.sendall(str(len(body)).encode() + b":" + body)
        while True:
            answer = self._read()
            if answer[0] == 1 and answer[1] == self.next_id:
                break
        if answer[2]:
            raise MarionetteError(f"{name}: {answer[2]}")
        result = answer[3]
        return result.get("value", result) if isinstance(result, dict) else result

    def session(self):
        return self.call("WebDriver:NewSession", {"capabilities": {"alwaysMatch": {
            "acceptInsecureCerts": True, "pageLoadStrategy": "normal"}}})

    def context(self, which):
        self.call("Marionette:SetContext", {"value": which})

    def navigate(self, url):
        self.call("WebDriver:Navigate", {"url": url})

    def script(self, body, args=None):
        return self.call("WebDriver:ExecuteScript", {"script": body, "args": args or []})

    def async_script(self, body, args=None):
        return self.call("WebDriver:ExecuteAsyncScript", {"script": body, "args": args or []})

    def find(self, css):
        found = self.call("WebDriver:FindElement", {"using": "css selector", "value": css})
        return found[ELEMENT] if ELEMENT in found else found

    def type(self, css, text):
        self.call("WebDriver:ElementSendKeys", {"id": self.find(css), "text": text})

    def click(self, css):
        self.call("WebDriver:ElementClick", {"id": self.find(css)})

    def new_tab(self):
        handle = self.call("WebDriver:NewWindow", {"type": "tab"})
        handle = handle["handle"] if isinstance(handle, dict) else handle
        self.call("WebDriver:SwitchToWindow", {"handle": handle})
        return handle

    def quit(self):
        try:
            self.call("Marionette:Quit", {"flags": ["eAttemptQuit"]})
        except (MarionetteError, OSError):
            pass
        self.sock.close()
