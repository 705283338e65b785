#!/usr/bin/env python3
"""Writes a synthetic OLVEK document (.olvx) for benchmarks.

    gen_document.py ITEMS OUTPUT [SEED]

The document has the four root folders; ITEMS items lie below the main title, nested up to five
levels deep, each with a Japanese body of 3 to 12 lines.
"""
import json
import random
import sys

KANA = "あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよらりるれろわをん"
KANJI = "日本語文章見出構成物語人物場面時間空気光景記憶会話手紙夜明朝夕雨雪風海山川町家道"
PUNCT = "、。「」"


def line(rng):
    n = rng.randint(18, 50)
    chars = []
    for _ in range(n):
        r = rng.random()
        chars.append(rng.choice(KANA if r < 0.6 else KANJI if r < 0.95 else PUNCT))
    return "".join(chars)


def item(rng, number):
    lines = [line(rng) for _ in range(rng.randint(3, 12))]
    return {"title": f"第{number}節 " + line(rng)[:12], "text": "".join(l + "\r\n" for l in lines),
            "expand": rng.random() < 0.3}


def main():
    count = int(sys.argv[1])
    output = sys.argv[2]
    rng = random.Random(int(sys.argv[3]) if len(sys.argv) > 3 else 1)
    main_root = {"title": "メインタイトル", "text": "", "expand": True, "children": []}
    # stack[d] is the children list that items of depth d + 1 go into.
    stack = [main_root["children"]]
    for number in range(count):
        depth = len(stack)
        r = rng.random()
        if depth < 5 and stack[-1] and r < 0.25:
            stack.append(stack[-1][-1].setdefault("children", []))
        elif depth > 1 and r > 0.8:
            stack.pop()
        stack[-1].append(item(rng, number))
    doc = {"fileType": "olvek", "fileVersion": 2, "docName": output, "date": "2016-05-01T09:05:03.007+09:00",
           "content": [main_root,
                       {"title": "作業フォルダ", "text": "作業フォルダ（ここに文書は書けません）\r\n", "expand": False},
                       {"title": "ゴミ箱", "text": "ゴミ箱（ここに文書は書けません）\r\n", "expand": False},
                       {"title": "クリップ", "text": "クリップボード保管フォルダ（ここに文書は書けません）\r\n", "expand": False}]}
    with open(output, "w", encoding="utf-8") as f:
        f.write(json.dumps(doc, ensure_ascii=False, separators=(",", ":")))


if __name__ == "__main__":
    main()
