#!/usr/bin/env bash
# Sets up, checks the code's layout, builds and runs every test: game logic headless, the window and sound layers on SDL's dummy
# and disk drivers, and the whole program under Xvfb driven by xdotool. Then the headless tests once more,
# built with AddressSanitizer and UndefinedBehaviorSanitizer (in build-sanitize/): any report fails them.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
"$here/setup.sh"
# Every source file in the one layout of .clang-format.
(cd "$here" && git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run -Werror)
"$here/build.sh"
(cd "$here/build" && ctest --output-on-failure -j2 --timeout 600)

cmake -S "$here" -B "$here/build-sanitize" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKWIBBEL_SANITIZE=ON >/dev/null
cmake --build "$here/build-sanitize" -j2 --target headless_tests
cd "$here/build-sanitize"
# Leaks inside the system's own libraries (the X, font and sound stacks) are theirs; ours are reported.
export LSAN_OPTIONS="suppressions=$here/tests/lsan.supp:print_suppressions=0"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
ctest --output-on-failure -j2 --timeout 600 -L headless
