#!/usr/bin/env python3
"""Builds the benchmark table with SQLite: t(id INTEGER PRIMARY KEY, name TEXT,
qty INTEGER, price REAL, note TEXT), 1,000,000 rows by default (about 46 MiB).

usage: make_rows_db.py PATH [ROWS]
"""
import os
import random
import sqlite3
import sys


def main():
    path = sys.argv[1]
    rows = int(sys.argv[2]) if len(sys.argv) > 2 else 1_000_000
    if os.path.exists(path):
        os.remove(path)
    rng = random.Random(20240601)
    words = ["alpha", "bravo", "charlie", "delta", "echo", "foxtrot", "golf", "hotel"]
    db = sqlite3.connect(path)
    db.execute("PRAGMA page_size=4096")
    db.execute("CREATE TABLE t(id INTEGER PRIMARY KEY, name TEXT, qty INTEGER, price REAL, note TEXT)")

    def generate():
        for i in range(1, rows + 1):
            yield (i, "cust%06d" % rng.randrange(1_000_000), rng.randrange(1, 5000),
                   rng.randrange(1, 10_000_000) / 100.0,
                   "%s %s %d" % (rng.choice(words), rng.choice(words), rng.randrange(1000)))

    db.executemany("INSERT INTO t VALUES(?,?,?,?,?)", generate())
    db.commit()
    db.close()


if __name__ == "__main__":
    main()
