#!/usr/bin/python3
"""Writes sheet files (CSV, one per worksheet, without quoted commas) as one .xls workbook.

    /usr/bin/python3 bench/sheets_to_xls.py OUT.xls NAME FILE.csv [NAME FILE.csv ...]

Whole numbers are written as numbers, other non-empty cells as text, as the sample
workbook writer does. Needs Debian's python3-xlwt (scripts/setup.sh installs it).
"""
import re
import sys

import xlwt

WHOLE_NUMBER = re.compile(r"^(0|[1-9][0-9]{0,14})$")


def main(arguments):
    if len(arguments) < 3 or len(arguments) % 2 == 0:
        sys.exit(__doc__)
    workbook = xlwt.Workbook()
    for name, path in zip(arguments[1::2], arguments[2::2]):
        sheet = workbook.add_sheet(name)
        with open(path, encoding="utf-8") as lines:
            for row, line in enumerate(lines):
                for column, cell in enumerate(line.rstrip("\r\n").split(",")):
                    if cell:
                        sheet.write(row, column, int(cell) if WHOLE_NUMBER.match(cell) else cell)
    workbook.save(arguments[0])


if __name__ == "__main__":
    main(sys.argv[1:])
