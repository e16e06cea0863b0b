#!/usr/bin/env bash
# Authenticode-signs Windows programs and modules in place with SHA-256, for a release build:
#   sign.sh CERT KEY PATH...   (PEM certificate and key; a PATH that is a folder stands for
#                               every .exe and .dll in it)
# The signing time is SOURCE_DATE_EPOCH when it is set, so that a release can be rebuilt
# byte for byte; otherwise osslsigncode takes the current time.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/on_error.sh"  # a failed command says so
cert=$1 key=$2; shift 2
files=()
for path in "$@"; do
  if [ -d "$path" ]; then
    files+=("$path"/*.exe "$path"/*.dll)
  else
    files+=("$path")
  fi
done
for file in "${files[@]}"; do
  [ -f "$file" ] || { echo "sign.sh: no such file: $file" >&2; exit 1; }
  rm -f "$file.signed"  # osslsigncode does not overwrite
  osslsigncode sign -certs "$cert" -key "$key" -h sha256 \
    ${SOURCE_DATE_EPOCH:+-time "$SOURCE_DATE_EPOCH"} -in "$file" -out "$file.signed" >/dev/null
  mv "$file.signed" "$file"
done
