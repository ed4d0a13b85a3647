#!/usr/bin/env bash
# Builds the grid benchmark, makes the million-row table once (shared with the dataset
# benchmark), measures every variant and writes its section of docs/performance.md.
#   ORVO_BUILD_DIR (default build), ORVO_BENCH_ROWS (1000000), ORVO_BENCH_REPEATS (3)
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${ORVO_BUILD_DIR:-build}
rows=${ORVO_BENCH_ROWS:-1000000}
repeats=${ORVO_BENCH_REPEATS:-3}

cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=${ORVO_BUILD_TYPE:-RelWithDebInfo} >/dev/null
cmake --build "$build_dir" --parallel 2 --target bench_grid orvo-sampledb

db="$build_dir/benchmarks/bigorders-$rows.db"
if [[ ! -f $db ]]; then
    echo "Generating $rows orders into $db"
    rm -f "$db.part"
    "$build_dir/tools/sampledb/orvo-sampledb" --path "$db.part" --big-orders "$rows" >/dev/null
    mv "$db.part" "$db"
fi
# Every variant should read from memory, not from the disk the first one warmed.
cat "$db" >/dev/null

QT_QPA_PLATFORM=offscreen "$build_dir/benchmarks/bench_grid" --db "$db" --repeats "$repeats" \
    --report docs/performance.md
echo "Wrote the grid section of docs/performance.md"
