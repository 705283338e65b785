#!/usr/bin/env python3
"""Writes an OLVEK document (.olvx) of a dotted outline for the vertical PDF benchmarks.

    gen_vertical_book.py DOTTED.txt OUTPUT [COPIES] [RUBY_EVERY]

The first heading (one dot) is the main title; "..", "..." and deeper headings are items below
it. With COPIES the chapters are repeated that many times under the one main title (three books
in one document). Every RUBY_EVERY-th run of two or more kanji gets a reading in the ruby
notation (｜base《よみ…》), so that the pages carry ruby as a novel does; 0 for none.
"""
import json
import re
import sys

KANJI_RUN = re.compile(r'[\u4e00-\u9fff々]{2,}')


def with_ruby(line, every, counter):
    if every <= 0:
        return line

    def add(match):
        counter[0] += 1
        if counter[0] % every:
            return match.group(0)
        base = match.group(0)[:20]
        return '｜' + base + '《' + 'よみ' * len(base) + '》' + match.group(0)[20:]
    return KANJI_RUN.sub(add, line)


def main():
    source, output = sys.argv[1], sys.argv[2]
    copies = int(sys.argv[3]) if len(sys.argv) > 3 else 1
    every = int(sys.argv[4]) if len(sys.argv) > 4 else 30
    with open(source, encoding='utf-8') as f:
        lines = f.read().replace('\r\n', '\n').split('\n')
    root = {"title": "本", "text": "", "expand": True, "children": []}
    chapters = []
    stack = [(1, root)]
    counter = [0]
    body = {id(root): []}
    for line in lines:
        dots = len(line) - len(line.lstrip('.'))
        if dots == 1 and not chapters and not root["children"]:
            root["title"] = line[1:]
            continue
        if dots >= 2:
            item = {"title": line[dots:], "text": "", "expand": False}
            body[id(item)] = []
            while stack[-1][0] >= dots:
                stack.pop()
            stack[-1][1].setdefault("children", []).append(item)
            stack.append((dots, item))
            continue
        body[id(stack[-1][1])].append(with_ruby(line.lstrip(' '), every, counter))

    def fill(item):
        item["text"] = "".join(l + "\r\n" for l in body[id(item)])
        for child in item.get("children", []):
            fill(child)
    fill(root)
    chapters = root.get("children", [])
    root["children"] = [json.loads(json.dumps(c)) for _ in range(copies) for c in chapters]
    doc = {"fileType": "olvek", "fileVersion": 2, "docName": output, "date": "2026-12-11T09:00:00.000+09:00",
           "content": [root,
                       {"title": "作業フォルダ", "text": "作業フォルダ（ここに文書は書けません）\r\n", "expand": False},
                       {"title": "ゴミ箱", "text": "ゴミ箱（ここに文書は書けません）\r\n", "expand": False},
                       {"title": "クリップ", "text": "クリップボード保管フォルダ（ここに文書は書けません）\r\n", "expand": False}]}
    with open(output, "w", encoding="utf-8") as f:
        f.write(json.dumps(doc, ensure_ascii=False, separators=(",", ":")))


if __name__ == "__main__":
    main()
