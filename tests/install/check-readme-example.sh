#!/usr/bin/env bash
# The README's first example must be tests/install/consumer/gridexample.cpp word for
# word: install_consumer compiles and links that file, so the README stays true.
set -euo pipefail
source_dir=$1
example=tests/install/consumer/gridexample.cpp
# The fenced block that follows the marker line naming the file.
quoted=$(awk -v marker="<!-- $example -->" '
    $0 == marker { found = 1; next }
    found && !inside && /^```cpp$/ { inside = 1; next }
    inside && /^```$/ { exit }
    inside { print }' "$source_dir/README.md")
if [ -z "$quoted" ]; then
    echo "README.md quotes no block after '<!-- $example -->'" >&2
    exit 1
fi
diff -u "$source_dir/$example" <(printf '%s\n' "$quoted")
