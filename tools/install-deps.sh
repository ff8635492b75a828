#!/bin/sh
# Installs the Debian packages of tools/debian-packages.txt that are not installed yet,
# as root or through sudo. Does nothing when everything is there.
set -eu
list="$(dirname "$0")/debian-packages.txt"
missing=""
for pkg in $(grep -v '^#' "$list"); do
    status=$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null || true)
    case "$status" in
        *"install ok installed"*) ;;
        *) missing="$missing $pkg" ;;
    esac
done
[ -z "$missing" ] && exit 0
echo "Installing missing packages:$missing"
if [ "$(id -u)" -eq 0 ]; then
    as_root=""
elif command -v sudo >/dev/null 2>&1; then
    as_root="sudo"
else
    echo "Missing packages:$missing; run as root or install sudo." >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
$as_root apt-get update -qq || true
$as_root apt-get install -y -qq --no-install-recommends $missing
