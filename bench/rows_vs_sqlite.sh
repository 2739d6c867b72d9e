#!/usr/bin/env bash
# Times "pagewright-cli rows FILE t --json" against "sqlite3 FILE 'select * from t'" on
# a 1,000,000-row table built by SQLite, best of 3 runs each, and prints the ratio.
#
#   bench/rows_vs_sqlite.sh [ROWS]
#
# Builds Release into build/release unless PW_CLI names a pagewright-cli to use.
set -euo pipefail
cd "$(dirname "$0")/.."
rows=${1:-1000000}
source bench/common.sh

ours=$(best_of_3 "'$cli' rows '$db' t --json")
theirs=$(best_of_3 "sqlite3 '$db' 'select * from t'")
echo "pagewright-cli rows --json: ${ours} ms"
echo "sqlite3 select * from t:    ${theirs} ms"
ratio "$ours" "$theirs" 1.5
