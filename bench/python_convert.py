#!/usr/bin/env python3
"""The reference for bench/run_convert: load a document with Python's json module and write it
back compactly.   python_convert.py IN OUT"""
import json
import sys

with open(sys.argv[1], encoding="utf-8") as f:
    document = json.load(f)
with open(sys.argv[2], "w", encoding="utf-8") as f:
    f.write(json.dumps(document, ensure_ascii=False, separators=(",", ":")))
