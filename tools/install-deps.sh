#!/bin/sh
# Installs the Debian packages listed in debian-packages.txt that are missing:
# with apt-get when run as root, through sudo otherwise.
set -eu
list="$(dirname "$0")/debian-packages.txt"
packages=$(sed -e 's/#.*//' -e '/^[[:space:]]*$/d' "$list" | tr '\n' ' ')

if ! command -v dpkg-query >/dev/null 2>&1 || ! command -v apt-get >/dev/null 2>&1; then
    echo "tovrik: this system has no apt-get; install these packages (Debian names) or their equivalents by hand:" >&2
    echo "  $packages" >&2
    exit 0
fi

missing=""
for p in $packages; do
    status=$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)
    [ "$status" = installed ] || missing="$missing $p"
done
[ -z "$missing" ] && exit 0

echo "tovrik: installing missing packages:$missing"
if [ "$(id -u)" -eq 0 ]; then
    run=""
elif command -v sudo >/dev/null 2>&1; then
    run="sudo"
else
    echo "tovrik: not root and no sudo; install these packages first:$missing" >&2
    exit 1
fi
$run env DEBIAN_FRONTEND=noninteractive apt-get update -q
# shellcheck disable=SC2086
$run env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends $missing
