#!/usr/bin/env bash
# Makes a test package (--dev) with a throw-away signing certificate, then checks what came out: the sums, the
# signatures, the zip, the update keys a release refuses, and each installer under Wine in a
# fresh prefix of its width. Everything it makes lives in one temporary folder.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
cd "$root"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
openssl req -x509 -newkey rsa:2048 -nodes -days 1 -subj "/CN=Pravelo test signing" \
    -keyout "$work/key.pem" -out "$work/cert.pem" 2>/dev/null
# What package.sh's install-deps.sh could not install, the test command's deps step has said.
env -u PRAVELO_TEST_NOTES timeout 900 scripts/package.sh --dev --sign-key "$work/key.pem" --sign-cert "$work/cert.pem" --out "$work/dist"

version=$(sed -n 's/^#define PRAVELO_VERSION_TEXT "\(.*\)"$/\1/p' build/package-dev-x64/generated/pravelo_version.h)
export PRAVELO_DIST=$work/dist PRAVELO_SIGN_CERT=$work/cert.pem PRAVELO_VERSION=$version
export PYTHONDONTWRITEBYTECODE=1 PYTHONPATH=$root/tests/e2e
failed=0
timeout 300 python3 tests/package/test_package.py || failed=1

for installer in "x64 windows-x64 win64" "x86 windows win32"; do
    read -r arch build winearch <<<"$installer"
    cmake --build "build/$build" -j2 --target pravelo_driver >/dev/null
    # The harness ends its tests 45 s before this time-out, with their prefixes cleaned up.
    PRAVELO_WINEARCH=$winearch PRAVELO_INSTALLER=$work/dist/pravelo-$version-dev-$arch-setup.exe \
    PRAVELO_DRIVER=$root/build/$build/tests/e2e/pravelo_driver.exe \
    PRAVELO_TEMPLATE=$work/$arch/template PRAVELO_E2E_WORK=$work/$arch/run \
    PRAVELO_ARTIFACTS=$root/build/$build/artifacts PRAVELO_E2E_DEADLINE=255 \
        timeout 300 python3 tests/package/test_installer.py || failed=1
done
exit $failed
