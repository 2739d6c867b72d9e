# Shared by the bench scripts: a Release pagewright-cli, the benchmark table, and a
# timer. Source it after "cd" to the repository's top folder, with rows set.
#
# The table is made by SQLite (bench/make_rows_db.py): id INTEGER PRIMARY KEY, name
# TEXT, qty INTEGER, price REAL, note TEXT. It is kept in build/bench/ and made again
# only when the row count changes.

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
# Read once before timing, so that no run pays for the first read from disk.
cat "$db" > /dev/null

# Milliseconds of the fastest of three runs of a shell command, output discarded.
best_of_3() {
    local best=0
    for _ in 1 2 3; do
        local start end
        start=$(date +%s%N)
        bash -c "$1" > /dev/null 2> /dev/null
        end=$(date +%s%N)
        local ms=$(((end - start) / 1000000))
        if ((best == 0 || ms < best)); then best=$ms; fi
    done
    echo "$best"
}

ratio() { awk -v a="$1" -v b="$2" -v t="$3" 'BEGIN { printf "ratio: %.2f (target %s or less)\n", a / b, t }'; }
