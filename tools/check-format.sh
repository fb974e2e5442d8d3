#!/usr/bin/env bash
# Fails when a C++ source is not formatted by the repository's .clang-format.
set -euo pipefail
cd "$(dirname "$0")/.."
files=$(find $(ls -d hook manager tests tools 2>/dev/null) -name '*.cpp' -o -name '*.h' | sort)
clang-format --dry-run -Werror $files
echo "$(echo "$files" | wc -l) files formatted"
