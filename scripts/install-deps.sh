#!/usr/bin/env bash
# Installs what building and testing need on Debian 12; does nothing when all is there.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/test-note.sh"

need=()
have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

packages=(cmake ninja-build g++ googletest g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine wine64
          xvfb xauth xdotool imagemagick fonts-nanum locales python3 clang libclang-rt-14-dev
          nsis zip openssl osslsigncode
          # Japanese and Chinese glyphs, so that Wine measures and shows the real texts
          # (Korean comes with fonts-nanum); fontconfig hands them to Wine as fallbacks.
          fonts-ipafont-gothic fonts-wqy-microhei)
for p in "${packages[@]}"; do have "$p" || need+=("$p"); done
# The 32-bit program's tiers need Wine's 32-bit half; a host that does not offer it still
# builds and tests the 64-bit program.
optional=(wine32:i386)
want=()
for p in "${optional[@]}"; do have "$p" || want+=("$p"); done

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)

install() {
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "$@"
}
# apt-get update fails when any one index could not be fetched (a mirror serving a file its
# Release does not list), yet keeps all the others; the installs decide whether those sufficed.
refresh_indexes() {
    "${sudo_cmd[@]}" apt-get update -q && return 0
    echo "note: some package indexes could not be fetched; going on with the others"
    return 1
}
if [ ${#need[@]} -gt 0 ] || [ ${#want[@]} -gt 0 ]; then
    echo "installing: ${need[*]} ${want[*]}"
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        "${sudo_cmd[@]}" dpkg --add-architecture i386 || true
    fi
    indexes_complete=1
    refresh_indexes || indexes_complete=0
    if [ ${#need[@]} -gt 0 ] && ! install "${need[@]}"; then
        [ $indexes_complete = 0 ] || exit 1
        # A mirror half-way through a sync may be whole a little later.
        test_note retried "apt-get install" "some package indexes could not be fetched"
        sleep 30
        refresh_indexes || true
        install "${need[@]}"
    fi
    if [ ${#want[@]} -gt 0 ] && ! install "${want[@]}"; then
        test_note skipped "${want[*]}" "could not be installed from this machine's package sources"
    fi
fi

# The Korean end-to-end test runs Wine under ko_KR.UTF-8; the screenshots script under the
# German and Japanese locales.
for loc in en_US.UTF-8 ko_KR.UTF-8 de_DE.UTF-8 ja_JP.UTF-8; do
    if ! locale -a 2>/dev/null | grep -qi "^${loc%.UTF-8}.utf8$"; then
        "${sudo_cmd[@]}" sed -i "s/^# *\(${loc} UTF-8\)/\1/" /etc/locale.gen
        regen=1
    fi
done
if [ "${regen:-0}" = 1 ]; then "${sudo_cmd[@]}" locale-gen >/dev/null; fi
