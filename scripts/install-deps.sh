#!/usr/bin/env bash
# Installs what building and testing need on Debian 12; does nothing when all is there.
set -euo pipefail

need=()
have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

packages=(cmake ninja-build g++ googletest g++-mingw-w64-i686 wine wine32:i386 wine64
          xvfb xauth xdotool imagemagick fonts-nanum locales python3 clang libclang-rt-14-dev)
for p in "${packages[@]}"; do have "$p" || need+=("$p"); done

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)

if [ ${#need[@]} -gt 0 ]; then
    echo "installing: ${need[*]}"
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        "${sudo_cmd[@]}" dpkg --add-architecture i386
    fi
    "${sudo_cmd[@]}" apt-get update -q
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${need[@]}"
fi

# The Korean end-to-end test runs Wine under ko_KR.UTF-8.
for loc in en_US.UTF-8 ko_KR.UTF-8; do
    if ! locale -a 2>/dev/null | grep -qi "^${loc%.UTF-8}.utf8$"; then
        "${sudo_cmd[@]}" sed -i "s/^# *\(${loc} UTF-8\)/\1/" /etc/locale.gen
        regen=1
    fi
done
if [ "${regen:-0}" = 1 ]; then "${sudo_cmd[@]}" locale-gen >/dev/null; fi
