#!/usr/bin/env bash
# Builds the program and opens it in the working folder ~/.local/share/hoshinote/catalogue,
# made from the sample catalogue on first run (an existing folder is never overwritten).
set -euo pipefail
cd "$(dirname "$0")"
. ./scripts_common.sh
hoshi_need_packages "${HOSHI_BUILD_PACKAGES[@]}"
cmake -S . -B build-run -DCMAKE_BUILD_TYPE=Release -DHOSHI_TESTS=OFF -DHOSHI_WERROR=OFF >/dev/null
cmake --build build-run -j"$(nproc)" --target hoshinote
folder="${HOSHINOTE_FOLDER:-$HOME/.local/share/hoshinote/catalogue}"
if [ ! -e "$folder" ]; then
    mkdir -p "$(dirname "$folder")"
    cp -r sample "$folder"
    cp help/* "$folder"/ 2>/dev/null || true
    echo "Made the working folder $folder from the sample catalogue."
fi
cd "$folder"
exec "$OLDPWD/build-run/hoshinote"
