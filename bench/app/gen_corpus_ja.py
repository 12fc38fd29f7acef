#!/usr/bin/env python3
"""Writes a deterministic Japanese-dominant code page 932 corpus for bench/app/compare_ja.sh.

Usage: gen_corpus_ja.py ROOT [FILES] [TOTAL_MB]

A nested tree (10 x 10 x 10 folders) of text files with CR LF breaks: sentences of kanji words
(picked with a Zipf law, so a few kanji and their lead bytes are everywhere), hiragana particles
and endings, katakana loan words, full-width punctuation, and now and then an ASCII word, a number
or a half-width katakana word between spaces. The frequent word 日本 stands on most lines, each time
followed by another kanji. The words the benchmark looks for are planted in a few per cent of files:
  日本語           a frequent word plus one more kanji
  すみません       plain hiragana
  ﾃｽﾄ              half-width katakana (between spaces, so no double-byte character swallows it)
  needle / Needle  an ASCII word, also in capitals
  日本酒           the second branch of the expression 日本(語|酒)
  東京都庁         the expressions (東京|大阪)都庁 and 都庁
The filler never holds the planted words, also not across a double-byte character.
"""
import os
import random
import sys

from corpus_lines import filler

SEED = 20261209
ROOT = sys.argv[1]
FILES = int(sys.argv[2]) if len(sys.argv) > 2 else 3000
TOTAL = (int(sys.argv[3]) if len(sys.argv) > 3 else 120) * 1024 * 1024

rng = random.Random(SEED)


def sj(text):
    return text.encode("cp932")


# Kanji of everyday prose, roughly most frequent first; the Zipf law below works on this order.
KANJI = ("日人年大一国中本出子会上生自分事地行方時間学社手見業長関発者所対部気的前理当合内全動"
         "新場合実家力成定経高同法主調度意体制性通用問作現政代市話立開化品資金産東重最初題物情報"
         "連表明変後加取目公海私員論提運転数使期連結果信題京円義近来株野区外心原入電選決院党協"
         "文権特組元回報教店約朝都平話戦設点区条件強務総受機活活様無線計多各示能解北西南商確")
KANJI = "".join(dict.fromkeys(KANJI))  # once each, first place kept
PARTICLES = ["の", "に", "は", "を", "が", "と", "で", "も", "から", "まで", "より", "へ", "や"]
ENDINGS = ["です。", "ます。", "した。", "する。", "である。", "でした。", "ません。", "だった。", "と思う。",
           "している。", "されました。", "について調べた。"]
KATAKANA = ["データ", "ファイル", "システム", "サーバー", "ユーザー", "メール", "ページ", "ソフト", "ネット",
            "プログラム", "コード", "メモリ", "ディスク", "ウィンドウ", "ボタン", "リスト"]
HALF_KANA = [b"\xb6\xc5", b"\xba\xb0\xc4\xde", b"\xc3\xde\xb0\xc0", b"\xcf\xb3\xbd", b"\xbb\xb0\xca\xde"]
ASCII = [b"OK", b"PDF", b"file", b"data", b"Linux", b"ID", b"URL", b"version", b"test", b"log", b"size"]
# 日本 is followed by any kanji but 語 and 酒.
AFTER_NIHON = "人国中的全銀海橋史刀画版製側軍茶"


def zipf_kanji():
    # Rank r drawn with weight 1 / (r + 1): a handful of kanji make up a large share of the text.
    while True:
        r = int(len(KANJI) ** rng.random()) - 1
        if 0 <= r < len(KANJI):
            return KANJI[r]


def noun():
    r = rng.random()
    if r < 0.7:
        return zipf_kanji() + zipf_kanji()
    if r < 0.8:
        return zipf_kanji() + zipf_kanji() + zipf_kanji()
    return rng.choice(KATAKANA)


def sentence():
    parts = []
    for _ in range(rng.randint(2, 6)):
        parts.append(sj(noun() + rng.choice(PARTICLES)))
        r = rng.random()
        if r < 0.15:
            parts.append(sj("、"))
        elif r < 0.2:
            parts.append(b" " + rng.choice(ASCII) + b" ")
        elif r < 0.23:
            parts.append(b" " + str(rng.randint(0, 9999)).encode() + b" ")
        elif r < 0.25:
            parts.append(b" " + rng.choice(HALF_KANA) + b" ")
    parts.append(sj(rng.choice(ENDINGS)))
    return b"".join(parts)


def filler_line():
    line = sentence()
    if rng.random() < 0.8:
        nihon = sj("日本" + rng.choice(AFTER_NIHON) + rng.choice(PARTICLES))
        cut = rng.randint(0, 1)
        line = nihon + line if cut == 0 else line[:-2] + sj("、") + nihon + line[-2:]
    if rng.random() < 0.3:
        line += sentence()
    return line + b"\r\n"


POOL = [filler_line() for _ in range(20000)]
PLANTED = [
    (0.03, sj("日本語")),
    (0.03, sj("すみません")),
    (0.03, b" \xc3\xbd\xc4 "),  # ﾃｽﾄ
    (0.02, b" needle "),
    (0.02, b" Needle "),
    (0.03, sj("日本酒")),
    (0.02, sj("東京都庁")),
    (0.01, sj("大阪都庁")),
]


def plant(lines, word):
    # Between two characters: after a full-width punctuation mark or at the line's start.
    i = rng.randrange(len(lines))
    line = lines[i]
    cut = line.find(sj("、"))
    cut = cut + 2 if cut >= 0 else 0
    lines[i] = line[:cut] + word + line[cut:]


def text_file(size):
    lines = filler(rng, POOL, size)
    for rate, word in PLANTED:
        if rng.random() < rate:
            plant(lines, word)
    return b"".join(lines)


def main():
    mean = max(1, TOTAL // FILES)
    written = 0
    for i in range(FILES):
        folder = os.path.join(ROOT, "d%d" % (i % 10), "e%d" % (i // 10 % 10), "f%d" % (i // 100 % 10))
        os.makedirs(folder, exist_ok=True)
        if rng.random() < 0.01:
            name, data = "empty%d.txt" % i, b""
        else:
            name, data = "doc%d%s" % (i, rng.choice([".txt", ".txt", ".htm", ".csv"])), text_file(
                int(rng.expovariate(1 / mean)) + 1)
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)
        written += len(data)
    print("%d files, %d bytes" % (FILES, written))


main()
