#!/usr/bin/env bash
# Builds the program and opens it, through the same launcher as the menu entry, in the working
# folder ~/.local/share/hoshinote/catalogue (or $HOSHINOTE_FOLDER), made from the sample
# catalogue on first run (an existing folder is never overwritten). Needs a graphical session.
set -euo pipefail
cd "$(dirname "$0")"
. ./scripts_common.sh
hoshi_need_packages "${HOSHI_BUILD_PACKAGES[@]}"
cmake -S . -B build-run -DCMAKE_BUILD_TYPE=Release -DHOSHI_TESTS=OFF -DHOSHI_WERROR=OFF >/dev/null
cmake --build build-run -j"$(nproc)" --target hoshinote
cmake --install build-run --prefix build-run/installed >/dev/null
exec build-run/installed/bin/hoshinote-start
