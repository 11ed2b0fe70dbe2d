#!/usr/bin/env python3
"""Writes the workbooks the spreadsheet tests read, through LibreOffice.

Each workbook is described here, written as a flat OpenDocument file (.fods)
and converted by LibreOffice (headless soffice) to .xlsx and .ods, so that
the files are what a spreadsheet program writes, formulas with the values it
computed. The CSV files are the plain smoking sheet saved by LibreOffice as
CSV in UTF-8 and in Shift_JIS; the BOM variant is the UTF-8 file with a
byte-order mark in front, as Excel's "CSV UTF-8" writes it.

The test suite reads only the files written here; run this (it needs
libreoffice-calc-nogui) after changing a workbook and commit the results:
    cd tests/data/sheets && ./make-sheets.py
"""
import csv
import os
import pathlib
import shutil
import subprocess
import tempfile
from xml.sax.saxutils import escape

HERE = pathlib.Path(__file__).resolve().parent
EXAMPLES = HERE.parent.parent.parent / "examples"


def example(name):
    with open(EXAMPLES / name, encoding="cp932", newline="") as f:
        rows = list(csv.reader(f))
    return [[c if k == 0 or r == 0 else int(c) for k, c in enumerate(row)]
            for r, row in enumerate(rows)]


class F:
    """A formula cell: LibreOffice computes and saves its value."""
    def __init__(self, formula):
        self.formula = formula


class Merge:
    """A text spanning `span` columns (merged cells)."""
    def __init__(self, text, span):
        self.text, self.span = text, span


def cell_xml(c):
    if c is None or c == "":
        return "<table:table-cell/>"
    if isinstance(c, F):
        return ('<table:table-cell table:formula="of:=%s" office:value-type="float" '
                'office:value="0"/>' % escape(c.formula, {'"': "&quot;"}))
    if isinstance(c, Merge):
        return ('<table:table-cell table:number-columns-spanned="%d" office:value-type="string">'
                '<text:p>%s</text:p></table:table-cell>' % (c.span, escape(c.text))
                + "<table:covered-table-cell/>" * (c.span - 1))
    if isinstance(c, (int, float)):
        return ('<table:table-cell office:value-type="float" office:value="%r"/>' % c)
    return ('<table:table-cell office:value-type="string"><text:p>%s</text:p></table:table-cell>'
            % escape(c))


def fods(sheets):
    body = []
    for name, rows in sheets:
        body.append('<table:table table:name="%s">' % escape(name))
        for row in rows:
            body.append("<table:table-row>" + "".join(cell_xml(c) for c in row)
                        + "</table:table-row>")
        body.append("</table:table>")
    return ('<?xml version="1.0" encoding="UTF-8"?>\n'
            '<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" '
            'xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0" '
            'xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0" '
            'xmlns:of="urn:oasis:names:tc:opendocument:xmlns:of:1.2" office:version="1.2" '
            'office:mimetype="application/vnd.oasis.opendocument.spreadsheet">'
            "<office:body><office:spreadsheet>" + "".join(body)
            + "</office:spreadsheet></office:body></office:document>\n")


def shifted(rows, top, left):
    """The rows placed `top` rows down and `left` columns right."""
    return [[] for _ in range(top)] + [[None] * left + row for row in rows]


def with_formulas(rows, r):
    """Row r's counts as sums LibreOffice computes (=a+b), the other rows as typed."""
    out = [list(row) for row in rows]
    out[r] = [out[r][0]] + ["%d+%d" % (v - v // 2, v // 2) for v in out[r][1:]]
    out[r] = [out[r][0]] + [F(t) for t in out[r][1:]]
    return out


SMOKING = example("smoking.csv")
CAITHNESS = example("caithness.csv")
NOTES = [["この表は例です"], ["出典: Greenacre (1984)"]]

WORKBOOKS = {
    # The smoking table below a title and an empty row, from column B, one
    # row as formulas; a sheet of notes beside it is no table.
    "smoking": [("メモ", NOTES),
                ("喫煙", [[None, "喫煙と職位"], []] + shifted(with_formulas(SMOKING, 3), 0, 1))],
    "smoking-plain": [("Sheet1", SMOKING)],
    # Two sheets hold a table: the user chooses.
    "two-tables": [("メモ", NOTES), ("喫煙", SMOKING), ("Caithness", CAITHNESS)],
    # Sheets that cannot be read as one table.
    "awkward": [
        ("結合", [[None, Merge("喫煙", 2), None], [None, "なし", "あり"], ["A", 1, 2],
                  ["B", 3, 4]]),
        ("二つの表", SMOKING + [[]] + CAITHNESS),
        ("横並び", [row + [None] + other for row, other in zip(SMOKING, CAITHNESS)]),
        ("文字だけ", [[None, "a", "b"], ["x", "いいえ", "はい"]]),
    ],
}


def soffice(args, cwd):
    subprocess.run(["soffice", "--headless", "--norestore"] + args, cwd=cwd, check=True,
                   stdout=subprocess.DEVNULL)


def main():
    with tempfile.TemporaryDirectory() as tmp:
        for name, sheets in WORKBOOKS.items():
            source = pathlib.Path(tmp) / (name + ".fods")
            source.write_text(fods(sheets), encoding="utf-8")
            for kind in ("xlsx", "ods"):
                soffice(["--convert-to", kind, "--outdir", str(HERE), str(source)], tmp)
        plain = pathlib.Path(tmp) / "smoking-plain.fods"
        # Field separator 44 (comma), text delimiter 34 ("), the character set, first line 1.
        for suffix, charset in (("utf8", "76"), ("cp932", "64")):
            out = pathlib.Path(tmp) / suffix
            out.mkdir()
            soffice(["--convert-to", "csv:Text - txt - csv (StarCalc):44,34,%s,1" % charset,
                     "--outdir", str(out), str(plain)], tmp)
            shutil.copy(out / "smoking-plain.csv", HERE / ("smoking-%s.csv" % suffix))
        utf8 = (HERE / "smoking-utf8.csv").read_bytes()
        (HERE / "smoking-utf8-bom.csv").write_bytes(b"\xef\xbb\xbf" + utf8)
        for leftover in ("smoking-plain.xlsx", "smoking-plain.ods"):
            os.remove(HERE / leftover)


if __name__ == "__main__":
    main()
