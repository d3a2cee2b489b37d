#!/usr/bin/env bash
# Fails when a C or C++ source of the project is not as .clang-format has it.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files '*.c' '*.cpp' '*.h')
clang-format --dry-run --Werror "${files[@]}"
echo "${#files[@]} files formatted as .clang-format says"
