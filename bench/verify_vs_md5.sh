#!/usr/bin/env bash
# qlpack verify of a package of about 100 MB against one openssl md5 pass over the same
# file, each as a whole process, taken in turns; best of five each, and their ratio.
#   bash bench/verify_vs_md5.sh build/native/tools/qlpack [runs]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/on_error.sh"  # a failed command says so
qlpack=$1
runs=${2:-5}
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
names=(readme.txt QuillonOrvalo.exe QuillonOrvalo_x64.exe NaltaScreen.exe qlorvalovaio64_win10.cat
  qlorvalovaio64_win10.inf qlorvalovaio64_win10.sys qlorvalovaio64arm_win10.sys
  QLOrvaloVAIO_ControlPanel.exe QLOrvaloVAIO_Setup_x64.exe qlorvalo_vasio8_driver.dll
  qlorvalo_vasio8_driver64.dll qlorvalo_vasio64A_driver.dll qlorvalo_vasio64A_driver64.dll
  qlorvalo_vasio64B_driver.dll qlorvalo_vasio64B_driver64.dll qlorvalo_vasio128_driver.dll
  qlorvalo_vasio128_driver64.dll qlregsvr64.exe QuillonOrvalo_72x72.png
  QuillonOrvaloLogo_72x72.png QuillonLogoBlack_72x72.png QuillonLogoWhite_72x72.png)
# The shipped package's proportions (KB), about seven times over.
sizes=(6 3900 4700 1250 12 7 52 56 1650 960 210 260 215 265 215 265 220 270 130 5 4 3 3)
mkdir "$work/in"
for i in "${!names[@]}"; do
  head -c $((sizes[i] * 7 * 1024)) /dev/urandom > "$work/in/${names[$i]}"
done
"$qlpack" build "$work/in" "$work/pkg"
"$qlpack" verify "$work/pkg" >/dev/null
elapsed() { local start=$(date +%s%N); "$@" >/dev/null; echo $(( $(date +%s%N) - start )); }
best_verify=0 best_md5=0
for _ in $(seq "$runs"); do
  v=$(elapsed "$qlpack" verify "$work/pkg")
  m=$(elapsed openssl md5 "$work/pkg")
  if [ "$best_verify" -eq 0 ] || [ "$v" -lt "$best_verify" ]; then best_verify=$v; fi
  if [ "$best_md5" -eq 0 ] || [ "$m" -lt "$best_md5" ]; then best_md5=$m; fi
done
awk -v v="$best_verify" -v m="$best_md5" -v size="$(stat -c %s "$work/pkg")" 'BEGIN {
  printf "package %.1f MB\nqlpack verify %.3f s\nopenssl md5   %.3f s\n", size / 1e6, v / 1e9, m / 1e9
  printf "speed of verify against md5 %.2f\n", m / v }'
grep -m1 -E '^model name' /proc/cpuinfo
grep -m1 -E '^cpu family' /proc/cpuinfo
