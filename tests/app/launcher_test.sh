#!/usr/bin/env bash
# The launcher on a fake installed tree: the first start makes the catalogue from
# the sample and the help document and starts the program in it; a later start
# leaves the user's files as they are, but renews a help document older than the
# installed one.
# Arguments: the configured launcher, the path from its bin folder to the shared files.
set -euo pipefail
launcher="$1" share_from_bin="$2"
t=$(mktemp -d)
trap 'rm -rf "$t"' EXIT
mkdir -p "$t/bin" "$t/home" "$t/bin/$share_from_bin/sample"
share="$t/bin/$share_from_bin"
cp "$launcher" "$t/bin/hoshinote-start"
printf '#!/bin/sh\npwd >>"$HOME/started-in"\n' >"$t/bin/hoshinote"
chmod +x "$t/bin/hoshinote-start" "$t/bin/hoshinote"
printf 'sample\r\n' >"$share/sample/データ.TXT"
printf '<html></html>' >"$share/HoshinoteHelp.html"

run() { env -u XDG_DATA_HOME -u HOSHINOTE_FOLDER HOME="$t/home" "$t/bin/hoshinote-start"; }
folder="$t/home/.local/share/hoshinote/catalogue"
fail() { echo "FAILED: $*" >&2; exit 1; }

run
[ "$(cat "$t/home/started-in")" = "$folder" ] || fail "first start ran in $(cat "$t/home/started-in")"
cmp -s "$folder/データ.TXT" "$share/sample/データ.TXT" || fail "sample not copied"
[ -f "$folder/HoshinoteHelp.html" ] || fail "help document not copied"
[ -z "$(find "$t/home/.local/share/hoshinote" -name '.catalogue-new.*')" ] || fail "leftover"

printf 'mine\r\n' >"$folder/データ.TXT"
rm "$folder/HoshinoteHelp.html"
run
[ "$(tail -n 1 "$t/home/started-in")" = "$folder" ] || fail "second start ran elsewhere"
[ "$(cat "$folder/データ.TXT")" = $'mine\r' ] || fail "user's file overwritten"
[ ! -e "$folder/HoshinoteHelp.html" ] || fail "an existing folder was changed"

printf '<html>old</html>' >"$folder/HoshinoteHelp.html"
touch -d '2001-01-01' "$folder/HoshinoteHelp.html"
run
cmp -s "$folder/HoshinoteHelp.html" "$share/HoshinoteHelp.html" || fail "old help not renewed"
[ "$(cat "$folder/データ.TXT")" = $'mine\r' ] || fail "user's file changed with the help"
touch -d '2010-01-01' "$share/HoshinoteHelp.html"
printf '<html>mine</html>' >"$folder/HoshinoteHelp.html"  # newer than the installed one
run
[ "$(cat "$folder/HoshinoteHelp.html")" = '<html>mine</html>' ] || fail "newer help replaced"
[ -z "$(find "$folder" -name '.help-new.*')" ] || fail "leftover help copy"
