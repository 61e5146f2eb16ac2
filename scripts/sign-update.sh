#!/usr/bin/env bash
# Signs a release for the program's update check.
#   scripts/sign-update.sh [--expires WHEN] KEY.pem VERSION URL EXE OUTDIR
# VERSION is major.minor.revision. Writes OUTDIR/version.txt (VERSION, URL, the SHA-256 of EXE
# and the time in UTC after which programs refuse the file, one per line) and
# OUTDIR/version.txt.sig (the ECDSA P-256 signature of version.txt's SHA-256 by KEY.pem, as r
# then s in 128 hexadecimal digits). Serve both beside each other as /version.txt and
# /version.txt.sig, and EXE at URL. The programs that trust KEY.pem are those configured with
# its public half (PRAVELO_UPDATE_PUBLIC_KEY; print it with --public-key KEY.pem).
# A signed file can be served again by anyone until it expires: WHEN, anything date -d reads
# ("30 days", "2027-01-31 12:00 UTC"), is "30 days" from now unless given. Sign and publish
# again before then.
set -euo pipefail

usage() {
    echo "usage: $0 [--expires WHEN] KEY.pem VERSION URL EXE OUTDIR" >&2
    echo "       $0 --public-key KEY.pem" >&2
    exit 2
}

# X then Y of the key's public point: the last 64 bytes of its DER form.
public_key() {
    openssl ec -in "$1" -pubout -outform DER 2>/dev/null | tail -c 64 | od -An -v -tx1 | tr -d ' \n'
    echo
}

if [ "${1:-}" = --public-key ]; then
    [ $# -eq 2 ] || usage
    public_key "$2"
    exit
fi
expires_when="30 days"
if [ "${1:-}" = --expires ]; then
    [ $# -ge 2 ] || usage
    expires_when=$2
    shift 2
fi
[ $# -eq 5 ] || usage
key=$1 version=$2 url=$3 exe=$4 out=$5
case "$url" in *[,\"$'\r\n']*) echo "URL cannot hold commas, quotes or line ends" >&2; exit 2 ;; esac
[[ $version =~ ^[0-9]{1,5}(\.[0-9]{1,5}){0,2}$ ]] || { echo "VERSION must be major.minor.revision" >&2; exit 2; }
expires=$(date -u -d "$expires_when" +%Y-%m-%dT%H:%M:%SZ) || { echo "--expires: no time: $expires_when" >&2; exit 2; }
[ -f "$key" ] && [ -f "$exe" ] || { echo "no such file: $key or $exe" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"
digest=$(openssl dgst -sha256 -r "$exe" | cut -d' ' -f1)
printf '%s\r\n%s\r\n%s\r\n%s\r\n' "$version" "$url" "$digest" "$expires" >"$work/version.txt"
openssl dgst -sha256 -sign "$key" -out "$work/signature.der" "$work/version.txt"

# The DER signature holds r and s as two INTEGERs; each becomes 64 digits, zero-padded.
raw=
count=0
while read -r integer; do
    while [ ${#integer} -lt 64 ]; do integer=0$integer; done
    [ ${#integer} -eq 64 ] || { echo "unexpected signature value" >&2; exit 1; }
    raw+=$integer
    count=$((count + 1))
done < <(openssl asn1parse -inform DER -in "$work/signature.der" | sed -n 's/.*prim: *INTEGER *://p')
[ "$count" -eq 2 ] || { echo "unexpected signature form" >&2; exit 1; }

# What is published must verify with the public half.
openssl ec -in "$key" -pubout -out "$work/public.pem" 2>/dev/null
openssl dgst -sha256 -verify "$work/public.pem" -signature "$work/signature.der" "$work/version.txt" >/dev/null

cp "$work/version.txt" "$out/version.txt"
printf '%s\n' "$raw" | tr 'A-F' 'a-f' >"$out/version.txt.sig"
echo "signed $version ($digest), valid until $expires, into $out"
