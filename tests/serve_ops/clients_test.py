#!/usr/bin/python3
"""The subscription as real calendar clients see it, fetched from kelmorven-serve on loopback.

vdirsyncer syncs the feed into a folder and khal lists its events at the
CSV's minute; calcurse imports a fetched feed; the icalendar package parses
the feeds of places across the zones and the polar circles.

Usage: clients_test.py --serve PROGRAM [unittest names]
"""
import argparse
import csv
import datetime
import io
import os
import subprocess
import sys
import tempfile
import unittest

import icalendar

from serve_run import TODAY, ULM, Service, get

SERVE = None
DAY = "2026-05-20"  # within the feed's window from TODAY

FEEDS = [
    # query, whether the Sun rises and sets on every day
    (ULM, True),
    ("place=2820256&remind=15", True),  # Ulm by its GeoNames id
    ("name=Troms%C3%B8&lat=69.6492&lon=18.9553&tz=Europe/Oslo", False),  # midnight sun
    ("name=Neumayer&lat=-70.67&lon=-8.27&tz=Antarctica/Troll", False),  # polar night
    ("name=New%20York&lat=40.7128&lon=-74.006&tz=America/New_York", True),
    ("name=S%C3%A3o%20Paulo%20%26%20Co%3B%2C%22x%22&lat=-23.5475&lon=-46.6361&tz=America/Sao_Paulo", True),
]


def csv_minutes(port, day, query=ULM):
    """The day's sunrise and sunset minutes (HH:MM) from the year's CSV of the same place."""
    status, _, body = get(port, f"/year/{day[:4]}.csv?{query}")
    assert status == 200, body
    row = next(r for r in csv.reader(io.StringIO(body.decode())) if r[0] == day)
    return [datetime.datetime.fromisoformat(moment).strftime("%H:%M") for moment in row[1:3]]


def run(arguments, folder, zone="Europe/Berlin"):
    """A client's command with its configuration and data in the folder; its standard output."""
    environment = dict(os.environ, HOME=folder, TZ=zone, LC_ALL="C.UTF-8", XDG_CONFIG_HOME=f"{folder}/config",
                       XDG_DATA_HOME=f"{folder}/data", XDG_CACHE_HOME=f"{folder}/cache")
    done = subprocess.run(arguments, env=environment, capture_output=True, text=True, timeout=120)
    if done.returncode != 0:
        raise AssertionError(f"{arguments[0]} failed ({done.returncode}): {done.stdout}{done.stderr}")
    return done.stdout


VDIRSYNCER = """[general]
status_path = "{folder}/status/"
[pair feed]
a = "feed_local"
b = "feed_remote"
collections = null
conflict_resolution = "b wins"
[storage feed_local]
type = "filesystem"
path = "{folder}/calendar/"
fileext = ".ics"
[storage feed_remote]
type = "http"
url = "{url}"
"""
KHAL = """[calendars]
[[feed]]
path = {folder}/calendar/
type = calendar
[locale]
local_timezone = Europe/Berlin
default_timezone = Europe/Berlin
timeformat = %H:%M
dateformat = %Y-%m-%d
longdateformat = %Y-%m-%d
datetimeformat = %Y-%m-%d %H:%M
longdatetimeformat = %Y-%m-%d %H:%M
"""


class Clients(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.service = Service(SERVE).start()
        cls.port = cls.service.port
        cls.folder = tempfile.TemporaryDirectory(prefix="clients-")

    @classmethod
    def tearDownClass(cls):
        cls.service.__exit__(None, None, None)
        cls.folder.cleanup()

    def test_vdirsyncer_syncs_the_feed_and_khal_lists_the_csv_minutes(self):
        folder = os.path.join(self.folder.name, "vdirsyncer")
        os.makedirs(f"{folder}/calendar")
        url = f"http://127.0.0.1:{self.port}/feed.ics?{ULM}"
        with open(f"{folder}/vdirsyncer.conf", "w") as out:
            out.write(VDIRSYNCER.format(folder=folder, url=url))
        with open(f"{folder}/khal.conf", "w") as out:
            out.write(KHAL.format(folder=folder))
        for command in ("discover", "sync", "sync"):  # a second sync: the same moments keep their UIDs
            run(["vdirsyncer", "-c", f"{folder}/vdirsyncer.conf", command], folder)
        events = os.listdir(f"{folder}/calendar")
        self.assertGreaterEqual(len(events), 2 * 400, "events synced")
        listing = run(["khal", "-c", f"{folder}/khal.conf", "list", "--format", "{start-time} {title}",
                       "--day-format", "", DAY, "1d"], folder)
        print(f"khal's listing of {DAY}:\n{listing}")
        shown = sorted(line.split()[0] for line in listing.splitlines() if line.strip())
        self.assertEqual(shown, csv_minutes(self.port, DAY))

    def test_calcurse_imports_a_fetched_feed(self):
        folder = os.path.join(self.folder.name, "calcurse")
        os.makedirs(f"{folder}/data")
        status, _, feed = get(self.port, f"/feed.ics?{ULM}")
        self.assertEqual(status, 200)
        with open(f"{folder}/feed.ics", "wb") as out:
            out.write(feed)
        run(["calcurse", "-D", f"{folder}/data", "-i", f"{folder}/feed.ics"], folder)
        year, month, date = DAY.split("-")
        shown = run(["calcurse", "-D", f"{folder}/data", "-Q", "--from", f"{month}/{date}/{year}", "--days", "1",
                     "--filter-type", "apt", "--format-apt", "%(start:%H:%M)\\n"], folder)
        self.assertEqual(sorted(shown.split()[1:]), csv_minutes(self.port, DAY))

    def test_icalendar_parses_every_feed_and_its_window(self):
        today = datetime.date.fromisoformat(TODAY)
        for query, every_day in FEEDS:
            with self.subTest(feed=query):
                status, headers, body = get(self.port, f"/feed.ics?{query}")
                self.assertEqual(status, 200, body[:200])
                self.assertTrue(headers["content-type"].startswith("text/calendar"))
                calendar = icalendar.Calendar.from_ical(body)
                self.assertEqual(str(calendar["REFRESH-INTERVAL"].to_ical().decode()), "P1D")
                if "Paulo" in query:  # signs iCalendar escapes, read back as they were
                    self.assertEqual(str(calendar["X-WR-CALNAME"]), 'KELMORVEN SÃO PAULO & CO;,"X"')
                events = calendar.walk("VEVENT")
                uids = [str(event["UID"]) for event in events]
                self.assertEqual(len(uids), len(set(uids)))
                days = [event.decoded("DTSTART").astimezone(datetime.timezone.utc).date() for event in events]
                self.assertTrue(days)
                self.assertGreaterEqual(min(days), today - datetime.timedelta(days=8))
                if every_day:
                    self.assertLessEqual(min(days), today - datetime.timedelta(days=6))
                    self.assertGreaterEqual(max(days), today + datetime.timedelta(days=399))


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("--serve", required=True)
    options, rest = parser.parse_known_args()
    SERVE = options.serve
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)
