#!/usr/bin/env python3
"""Makes samples/damaged_orders.db: a small shop database built by SQLite (400 orders
over several pages, two indexes, a view, a trigger), then damaged by zeroing one leaf
page of the orders table, as a failing disk or a bad copy might. SQLite reports the
file as malformed when the lost page is read; Pagewright shows every other row.

usage: samples/make_damaged_orders.py [PATH]
"""
import os
import random
import sqlite3
import struct
import sys

PAGE_SIZE = 1024


def leaf_pages(data, root):
    """The table leaves under root, in b-tree order."""
    leaves, stack = [], [root]
    while stack:
        page = stack.pop()
        start = (page - 1) * PAGE_SIZE
        header = start + (100 if page == 1 else 0)
        kind = data[header]
        if kind == 13:
            leaves.append(page)
        elif kind == 5:
            count = struct.unpack(">H", data[header + 3:header + 5])[0]
            children = []
            for i in range(count):
                pointer = struct.unpack(">H", data[header + 12 + 2 * i:header + 14 + 2 * i])[0]
                children.append(struct.unpack(">I", data[start + pointer:start + pointer + 4])[0])
            children.append(struct.unpack(">I", data[header + 8:header + 12])[0])
            stack.extend(reversed(children))
    return leaves


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    path = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "damaged_orders.db")
    if os.path.exists(path):
        os.remove(path)
    rng = random.Random(7)
    customers = ["Ada Lovelace", "Alan Turing", "Grace Hopper", "Edsger Dijkstra", "Barbara Liskov",
                 "Donald Knuth", "Frances Allen", "Ken Thompson", "Margaret Hamilton", "Niklaus Wirth",
                 "Seamus O'Brien"]
    products = ["keyboard", "monitor", "mouse", "laptop stand", "usb cable", "headset", "webcam",
                "desk lamp", "notebook", "fountain pen"]

    db = sqlite3.connect(path)
    db.execute("PRAGMA page_size=%d" % PAGE_SIZE)
    db.executescript("""
        CREATE TABLE orders(id INTEGER PRIMARY KEY, customer TEXT NOT NULL, product TEXT,
                            qty INTEGER, price REAL, ordered_at TEXT, note TEXT);
        CREATE TABLE order_log(order_id INTEGER, logged_at TEXT);
        CREATE INDEX orders_customer ON orders(customer);
        CREATE INDEX orders_product ON orders(product, qty);
        CREATE VIEW big_orders AS SELECT id, customer, qty * price AS total FROM orders
            WHERE qty * price > 500;
        CREATE TRIGGER log_order AFTER INSERT ON orders
            BEGIN INSERT INTO order_log VALUES(new.id, new.ordered_at); END;
    """)
    for i in range(1, 401):
        db.execute("INSERT INTO orders VALUES(?,?,?,?,?,?,?)",
                   (i, rng.choice(customers), rng.choice(products), rng.randrange(1, 20),
                    rng.randrange(199, 99999) / 100.0,
                    "2024-%02d-%02d" % (rng.randrange(1, 13), rng.randrange(1, 29)),
                    None if rng.random() < 0.7 else "gift wrap"))
    db.commit()
    root = db.execute("SELECT rootpage FROM sqlite_master WHERE name='orders'").fetchone()[0]
    db.close()

    with open(path, "r+b") as f:
        data = f.read()
        leaves = leaf_pages(data, root)
        lost = leaves[len(leaves) // 3]
        f.seek((lost - 1) * PAGE_SIZE)
        f.write(bytes(PAGE_SIZE))
    print("%s: %d leaf pages of orders, page %d zeroed" % (path, len(leaves), lost))


if __name__ == "__main__":
    main()
