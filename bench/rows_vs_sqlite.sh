#!/usr/bin/env bash
# Times "pagewright-cli rows FILE t --json" against "sqlite3 FILE 'select * from t'" on
# a 1,000,000-row table built by SQLite, best of 3 runs each, and prints the ratio.
#
#   bench/rows_vs_sqlite.sh [ROWS]
#
# Builds Release into build/release unless PW_CLI names a pagewright-cli to use. The
# database is kept in build/bench/ and made again only when ROWS changes.
set -euo pipefail
cd "$(dirname "$0")/.."

rows=${1:-1000000}
cli=${PW_CLI:-build/release/cli/pagewright-cli}
if [[ -z "${PW_CLI:-}" ]]; then
    cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DPW_BUILD_TESTS=OFF \
        -DPW_BUILD_UI=OFF > /dev/null
    cmake --build build/release -j "${PW_JOBS:-2}" --target pagewright-cli > /dev/null
fi
command -v sqlite3 > /dev/null || { echo "sqlite3 is not installed" >&2; exit 1; }

mkdir -p build/bench
db=build/bench/rows_$rows.db
[[ -f $db ]] || python3 bench/make_rows_db.py "$db" "$rows"
echo "database: $db, $(stat -c %s "$db") bytes, $rows rows"

# Milliseconds of the fastest of three runs, output to /dev/null.
best_of_3() {
    local best=0
    for _ in 1 2 3; do
        local start end
        start=$(date +%s%N)
        "$@" > /dev/null 2> /dev/null
        end=$(date +%s%N)
        local ms=$(((end - start) / 1000000))
        if ((best == 0 || ms < best)); then best=$ms; fi
    done
    echo "$best"
}

# Both read the file once before timing, so neither pays for the first read from disk.
cat "$db" > /dev/null
ours=$(best_of_3 "$cli" rows "$db" t --json)
theirs=$(best_of_3 sqlite3 "$db" "select * from t")
echo "pagewright-cli rows --json: ${ours} ms"
echo "sqlite3 select * from t:    ${theirs} ms"
awk -v a="$ours" -v b="$theirs" 'BEGIN { printf "ratio: %.2f (target 1.5 or less)\n", a / b }'
