#!/usr/bin/env python3
"""Writes one synthetic document twice, as an OLVEK document (.olvx) and as a CherryTree
document (.ctd, XML), for the export benchmark.

    gen_export_document.py ITEMS OUT.olvx OUT.ctd [SEED]

ITEMS items lie below the main title, nested up to five levels deep, each with about 1 KB of
Japanese (UTF-8) in 8 to 14 lines.
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


def main():
    count = int(sys.argv[1])
    olvx, ctd = sys.argv[2], sys.argv[3]
    rng = random.Random(int(sys.argv[4]) if len(sys.argv) > 4 else 1)
    root = {"title": "メインタイトル", "lines": body(rng), "children": []}
    stack = [root]
    for number in range(count):
        r = rng.random()
        if len(stack) < 6 and stack[-1]["children"] and r < 0.25:
            stack.append(stack[-1]["children"][-1])
        elif len(stack) > 1 and r > 0.8:
            stack.pop()
        stack[-1]["children"].append({"title": f"第{number}節 " + line(rng, 12), "lines": body(rng), "children": []})

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
