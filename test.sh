#!/usr/bin/env bash
# Installs what is missing, checks the formatting, builds in Release as users and the package
# do (warnings as errors, Qt's own checks kept on), runs every test, makes and checks the
# Debian package, runs the tests again under AddressSanitizer and UndefinedBehaviorSanitizer,
# then fuzzes the readers.
set -euo pipefail
cd "$(dirname "$0")"
. ./scripts_common.sh
hoshi_need_packages "${HOSHI_BUILD_PACKAGES[@]}" libgtest-dev desktop-file-utils file \
    clang libclang-rt-14-dev lintian appstream
hoshi_need_packages clang-format

# Every tracked C++ file as .clang-format has it.
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror
else
    find . -path './build*' -prune -o \( -name '*.cpp' -o -name '*.h' \) -print0 |
        xargs -0 clang-format --dry-run --Werror
fi

jobs=$(nproc)
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS=-DQT_FORCE_ASSERTS \
    -DHOSHI_WERROR=ON -DHOSHI_TESTS=ON >/dev/null
cmake --build build -j"$jobs"
(cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$jobs" --timeout 300)
tests/app/check_package.sh build

# The tests again with the sanitizers, in a build of their own; any finding, a leak included,
# fails its test (tests/sanitizer/lsan.supp names the libraries whose caches are let be).
sanitize_start=$SECONDS
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1
export LSAN_OPTIONS=suppressions=$PWD/tests/sanitizer/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g1" \
    -DCMAKE_CXX_FLAGS=-DQT_FORCE_ASSERTS -DHOSHI_WERROR=ON -DHOSHI_TESTS=ON -DHOSHI_SANITIZE=ON \
    >/dev/null
cmake --build build-sanitize -j"$jobs"
(cd build-sanitize && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$jobs" --timeout 600)
unset ASAN_OPTIONS LSAN_OPTIONS UBSAN_OPTIONS
echo "The sanitizer build and run took $((SECONDS - sanitize_start)) s."

if command -v clang++ >/dev/null 2>&1; then
    CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DHOSHI_FUZZ=ON \
        -DHOSHI_WERROR=ON >/dev/null
    cmake --build build-fuzz -j"$jobs"
    for f in build-fuzz/fuzz_*; do
        [ -f "$f" ] && [ -x "$f" ] || continue
        corpus="build-fuzz/corpus-$(basename "$f")"
        mkdir -p "$corpus"
        echo "Fuzzing $(basename "$f") for 20 seconds"
        "$f" -max_total_time=20 -max_len=4096 -print_final_stats=0 "$corpus" 2>build-fuzz/$(basename "$f").log \
            || { tail -n 60 build-fuzz/$(basename "$f").log; exit 1; }
    done
fi
echo "All tests passed."
