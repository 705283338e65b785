#!/usr/bin/env python3
"""Writes the seeds that take the fuzz targets to the readers' limits into fuzz/corpus/.

    fuzz/make_seeds.py

The small hand-made seeds beside them stay as they are. Each seed here is at most 128 KB, the
length fuzz/run allows. The readers refuse items nested deeper than 400 levels; the seeds sit
just below, at and just above that depth.
"""
import json
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
MAX_DEPTH = 400
ROOTS = ["作業フォルダ", "ゴミ箱", "クリップ"]


def write(kind, name, data):
    folder = os.path.join(HERE, "corpus", kind)
    os.makedirs(folder, exist_ok=True)
    if isinstance(data, str):
        data = data.encode("utf-8")
    assert len(data) <= 131072, name
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


# JSON documents --------------------------------------------------------------------------------

def item(title, text="", children=None, expand=None):
    node = {"title": title, "text": text}
    if expand is not None:
        node["expand"] = expand
    if children:
        node["children"] = children
    return node


def document(main):
    content = [main] + [item(t, "", expand=False) for t in ROOTS]
    doc = {"fileType": "olvek", "fileVersion": 2, "docName": "/tmp/a.olvx",
           "date": "2016-05-01T09:05:03.007+09:00", "content": content}
    return json.dumps(doc, ensure_ascii=False, separators=(",", ":"))


def chain(depth):
    """The main title with a chain of depth - 1 descendants: the deepest item has level depth - 1."""
    node = item("底", "b\r\n")
    for level in range(depth - 2, -1, -1):
        node = item("d", "", [node], expand=True)
    return node


for depth in (MAX_DEPTH, MAX_DEPTH + 1, MAX_DEPTH + 2):
    write("json", f"depth-{depth}.olvx", document(chain(depth)))
write("json", "items-3000.olvx",
      document(item("メインタイトル", "", [item(str(i), "") for i in range(3000)], expand=True)))
write("json", "long-title.olvx", document(item("長" * 20000, "本文\r\n")))
write("json", "long-body-line.olvx", document(item("t", "あ" * 30000 + "\r\n")))
write("json", "many-body-lines.olvx", document(item("t", "行\r\n" * 12000)))
write("json", "escapes.olvx",
      document(item("A\nB\tC\r", "\u0000x\r\n\U0001F600\r\n\u2029\ufdd0\r\n\u0080\uf8f0\r\n")))

# Legacy documents ------------------------------------------------------------------------------

def sjis(text):
    return text if isinstance(text, bytes) else text.encode("cp932", errors="replace")


def legacy(version, titles_with_levels, bodies, tail=b'{"treeopen":{}}'):
    tree = b"".join(b"\t" * level + sjis(title) + b"\r\n" for level, title in titles_with_levels)
    out = struct.pack("<q", version)
    out += struct.pack("<i", len(tree)) + tree
    for body in bodies:
        data = sjis(body)
        out += struct.pack("<i", len(data)) + data
    out += struct.pack("<q", len(tail)) + tail
    return out


def legacy_items(main_items):
    items = [(0, "メインタイトル")] + main_items + [(0, t) for t in ROOTS]
    return items, ["本文\r\n"] * len(items)


for depth in (MAX_DEPTH, MAX_DEPTH + 1, MAX_DEPTH + 2):
    items, bodies = legacy_items([(level, "d") for level in range(1, depth)])
    write("legacy", f"depth-{depth}.olv", legacy(11000, items, bodies))
items, bodies = legacy_items([(1, str(i)) for i in range(3000)])
write("legacy", "items-3000.olv", legacy(11000, items, [""] * len(items)))
items, bodies = legacy_items([(1, "長" * 20000)])
write("legacy", "long-title.olv", legacy(11000, items, bodies))
items, _ = legacy_items([])
write("legacy", "long-body.olv", legacy(10000, items, ["行\r\n" * 20000, "", "", ""]))

# Length fields just around what the file holds.
items, bodies = legacy_items([(1, "子")])
base = legacy(11000, items, bodies, tail=b"")
write("legacy", "tree-length-all.olv", base[:8] + struct.pack("<i", len(base) - 12) + base[12:])
write("legacy", "tree-length-past-end.olv", base[:8] + struct.pack("<i", len(base) - 11) + base[12:])
write("legacy", "tree-length-max.olv", base[:8] + struct.pack("<i", 0x7FFFFFFF) + base[12:])
write("legacy", "tree-length-negative.olv", base[:8] + struct.pack("<i", -1) + base[12:])
last_body_offset = len(base) - 8 - len(sjis(bodies[-1])) - 4
for name, delta in (("body-length-rest", 0), ("body-length-past-end", 1), ("body-length-short", -1)):
    rest = len(base) - 8 - last_body_offset - 4
    write("legacy", name + ".olv",
          base[:last_body_offset] + struct.pack("<i", rest + delta) + base[last_body_offset + 4:])
# The single bytes that only Windows' code page 932 maps to characters.
write("legacy", "windows-bytes.olv",
      legacy(20000, [(0, b"\x80\xa0\xfd\xfe\xff")] + [(0, t) for t in ROOTS], [b"\x80\xa0\xfd\xfe\xff"] * 4))

# Settings files --------------------------------------------------------------------------------

settings = (
    "[Form]\r\nRestore=1\r\nWidth=2147483647\r\nHeight=-2147483648\r\nLeft=$7FFFFFFF\r\nTop=0x80000000\r\n"
    "NaviWidth=999999999\r\n\r\n[FILE]\r\nAutoSaveTime=71583\r\nBackupDepth=70000\r\nAutoLoad=1\r\n\r\n"
    "[FileRireki]\r\n1=/home/利用者/文書/第一章.olvx\r\n2=\r\n3=\"  引用符 \"\r\n\r\n"
    "[TREE]\r\nFontName=ＭＳ ゴシック\r\nFontColor=$00FF8000\r\n[EDITOR]\r\nFontColor=clWindowText\r\n"
    "SelectColor=clNoSuchColour\r\n; コメント\r\n")
write("settings", "japanese-utf8.ini", settings)
write("settings", "japanese-bom.ini", b"\xef\xbb\xbf" + settings.encode("utf-8"))
write("settings", "japanese-sjis.ini", settings.encode("cp932"))
write("settings", "utf8-stray-byte.ini", settings.encode("utf-8").replace(b"[TREE]", b"[TREE]\x93"))
write("settings", "many-keys.ini",
      "[FindRireki]\r\n" + "".join(f"{i}=検索語{i}\r\n" for i in range(4000)))
write("settings", "long-value.ini", "[Path]\r\nLastOpened=" + "長" * 30000 + "\r\n")
write("settings", "line-ends.ini", "[a]\rk=1\n[A]\r\nK=2\r\n\r\n[ b ]\r\n k = ' x ' \r\n=\r\n[\r\n]\r\n")
