#!/usr/bin/env bash
# Installs what is missing, builds in Release as users and the package do (warnings as errors,
# Qt's own checks kept on), runs every test, makes and checks the Debian package, then fuzzes
# the readers.
set -euo pipefail
cd "$(dirname "$0")"
. ./scripts_common.sh
hoshi_need_packages "${HOSHI_BUILD_PACKAGES[@]}" libgtest-dev desktop-file-utils file \
    clang libclang-rt-14-dev lintian appstream

jobs=$(nproc)
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS=-DQT_FORCE_ASSERTS \
    -DHOSHI_WERROR=ON -DHOSHI_TESTS=ON >/dev/null
cmake --build build -j"$jobs"
(cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$jobs" --timeout 300)
tests/app/check_package.sh build

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
