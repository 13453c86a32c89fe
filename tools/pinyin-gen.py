#!/usr/bin/env python3
"""Writes data/pinyin.txt, the reading table behind VeChar::PinyinTransform, from the Unihan
database (Debian's unicode-data package).

One line per character that code page 936 encodes and that has a Mandarin reading:
"GBKHEX 字 reading", sorted by GBK code. The reading is the most common one, without tone
marks, lower case ASCII, with ü written as v. The hex code is there so the build can embed the
table without a GBK converter of its own.

usage: tools/pinyin-gen.py [UNIHAN_DIR] > data/pinyin.txt
"""
import bz2
import os
import re
import sys
import unicodedata
import zipfile

# Earlier fields win: kMandarin names the customary reading; the others list readings of which
# the first (or the most frequent) is the usual one.
FIELDS = ("kMandarin", "kHanyuPinlu", "kXHC1983", "kHanyuPinyin")


def readings_lines(unihan_dir):
    name = "Unihan_Readings.txt"
    plain, packed, archive = (os.path.join(unihan_dir, n)
                              for n in (name, name + ".bz2", "Unihan.zip"))
    if os.path.exists(plain):
        with open(plain, encoding="utf-8") as f:
            yield from f
    elif os.path.exists(packed):
        with bz2.open(packed, "rt", encoding="utf-8") as f:
            yield from f
    else:
        with zipfile.ZipFile(archive) as z:
            yield from z.read(name).decode("utf-8").splitlines()


def first_reading(field, value):
    if field == "kMandarin":  # mainland reading first, then Taiwan's when they differ
        return value.split()[0]
    if field == "kHanyuPinlu":  # "lè(283) yuè(54)": the most frequent
        counted = [(int(n), r) for r, n in re.findall(r"([^\s(]+)\((\d+)\)", value)]
        return max(counted, key=lambda c: c[0])[1] if counted else None
    # kXHC1983 "0683.040:lè 1430.060:yuè", kHanyuPinyin "10048.060:liǎo,le,liào"
    return value.split()[0].split(":", 1)[1].split(",")[0]


def plain(reading):
    decomposed = unicodedata.normalize("NFD", reading.lower()).replace("u\u0308", "v")
    ascii_only = "".join(c for c in decomposed if not unicodedata.combining(c))
    if not re.fullmatch(r"[a-z]+", ascii_only):
        raise ValueError(f"unexpected reading {reading!r}")
    return ascii_only


def main():
    unihan_dir = sys.argv[1] if len(sys.argv) > 1 else "/usr/share/unicode"
    found = {}
    for line in readings_lines(unihan_dir):
        parts = line.rstrip("\n").split("\t")
        if len(parts) != 3 or parts[1] not in FIELDS:
            continue
        char = chr(int(parts[0][2:], 16))
        reading = first_reading(parts[1], parts[2])
        if reading:
            found.setdefault(char, {})[parts[1]] = reading

    # A compatibility ideograph (GBK has a few) reads as the unified character it stands for.
    for char in [chr(c) for c in range(0xF900, 0xFB00)]:
        unified = unicodedata.normalize("NFC", char)
        if char not in found and unified != char and unified in found:
            found[char] = found[unified]

    table = {}
    for char, by_field in found.items():
        try:
            gbk = char.encode("gbk")
        except UnicodeEncodeError:
            continue
        # Only characters that come back unchanged: a code shared by two characters is not ours.
        if len(gbk) != 2 or gbk.decode("gbk") != char:
            continue
        field = next(f for f in FIELDS if f in by_field)
        table[gbk] = (char, plain(by_field[field]))

    out = sys.stdout
    for gbk in sorted(table):
        char, reading = table[gbk]
        out.write(f"{gbk.hex().upper()} {char} {reading}\n")


if __name__ == "__main__":
    main()
