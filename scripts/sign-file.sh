#!/usr/bin/env bash
# sign-file.sh KEY CERT FILE: gives FILE an Authenticode signature (SHA-256) in place.
# scripts/package.sh signs the programs and installers with it, makensis the uninstallers.
set -euo pipefail
[ $# -eq 3 ] || { echo "usage: $0 KEY CERT FILE" >&2; exit 2; }
key=$1 cert=$2 file=$3
signed="$file.signing"
trap 'rm -f "$signed"' EXIT
osslsigncode sign -key "$key" -certs "$cert" -h sha256 -n "Pravelo" -in "$file" -out "$signed" >/dev/null
mv -f "$signed" "$file"
