#!/usr/bin/env bash
# Lists the DLLs a Windows program imports and fails when one is not a KnownDLL: Windows maps
# KnownDLLs from its own folder, any other import is first looked for beside the program.
#   scripts/check-imports.sh OBJDUMP PROGRAM.exe...
set -euo pipefail
[ $# -ge 2 ] || { echo "usage: $0 OBJDUMP PROGRAM.exe..." >&2; exit 2; }
objdump=$1
shift
# KnownDLLs of Windows 7 and later that a program of ours may import.
known=" kernel32.dll user32.dll gdi32.dll advapi32.dll shell32.dll ole32.dll oleaut32.dll msvcrt.dll "
known+=" shlwapi.dll comdlg32.dll imm32.dll rpcrt4.dll ws2_32.dll "
status=0
for program in "$@"; do
    imports=$("$objdump" -p "$program" | sed -n 's/^[[:space:]]*DLL Name: *//p' | tr 'A-Z' 'a-z')
    [ -n "$imports" ] || { echo "$program: no imports found" >&2; status=1; continue; }
    for dll in $imports; do
        case "$known" in
            *" $dll "*) ;;
            *) echo "$program imports $dll, which is no KnownDLL" >&2; status=1 ;;
        esac
    done
    echo "$program:" $imports
done
exit "$status"
