"""kelmorven-serve and nginx as processes on loopback, for the service's tests and its benchmark.

Each process listens on 127.0.0.1 on a port picked here, writes its log into
a temporary folder, and is stopped when its `with` block ends.
"""
import http.client
import os
import resource
import shutil
import signal
import socket
import subprocess
import tempfile
import time

# Ulm, given by coordinates as a member's link gives it.
ULM = "name=Ulm&lat=48.39841&lon=9.99155&tz=Europe/Berlin"
TODAY = "2026-05-17"


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
        self.port = port or free_port()
        self.arguments = [program, "--listen", f"127.0.0.1:{self.port}", "--today", today, *extra]
        self.quiet = quiet
        self.folder = tempfile.TemporaryDirectory(prefix="serve-")
        self.log_path = os.path.join(self.folder.name, "serve.log")
        self.process = None
        self.started_in = None

    def start(self, seconds=30):
        log = subprocess.DEVNULL if self.quiet else open(self.log_path, "ab")
        self.process = subprocess.Popen(self.arguments, stdin=subprocess.DEVNULL, stdout=log, stderr=log)
        if log is not subprocess.DEVNULL:
            log.close()
        self.started_in = wait_until_serving(self.port, self.process, seconds)
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


NGINX_CONFIGURATION = """daemon off;
worker_processes {workers};
pid {folder}/nginx.pid;
error_log {folder}/error.log warn;
events {{ worker_connections 4096; }}
http {{
    access_log off;
    sendfile on;
    tcp_nopush on;
    client_body_temp_path {folder}/body;
    proxy_temp_path {folder}/proxy;
    fastcgi_temp_path {folder}/fastcgi;
    uwsgi_temp_path {folder}/uwsgi;
    scgi_temp_path {folder}/scgi;
    types {{ text/calendar ics; }}
{http}
    server {{
        listen 127.0.0.1:{port};
{body}
    }}
}}
"""


# Debian's nginx, in /usr/sbin, which a user's PATH may lack.
NGINX = shutil.which("nginx", path=os.environ.get("PATH", "") + ":/usr/sbin") or "/usr/sbin/nginx"


class Nginx:
    """nginx on 127.0.0.1 from a configuration in a temporary folder: `body` the server block's lines,
    `http` more lines of the http block."""

    def __init__(self, body, workers=1, http=""):
        self.port = free_port()
        self.folder = tempfile.TemporaryDirectory(prefix="nginx-")
        # Its workers run as another user when started by root: they read the folder.
        os.chmod(self.folder.name, 0o755)
        self.configuration = os.path.join(self.folder.name, "nginx.conf")
        with open(self.configuration, "w") as out:
            out.write(NGINX_CONFIGURATION.format(folder=self.folder.name, port=self.port, workers=workers, http=http,
                                                 body=body.replace("{folder}", self.folder.name)))
        self.process = None

    def write(self, name, data):
        with open(os.path.join(self.folder.name, name), "wb") as out:
            out.write(data)
        os.chmod(os.path.join(self.folder.name, name), 0o644)

    def __enter__(self):
        self.process = subprocess.Popen([NGINX, "-p", self.folder.name, "-c", self.configuration,
                                         "-e", os.path.join(self.folder.name, "error.log")],
                                        stdin=subprocess.DEVNULL, stderr=subprocess.PIPE)
        start = time.monotonic()
        while True:
            if self.process.poll() is not None:
                raise RuntimeError("nginx did not start: " + self.process.stderr.read().decode(errors="replace"))
            try:
                socket.create_connection(("127.0.0.1", self.port), timeout=1).close()
                return self
            except OSError:
                if time.monotonic() - start > 10:
                    raise
                time.sleep(0.02)

    def __exit__(self, *exception):
        self.process.send_signal(signal.SIGQUIT)  # nginx's graceful stop
        try:
            self.process.wait(10)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
        self.folder.cleanup()
