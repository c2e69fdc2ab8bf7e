"""kelmorven-serve as a process on loopback, for the service's tests and its benchmark.

Each process listens on 127.0.0.1 on a port picked here, writes its log into
a temporary folder, and is stopped when its `with` block ends.
"""
import http.client
import os
import resource
import signal
import socket
import subprocess
import tempfile
import time

# Ulm, given by coordinates as a member's link gives it.
ULM = "name=Ulm&lat=48.39841&lon=9.99155&tz=Europe/Berlin"
TODAY = "2026-05-17"
CANNOT_LISTEN = 69  # kelmorven-serve's exit status when its address is taken


def free_port():
    """A port no one listens on now; the caller starts its server on it at once."""
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def raise_open_files_limit():
    """Lifts this process's limit of open files to its hard limit; children inherit it. Returns the limit."""
    _, hard = resource.getrlimit(resource.RLIMIT_NOFILE)
    resource.setrlimit(resource.RLIMIT_NOFILE, (hard, hard))
    return hard


def resident_kib(pid):
    """The process's resident memory, from /proc."""
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    raise RuntimeError(f"no VmRSS for process {pid}")


def get(port, path, headers=None, timeout=10, source="127.0.0.1"):
    """GET on loopback from the source address: (status, headers as a dict of lower-case names, body)."""
    connection = http.client.HTTPConnection("127.0.0.1", port, timeout=timeout, source_address=(source, 0))
    try:
        connection.request("GET", path, headers=headers or {})
        response = connection.getresponse()
        return response.status, {k.lower(): v for k, v in response.getheaders()}, response.read()
    finally:
        connection.close()


def wait_until_serving(port, process, seconds):
    """Polls /healthz until it answers 200; the time it took. Raises if the process ends or time runs out."""
    start = time.monotonic()
    while time.monotonic() - start < seconds:
        if process.poll() is not None:
            raise RuntimeError(f"the server ended with status {process.returncode} before serving")
        try:
            if get(port, "/healthz", timeout=1)[0] == 200:
                return time.monotonic() - start
        except OSError:
            pass
        time.sleep(0.01)
    raise RuntimeError(f"the server did not serve /healthz within {seconds} s")


class Service:
    """kelmorven-serve on 127.0.0.1 with a fixed today; `log` keeps its standard error unless quiet."""

    def __init__(self, program, port=None, today=TODAY, extra=(), quiet=False):
        self.program = program
        self.picked = port is None  # a port picked here may be taken by another before the server binds it
        self.port = port or free_port()
        self.arguments = lambda: [program, "--listen", f"127.0.0.1:{self.port}", "--today", today, *extra]
        self.quiet = quiet
        self.folder = tempfile.TemporaryDirectory(prefix="serve-")
        self.log_path = os.path.join(self.folder.name, "serve.log")
        self.process = None
        self.started_in = None

    def start(self, seconds=30, tries=3):
        log = subprocess.DEVNULL if self.quiet else open(self.log_path, "ab")
        self.process = subprocess.Popen(self.arguments(), stdin=subprocess.DEVNULL, stdout=log, stderr=log)
        if log is not subprocess.DEVNULL:
            log.close()
        try:
            self.started_in = wait_until_serving(self.port, self.process, seconds)
        except RuntimeError:
            if not (self.picked and self.process.returncode == CANNOT_LISTEN and tries > 1):
                raise
            self.port = free_port()
            return self.start(seconds, tries - 1)
        return self

    def log_tail(self, lines=20):
        if self.quiet or not os.path.exists(self.log_path):
            return ""
        with open(self.log_path, "rb") as log:
            return b"\n".join(log.read().splitlines()[-lines:]).decode(errors="replace")

    def stop(self, sig=signal.SIGTERM, seconds=10):
        """Sends the signal and waits; the exit status (negative for a signal), None if it had to be killed."""
        if self.process is None or self.process.poll() is not None:
            return None if self.process is None else self.process.returncode
        self.process.send_signal(sig)
        try:
            return self.process.wait(seconds)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
            return None

    def get(self, path, headers=None, timeout=10):
        return get(self.port, path, headers, timeout)

    def __enter__(self):
        return self.start()

    def __exit__(self, *exception):
        self.stop(signal.SIGKILL)
        self.folder.cleanup()
