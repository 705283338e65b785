#!/usr/bin/env python3
"""Writes one synthetic document twice, as an OLVEK document (.olvx) and as a CherryTree
document (.ctd, XML), for the export and print benchmarks.

    gen_export_document.py [--prose] ITEMS OUT.olvx OUT.ctd [SEED]

ITEMS items lie below the main title, nested up to five levels deep, each with about 1 KB of
Japanese (UTF-8): in 8 to 14 short lines, or with --prose as prose is written, in paragraphs
of one long line each (1 to 4 paragraphs of 20 to 360 characters, so that most wrap when
printed).
"""
import json
import random
import sys
from xml.sax.saxutils import escape, quoteattr

KANA = "あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよらりるれろわをん"
KANJI = "日本語文章見出構成物語人物場面時間空気光景記憶会話手紙夜明朝夕雨雪風海山川町家道"
PUNCT = "、。「」"


def line(rng, n):
    chars = []
    for _ in range(n):
        r = rng.random()
        chars.append(rng.choice(KANA if r < 0.6 else KANJI if r < 0.95 else PUNCT))
    return "".join(chars)


def body(rng):
    # About 340 characters of three bytes each.
    count = rng.randint(8, 14)
    per_line = 340 // count
    return [line(rng, per_line) for _ in range(count)]


def prose(rng):
    # About 340 characters in all, as 1 to 4 paragraphs, each a single line.
    count = rng.randint(1, 4)
    total = rng.randint(300, 380)
    cuts = sorted(rng.sample(range(20, total - 20), count - 1)) if count > 1 else []
    bounds = [0] + cuts + [total]
    return [line(rng, b - a) for a, b in zip(bounds, bounds[1:])]


def main():
    args = sys.argv[1:]
    make_body = body
    if args and args[0] == "--prose":
        make_body = prose
        args = args[1:]
    count = int(args[0])
    olvx, ctd = args[1], args[2]
    rng = random.Random(int(args[3]) if len(args) > 3 else 1)
    root = {"title": "メインタイトル", "lines": make_body(rng), "children": []}
    stack = [root]
    for number in range(count):
        r = rng.random()
        if len(stack) < 6 and stack[-1]["children"] and r < 0.25:
            stack.append(stack[-1]["children"][-1])
        elif len(stack) > 1 and r > 0.8:
            stack.pop()
        stack[-1]["children"].append({"title": f"第{number}節 " + line(rng, 12), "lines": make_body(rng), "children": []})

    def to_olvx(item):
        node = {"title": item["title"], "text": "".join(l + "\r\n" for l in item["lines"]), "expand": False}
        if item["children"]:
            node["children"] = [to_olvx(c) for c in item["children"]]
        return node

    doc = {"fileType": "olvek", "fileVersion": 2, "docName": olvx, "date": "2016-05-01T09:05:03.007+09:00",
           "content": [to_olvx(root),
                       {"title": "作業フォルダ", "text": "作業フォルダ（ここに文書は書けません）\r\n", "expand": False},
                       {"title": "ゴミ箱", "text": "ゴミ箱（ここに文書は書けません）\r\n", "expand": False},
                       {"title": "クリップ", "text": "クリップボード保管フォルダ（ここに文書は書けません）\r\n", "expand": False}]}
    with open(olvx, "w", encoding="utf-8") as f:
        json.dump(doc, f, ensure_ascii=False)

    ids = iter(range(1, count + 2))
    with open(ctd, "w", encoding="utf-8") as f:
        f.write('<?xml version="1.0" encoding="UTF-8"?>\n<cherrytree>\n')

        def write(item, depth):
            pad = "  " * depth
            f.write(f'{pad}<node name={quoteattr(item["title"])} unique_id="{next(ids)}" prog_lang="custom-colors" '
                    'tags="" readonly="0" nosearch_me="0" nosearch_ch="0" custom_icon_id="0" is_bold="0" '
                    'foreground="" ts_creation="0" ts_lastsave="0">\n')
            f.write(f'{pad}  <rich_text>{escape(chr(10).join(item["lines"]))}</rich_text>\n')
            for child in item["children"]:
                write(child, depth + 1)
            f.write(f"{pad}</node>\n")

        write(root, 1)
        f.write("</cherrytree>\n")


if __name__ == "__main__":
    main()
