#!/usr/bin/env python3
"""The web page in headless Chromium, driven as a person would: the town
found by keyboard, today's moments against the batch tool's CSV, every
download against the batch tool's bytes, the subscription link, axe-core's
checks, the width and touch targets on a phone, and the screenshots."""

import argparse
import json
import os
import pathlib
import socket
import subprocess
import sys
import tempfile
import time
import urllib.parse
import urllib.request

from selenium import webdriver
from selenium.webdriver.chrome.service import Service as ChromeService
from selenium.common.exceptions import NoAlertPresentException, StaleElementReferenceException, WebDriverException
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support import expected_conditions as ready
from selenium.webdriver.support.ui import Select, WebDriverWait

TODAY = "2026-12-09"
WAIT = 60  # seconds at most, for a loaded machine; each wait ends once its condition holds
failures = []


def check(condition, what):
    print(("ok   " if condition else "FAIL ") + what, flush=True)
    if not condition:
        failures.append(what)


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def start_service(serve, port):
    # timeout ends the service even when this script is killed before its cleanup.
    service = subprocess.Popen(["timeout", "300", serve, "--listen", f"127.0.0.1:{port}", "--today", TODAY,
                                "--base-url", f"http://127.0.0.1:{port}"],
                               stderr=subprocess.DEVNULL)
    for _ in range(100):
        try:
            urllib.request.urlopen(f"http://127.0.0.1:{port}/healthz", timeout=1)
            return service
        except OSError:
            time.sleep(0.05)
    service.kill()
    sys.exit("kelmorven-serve did not start")


def fetch(url):
    with urllib.request.urlopen(url, timeout=10) as answer:
        return answer.status, dict(answer.headers), answer.read()


def table_file(tool, arguments, folder):
    """The file kelmorven-table writes for arguments, as bytes."""
    out = pathlib.Path(tempfile.mkdtemp(dir=folder))
    run = subprocess.run([tool, *arguments, "--out", str(out)], capture_output=True, text=True)
    if run.returncode != 0:
        return None
    files = list(out.iterdir())
    return files[0].read_bytes() if len(files) == 1 else None


def browser():
    options = webdriver.ChromeOptions()
    for argument in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage",
                     "--disable-extensions", "--no-first-run", "--window-size=1280,900"):
        options.add_argument(argument)
    options.binary_location = "/usr/bin/chromium"
    return webdriver.Chrome(service=ChromeService("/usr/bin/chromedriver"), options=options)


def painted(driver, condition=lambda d: True):
    """Waits for condition and a loaded page, then two frames: what it shows is laid out and painted."""
    WebDriverWait(driver, WAIT, ignored_exceptions=(StaleElementReferenceException,)).until(
        lambda d: condition(d) and d.execute_script("return document.readyState") == "complete")
    driver.execute_async_script("const done = arguments[arguments.length - 1];"
                                "requestAnimationFrame(() => requestAnimationFrame(() => done(true)));")


def gone(element):
    """Whether an element has left the document: chromedriver says so either as a stale element or,
    while the next page is being put in, as a node that no longer belongs to the document."""
    try:
        element.is_enabled()
        return False
    except StaleElementReferenceException:
        return True
    except WebDriverException as error:
        if "does not belong to the document" in str(error):
            return True
        raise


def leave(driver, action, url_part):
    """Does what navigates (a click, a submit, a key), then waits for the next page, painted."""
    old = driver.find_element(By.TAG_NAME, "html")
    action()
    painted(driver, lambda d: gone(old) and ready.url_contains(url_part)(d))


def set_width(driver, width):
    driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                           {"width": width, "height": 900, "deviceScaleFactor": 1, "mobile": width < 600})
    painted(driver, lambda d: d.execute_script("return window.innerWidth") == width)


def axe_violations(driver, axe_source):
    driver.execute_script(axe_source)
    result = driver.execute_async_script(
        "const done = arguments[arguments.length - 1];"
        "axe.run(document, {resultTypes: ['violations']}).then(r => done(r.violations.map("
        "v => v.id + ': ' + v.nodes.map(n => n.target.join(' ')).join(', '))), e => done(['axe: ' + e]));")
    return result


SMALL_TARGETS = """
return Array.from(document.querySelectorAll(
    'a, button, select, input:not([type=hidden]):not([type=radio]), .choice, [role=option]'))
  .filter(e => e.offsetParent !== null)
  .map(e => [e, e.getBoundingClientRect()])
  .filter(([e, r]) => r.right > 0 && (r.height < 44 || r.width < 44))
  .map(([e, r]) => e.tagName + '#' + e.id + ' ' + Math.round(r.width) + 'x' + Math.round(r.height)
       + ' ' + (e.textContent || '').trim().slice(0, 30));
"""


def look_at(driver, name, shots, axe_source):
    """axe-core, then the page at 375 px (no sideways scrolling, touch targets) and 1280 px."""
    violations = axe_violations(driver, axe_source)
    check(violations == [], f"{name}: axe-core finds {len(violations)} violations {violations}")
    for width in (375, 1280):
        set_width(driver, width)
        if width == 375:
            overflow = driver.execute_script(
                "return document.documentElement.scrollWidth - document.documentElement.clientWidth")
            check(overflow <= 0, f"{name}: nothing scrolls sideways at 375 px (overflow {overflow} px)")
            small = driver.execute_script(SMALL_TARGETS)
            check(small == [], f"{name}: every touch target is at least 44 px at 375 px {small}")
        height = driver.execute_script("return document.documentElement.scrollHeight")
        driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                               {"width": width, "height": min(height, 4000), "deviceScaleFactor": 1,
                                "mobile": width < 600})
        driver.save_screenshot(str(shots / f"{name}-{width}.png"))
    set_width(driver, 1280)


def find_zurich(driver, base, shots):
    driver.get(base + "/")
    field = driver.find_element(By.ID, "q")
    check(field.get_attribute("role") == "combobox", "the town field is a combobox")
    field.send_keys("zur")
    listbox = driver.find_element(By.ID, "q-list")
    WebDriverWait(driver, WAIT).until(lambda d: listbox.is_displayed()
                                   and listbox.find_elements(By.CSS_SELECTOR, "[role=option]"))
    options = [o.text for o in listbox.find_elements(By.CSS_SELECTOR, "[role=option]")]
    check(field.get_attribute("aria-expanded") == "true", f"suggestions shown: {options[:3]}")
    driver.save_screenshot(str(shots / "home-suggestions-1280.png"))
    field.send_keys(Keys.ESCAPE)
    check(field.get_attribute("aria-expanded") == "false" and not listbox.is_displayed(), "Escape closes them")
    index = next(i for i, text in enumerate(options) if text.startswith("Zürich\n"))
    for _ in range(index + 1):
        field.send_keys(Keys.ARROW_DOWN)
    active = driver.find_element(By.ID, field.get_attribute("aria-activedescendant"))
    check(active.text.startswith("Zürich") and active.get_attribute("aria-selected") == "true",
          "Down marks Zürich")
    field.send_keys(Keys.ARROW_UP)
    field.send_keys(Keys.ARROW_DOWN)
    leave(driver, lambda: field.send_keys(Keys.ENTER), "/place?")
    return urllib.parse.parse_qs(urllib.parse.urlparse(driver.current_url).query)["place"][0]


def place_page(driver, base, place_id, tool, folder, shots, axe_source):
    driver.execute_cdp_cmd("Network.enable", {})
    driver.execute_cdp_cmd("Network.setCacheDisabled", {"cacheDisabled": True})
    driver.get(f"{base}/place?place={place_id}")
    WebDriverWait(driver, WAIT).until(lambda d: d.execute_script(
        "const i = document.querySelector('img.chart'); return i.complete && i.naturalWidth > 0"))
    timing = driver.execute_script("""
        const n = performance.getEntriesByType('navigation')[0];
        const parts = [n].concat(performance.getEntriesByType('resource'));
        return {bytes: parts.reduce((sum, e) => sum + e.transferSize, 0), interactive: n.domInteractive,
                files: parts.map(e => e.name.replace(location.origin, '') + ' ' + e.transferSize)};""")
    print(f"first load of the place's page: {timing['bytes']} bytes, interactive after "
          f"{timing['interactive']:.1f} ms; {timing['files']}")
    check(timing["bytes"] <= 150 * 1024, f"the first load transfers at most 150 KB ({timing['bytes']} bytes)")
    driver.execute_cdp_cmd("Network.setCacheDisabled", {"cacheDisabled": False})

    csv = table_file(tool, ["--year", "2026", "--place", place_id, "--format", "csv", "--today", TODAY], folder)
    row = next(line for line in csv.decode().splitlines() if line.startswith(TODAY + ","))
    today = [t.get_attribute("datetime") for t in
             driver.find_elements(By.CSS_SELECTOR, "[aria-labelledby=today-h] dd time")]
    check(today == row.split(",")[1:], f"today's two moments {today} are the CSV's {row}")

    links = driver.find_elements(By.CSS_SELECTOR, "a[download]")
    words = []
    for link in links:
        href = urllib.parse.urlparse(link.get_attribute("href"))
        year, word = pathlib.PurePosixPath(href.path).name.split(".")
        words.append(word)
        status, _, body = fetch(link.get_attribute("href"))
        expected = table_file(tool, ["--year", year, "--place", place_id, "--format", word, "--today", TODAY],
                              folder)
        check(status == 200 and body == expected, f"the {word} download has kelmorven-table's bytes")
    check(sorted(words) == sorted(["txt", "rtf", "csv", "json", "ics", "pdf", "svg"]), f"every format: {words}")

    webcal = driver.find_element(By.CSS_SELECTOR, "a[href^='webcal://']").get_attribute("href")
    feed = driver.find_element(By.ID, "feed-url").get_attribute("value")
    check(webcal == "webcal://" + feed.split("://", 1)[1] and f"place={place_id}" in feed,
          f"the webcal:// link {webcal} is the feed's address")
    status, headers, body = fetch(feed)
    check(status == 200 and body.startswith(b"BEGIN:VCALENDAR"), "the feed's address gives the calendar")
    Select(driver.find_element(By.ID, "remind")).select_by_value("15")
    leave(driver, lambda: driver.find_element(By.ID, "remind").submit(), "remind=15")
    feed = driver.find_element(By.ID, "feed-url").get_attribute("value")
    status, _, body = fetch(feed)
    check(feed.endswith("&remind=15") and b"TRIGGER:-PT15M" in body, f"the reminder goes into the feed: {feed}")
    look_at(driver, "place", shots, axe_source)


def coordinates_form(driver, base, shots, axe_source):
    driver.get(base + "/coordinates")
    look_at(driver, "coordinates", shots, axe_source)
    driver.find_element(By.ID, "name").send_keys("Hut")
    driver.find_element(By.ID, "latitude").send_keys("95")
    driver.find_element(By.ID, "longitude").send_keys("8")
    leave(driver, lambda: driver.find_element(By.CSS_SELECTOR, "form.coordinates button").click(), "/coordinates")
    alert = driver.find_element(By.CSS_SELECTOR, "[role=alert]").text
    check("Latitude must not exceed 90 degrees." in alert, f"the programs' message: {alert!r}")
    field = driver.find_element(By.ID, "latitude")
    field.clear()
    field.send_keys("46.3000")
    driver.find_element(By.CSS_SELECTOR, "label[for=mode-60]").click()
    leave(driver, lambda: driver.find_element(By.CSS_SELECTOR, "form.coordinates button").click(), "/place?")
    check(driver.find_element(By.TAG_NAME, "h1").text == "Hut" and "lat=46.5" in driver.current_url,
          f"the place taken in 60-mode: {driver.current_url}")


def without_script(base):
    status, headers, body = fetch(base + "/find?q=zur")
    check(status == 200 and b">Z\xc3\xbcrich</a>" in body, "without a script the form lists the matches")
    for path in ("/", "/find?q=zur", "/coordinates", "/page/page.js"):
        _, headers, _ = fetch(base + path)
        check(headers.get("Content-Security-Policy") == "default-src 'self'"
              and headers.get("X-Content-Type-Options") == "nosniff" and headers.get("Referrer-Policy"),
              f"{path}: the security headers")


def markup_name(driver, base):
    name = "<script>alert(1)</script>"
    driver.get(base + "/place?" + urllib.parse.urlencode(
        {"name": name, "lat": "47.3769", "lon": "8.5417", "tz": "Europe/Zurich"}))
    try:
        driver.switch_to.alert
        alerted = True
    except NoAlertPresentException:
        alerted = False
    check(not alerted and driver.find_element(By.TAG_NAME, "h1").text == name, "a town named with markup shows as text")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--serve", required=True)
    parser.add_argument("--tool", required=True)
    parser.add_argument("--shots", required=True)
    arguments = parser.parse_args()
    shots = pathlib.Path(arguments.shots)
    shots.mkdir(parents=True, exist_ok=True)
    # Fetched by scripts/install-deps, which the test command runs first.
    axe_file = pathlib.Path(os.environ.get("XDG_CACHE_HOME") or pathlib.Path.home() / ".cache") / \
        "kelmorven" / "axe-core-4.14.1" / "axe.min.js"
    if not axe_file.is_file():
        sys.exit(f"FAILED: {axe_file} is missing: scripts/install-deps fetches it")
    axe_source = axe_file.read_text()
    port = free_port()
    base = f"http://127.0.0.1:{port}"
    service = start_service(arguments.serve, port)
    driver = None
    try:
        with tempfile.TemporaryDirectory() as folder:
            without_script(base)
            driver = browser()
            driver.set_script_timeout(WAIT)
            driver.set_page_load_timeout(WAIT)
            driver.get(base + "/")
            look_at(driver, "home", shots, axe_source)
            place_id = find_zurich(driver, base, shots)
            place_page(driver, base, place_id, arguments.tool, folder, shots, axe_source)
            coordinates_form(driver, base, shots, axe_source)
            markup_name(driver, base)
    finally:
        if driver:
            driver.quit()
        service.terminate()
        service.wait(10)
    print(f"{len(failures)} failures; screenshots in {shots}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
