#!/usr/bin/env bash
# Makes the Debian package from a build folder and checks what it installs and what it
# depends on, then runs lintian on it: any error fails, warnings are shown.
# Argument: the build folder.
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
for f in usr/share/applications/io.github.hoshinote.desktop usr/share/hoshinote/HoshinoteHelp.html \
    usr/share/icons/hicolor/scalable/apps/hoshinote.svg usr/share/metainfo/io.github.hoshinote.metainfo.xml \
    usr/share/doc/hoshinote/copyright usr/share/doc/hoshinote/changelog.gz \
    usr/share/man/man1/hoshinote.1.gz usr/share/man/ja/man1/hoshinote.1.gz \
    usr/share/man/man1/hoshinote-start.1.gz; do
    [ -f "$t/$f" ] || fail "$f missing"
done
for size in 16 24 32 48 64 128 256; do
    [ -f "$t/usr/share/icons/hicolor/${size}x${size}/apps/hoshinote.png" ] || fail "${size}px icon missing"
done
diff -r "$source_dir/sample" "$t/usr/share/hoshinote/sample" >/dev/null || fail "sample differs from sample/"
desktop-file-validate "$t/usr/share/applications/io.github.hoshinote.desktop" || fail "launcher not valid"
appstreamcli validate --no-net "$t/usr/share/metainfo/io.github.hoshinote.metainfo.xml" >/dev/null ||
    fail "metainfo not valid"

depends=$(dpkg-deb -f "$deb" Depends)
for p in libqt6core6 libqt6gui6 libqt6widgets6 fonts-ipafont-gothic qt6-translations-l10n qt6-image-formats-plugins; do
    [[ ", $depends," == *", $p"[\ ,]* ]] || fail "Depends lacks $p: $depends"
done
recommends=$(dpkg-deb -f "$deb" Recommends)
[ "$recommends" = "qt6-wayland, fcitx5, fcitx5-frontend-qt6, fcitx5-mozc | ibus-mozc" ] ||
    fail "Recommends is '$recommends'"
maintainer=$(dpkg-deb -f "$deb" Maintainer)
[[ "$maintainer" =~ ^[^@\<]+\ \<[^@]+@[a-z0-9.-]+\.[a-z]+\>$ && "$maintainer" != *localhost* ]] ||
    fail "Maintainer is '$maintainer'"

# Lintian as root warns that it runs as root; that is no finding of the package.
findings=$(lintian --allow-root --no-tag-display-limit "$deb" 2>&1 | grep -E '^[EW]: ' || true)
[ -z "$findings" ] || echo "$findings"
if grep -q '^E: ' <<<"$findings"; then fail "lintian reports errors"; fi

[ $failed -eq 0 ] || exit 1
echo "Package $(basename "$deb"): contents and dependencies as expected."
