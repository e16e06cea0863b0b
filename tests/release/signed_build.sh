#!/usr/bin/env bash
# Release signing with a throwaway certificate made here: the second build (second_build.sh)
# is signed, then checked as a release would be: osslsigncode verifies the setup program and
# every packed program and module against that certificate as the trusted root, and the
# package and the program's digest stamp still verify.
#   signed_build.sh WORK
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/on_error.sh"  # a failed command says so
work=$1
cd "$work"
rm -rf signer extracted && mkdir signer
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Quillon Orvalo test signer" \
  -addext extendedKeyUsage=codeSigning -keyout signer/key.pem -out signer/cert.pem 2>/dev/null
unsigned_count=$(ls out/payload/*.exe out/payload/*.dll | wc -l)
cmake out -DQL_SIGN_CERT="$work/signer/cert.pem" -DQL_SIGN_KEY="$work/signer/key.pem" >/dev/null
cmake --build out --target QuillonOrvalo_Setup -j "$(nproc)" >/dev/null

verify() { osslsigncode verify -CAfile signer/cert.pem -in "$1" >/dev/null 2>&1; }
setup=out/QuillonOrvalo_Setup.exe
verify "$setup" || { echo "the setup program's signature does not verify"; exit 1; }
# The install proves its own file by the digest stamped into it, which the signature keeps.
out/host/qlseal --check "$setup"
out/host/qlpack verify "$setup"
out/host/qlpack extract "$setup" extracted >/dev/null
signed=0
for file in extracted/*.exe extracted/*.dll; do
  verify "$file" || { echo "packed but not signed: ${file#extracted/}"; exit 1; }
  signed=$((signed + 1))
done
[ "$signed" -eq "$unsigned_count" ] || { echo "$signed of $unsigned_count programs signed"; exit 1; }
# The same check refuses what was not signed with this certificate.
! verify out/payload/qlregsvr64.exe || { echo "an unsigned program verified"; exit 1; }
echo "signed and verified: the setup program and $signed packed programs and modules"
