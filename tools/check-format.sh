#!/bin/sh
# Checks the house style of .clang-format on every C++ source of the tree, or applies it with
# --fix. The sources are found without version control, so that a release tarball is checked
# too; with nothing to check, or no clang-format to check with, the check is skipped (77).
set -eu
cd "$(dirname "$0")/.."
files=$(find . -type d \( -name 'build*' -o -name 'obj-*' -o -name '.?*' \) -prune -o \
    -type f \( -name '*.cpp' -o -name '*.h' \) -print | sort)
if [ -z "$files" ]; then
    echo "no C++ sources here to check"
    exit 77
fi
if ! command -v clang-format >/dev/null; then
    echo "clang-format is not installed"
    exit 77
fi
if [ "${1-}" = --fix ]; then
    exec clang-format -i $files
fi
exec clang-format --dry-run -Werror $files
