#!/usr/bin/env python3
"""Writes an OLVEK document (.olvx) whose one long body has many short lines, for the start-up
benchmark.

    gen_long_body.py OUTPUT [LINES] [--in-child]

The body has LINES lines (default 1,000,000; about 8 bytes a line as UTF-8 with CR LF breaks):
random kanji and kana lines of 0 to 4 characters, every 25th line empty, every 1000th 120
characters long so that it wraps. The main title holds the body; with
--in-child the main title's body is empty and its one child "本文" holds it, so that the body
is loaded only when that item is selected.
"""
import json
import random
import sys

POOL = "日本語文章見出構成物語人物場面時間空気光景記憶会話手紙夜明朝夕雨雪風海山川町家道" \
       "あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよらりるれろわをん"


def body(line_count, rng):
    lines = []
    for i in range(line_count):
        if i % 25 == 24:
            length = 0
        elif i % 1000 == 999:
            length = 120
        else:
            length = rng.randint(0, 4)
        lines.append("".join(rng.choice(POOL) for _ in range(length)))
    return "".join(line + "\r\n" for line in lines)


def main():
    args = [a for a in sys.argv[1:] if not a.startswith("--")]
    in_child = "--in-child" in sys.argv[1:]
    output = args[0]
    line_count = int(args[1]) if len(args) > 1 else 1000000
    text = body(line_count, random.Random(1))
    main_root = {"title": "メインタイトル", "text": text, "expand": True}
    if in_child:
        main_root["text"] = ""
        main_root["children"] = [{"title": "本文", "text": text, "expand": False}]
    doc = {"fileType": "olvek", "fileVersion": 2, "docName": output, "date": "2016-05-01T09:05:03.007+09:00",
           "content": [main_root,
                       {"title": "作業フォルダ", "text": "作業フォルダ（ここに文書は書けません）\r\n", "expand": False},
                       {"title": "ゴミ箱", "text": "ゴミ箱（ここに文書は書けません）\r\n", "expand": False},
                       {"title": "クリップ", "text": "クリップボード保管フォルダ（ここに文書は書けません）\r\n", "expand": False}]}
    with open(output, "w", encoding="utf-8") as f:
        f.write(json.dumps(doc, ensure_ascii=False, separators=(",", ":")))
    sys.stdout.write("%s: %d lines, %d bytes of body as UTF-8\n" % (output, line_count, len(text.encode("utf-8"))))


if __name__ == "__main__":
    main()
