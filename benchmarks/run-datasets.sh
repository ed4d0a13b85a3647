#!/usr/bin/env bash
# Measures the datasets over the million-row table and writes docs/performance.md.
set -euo pipefail
source "$(dirname "$0")/bench-common.sh"
prepare_benchmark bench_datasets
"$build_dir/benchmarks/bench_datasets" --db "$db" --repeats "$repeats" \
    --report docs/performance.md --notes benchmarks/performance-notes.md
