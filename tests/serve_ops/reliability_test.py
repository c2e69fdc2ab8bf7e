#!/usr/bin/python3
"""kelmorven-serve under slow and broken clients, and stopped by SIGTERM and SIGKILL.

Usage: reliability_test.py --serve PROGRAM [--malformed N] [--slow N] [--sanitized] [unittest names]
The bounds are the service's promises; a sanitized build may take three
times as long, as its code runs slower, and a machine busy with other work
longer by its load per core.
"""
import argparse
import os
import signal
import socket
import sys
import threading
import time
import unittest

from malformed_requests import faults_among, send_malformed
from serve_run import ULM, Service, get, raise_open_files_limit

SERVE = None
MALFORMED = 3000
SLOW = 1000
SLOWER = 1


def allowed(seconds):
    """The bound in seconds on this build and on this machine now."""
    return seconds * SLOWER * max(1.0, os.getloadavg()[0] / os.cpu_count())


def timed_get(port, path):
    """GET from another loopback address than the slow clients': (seconds, status)."""
    start = time.monotonic()
    status = get(port, path, timeout=30, source="127.0.0.2")[0]
    return time.monotonic() - start, status


class SlowClients(unittest.TestCase):
    def test_a_member_is_served_while_many_clients_send_a_byte_a_second(self):
        limit = raise_open_files_limit()
        count = min(SLOW, limit - 200)  # the server's own files and the member's connection
        if count < SLOW:
            print(f"only {count} slow clients: the hard limit of open files is {limit}")
        with Service(SERVE) as service:
            feed = f"/feed.ics?{ULM}"
            baseline = min(timed_get(service.port, feed)[0] for _ in range(3))
            request = f"GET {feed} HTTP/1.1\r\nHost: 127.0.0.1\r\nUser-Agent: slow\r\n".encode()
            slow = []
            for _ in range(count):
                client = socket.create_connection(("127.0.0.1", service.port), timeout=10)
                client.setblocking(False)
                slow.append(client)
            worst = []
            stop = threading.Event()

            def member():
                while not stop.is_set():
                    worst.append(timed_get(service.port, feed))
                    time.sleep(0.2)

            thread = threading.Thread(target=member)
            thread.start()
            try:
                for second in range(5):
                    for client in slow:
                        try:
                            client.send(request[second:second + 1])
                        except OSError:
                            pass  # the server closed it: a fair answer to a slow client
                    time.sleep(1)
            finally:
                stop.set()
                thread.join()
                for client in slow:
                    client.close()
            self.assertTrue(worst)
            self.assertEqual({status for _, status in worst}, {200}, service.log_tail())
            delay = max(seconds for seconds, _ in worst) - baseline
            self.assertLessEqual(delay, allowed(1.0), f"{count} slow clients delayed a request by {delay:.2f} s")
            self.assertIsNone(service.process.poll())


class MalformedRequests(unittest.TestCase):
    def test_each_gets_a_client_error_or_a_closed_connection(self):
        with Service(SERVE) as service:
            counts = send_malformed(service.port, MALFORMED)
            print(f"{MALFORMED} malformed requests, answers by status: {counts}")
            self.assertEqual(faults_among(counts), {}, service.log_tail())
            # Still serving, and a clean stop: a sanitized build reports leaks there.
            self.assertEqual(service.get("/healthz")[0], 200)
            self.assertEqual(service.stop(), 0, service.log_tail())


class Signals(unittest.TestCase):
    def test_sigterm_finishes_requests_in_flight_stops_accepting_and_exits_0(self):
        with Service(SERVE) as service:
            # In flight: a request whose client is still sending its headers,
            # and printed years of distinct places, not cached, sent at once.
            slow = socket.create_connection(("127.0.0.1", service.port), timeout=10)
            slow.sendall(f"GET /feed.ics?{ULM} HTTP/1.1\r\nHost: 127.0.0.1\r\n".encode())
            paths = [f"/year/2026.pdf?name=P{i}&lat={40 + i}.5&lon={i}.25&tz=Europe/Berlin" for i in range(6)]
            answers = [None] * len(paths)

            def fetch(i):
                try:
                    answers[i] = service.get(paths[i], timeout=30)[0]
                except OSError as error:
                    answers[i] = repr(error)

            threads = [threading.Thread(target=fetch, args=(i,)) for i in range(len(paths))]
            for thread in threads:
                thread.start()
            time.sleep(0.05)
            service.process.send_signal(signal.SIGTERM)
            time.sleep(0.3 * SLOWER)
            with self.assertRaises(OSError, msg="a new connection accepted after SIGTERM"):
                socket.create_connection(("127.0.0.1", service.port), timeout=1).close()
            slow.sendall(b"Connection: close\r\n\r\n")
            answer = slow.makefile("rb").read()
            status = service.stop(signal.SIGTERM, seconds=allowed(5.0))
            for thread in threads:
                thread.join()
            self.assertTrue(answer.startswith(b"HTTP/1.1 200") and answer.endswith(b"END:VCALENDAR\r\n"), answer[:100])
            self.assertEqual(answers, [200] * len(paths), service.log_tail())
            self.assertEqual(status, 0, service.log_tail())

    def test_a_restart_after_sigkill_serves_within_a_second(self):
        with Service(SERVE) as first:
            before = first.get(f"/feed.ics?{ULM}")
            first.stop(signal.SIGKILL)
            # The same port at once: the killed process's connections linger in TIME_WAIT.
            with Service(SERVE, port=first.port) as second:
                self.assertLessEqual(second.started_in, allowed(1.0))
                after = second.get(f"/feed.ics?{ULM}")
                # The same bytes and ETag from a new process: nothing was lost, and copies agree.
                self.assertEqual((after[0], after[1]["etag"], after[2]), (200, before[1]["etag"], before[2]))


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("--serve", required=True)
    parser.add_argument("--malformed", type=int, default=MALFORMED)
    parser.add_argument("--slow", type=int, default=SLOW)
    parser.add_argument("--sanitized", action="store_true")
    options, rest = parser.parse_known_args()
    SERVE, MALFORMED, SLOW = options.serve, options.malformed, options.slow
    SLOWER = 3 if options.sanitized else 1
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)
