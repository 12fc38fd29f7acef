#!/usr/bin/env python3
"""Writes a deterministic code page 932 corpus for bench/app/compare.sh.

Usage: gen_corpus.py ROOT [FILES] [TOTAL_MB]

A nested tree (10 x 10 x 10 folders) of text files with CR LF breaks, some empty files, some binary
files (by extension and by a probe of their first bytes) and ten 10 MB files. The words the
benchmark looks for are planted at known rates:
  needle / Needle / NEEDLE         plain and case-insensitive search
  full-width ｎｅｅｄｌｅ / ＮＥＥＤＬＥ  the fuzzy search only
  zq<digits>x                      the regular expression (lower case only)
Filler text never forms these words, also not across a double-byte character: every trail byte of
the filler is 0x9F or above, so a byte-wise search and a character-wise one agree.
"""
import os
import random
import sys

from corpus_lines import filler

SEED = 20261208
ROOT = sys.argv[1]
FILES = int(sys.argv[2]) if len(sys.argv) > 2 else 20000
TOTAL = (int(sys.argv[3]) if len(sys.argv) > 3 else 400) * 1024 * 1024
BIG = 10 * 1024 * 1024
BIG_COUNT = 10

rng = random.Random(SEED)
VOCAB = [w.encode() for w in (
    "alpha beta gamma delta file search text data value index table row column editor window "
    "folder name size date time list item view mark line page string number count total order "
    "option setting history result match replace save load open close print format report").split()]


def kanji():
    # Lead 0x88..0x9F, trail 0x9F..0xFC: level-one and level-two kanji without ASCII trail bytes.
    return bytes([rng.randint(0x89, 0x9F), rng.randint(0x9F, 0xFC)])


def hiragana():
    return bytes([0x82, rng.randint(0x9F, 0xF1)])


def filler_line():
    parts = []
    for _ in range(rng.randint(4, 14)):
        kind = rng.random()
        if kind < 0.45:
            w = rng.choice(VOCAB)
            parts.append(w.capitalize() if rng.random() < 0.2 else w)
        elif kind < 0.85:
            parts.append(b"".join(kanji() if rng.random() < 0.5 else hiragana() for _ in range(rng.randint(2, 8))))
        elif kind < 0.95:
            parts.append(str(rng.randint(0, 99999)).encode())
        else:
            parts.append(bytes(rng.randint(0xA6, 0xDD) for _ in range(rng.randint(2, 5))))  # half-width kana
    return b" ".join(parts) + b"\r\n"


POOL = [filler_line() for _ in range(20000)]
PLAIN = [b"needle", b"Needle", b"NEEDLE"]
WIDE = [b"\x82\x8e\x82\x85\x82\x85\x82\x84\x82\x8c\x82\x85", b"\x82\x6d\x82\x64\x82\x64\x82\x63\x82\x6b\x82\x64"]


def plant(lines, word):
    i = rng.randrange(len(lines))
    line = lines[i]
    cut = line.rfind(b" ", 0, max(1, len(line) - 2))
    cut = cut + 1 if cut >= 0 else 0
    lines[i] = line[:cut] + word + b" " + line[cut:]


def text_file(size, big_index=None):
    lines = filler(rng, POOL, size)
    r = rng.random()
    if big_index is not None:
        # Half of the large files hold the word on their last line only: the whole file is searched.
        if big_index % 2 == 0:
            lines.append(b"the end needle\r\n")
    elif r < 0.02:
        plant(lines, b"needle")
    elif r < 0.04:
        plant(lines, rng.choice(PLAIN[1:]))
    elif r < 0.05:
        plant(lines, rng.choice(WIDE))
    if big_index is None and rng.random() < 0.03:
        plant(lines, b"zq" + str(rng.randint(0, 9999)).encode() + b"x")
    return b"".join(lines)


def binary_file(size):
    return bytes(rng.randrange(256) for _ in range(64)) + b"\0\0\0\x01\x02" + bytes(
        rng.getrandbits(8) for _ in range(min(size, 4096)))


def main():
    small_total = TOTAL - BIG * BIG_COUNT
    mean = max(1, small_total // FILES)
    written = 0
    for i in range(FILES):
        folder = os.path.join(ROOT, "d%d" % (i % 10), "e%d" % (i // 10 % 10), "f%d" % (i // 100 % 10))
        os.makedirs(folder, exist_ok=True)
        r = rng.random()
        if i < BIG_COUNT:
            name, data = "big%d.txt" % i, text_file(BIG, big_index=i)
        elif r < 0.01:
            name, data = "empty%d.txt" % i, b""
        elif r < 0.015:
            name, data = "image%d.bmp" % i, binary_file(mean)
        elif r < 0.02:
            name, data = "blob%d.txt" % i, binary_file(mean)
        else:
            ext = rng.choice([".txt", ".txt", ".htm", ".csv"])
            name, data = "doc%d%s" % (i, ext), text_file(int(rng.expovariate(1 / mean)) + 1)
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)
        written += len(data)
    print("%d files, %d bytes" % (FILES, written))


main()
