#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the whole test suite a second time with AddressSanitizer and
# UndefinedBehaviorSanitizer and runs it. Any report fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
BUILD_DIR=build-sanitized BUILD_TYPE=Debug bash scripts/build.sh -DLCRPANEL_SANITIZE=ON
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$PWD/tests/sanitizer/lsan.supp:print_suppressions=0"
cd build-sanitized
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2 | tee ctest.log
