#!/usr/bin/env bash
# Makes the Debian package from a build folder and checks what it installs and what it
# depends on. Argument: the build folder.
set -euo pipefail
build="$1"
source_dir="$(cd "$(dirname "$0")/../.." && pwd)"
rm -f "$build"/hoshinote_*.deb
(cd "$build" && cpack -G DEB >cpack.log 2>&1) || { cat "$build/cpack.log"; exit 1; }
deb=$(ls "$build"/hoshinote_*.deb)
failed=0
fail() { echo "package: $*" >&2; failed=1; }

t=$(mktemp -d)
trap 'rm -rf "$t"' EXIT
dpkg-deb -x "$deb" "$t"
for f in usr/bin/hoshinote usr/bin/hoshinote-start; do
    [ -x "$t/$f" ] || fail "$f missing or not executable"
done
for f in usr/share/applications/hoshinote.desktop usr/share/hoshinote/HoshinoteHelp.html \
    usr/share/icons/hicolor/scalable/apps/hoshinote.svg; do
    [ -f "$t/$f" ] || fail "$f missing"
done
for size in 16 24 32 48 64 128 256; do
    [ -f "$t/usr/share/icons/hicolor/${size}x${size}/apps/hoshinote.png" ] || fail "${size}px icon missing"
done
diff -r "$source_dir/sample" "$t/usr/share/hoshinote/sample" >/dev/null || fail "sample differs from sample/"
desktop-file-validate "$t/usr/share/applications/hoshinote.desktop" || fail "launcher not valid"

depends=$(dpkg-deb -f "$deb" Depends)
for p in libqt6core6 libqt6gui6 libqt6widgets6 fonts-ipafont-gothic qt6-translations-l10n qt6-image-formats-plugins; do
    [[ ", $depends," == *", $p"[\ ,]* ]] || fail "Depends lacks $p: $depends"
done
recommends=$(dpkg-deb -f "$deb" Recommends)
[ "$recommends" = "fcitx5-frontend-qt6" ] || fail "Recommends is '$recommends'"

[ $failed -eq 0 ] || exit 1
echo "Package $(basename "$deb"): contents and dependencies as expected."
