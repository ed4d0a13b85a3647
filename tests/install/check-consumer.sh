#!/usr/bin/env bash
# Builds a small program against Orvo the two ways a user's project can take
# it: installed and found with find_package(), and added with add_subdirectory().
# An optional third argument is the compiler launcher (a compiler cache) to use.
set -euo pipefail
source_dir=$1
build_dir=$2
launcher=${3:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
consumer_args=(-G Ninja)
if [ -n "$launcher" ]; then consumer_args+=(-DCMAKE_CXX_COMPILER_LAUNCHER="$launcher"); fi

cmake --install "$build_dir" --prefix "$work/prefix" >/dev/null
cmake -S "$source_dir/tests/install/consumer" -B "$work/installed" "${consumer_args[@]}" \
    -DCMAKE_PREFIX_PATH="$work/prefix" >/dev/null
cmake --build "$work/installed" >/dev/null
"$work/installed/consumer"

cmake -S "$source_dir/tests/install/consumer" -B "$work/subdir" "${consumer_args[@]}" \
    -DORVO_SOURCE_DIR="$source_dir" >/dev/null
# Compiling the program's own source is enough here: the libraries are the same
# sources the main build compiled and the installed build above linked. The
# compile command is run alone, as building the object through the build tool
# would first generate the meta-object code of every Orvo library it links.
cd "$work/subdir"
for object in CMakeFiles/consumer.dir/main.cpp.o CMakeFiles/grid-example.dir/gridexample.cpp.o; do
    eval "$(ninja -t commands -s "$object")"
    test -s "$object"
done
