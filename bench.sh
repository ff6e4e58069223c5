#!/usr/bin/env bash
# Builds in Release and prints one line per figure, "name milliseconds", then the peak memory.
set -euo pipefail
cd "$(dirname "$0")"
. ./scripts_common.sh
hoshi_need_packages "${HOSHI_BUILD_PACKAGES[@]}" libbenchmark-dev
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DHOSHI_TESTS=OFF -DHOSHI_BENCH=ON -DHOSHI_WERROR=ON >/dev/null
cmake --build build-bench -j"$(nproc)" --target hoshi_bench hoshinote
QT_QPA_PLATFORM=offscreen build-bench/hoshi_bench --benchmark_format=json --benchmark_out=build-bench/bench.json \
    --benchmark_out_format=json >/dev/null
python3 - build-bench/bench.json <<'PY'
import json, sys
data = json.load(open(sys.argv[1]))
for b in data["benchmarks"]:
    if b.get("run_type") == "aggregate":
        continue
    scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[b["time_unit"]]
    print(f'{b["name"].split("/")[0]} {b["real_time"] * scale:.2f}')
    if "peak_rss_mb" in b:
        peak = b["peak_rss_mb"]
print(f'peak_memory_mb {max(b.get("peak_rss_mb", 0) for b in data["benchmarks"]):.1f}')
PY
