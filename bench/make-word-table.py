#!/usr/bin/env python3
"""Writes a word-by-document table in the long format (row,column,count) for
timing `quarnet-report --long`: WORDS words, DOCS documents, CELLS distinct
nonzero cells. Words are drawn by a Zipf-like law (weight 1/rank), so a few
words sit in most documents and most words in a few; counts follow the same
skew. Every word and every document gets at least one cell. Deterministic.

usage: make-word-table.py OUT.csv [WORDS DOCS CELLS]   (default 20000 50000 2000000)
"""
import bisect
import itertools
import random
import sys

out = sys.argv[1]
words, docs, cells = (int(a) for a in sys.argv[2:5]) if len(sys.argv) > 2 else (20000, 50000, 2000000)
rng = random.Random(20)
cumulative = list(itertools.accumulate(1.0 / r for r in range(1, words + 1)))
total = cumulative[-1]
perDoc = cells // docs
extra = cells - perDoc * docs

with open(out, "w", encoding="utf-8") as f:
    f.write("word,doc,count\n")
    nextWord = 0  # the words not yet used, handed out first so none stays empty
    for d in range(docs):
        need = perDoc + (1 if d < extra else 0)
        chosen = set()
        while len(chosen) < need and nextWord < words:
            chosen.add(nextWord)
            nextWord += 1
        while len(chosen) < need:
            chosen.add(bisect.bisect_left(cumulative, rng.random() * total))
        for w in sorted(chosen):
            # Pareto draws are >= 1: no zero cell; the leading words count more.
            count = int(rng.paretovariate(1.5) * (3 if w < 100 else 1))
            f.write(f"w{w + 1},d{d + 1},{min(count, 100000)}\n")
