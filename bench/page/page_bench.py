#!/usr/bin/env python3
"""The web page's speed on loopback: the round trip of a suggestion (the
town field's request for each letter typed) and the time until a place's
page is interactive in headless Chromium, by the browser's own timing.
Targets: suggestions 20 ms at the 99th percentile, interactive 300 ms."""

import argparse
import http.client
import socket
import statistics
import subprocess
import sys
import time
import urllib.parse
import urllib.request

from selenium import webdriver
from selenium.webdriver.chrome.service import Service as ChromeService

TOWNS = ["Zürich", "Frankfurt am Main", "Buenos Aires", "Ulm", "São Paulo", "Reykjavík", "Los Angeles", "Bern"]


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def percentile(values, share):
    ordered = sorted(values)
    return ordered[min(len(ordered) - 1, int(share * len(ordered)))]


def suggestions(port, rounds):
    connection = http.client.HTTPConnection("127.0.0.1", port)
    times = []
    for _ in range(rounds):
        for town in TOWNS:
            for length in range(2, len(town) + 1):  # the page asks from two letters on
                started = time.perf_counter()
                connection.request("GET", "/api/places?q=" + urllib.parse.quote(town[:length]))
                answer = connection.getresponse()
                answer.read()
                times.append((time.perf_counter() - started) * 1000)
    return times


def interactive(port, loads):
    options = webdriver.ChromeOptions()
    for argument in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage"):
        options.add_argument(argument)
    options.binary_location = "/usr/bin/chromium"
    driver = webdriver.Chrome(service=ChromeService("/usr/bin/chromedriver"), options=options)
    try:
        driver.execute_cdp_cmd("Network.enable", {})
        driver.execute_cdp_cmd("Network.setCacheDisabled", {"cacheDisabled": True})
        found = urllib.request.urlopen(f"http://127.0.0.1:{port}/api/places?q=Z%C3%BCrich").read()
        place = str(__import__("json").loads(found)[0]["id"])
        times = []
        for _ in range(loads):
            driver.get(f"http://127.0.0.1:{port}/place?place={place}")
            times.append(driver.execute_script("return performance.getEntriesByType('navigation')[0].domInteractive"))
        return times
    finally:
        driver.quit()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--serve", required=True)
    parser.add_argument("--rounds", type=int, default=40)
    parser.add_argument("--loads", type=int, default=20)
    arguments = parser.parse_args()
    port = free_port()
    service = subprocess.Popen([arguments.serve, "--listen", f"127.0.0.1:{port}"], stderr=subprocess.DEVNULL)
    try:
        for _ in range(100):
            try:
                urllib.request.urlopen(f"http://127.0.0.1:{port}/healthz", timeout=1)
                break
            except OSError:
                time.sleep(0.05)
        rounds = suggestions(port, arguments.rounds)
        loads = interactive(port, arguments.loads)
    finally:
        service.terminate()
        service.wait(10)
    p99 = percentile(rounds, 0.99)
    print(f"suggestion round trip over {len(rounds)} requests: median {statistics.median(rounds):.2f} ms, "
          f"p99 {p99:.2f} ms, max {max(rounds):.2f} ms (target: p99 <= 20 ms)")
    print(f"place's page interactive over {len(loads)} loads: median {statistics.median(loads):.1f} ms, "
          f"max {max(loads):.1f} ms (target: <= 300 ms)")
    return 0 if p99 <= 20 and max(loads) <= 300 else 1


if __name__ == "__main__":
    sys.exit(main())
