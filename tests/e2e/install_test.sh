#!/usr/bin/env bash
# Usage: install_test.sh BUILD_DIR
# Installing puts the program, its chime, its icons and valid desktop metadata where desktops
# look for them.
set -euo pipefail
build=$(realpath "$1")
for tool in desktop-file-validate appstreamcli; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIPPED: $tool is not installed (scripts/install-deps installs it)"
        exit 77
    fi
done
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
DESTDIR="$stage" cmake --install "$build" --prefix /usr >/dev/null

id=io.github.brindle.Brindle
for file in bin/brindle share/man/man1/brindle.1.gz share/brindle/S_Timer.wav \
    share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
    share/icons/hicolor/scalable/apps/$id.svg share/icons/hicolor/48x48/apps/$id.png \
    share/icons/hicolor/32x32/apps/$id.png; do
    [ -s "$stage/usr/$file" ] || fail "$file is not installed"
done
[ -x "$stage/usr/bin/brindle" ] || fail "the program is not executable"
desktop-file-validate "$stage/usr/share/applications/$id.desktop" || fail "invalid desktop entry"
appstreamcli validate --no-net "$stage/usr/share/metainfo/$id.metainfo.xml" ||
    fail "invalid AppStream metadata"
grep -q "^Icon=$id\$" "$stage/usr/share/applications/$id.desktop" ||
    fail "the desktop entry names another icon"
grep -q "^Exec=brindle\$" "$stage/usr/share/applications/$id.desktop" ||
    fail "the desktop entry starts another program"
# The manual describes every option the program offers.
options=$("$stage/usr/bin/brindle" --help | grep -o -- ' --[a-z]*') || fail "--help failed"
for option in $options; do
    zcat "$stage/usr/share/man/man1/brindle.1.gz" | grep -qF -- "\\-\\-${option#--}" ||
        fail "the manual does not describe $option"
done
echo "PASS"
