#!/usr/bin/env bash
# Measures sorting the million-row table and random access through a query, and writes
# their section of docs/performance.md.
set -euo pipefail
source "$(dirname "$0")/bench-common.sh"
prepare_benchmark bench_sorting
"$build_dir/benchmarks/bench_sorting" --db "$db" --repeats "$repeats" \
    --report docs/performance.md --notes benchmarks/sorting-notes.md
