#!/usr/bin/env bash
# Builds in Release and prints one line per figure, "name milliseconds", then the peak memory.
set -euo pipefail
cd "$(dirname "$0")"
. ./scripts_common.sh
hoshi_need_packages "${HOSHI_BUILD_PACKAGES[@]}" libbenchmark-dev
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DHOSHI_TESTS=OFF -DHOSHI_BENCH=ON -DHOSHI_WERROR=OFF >/dev/null
cmake --build build-bench -j"$(nproc)" --target hoshi_bench hoshinote
QT_QPA_PLATFORM=offscreen build-bench/hoshi_bench "$@"
