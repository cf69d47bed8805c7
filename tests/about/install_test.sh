#!/bin/sh
# Installs the build into a fresh prefix and checks what a desktop needs is there.
#   usage: install_test.sh BUILD_DIR CMAKE
set -eu
build=$1
cmake=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

"$cmake" --install "$build" --prefix "$prefix" >/dev/null
fail=0
check() { if ! "$@"; then echo "FAILED: $*"; fail=1; fi; }

check test -x "$prefix/bin/tovrik"
check test -x "$prefix/bin/tovrik-cut"
check test -f "$prefix/share/applications/tovrik.desktop"
for size in 16 32 48 64; do
    icon="$prefix/share/icons/hicolor/${size}x${size}/apps/tovrik.png"
    check test -f "$icon"
    # The PNG header holds the width as a 32-bit big-endian number at byte 16.
    width=$(od -An -tu1 -j16 -N4 "$icon" | awk '{ print $1 * 16777216 + $2 * 65536 + $3 * 256 + $4 }')
    check test "$width" = "$size"
done
check desktop-file-validate "$prefix/share/applications/tovrik.desktop"
check grep -q '^Name\[ja\]=Mac ファイルヘッダカット$' "$prefix/share/applications/tovrik.desktop"
check test "$("$prefix/bin/tovrik-cut" --version)" = "tovrik 2.00"
[ $fail -eq 0 ] && echo "install tree complete"
exit $fail
