#!/bin/sh
# Installs the Debian packages that the build, the game and the tests need.
# Quiet and quick when everything is already present.
set -e
packages="cmake make g++ pkg-config libgtest-dev libgmock-dev zlib1g-dev libpng-dev libjpeg-dev
libsdl2-dev libepoxy-dev libvorbis-dev libcurl4-openssl-dev"

missing=""
for p in $packages; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0

if [ "$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi
echo "install-deps: installing$missing"
$sudo apt-get update -qq
# shellcheck disable=SC2086
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing >/dev/null
