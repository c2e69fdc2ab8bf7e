#!/usr/bin/python3
"""The printed year read back by poppler's tools: every date's two times on
page one against the CSV of the same inputs, the fonts embedded, two A4
landscape pages, no text under 6 points, the chart's axes, the country of a
place taken by name, the SVG parsed."""
import argparse
import csv
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
CELL = re.compile(r"^(\d\d:\d\d:\d\d|\*{5}|-{5})$")


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
    cells = {}
    for x, y, _, text in page:
        if y > top and CELL.match(text):
            column = min(range(24), key=lambda c: abs(columns[c] - x))
            day = rows[min(rows, key=lambda r: abs(r - y))]
            cells.setdefault((column // 2 + 1, day), ["", ""])[column % 2] = text
    return cells


def expected(moment):
    return {"above": "*****", "below": "-----"}.get(moment, moment[11:19])


class PrintedYear(unittest.TestCase):
    def test_every_date_as_the_csv_gives_it(self):
        for place in PLACES:
            with self.subTest(town=place[1]), tempfile.TemporaryDirectory() as folder:
                rows = list(csv.DictReader(contents(make(folder, *place, "csv")).decode().splitlines()))
                cells = grid(make(folder, *place, "pdf"))
                self.assertEqual(set(cells), {(int(r["date"][5:7]), int(r["date"][8:10])) for r in rows})
                # Every time once; a sunset after midnight is the next date's in the data, and so
                # the Sun staying above on that date is the page's only.
                for i, key in enumerate(("sunrise", "sunset")):
                    self.assertEqual(sorted(c[i] for c in cells.values() if ":" in c[i]),
                                     sorted(expected(r[key]) for r in rows if ":" in r[key]))
                    for r in rows:
                        if ":" not in r[key] and r[key]:
                            self.assertEqual(cells[int(r["date"][5:7]), int(r["date"][8:10])][i], expected(r[key]))

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

    def test_a_place_taken_by_name_is_titled_with_its_country(self):
        with tempfile.TemporaryDirectory() as folder:
            run(TOOL, "--year", "2026", "--place", "Ulm", "--out", folder, "--format", "pdf")
            self.assertEqual([w[3] for w in words(os.path.join(folder, "ULM.pdf"), 1)[:2]], ["ULM,", "Germany"])

    def test_the_chart_alone_as_svg(self):
        with tempfile.TemporaryDirectory() as folder:
            root = ElementTree.parse(make(folder, *PLACES[1], "svg")).getroot()
            self.assertEqual(root.tag, "{http://www.w3.org/2000/svg}svg")
            texts = {t.text.strip() for t in root.iter("{http://www.w3.org/2000/svg}text") if t.text}
            self.assertTrue({"January", "December", "12:00"} <= texts, texts)


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("--tool", required=True)
    options, rest = parser.parse_known_args()
    TOOL = options.tool
    unittest.main(argv=[sys.argv[0]] + rest)
