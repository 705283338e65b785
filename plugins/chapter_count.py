#!/usr/bin/env python3
"""OLVEK plug-in: the character count of each chapter.

OLVEK hands over the document as a dotted text (UTF-8): a line that begins with dots is a
title, one dot for the book's title, two for a chapter, more for the sections inside it. This
script counts the characters of the body lines (line ends and spaces left out) of each chapter,
sections included, and the 400-character manuscript pages they fill, and writes the table to
a text file beside the work file ("<work file>.count.txt"), or to the file given with --out.

Usage: chapter_count.py [--out FILE] WORKFILE
"""
import math
import sys


def count(lines):
    """(title, characters) per chapter in order; text before the first chapter counts as '(前書き)'."""
    chapters = []
    current = None
    for line in lines:
        dots = len(line) - len(line.lstrip('.'))
        if dots == 1:
            continue
        if dots == 2:
            current = [line[2:].strip(), 0]
            chapters.append(current)
            continue
        if dots > 2:
            continue
        if current is None:
            current = ['(前書き)', 0]
            chapters.append(current)
        current[1] += sum(1 for c in line if not c.isspace())
    return chapters


def report(chapters):
    out = ['章\t文字数\t原稿用紙(400字)']
    total = 0
    for title, chars in chapters:
        total += chars
        out.append(f'{title}\t{chars}\t{math.ceil(chars / 400)}')
    out.append(f'合計\t{total}\t{math.ceil(total / 400)}')
    return '\n'.join(out) + '\n'


def main(argv):
    args = argv[1:]
    target = None
    if len(args) >= 2 and args[0] == '--out':
        target = args[1]
        args = args[2:]
    if len(args) != 1:
        sys.stderr.write(__doc__)
        return 2
    work = args[0]
    with open(work, encoding='utf-8-sig') as f:
        lines = f.read().splitlines()
    text = report(count(lines))
    with open(target or work + '.count.txt', 'w', encoding='utf-8') as f:
        f.write(text)
    sys.stdout.write(text)
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
