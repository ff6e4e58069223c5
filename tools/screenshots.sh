#!/usr/bin/env bash
# Starts the program on a copy of the sample catalogue under Xvfb and saves a PNG
# of every screen into the given folder (default: build-shots/shots).
set -euo pipefail
cd "$(dirname "$0")/.."
. ./scripts_common.sh
hoshi_need_packages "${HOSHI_BUILD_PACKAGES[@]}" xvfb xauth
out="$(realpath -m "${1:-build-shots/shots}")"
cmake -S . -B build-shots -DCMAKE_BUILD_TYPE=Release -DHOSHI_TESTS=OFF -DHOSHI_WERROR=OFF >/dev/null
cmake --build build-shots -j"$(nproc)" --target hoshi_screenshots
work="$(mktemp -d)"
cp -r sample/. "$work"/
cp help/* "$work"/ 2>/dev/null || true
rm -rf "$out"
xvfb-run -a -s "-screen 0 1280x800x24" build-shots/hoshi_screenshots "$work" "$out"
rm -rf "$work"
