#!/usr/bin/env bash
# Builds the 64-bit and the 32-bit program in release mode and writes into dist/:
#   pravelo-<version>-x64-setup.exe, pravelo-<version>-x86-setup.exe  the installers
#   pravelo-<version>-portable.zip  x64/ and x86/, each pravelo.exe + pravelo_pic.bmp; README, licence
#   SHA256SUMS                      of all three
#
# Options (one of --update-key and --dev is required):
#   --update-key KEY                  a release: the public key that checks updates, as a PEM file
#                                     or the hex of the P-256 point; the test key is refused
#   --dev                             a package for testing, whose programs trust the test key; every
#                                     file it writes is named pravelo-<version>-dev-...
#   --sign-key FILE --sign-cert FILE  sign the programs, installers and uninstallers (Authenticode)
#   --out DIR                         another folder instead of dist/
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

die() { echo "package: $*" >&2; exit 1; }
usage() { sed -n '2,/^set -/p' "$0" | sed '$d; s/^# \{0,1\}//' >&2; exit 2; }

sign_key= sign_cert= update_key= dev= out=dist
while [ $# -gt 0 ]; do
    case $1 in
        --dev) dev=1; shift ;;
        --sign-key) sign_key=${2:?}; shift 2 ;;
        --sign-cert) sign_cert=${2:?}; shift 2 ;;
        --update-key) update_key=${2:?}; shift 2 ;;
        --out) out=${2:?}; shift 2 ;;
        -h|--help) usage ;;
        *) echo "package: unknown option $1" >&2; usage ;;
    esac
done
# Whoever publishes a package that trusts the test key hands its private half to everyone.
if [ -z "$update_key" ] && [ -z "$dev" ]; then
    die "no --update-key: a package for publishing needs the release's update key (--dev for a test package)"
fi
[ -z "$update_key" ] || [ -z "$dev" ] || die "--update-key and --dev exclude each other"
if [ -n "$sign_key$sign_cert" ]; then
    [ -f "$sign_key" ] && [ -f "$sign_cert" ] || die "--sign-key and --sign-cert name two files"
    sign_key=$(realpath "$sign_key") sign_cert=$(realpath "$sign_cert")
fi

# The DER of a P-256 public key up to its point: SEQUENCE { ecPublicKey, prime256v1 }, BIT STRING.
p256_public_key_header=3059301306072a8648ce3d020106082a8648ce3d030107034200
# The hex of an uncompressed P-256 point without its leading 04 (X then Y, 64 bytes), from
# a PEM key (public or private) or from hex.
public_key_hex() {
    local key=$1 hex
    if [ -f "$key" ]; then
        hex=$({ openssl pkey -in "$key" -pubout -outform DER 2>/dev/null ||
                openssl pkey -pubin -in "$key" -outform DER 2>/dev/null; } | od -An -v -tx1 | tr -d ' \n')
        [ "${hex:0:52}" = "$p256_public_key_header" ] || return 1
        hex=${hex:52}
    else
        hex=$(tr -d ' \n:' <<<"$key" | tr 'A-F' 'a-f')
    fi
    [ ${#hex} -eq 130 ] && [ "${hex:0:2}" = 04 ] && hex=${hex:2}
    [[ $hex =~ ^[0-9a-f]{128}$ ]] || return 1
    echo "$hex"
}

# A name the build hands to the installer script: NAME in GENERATED/pravelo.nsh.
handed() {
    sed -n "s/^!define $1 \"\(.*\)\"\$/\1/p" "$2/pravelo.nsh"
}

# Whether a program holds the key's point, as bytes or as hex text.
carries_key() {
    od -An -v -tx1 "$1" | tr -d ' \n' | grep -q "$2" || grep -qiF "$2" "$1"
}

# Packages get build folders of their own, without the test builds' hooks; a release's also
# keep the test builds from losing the key they test with.
cmake_defines=(-DPRAVELO_TEST_HOOKS=OFF)
if [ -n "$update_key" ]; then
    key_hex=$(public_key_hex "$update_key") || die "--update-key: not a P-256 public key (PEM file or hex)"
    test_key=tests/keys/update-test.pem
    if [ -f "$test_key" ] && [ "$key_hex" = "$(public_key_hex "$test_key")" ]; then
        die "--update-key is the test key of $test_key; a release needs the real update key"
    fi
    cmake_defines+=("-DPRAVELO_UPDATE_PUBLIC_KEY=$key_hex")
    builds=("x64 windows-x64 build/release-x64" "x86 windows build/release-x86")
    echo "package: release build with update key ${key_hex:0:16}..."
else
    builds=("x64 windows-x64 build/package-dev-x64" "x86 windows build/package-dev-x86")
    echo "package: --dev: the programs trust the test key; not for publishing"
fi

scripts/install-deps.sh

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
mkdir -p "$stage/common"

sign() {
    if [ -n "$sign_key" ]; then scripts/sign-file.sh "$sign_key" "$sign_cert" "$1"; fi
}

version=
declare -A generated
for build in "${builds[@]}"; do
    read -r arch preset dir <<<"$build"
    cmake --preset "$preset" -B "$dir" --no-warn-unused-cli "${cmake_defines[@]}" >/dev/null
    cmake --build "$dir" -j2 --target pravelo pravelo_pic_beside_exe
    generated[$arch]=$(realpath "$dir/generated")
    built=$(handed VERSION "${generated[$arch]}")
    [ -n "$built" ] && [ "${version:-$built}" = "$built" ] || die "no version, or two versions, in the builds"
    version=$built
    program=$dir/$(handed PROGRAM_FILE "${generated[$arch]}")
    mkdir -p "$stage/$arch"
    if [ -n "$update_key" ] && ! carries_key "$program" "$key_hex"; then
        die "$program does not carry the update key; does this tree take PRAVELO_UPDATE_PUBLIC_KEY?"
    fi
    cp "$program" "$dir/$(handed PICTURE_FILE "${generated[$arch]}")" "$stage/$arch/"
    sign "$stage/$arch/$(basename "$program")"
    cp "$dir/resources/pravelo.ico" "$stage/common/"
done
sed 's/$/\r/' LICENSE >"$stage/common/LICENSE.txt"

prefix=pravelo-$version${dev:+-dev}
sums=${dev:+$prefix-}SHA256SUMS
mkdir -p "$out"
out=$(realpath "$out")
rm -f "$out"/pravelo-*-setup.exe "$out"/pravelo-*-portable.zip "$out"/*SHA256SUMS
files=()
for arch in x64 x86; do
    installer="$prefix-$arch-setup.exe"
    nsis_defines=("-DGENERATED=${generated[$arch]}" "-DARCH=$arch" "-DSTAGE=$stage/$arch"
                  "-DCOMMON=$stage/common" "-DOUTFILE=$out/$installer")
    if [ -n "$sign_key" ]; then
        nsis_defines+=("-DSIGN=\"$root/scripts/sign-file.sh\" \"$sign_key\" \"$sign_cert\"")
    fi
    makensis -V2 -WX -NOCD "${nsis_defines[@]}" packaging/pravelo.nsi
    sign "$out/$installer"
    files+=("$installer")
done

portable="$prefix-portable.zip"
mkdir -p "$stage/zip"
cp -r "$stage/x64" "$stage/x86" README.md LICENSE "$stage/zip/"
(cd "$stage/zip" && zip -q -X -r "$out/$portable" x64 x86 README.md LICENSE)
files+=("$portable")

(cd "$out" && sha256sum -- "${files[@]}" >"$sums")
if [ -n "$sign_key" ]; then
    echo "package: signed with $sign_cert"
else
    echo "package: no --sign-key/--sign-cert: the programs and installers are NOT signed"
fi
echo "package: wrote $out:"
(cd "$out" && ls -l -- "${files[@]}" "$sums")
