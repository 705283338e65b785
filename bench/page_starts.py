#!/usr/bin/env python3
"""Compares where the pages of two PDF files begin: the first line of every page, as pdftotext
reads it (spaces left out), and the number of pages.

    page_starts.py A.pdf B.pdf

Prints the page counts and the pages whose first lines differ; exits 1 when any do.
"""
import subprocess
import sys


def first_lines(pdf):
    text = subprocess.run(["pdftotext", "-layout", pdf, "-"], capture_output=True, text=True, check=True).stdout
    pages = text.split("\f")
    if pages and not pages[-1].strip():
        pages.pop()
    firsts = []
    for page in pages:
        lines = [line for line in page.split("\n") if line.strip()]
        firsts.append("".join(lines[0].split()) if lines else "")
    return firsts


def main():
    a, b = first_lines(sys.argv[1]), first_lines(sys.argv[2])
    differing = [i for i in range(min(len(a), len(b))) if a[i] != b[i]]
    print(f"pages {len(a)} and {len(b)}; pages whose first lines differ: {len(differing)}")
    for i in differing[:5]:
        print(f"  page {i + 1}: {a[i]} | {b[i]}")
    sys.exit(0 if len(a) == len(b) and not differing else 1)


if __name__ == "__main__":
    main()
