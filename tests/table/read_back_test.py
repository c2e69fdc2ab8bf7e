#!/usr/bin/python3
"""The data files of kelmorven-table read back by independent readers.

CSV and JSON through Python's csv and json modules, compared cell by cell
with the text document of the same inputs; the iCalendar file through the
icalendar package; with --calcurse, imported into calcurse, whose query of
one day must show the two moments at their local time. Exit status 77 (a
skipped test) when a reader is missing.
"""
import argparse
import csv
import datetime
import io
import json
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

TOOL = None
SKIPPED = 77

# year, town, longitude, latitude, sides, zone, summer time: places whose
# moments leave the one-digit hour of the cells (sunsets from 22:00, after
# midnight, a sunrise the evening before), polar days and nights.
PLACES = [
    ("2026", "ULM", "9", "48", ["--east", "--north"], "1", True),
    ("2026", "HELSINKI", "24.94", "60.17", ["--east", "--north"], "2", True),
    ("2027", "TROMSØ", "18.96", "69.65", ["--east", "--north"], "1", True),
    ("1999", "NEUMAYER", "8.27", "70.67", ["--west", "--south"], "0", False),
    ("2024", "FARZONE", "9", "48", ["--east", "--north"], "11", False),
]


def run_tool(folder, year, town, longitude, latitude, sides, zone, summer, *more):
    arguments = [TOOL, "--year", year, "--town", town, "--longitude", longitude, "--latitude", latitude,
                 "--ten-mode", "--out", folder, "--today", year + "-05-17"] + sides + list(more)
    if zone is not None:
        arguments += ["--zone", zone]
    if summer:
        arguments.append("--summer-time")
    subprocess.run(arguments, check=True, stdout=subprocess.DEVNULL)


def document_cells(path):
    """(month, day) -> (sunrise cell, sunset cell) of a text timetable."""
    lines = open(path, "rb").read().decode("cp1252").split("\r\n")
    cells = {}
    for first_month, block in ((1, lines[21:57]), (7, lines[83:119])):
        rows = [line for line in block if line[:4].strip().rstrip(".").isdigit() and line[2:4] == ". "]
        for line in rows:
            day = int(line[:2])
            for k in range(6):
                sunrise = line[4 + 12 * k: 9 + 12 * k]
                sunset = line[10 + 12 * k: 15 + 12 * k]
                if sunrise.strip():
                    cells[(first_month + k, day)] = (sunrise, sunset)
    return cells


def cell_of(text, date, shift):
    """The cell a moment text of the CSV makes: its hour counted from the
    row's date and from shift, as the document's "hmmss" rule."""
    if text == "above":
        return "*****"
    if text == "below":
        return "-----"
    moment = datetime.datetime.fromisoformat(text)
    seconds = int((moment.replace(tzinfo=None) - datetime.datetime.combine(date, datetime.time())).total_seconds())
    # Hours, minutes and seconds, each of the sign of the whole (a moment
    # before the date's midnight).
    size = abs(seconds)
    sign = -1 if seconds < 0 else 1
    n = (sign * (size // 3600) - shift) * 10000 + sign * (size // 60 % 60) * 100 + sign * (size % 60)
    digits = str(n)
    if n < 0:
        return digits.rjust(5)[:5]
    return digits[-5:] if len(digits) >= 5 else digits.zfill(5)


class ReadBack(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.mkdtemp(prefix="kelmorven_read_back_")

    def tearDown(self):
        shutil.rmtree(self.folder)

    def test_csv_and_json_give_the_document_cells_in_full(self):
        for place in PLACES:
            with self.subTest(town=place[1]):
                for fmt in ("txt", "csv", "json"):
                    run_tool(self.folder, *place, "--format", fmt)
                town = place[1]
                cells = document_cells(os.path.join(self.folder, town + ".TXT"))
                raw = open(os.path.join(self.folder, town + ".csv"), "rb").read()
                self.assertTrue(raw.endswith(b"\r\n"))
                self.assertEqual(raw.count(b"\n"), raw.count(b"\r\n"))
                rows = list(csv.reader(io.StringIO(raw.decode("utf-8"), newline="")))
                self.assertEqual(rows[0], ["date", "sunrise", "sunset"])
                self.assertEqual(len(rows) - 1, len(cells))
                for date_text, sunrise, sunset in rows[1:]:
                    date = datetime.date.fromisoformat(date_text)
                    expected = cells[(date.month, date.day)]
                    self.assertEqual((cell_of(sunrise, date, 0), cell_of(sunset, date, 12)), expected, date_text)
                    for moment in (sunrise, sunset):
                        if moment not in ("above", "below"):
                            # Within a day of its own date, and a real offset.
                            parsed = datetime.datetime.fromisoformat(moment)
                            self.assertLessEqual(abs((parsed.date() - date).days), 1)
                            self.assertIsNotNone(parsed.utcoffset())
                document = json.load(open(os.path.join(self.folder, town + ".json"), encoding="utf-8"))
                self.assertEqual(document["place"]["town"], town)
                self.assertEqual(document["altitude"], 0.002444)
                self.assertEqual([[d["date"], d["sunrise"], d["sunset"]] for d in document["days"]], rows[1:])

    def test_the_calendar_reads_back_with_every_moment_in_utc(self):
        import icalendar  # Debian's python3-icalendar

        for place in PLACES[:3]:
            with self.subTest(town=place[1]):
                run_tool(self.folder, *place, "--format", "csv")
                run_tool(self.folder, *place, "--format", "ics", "--remind", "15")
                town = place[1]
                rows = list(csv.reader(open(os.path.join(self.folder, town + ".csv"), encoding="utf-8", newline="")))[1:]
                raw = open(os.path.join(self.folder, town + ".ics"), "rb").read()
                # Folded within 75 octets, every line ended by CR LF.
                self.assertTrue(raw.endswith(b"\r\n"))
                self.assertEqual(raw.count(b"\n"), raw.count(b"\r\n"))
                self.assertLessEqual(max(len(line) for line in raw.split(b"\r\n")), 75)
                calendar = icalendar.Calendar.from_ical(raw)
                events = {}
                for event in calendar.walk("VEVENT"):
                    self.assertNotIn(str(event["UID"]), events)
                    events[str(event["UID"])] = event
                moments = [(row[0], label, text) for row in rows
                           for label, text in (("SR", row[1]), ("SS", row[2])) if text not in ("above", "below")]
                self.assertEqual(len(events), len(moments))
                by_summary = {}
                for event in events.values():
                    by_summary.setdefault(str(event["SUMMARY"]), []).append(event)
                self.assertEqual(set(by_summary), {"KELMORVEN SR " + town, "KELMORVEN SS " + town})
                starts = {(str(e["SUMMARY"])[10:12], e.decoded("DTSTART")) for e in events.values()}
                for date_text, label, text in moments:
                    local = datetime.datetime.fromisoformat(text)
                    utc = local.astimezone(datetime.timezone.utc)
                    self.assertIn((label, utc), starts, date_text)
                for event in events.values():
                    start = event.decoded("DTSTART")
                    self.assertEqual(start.utcoffset(), datetime.timedelta(0))
                    self.assertEqual(event.decoded("DTEND") - start, datetime.timedelta(minutes=1))
                    alarms = event.walk("VALARM")
                    self.assertEqual(len(alarms), 1)
                    self.assertEqual(alarms[0].decoded("TRIGGER"), datetime.timedelta(minutes=-15))
                    self.assertIn(" local time on ", str(event["DESCRIPTION"]))

    def test_the_calendar_imports_into_calcurse_at_local_time(self):
        if shutil.which("calcurse") is None:
            self.skipTest("calcurse is not installed (scripts/install-deps installs it)")
        cases = [
            # place, tool options, TZ, the day asked
            (PLACES[0], ["--format", "ics"], "Europe/Berlin", "2026-06-21"),
            (("2026", "NEWYORK", "74.006", "40.7128", ["--west", "--north"], None, False),
             ["--format", "ics", "--time-zone", "America/New_York"], "America/New_York", "2026-11-02"),
        ]
        for place, options, zone, day in cases:
            with self.subTest(town=place[1]):
                run_tool(self.folder, *place, *options)
                run_tool(self.folder, *place, *[o if o != "ics" else "csv" for o in options])
                data = os.path.join(self.folder, "calcurse-" + place[1])
                os.mkdir(data)
                environment = dict(os.environ, TZ=zone, HOME=self.folder)
                subprocess.run(["calcurse", "-D", data, "-i", os.path.join(self.folder, place[1] + ".ics")],
                               check=True, env=environment, stdout=subprocess.DEVNULL)
                year, month, date = day.split("-")
                shown = subprocess.run(["calcurse", "-D", data, "-Q", "--from", f"{month}/{date}/{year}",
                                        "--days", "1", "--filter-type", "apt"],
                                       check=True, env=environment, capture_output=True, text=True).stdout
                row = next(r for r in csv.reader(open(os.path.join(self.folder, place[1] + ".csv"),
                                                      encoding="utf-8", newline="")) if r[0] == day)
                for label, text in (("SR", row[1]), ("SS", row[2])):
                    minute = datetime.datetime.fromisoformat(text).strftime("%H:%M")
                    self.assertIn(f" - {minute} -> ", shown)
                    self.assertIn("KELMORVEN " + label + " " + place[1], shown)


def main():
    global TOOL
    parser = argparse.ArgumentParser()
    parser.add_argument("--tool", required=True)
    parser.add_argument("--calcurse", action="store_true", help="only the import into calcurse")
    arguments, rest = parser.parse_known_args()
    TOOL = arguments.tool
    if arguments.calcurse:
        if shutil.which("calcurse") is None:
            print("calcurse is not installed (scripts/install-deps installs it): import test skipped")
            return SKIPPED
        names = ["ReadBack.test_the_calendar_imports_into_calcurse_at_local_time"]
    else:
        try:
            import icalendar  # noqa: F401
        except ImportError:
            print("python3-icalendar is not installed (scripts/install-deps installs it): read-back skipped")
            return SKIPPED
        names = ["ReadBack.test_csv_and_json_give_the_document_cells_in_full",
                 "ReadBack.test_the_calendar_reads_back_with_every_moment_in_utc"]
    suite = unittest.defaultTestLoader.loadTestsFromNames(names, sys.modules[__name__])
    result = unittest.TextTestRunner(verbosity=2).run(suite)
    return 0 if result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main())
