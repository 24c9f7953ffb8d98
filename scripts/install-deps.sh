#!/bin/sh
# Installs the Debian packages that the build, the game and the tests need,
# and the decimal-comma locale the tests use to prove that number text does
# not follow the locale. Quiet and quick when everything is already present.
set -e
packages="cmake make g++ pkg-config libgtest-dev libgmock-dev zlib1g-dev libpng-dev libjpeg-dev
libsdl2-dev libx11-dev libepoxy-dev libvorbis-dev libcurl4-openssl-dev libbenchmark-dev
libgl1-mesa-dri libegl-mesa0 libegl1 locales openssl
libfreetype-dev fonts-dejavu-core fonts-dancingscript python3"
test_locale=de_DE.UTF-8

if [ "$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi

missing=""
for p in $packages; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
    echo "install-deps: installing$missing"
    $sudo apt-get update -qq
    # shellcheck disable=SC2086
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing >/dev/null
fi

if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
    echo "install-deps: generating the $test_locale locale"
    $sudo localedef -i de_DE -f UTF-8 $test_locale
fi
