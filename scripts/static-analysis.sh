#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# cppcheck (warning, performance and portability checks) and clang-tidy (the checks in
# .clang-tidy) over src/ and sim/. Any finding fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
# clang-tidy needs the compile commands (and the generated moc headers) of a build.
[ -f build/compile_commands.json ] || bash scripts/build.sh

echo "== cppcheck"
cppcheck --enable=warning,performance,portability --std=c++17 --library=qt --inline-suppr \
    --quiet --error-exitcode=1 --suppress=missingIncludeSystem -I src src sim

echo "== clang-tidy"
find src sim -name '*.cpp' -print0 |
    xargs -0 -P"$(nproc)" -n4 clang-tidy -p build --quiet 2>/dev/null |
    tee build/clang-tidy.log
if grep -qE "(warning|error):" build/clang-tidy.log; then
    echo "clang-tidy found the problems above"
    exit 1
fi
echo "static analysis clean"
