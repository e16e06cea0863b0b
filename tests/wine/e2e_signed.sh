#!/usr/bin/env bash
# The signed release build (left by the signed_build test) installs exactly like the
# unsigned program: the same exit code, files, shortcuts and records (but for the entry's
# EstimatedSize, which e2e_install holds to the files), in twin fresh prefixes,
# and each installed program and module is the signed one from its package.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
signed_build=$QL_BUILD/second-build/out
signed=$signed_build/QuillonOrvalo_Setup.exe
if [ "$QL_FORM" != product ]; then
  echo "skipped: the signed build is the product form, which this machine does not run"
  exit 77
fi
[ -d "$signed_build/payload-signed" ] || ql_fail "no signed build: run the signed_build test first"

menu="ProgramData/Microsoft/Windows/Start Menu/Programs/Quillon/QuillonOrvalo"

# Installs silently in a fresh prefix and writes down what the install left.
install_outcome() { # install_outcome PREFIX SETUP
  ql_prefix "$1" win10
  {
    echo "exit code $(ql_run "$2" -h -i)"
    for folder in "$QL_PF/QL/QuillonOrvalo" "$menu"; do echo "$folder:"; ls -1 "$(ql_c "$folder")"; done
    wine reg query "$QL_ENTRY" /s $QL_VIEW | grep -v EstimatedSize  # signatures add to it
    wine reg query 'HKCU\Quillon' /s
    wine reg query 'HKLM\SOFTWARE\ASIO' /s /reg:32
    wine reg query 'HKLM\SOFTWARE\ASIO' /s /reg:64
    ql_vaio present && echo "VAIO driver in place" || echo "VAIO driver not in place"
  } 2>&1 | tr -d '\r' >"$QL_BUILD/wine/$1.txt"
}
install_outcome signing-unsigned "$QL_SETUP"
install_outcome signing-signed "$signed"
# The unsigned program's outcome, exit code 1 among it, e2e_install checks.
ql_check "the same exit code, files, shortcuts and records" \
  diff "$QL_BUILD/wine/signing-unsigned.txt" "$QL_BUILD/wine/signing-signed.txt"

ql_check "the installed files are the signed package's and the signed program's" \
  ql_installed_files "$signed_build/payload-signed" QuillonOrvalo_Setup.exe "$signed"
