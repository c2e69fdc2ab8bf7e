#!/usr/bin/python3
"""The timetable service's speed, memory and safety on this machine, beside nginx serving the same bytes.

Builds nothing: it runs the given kelmorven-serve and Debian's nginx on
127.0.0.1, each on a port of its own, and measures with wrk:
  1. the feed's requests per second and 99th-percentile latency at 64
     connections, and nginx's for the same feed's bytes as a static file;
  2. the CPU time of one year rendered without the cache, as ICS and as PDF
     (distinct places, so that none is cached; the process's CPU time over
     the requests, HTTP included);
  3. the resident memory after a million feed requests over 10,000
     distinct places;
  4. the printed formats under concurrent requests: the same bytes as one
     at a time, and how the rate grows with parallel clients;
  5. 100,000 malformed requests: their answers, and the memory before and
     after.
Usage: serve_bench.py --serve PROGRAM [--seconds S] [--requests N] [--places N] [--malformed N]
"""
import argparse
import os
import re
import signal
import socket
import subprocess
import sys
import tempfile
import threading
import time

sys.dont_write_bytecode = True  # nothing written into the source tree
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tests", "serve_ops"))
from malformed_requests import faults_among, send_malformed  # noqa: E402
from serve_run import ULM, Service, free_port, get, raise_open_files_limit, resident_kib  # noqa: E402

FEED = f"/feed.ics?{ULM}"
TICKS = os.sysconf("SC_CLK_TCK")


def place(i):
    """The i-th of many distinct places, spread over Europe's zone."""
    return f"name=P{i}&lat={35 + (i * 7919) % 3000 / 100:.2f}&lon={-5 + (i * 104729) % 3000 / 100:.2f}&tz=Europe/Berlin"


def wrk(port, path, connections=64, seconds=10, script=None, threads=2, every_10_s=None):
    """wrk's requests per second, 99th-percentile latency in ms, requests done and answers not 2xx/3xx;
    every_10_s is called while it runs."""
    arguments = ["wrk", f"-t{threads}", f"-c{connections}", f"-d{seconds}s", "--latency", "--timeout", "10s"]
    if script:
        arguments += ["-s", script]
    run = subprocess.Popen(arguments + [f"http://127.0.0.1:{port}{path}"], stdout=subprocess.PIPE, text=True)
    while True:
        try:
            output = run.communicate(timeout=10)[0]
            break
        except subprocess.TimeoutExpired:
            if every_10_s:
                every_10_s()
    assert run.returncode == 0, output
    rate = float(re.search(r"Requests/sec:\s+([\d.]+)", output).group(1))
    value, unit = re.search(r"\s99%\s+([\d.]+)(us|ms|s)\b", output).groups()
    p99 = float(value) * {"us": 0.001, "ms": 1, "s": 1000}[unit]
    done = int(re.search(r"(\d+) requests in", output).group(1))
    errors = re.search(r"Non-2xx or 3xx responses: (\d+)", output)
    return rate, p99, done, int(errors.group(1)) if errors else 0


def cpu_seconds(pid):
    """User and system CPU time of the process so far."""
    with open(f"/proc/{pid}/stat") as stat:
        fields = stat.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / TICKS


def cpu_per_render(service, path_of, count):
    """CPU milliseconds the service spends per request of count distinct, uncached paths."""
    before = cpu_seconds(service.process.pid)
    for i in range(count):
        status, _, body = service.get(path_of(i), timeout=60)
        assert status == 200, body[:200]
    return (cpu_seconds(service.process.pid) - before) * 1000 / count


def fetch_in_parallel(service, paths, clients):
    """Fetches the paths with `clients` threads: the bodies in order and the seconds taken."""
    bodies = [None] * len(paths)
    next_index = iter(range(len(paths)))
    lock = threading.Lock()

    def client():
        while True:
            with lock:
                i = next(next_index, None)
            if i is None:
                return
            status, _, bodies[i] = service.get(paths[i], timeout=120)
            assert status == 200, bodies[i][:200]

    start = time.monotonic()
    threads = [threading.Thread(target=client) for _ in range(clients)]
    for thread in threads:
        thread.start()
    for thread in threads:
        thread.join()
    return bodies, time.monotonic() - start


# Places drawn as members' towns are: a few large ones often, most rarely
# (Zipf's law, the i-th place with weight 1/i); or, with --uniform, each as
# often, which mostly misses any bounded cache.
MANY_PLACES = """counter = 0
limit = {limit}
cumulative = {{}}
init = function(args)
  local total = 0
  for i = 1, {places} do
    total = total + ({uniform} and 1 or 1 / i)
    cumulative[i] = total
  end
  for i = 1, {places} do cumulative[i] = cumulative[i] / total end
end
draw = function()
  local u, low, high = math.random(), 1, {places}
  while low < high do
    local middle = math.floor((low + high) / 2)
    if cumulative[middle] < u then low = middle + 1 else high = middle end
  end
  return low - 1
end
request = function()
  local i = draw()
  local lat = 35 + (i * 7919) % 3000 / 100
  local lon = -5 + (i * 104729) % 3000 / 100
  return wrk.format("GET", string.format("/feed.ics?name=P%d&lat=%.2f&lon=%.2f&tz=Europe/Berlin", i, lat, lon))
end
response = function(status, headers, body)
  counter = counter + 1
  if counter >= limit then wrk.thread:stop() end
end
"""


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
    server {{
        listen 127.0.0.1:{port};
{body}
    }}
}}
"""


NGINX = "/usr/sbin/nginx"  # Debian's, which a user's PATH may lack


class Nginx:
    """nginx on 127.0.0.1 from a configuration in a temporary folder, `body` its server block's lines."""

    def __init__(self, body, workers=1):
        self.port = free_port()
        self.folder = tempfile.TemporaryDirectory(prefix="nginx-")
        # Its workers run as another user when started by root: they read the folder.
        os.chmod(self.folder.name, 0o755)
        self.configuration = os.path.join(self.folder.name, "nginx.conf")
        with open(self.configuration, "w") as out:
            out.write(NGINX_CONFIGURATION.format(folder=self.folder.name, port=self.port, workers=workers,
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


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--serve", required=True)
    parser.add_argument("--seconds", type=int, default=10, help="length of each wrk run")
    parser.add_argument("--requests", type=int, default=1_000_000, help="feed requests of the memory run")
    parser.add_argument("--places", type=int, default=10_000, help="distinct places of the memory run")
    parser.add_argument("--malformed", type=int, default=100_000)
    parser.add_argument("--uniform", action="store_true", help="places of the memory run drawn uniformly")
    # Uniformly drawn places mostly miss a bounded cache: the run may end by time before its count.
    parser.add_argument("--memory-seconds", type=int, default=900, help="the memory run's longest time")
    parser.add_argument("--sections", default="12345", help="the parts to run, e.g. 35")
    options = parser.parse_args()
    raise_open_files_limit()
    print(f"kelmorven-serve benchmark, {os.cpu_count()} cores, {time.strftime('%Y-%m-%d %H:%M UTC', time.gmtime())}")
    with Service(options.serve, quiet=True) as service, \
            Nginx("location / { root {folder}/static; }", workers="auto") as nginx:
        print(f"started in {service.started_in * 1000:.0f} ms, resident {resident_kib(service.process.pid) / 1024:.1f} MB")
        status, headers, feed = service.get(FEED)
        assert status == 200, feed[:200]
        os.makedirs(f"{nginx.folder.name}/static")
        nginx.write("static/feed.ics", feed)
        assert get(nginx.port, "/feed.ics")[2] == feed

        # 1. The feed beside nginx's static file, 64 connections, nginx first and last.
        if "1" in options.sections:
            print(f"\n1. feed of {len(feed)} bytes, wrk -t2 -c64 -d{options.seconds}s")
            rows = [("nginx, static file", nginx.port, "/feed.ics"), ("kelmorven-serve, feed", service.port, FEED),
                    ("nginx, static file", nginx.port, "/feed.ics")]
            rates = {}
            for label, port, path in rows:
                rate, p99, done, bad = wrk(port, path, seconds=options.seconds)
                rates.setdefault(label, []).append(rate)
                print(f"   {label:24} {rate:10.0f} requests/s   p99 {p99:7.2f} ms   {done} requests, {bad} not 2xx/3xx")
            if headers.get("etag"):
                script = os.path.join(service.folder.name, "etag.lua")
                with open(script, "w") as out:
                    out.write(f'wrk.headers["If-None-Match"] = [==[{headers["etag"]}]==]\n')
                rate, p99, done, _ = wrk(service.port, FEED, seconds=options.seconds, script=script)
                print(f"   {'kelmorven-serve, 304':24} {rate:10.0f} requests/s   p99 {p99:7.2f} ms   (If-None-Match)")
            ratio = rates["kelmorven-serve, feed"][0] / (sum(rates["nginx, static file"]) / 2)
            print(f"   the feed's rate is {ratio:.2f} of nginx's")

        # 2. One year rendered without the cache.
        if "2" in options.sections:
            print("\n2. CPU time of one year not cached (distinct places, HTTP included)")
            for fmt, count in (("ics", 200), ("pdf", 40), ("svg", 40), ("txt", 200)):
                ms = cpu_per_render(service, lambda i, f=fmt: f"/year/2026.{f}?{place(900_000 + i)}", count)
                print(f"   {fmt:4} {ms:7.2f} ms of CPU per year ({count} years)")
            ms = cpu_per_render(service, lambda i: f"/feed.ics?{place(800_000 + i)}", 200)
            print(f"   feed {ms:7.2f} ms of CPU per feed (200 feeds)")

        # 4. Printed formats under concurrent requests.
        if "4" in options.sections:
            print("\n4. printed formats under concurrent requests")
            for fmt in ("pdf", "svg"):
                alone, serial = fetch_in_parallel(service, [f"/year/2027.{fmt}?{place(700_000 + i)}" for i in range(24)], 1)
                same, _ = fetch_in_parallel(service, [f"/year/2027.{fmt}?{place(700_000 + i % 24)}" for i in range(96)], 16)
                _, parallel = fetch_in_parallel(service, [f"/year/2027.{fmt}?{place(710_000 + i)}" for i in range(24)], 4)
                differing = sum(body != alone[i % 24] for i, body in enumerate(same))
                print(f"   {fmt}: 24 years one at a time {24 / serial:5.1f}/s, four at a time {24 / parallel:5.1f}/s "
                      f"(x{serial / parallel:.2f}); 96 fetched by 16 clients at once, {differing} differ")

        # 3. Memory over many places.
        if "3" in options.sections:
            print(f"\n3. resident memory, {options.requests} feed requests over {options.places} places, "
                  f"{'uniform' if options.uniform else 'Zipf'}")
            script = os.path.join(service.folder.name, "places.lua")
            with open(script, "w") as out:
                out.write(MANY_PLACES.format(limit=options.requests // 2, places=options.places,
                                             uniform="true" if options.uniform else "false"))
            resident = [resident_kib(service.process.pid)]
            rate, p99, done, bad = wrk(service.port, "/", connections=64, seconds=options.memory_seconds, script=script,
                                       every_10_s=lambda: resident.append(resident_kib(service.process.pid)))
            resident.append(resident_kib(service.process.pid))
            print(f"   {done} requests ({bad} not 2xx/3xx) at {rate:.0f}/s, p99 {p99:.1f} ms")
            print(f"   resident MB every 10 s: {' '.join(f'{kib / 1024:.0f}' for kib in resident)}")

        # 5. Malformed requests.
        if "5" in options.sections:
            print(f"\n5. {options.malformed} malformed requests")
            before = resident_kib(service.process.pid)
            start = time.monotonic()
            counts = send_malformed(service.port, options.malformed, parallel=256)
            took = time.monotonic() - start
            after = resident_kib(service.process.pid)
            print(f"   in {took:.0f} s; answers: {dict(sorted(counts.items(), key=lambda kv: str(kv[0])))}")
            print(f"   faults: {faults_among(counts) or 'none'}; resident {before / 1024:.1f} MB before, "
                  f"{after / 1024:.1f} MB after; still serving: {service.get('/healthz')[0] == 200}")

        print(f"\nstopped by SIGTERM, exit status {service.stop()}")


if __name__ == "__main__":
    main()
