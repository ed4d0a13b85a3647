# Sourced by the run scripts: builds one benchmark and the sample-data tool, makes the
# million-row table once (kept in the build folder and shared by every benchmark) and
# reads it once so that every variant measures from memory, not from a cold disk.
#   ORVO_BUILD_DIR (default build), ORVO_BENCH_ROWS (1000000), ORVO_BENCH_REPEATS (3)
cd "$(dirname "${BASH_SOURCE[0]}")/.."
build_dir=${ORVO_BUILD_DIR:-build}
rows=${ORVO_BENCH_ROWS:-1000000}
repeats=${ORVO_BENCH_REPEATS:-3}
db="$build_dir/benchmarks/bigorders-$rows.db"

prepare_benchmark() {
    cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=${ORVO_BUILD_TYPE:-RelWithDebInfo} >/dev/null
    cmake --build "$build_dir" --parallel 2 --target "$1" orvo-sampledb
    if [[ ! -f $db ]]; then
        echo "Generating $rows orders into $db"
        rm -f "$db.part"
        "$build_dir/tools/sampledb/orvo-sampledb" --path "$db.part" --big-orders "$rows" >/dev/null
        mv "$db.part" "$db"
    fi
    cat "$db" >/dev/null
}
