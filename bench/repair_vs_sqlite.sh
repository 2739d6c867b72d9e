#!/usr/bin/env bash
# Times building the rebuilt database of the 1,000,000-row table with
# "pagewright-cli repair" against "sqlite3 SRC .dump | sqlite3 NEW", best of 3 runs
# each, and prints the ratio.
#
#   bench/repair_vs_sqlite.sh [ROWS]
set -euo pipefail
cd "$(dirname "$0")/.."
rows=${1:-1000000}
source bench/common.sh

out=build/bench/repaired_$rows.db
dumped=build/bench/dumped_$rows.db
ours=$(best_of_3 "'$cli' repair '$db' --yes --out '$out'")
theirs=$(best_of_3 "rm -f '$dumped'; sqlite3 '$db' .dump | sqlite3 '$dumped'")
echo "pagewright-cli repair:           ${ours} ms"
echo "sqlite3 .dump | sqlite3 (new):   ${theirs} ms"
ratio "$ours" "$theirs" 0.5
rows_out=$(sqlite3 "$out" "select count(*) from t")
echo "rows in the rebuilt table: $rows_out"
