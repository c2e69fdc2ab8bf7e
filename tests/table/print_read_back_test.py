#!/usr/bin/python3
"""The printed year read back by poppler's tools: every date's two times on
page one against the CSV of the same inputs, the fonts embedded, two A4
landscape pages, no text under 6 points, the chart's axes, the full name and
country of a place taken by name, the SVG parsed; the time basis and legend of zone-years,
the same bytes in every time zone of the machine, Letter paper."""
import argparse
import csv
import datetime
import html
import os
import re
import subprocess
import sys
import tempfile
import unittest
import xml.etree.ElementTree as ElementTree

TOOL = None
# sides and basis: the summer-time rule, a time zone with polar day and
# night and sunsets after midnight, the south, a sunrise the evening before.
PLACES = [
    ("2026", "ULM", "9", "48", ["--east", "--zone", "1", "--summer-time"]),
    ("2027", "TROMSØ", "18.96", "69.65", ["--east", "--time-zone", "Europe/Oslo"]),
    ("2024", "NEUMAYER", "8.27", "70.67", ["--west", "--south"]),
    ("2024", "FARZONE", "9", "48", ["--east", "--zone", "11"]),
]
WORD = re.compile(r'<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>')
CELL = re.compile(r"^(\u2039?\d\d:\d\d:\d\d\u203a?|\*{5}|-{5})$")


def run(*arguments):
    return subprocess.run(list(arguments), check=True, capture_output=True, text=True).stdout


def make(folder, year, town, longitude, latitude, more, form):
    run(TOOL, "--year", year, "--town", town, "--longitude", longitude, "--latitude", latitude, "--ten-mode",
        "--out", folder, "--today", year + "-05-17", "--format", form, *more)
    return os.path.join(folder, town + "." + form)


def contents(path):
    with open(path, "rb") as file:
        return file.read()


def words(pdf, page):
    """(x centre, y centre, height, text) of each word of a page."""
    found = WORD.findall(run("pdftotext", "-bbox", "-f", str(page), "-l", str(page), pdf, "-"))
    return [((float(a) + float(c)) / 2, (float(b) + float(d)) / 2, float(d) - float(b), html.unescape(t))
            for a, b, c, d, t in found]


def grid(pdf):
    """(month, day) -> (SR text, SS text) of page one, each word placed in
    the column of the nearest SR/SS label and the row of the nearest day."""
    page = words(pdf, 1)
    labels = [w for w in page if w[3] in ("SR", "SS")]
    columns = sorted(w[0] for w in labels)
    top = max(w[1] for w in labels)
    rows = {w[1]: int(w[3]) for w in page if w[1] > top and w[0] < columns[0] - 10 and w[3].isdigit()}
    bottom = max(rows) + (max(rows) - min(rows)) / 60  # half a row under day 31: the legend stays out
    cells = {}
    for x, y, _, text in page:
        if top < y < bottom and CELL.match(text):
            column = min(range(24), key=lambda c: abs(columns[c] - x))
            day = rows[min(rows, key=lambda r: abs(r - y))]
            cells.setdefault((column // 2 + 1, day), ["", ""])[column % 2] = text
    return cells


def expected(moment, date):
    """The cell of a CSV moment on its row's date: marked when its clock is
    that of the next date or the date before."""
    if moment in ("above", "below"):
        return {"above": "*****", "below": "-----"}[moment]
    return ("\u2039" if moment[:10] < date else "") + moment[11:19] + ("\u203a" if moment[:10] > date else "")


def page_text(pdf, page):
    return run("pdftotext", "-f", str(page), "-l", str(page), pdf, "-")


class PrintedYear(unittest.TestCase):
    def test_every_date_as_the_csv_gives_it(self):
        for place in PLACES:
            with self.subTest(town=place[1]), tempfile.TemporaryDirectory() as folder:
                rows = list(csv.DictReader(contents(make(folder, *place, "csv")).decode().splitlines()))
                cells = grid(make(folder, *place, "pdf"))
                self.assertEqual(set(cells), {(int(r["date"][5:7]), int(r["date"][8:10])) for r in rows})
                # Every moment once: the data list it on its clock's date, the page in its
                # date's cell, marked when that clock shows a neighbouring date.
                for i, key in enumerate(("sunrise", "sunset")):
                    shown = []
                    for (month, day), pair in cells.items():
                        if ":" in pair[i]:
                            step = pair[i].endswith("\u203a") - pair[i].startswith("\u2039")
                            date = datetime.date(int(place[0]), month, day) + datetime.timedelta(days=step)
                            shown.append(date.isoformat() + "T" + pair[i].strip("\u2039\u203a"))
                    self.assertEqual(sorted(shown), sorted(r[key][:19] for r in rows if ":" in r[key]))
                    for r in rows:
                        if r[key] in ("above", "below"):
                            self.assertEqual(cells[int(r["date"][5:7]), int(r["date"][8:10])][i],
                                             expected(r[key], r["date"]))

    def test_the_file_itself(self):
        with tempfile.TemporaryDirectory() as folder:
            pdf = make(folder, *PLACES[1], "pdf")
            info = run("pdfinfo", "-isodates", "-f", "1", "-l", "2", pdf)
            self.assertIn("Pages:           2\n", info)
            self.assertEqual(re.findall(r"Page +\d size: +(.*)", info), ["842 x 595 pts (A4)"] * 2)
            self.assertIn("CreationDate:    2027-05-17T00:00:00Z", info)
            fonts = run("pdffonts", pdf).splitlines()[2:]
            self.assertTrue(fonts)
            for font in fonts:
                self.assertTrue(font.startswith("DejaVuSans"), font)
                self.assertEqual(font.split()[-5], "yes", font)  # emb
            # A 6-point face's words stand about 7 points high.
            self.assertGreater(min(w[2] for page in (1, 2) for w in words(pdf, page)), 6.9)
            chart = {w[3] for w in words(pdf, 2)}
            self.assertTrue({"January", "June", "December", "00:00", "12:00", "24:00"} <= chart)
            again = contents(pdf)
            make(folder, *PLACES[1], "pdf")
            self.assertEqual(contents(pdf), again)

    def test_a_place_taken_by_name_is_titled_with_its_full_name_and_country(self):
        # (query, file, the title's first line up to the coordinates); the
        # file keeps the town of at most 20 characters.
        cases = [("Ulm", "ULM.pdf", "Ulm, Germany"),
                 ("Santiago de Compostela", "SANTIAGO DE.pdf", "Santiago de Compostela, Spain"),
                 ("Biel/Bienne", "BIEL BIENNE.pdf", "Biel/Bienne, Switzerland")]
        for query, name, title in cases:
            with self.subTest(query=query), tempfile.TemporaryDirectory() as folder:
                run(TOOL, "--year", "2026", "--place", query, "--out", folder, "--format", "pdf")
                self.assertEqual(page_text(os.path.join(folder, name), 1).splitlines()[0].split(" \u2014 ")[0], title)

    def test_the_chart_alone_as_svg(self):
        with tempfile.TemporaryDirectory() as folder:
            root = ElementTree.parse(make(folder, *PLACES[1], "svg")).getroot()
            self.assertEqual(root.tag, "{http://www.w3.org/2000/svg}svg")
            texts = {t.text.strip() for t in root.iter("{http://www.w3.org/2000/svg}text") if t.text}
            self.assertTrue({"January", "December", "12:00"} <= texts, texts)

    def test_svg_of_a_town_with_an_ampersand(self):
        with tempfile.TemporaryDirectory() as folder:
            svg = make(folder, "2026", "TOM & JERRY", "9", "48", ["--east", "--zone", "1"], "svg")
            run("xmllint", "--noout", svg)
            self.assertIn('font-family="DejaVu Sans, sans-serif"', contents(svg).decode())

    def test_zone_years_on_the_page(self):
        # (town, year, longitude, latitude, more, time-basis line, a legend's words)
        cases = [
            ("CASABLANCA", "2026", "7.59", "33.57", ["--west", "--time-zone", "Africa/Casablanca"],
             "UTC+01:00; UTC+00:00 from 15 February to 21 March, which the zone marks as its summer time",
             "the zone's summer time (the clock one hour behind its standard time)"),
            ("MOSCOW", "2011", "37.62", "55.75", ["--east", "--time-zone", "Europe/Moscow"],
             "UTC+04:00; standard time UTC+03:00 until 26 March; no summer time", "a rule under each Sunday"),
            ("LONGYEARBYEN", "2026", "15.65", "78.22", ["--east", "--time-zone", "Arctic/Longyearbyen"],
             "UTC+01:00; UTC+02:00 from 29 March to 24 October", "summer time in force (the clock one hour ahead)"),
            ("KWAJALEIN", "1969", "167.73", "9.18", ["--east", "--time-zone", "Pacific/Kwajalein"],
             "UTC+11:00; standard time UTC-12:00 from 30 September; no summer time", "a date lived twice"),
        ]
        for town, year, longitude, latitude, more, basis, words in cases:
            with self.subTest(town=town), tempfile.TemporaryDirectory() as folder:
                pdf = make(folder, year, town, longitude, latitude, more, "pdf")
                first = " ".join(page_text(pdf, 1).split())
                self.assertIn(": " + basis + " Sunrise (SR)", first)
                self.assertIn(words, first)
                self.assertIn("today", first)  # --today lies in the year
                self.assertIn("1/2", first)
                self.assertIn("2/2", page_text(pdf, 2))

    def test_the_same_bytes_in_every_time_zone(self):
        with tempfile.TemporaryDirectory() as folder:
            made = set()
            for zone in ("UTC", "Europe/Berlin", "America/St_Johns", "Asia/Kathmandu"):
                environment = dict(os.environ, TZ=zone, SOURCE_DATE_EPOCH="1780000000")
                subprocess.run([TOOL, "--year", "2026", "--town", "ULM", "--longitude", "9", "--latitude", "48",
                                "--east", "--zone", "1", "--out", folder, "--format", "pdf"],
                               check=True, capture_output=True, env=environment)
                made.add(contents(os.path.join(folder, "ULM.pdf")))
                self.assertIn("CreationDate:    2026-05-28T20:26:40Z",
                              run("pdfinfo", "-isodates", os.path.join(folder, "ULM.pdf")))
            self.assertEqual(len(made), 1)

    def test_a_long_title_on_letter_paper(self):
        with tempfile.TemporaryDirectory() as folder:
            run(TOOL, "--year", "2026", "--place", "Kinshasa", "--town", "ABCDEFGHIJKLMNOPQRST", "--out", folder,
                "--format", "pdf", "--paper", "letter")
            pdf = os.path.join(folder, "ABCDEFGHIJKLMNOPQRST.pdf")
            info = run("pdfinfo", "-f", "1", "-l", "2", pdf)
            self.assertEqual(re.findall(r"Page +\d size: +(.*)", info), ["792 x 612 pts (letter)"] * 2)
            for page in (1, 2):
                self.assertRegex(page_text(pdf, page).splitlines()[0], "^ABCDEFGHIJKLMNOPQRST, Democratic .* 2026$")
            self.assertIn("GeoNames", page_text(pdf, 1))


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("--tool", required=True)
    options, rest = parser.parse_known_args()
    TOOL = options.tool
    unittest.main(argv=[sys.argv[0]] + rest)
