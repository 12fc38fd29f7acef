#!/usr/bin/env python3
"""A big code page 932 text for the big-file benchmark: Japanese lines with some ASCII words,
CR LF breaks, and the needles only on the last line.

Usage: gen_big_file.py PATH [MiB]   (default 2048)
"""
import random
import sys

path = sys.argv[1]
size = (int(sys.argv[2]) if len(sys.argv) > 2 else 2048) << 20

rng = random.Random(32)
words = ["ファイル", "検索", "置換", "文字列", "設定", "保存", "表示", "行番号", "全角", "半角",
         "ひらがな", "カタカナ", "漢字", "データ", "結果", "エラー", "処理", "開始", "終了"]
ascii_words = ["error", "warning", "data", "file", "line", "value", "Tokyo", "ID", "OK", "200"]


def line():
    parts = []
    for _ in range(rng.randint(4, 12)):
        parts.append(rng.choice(words) if rng.random() < 0.8 else rng.choice(ascii_words))
    return ("、".join(parts) + "。").encode("cp932") + b"\r\n"


chunk = b"".join(line() for _ in range(20000))
last = "最後の行に探索語彙とNeedleWordがある。\r\n".encode("cp932")
with open(path, "wb") as f:
    written = 0
    while written + len(chunk) + len(last) <= size:
        f.write(chunk)
        written += len(chunk)
    rest = size - written - len(last)
    f.write(chunk[:chunk.rfind(b"\r\n", 0, rest) + 2] if rest > 2 else b"")
    f.write(last)
