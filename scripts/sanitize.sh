#!/usr/bin/env bash
# Builds Orvo with AddressSanitizer and UndefinedBehaviorSanitizer into build-sanitize/
# (or $ORVO_SANITIZE_DIR) and runs the test suite there. Any report of either
# sanitizer fails the test that caused it. The install and formatting checks are
# left out: they do not run Orvo's code.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${ORVO_SANITIZE_DIR:-build-sanitize}
flags="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=g++ -DCMAKE_CXX_FLAGS="$flags" \
    -DCMAKE_EXE_LINKER_FLAGS="$flags" -DCMAKE_SHARED_LINKER_FLAGS="$flags" \
    -DORVO_BUILD_FUZZ=OFF -DORVO_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build "$build_dir" --parallel "$(nproc)"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:strict_string_checks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
ctest --test-dir "$build_dir" --output-on-failure --parallel "$(nproc)" \
    -E '^(install_consumer|clang_format)$' "$@"
