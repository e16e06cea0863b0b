#!/usr/bin/env bash
# The helper programs of the package, end to end under Wine: the 64-bit registration tool and
# the ASIO driver modules' self-registration in both registry views, and the VAIO setup
# program's install, removal, forced exit codes and refusal without its driver files.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
ql_prefix helpers

payload=$QL_BUILD/payload
work=$(ql_c qltest)
mkdir -p "$work/vaio" "$work/empty"
cp "$payload"/*.dll "$payload"/qlregsvr64.exe "$work/"
cp "$payload"/QLOrvaloVAIO_Setup_x64.exe "$payload"/qlorvalovaio64*_win10.* "$work/vaio/"
cp "$payload"/QLOrvaloVAIO_Setup_x64.exe "$work/empty/"

# Default value of a key ("" when the key or the value is missing).
reg_default() { # reg_default KEY /reg:32|/reg:64
  wine reg query "$1" /ve "$2" 2>/dev/null | tr -d '\r' | awk '
    { line=$0; sub(/^ +/, "", line); if (line ~ /^\(Default\) +REG_/) { sub(/^[^ ]+ +REG_[A-Z_]+ +/, "", line); print line } }'
}
key_exists() { wine reg query "$1" "$2" >/dev/null 2>&1; }
key_missing() { ! key_exists "$1" "$2"; }
value_type() { # value_type KEY VALUE VIEW: REG_SZ, REG_EXPAND_SZ, ...
  wine reg query "$1" /v "$2" "$3" 2>/dev/null | tr -d '\r' | awk -v v="$2" '$1 == v { print $2 }'
}
asio_key() { echo "HKLM\\SOFTWARE\\ASIO\\Quillon Orvalo Virtual ASIO $1"; }

# The COM probe (class factory checks and activation through the registry), one per width.
for arch in x86_64 i686; do
  "$arch-w64-mingw32-g++" -std=c++17 -Os -static -s "$(dirname "${BASH_SOURCE[0]}")/asio_com_probe.cpp" \
    -lole32 -luuid -o "$work/probe_$arch.exe"
done
com_probe() { # com_probe x86_64|i686 MODULE CLSID registered|unregistered
  local output code
  set +e; output=$(cd "$work" && wine "probe_$1.exe" "$2" "$3" "$4" 2>&1); code=$?; set -e
  [ "$code" = 0 ] || { echo "$output" | tr -d '\r' >&2; return 1; }
}

# --- artwork, decoded by an independent reader ------------------------------------------------
if command -v identify >/dev/null && command -v convert >/dev/null; then
  for png in QuillonOrvalo QuillonOrvaloLogo QuillonLogoBlack QuillonLogoWhite; do
    file=$payload/${png}_72x72.png
    ql_check "$png image is a 72x72 PNG" [ "$(identify -format '%m %w %h' "$file")" = "PNG 72 72" ]
    ql_check "$png image decodes to RGBA pixels" [ "$(convert "$file" rgba:- | wc -c)" = $((72 * 72 * 4)) ]
  done
  ql_check "skin is a 900x424 bitmap" [ "$(identify -format '%m %w %h %[bit-depth]' "$QL_BUILD/art/skin.bmp")" = "BMP3 900 424 8" ]
  ql_check "icon holds 16 and 32 pixel images" \
    [ "$(identify -format '%w ' "$QL_BUILD/art/icon.ico")" = "16 32 " ]
fi

# --- windowed programs: the window the setup program looks for, closed by WM_DESTROY ------------
cp "$payload"/QuillonOrvalo.exe "$payload"/QuillonOrvalo_x64.exe "$payload"/NaltaScreen.exe \
   "$payload"/QLOrvaloVAIO_ControlPanel.exe "$work/"
i686-w64-mingw32-g++ -std=c++17 -Os -static -s "$(dirname "${BASH_SOURCE[0]}")/window_probe.cpp" \
  -o "$work/window_probe.exe"
window_probe() { # window_probe PROGRAM CLASS TITLE
  local output code
  set +e; output=$(cd "$work" && wine window_probe.exe "$@" 2>&1); code=$?; set -e
  [ "$code" = 0 ] || { echo "$output" | tr -d '\r' >&2; return 1; }
}
ql_check "application window closes on WM_DESTROY" \
  window_probe 'C:\qltest\QuillonOrvalo.exe' QUILLON0Orvalo0MainWindow0 'Quillon Orvalo'
ql_check "64-bit application window closes on WM_DESTROY" \
  window_probe 'C:\qltest\QuillonOrvalo_x64.exe' QUILLON0Orvalo0MainWindow0 'Quillon Orvalo'
ql_check "screen tool window closes on WM_DESTROY" \
  window_probe 'C:\qltest\NaltaScreen.exe' NaltaScreen0MainWindow0 'Nalta Screen'
ql_check "control panel window closes on WM_DESTROY" \
  window_probe 'C:\qltest\QLOrvaloVAIO_ControlPanel.exe' QLOrvaloVAIO0ControlPanel0 'Quillon Orvalo VAIO Control Panel'

# --- 64-bit modules through qlregsvr64.exe -------------------------------------------------
regsvr64() { (cd "$work" && ql_run qlregsvr64.exe "$@"); }
declare -A clsid64=([8]={3045116B-5CBF-406A-AA77-BD0166E5368D} [64A]={8AD27F05-835B-41AC-9C85-5D90BC34F336}
                    [64B]={0E056B76-1730-4099-BD75-97076D844016} [128]={4979F86A-B006-4F5E-AFDD-1420F965EAF0})
for size in 8 64A 64B 128; do
  module="C:\\qltest\\qlorvalo_vasio${size}_driver64.dll"
  ql_check "qlregsvr64 registers the $size module" [ "$(regsvr64 "-f$module")" = 0 ]
  ql_check "$size: ASIO key names its class" [ "$(ql_reg "$(asio_key $size)" CLSID /reg:64)" = "${clsid64[$size]}" ]
  ql_check "$size: ASIO key describes it" \
    [ "$(ql_reg "$(asio_key $size)" Description /reg:64)" = "Quillon Orvalo Virtual ASIO $size" ]
  server="HKCR\\CLSID\\${clsid64[$size]}\\InprocServer32"
  ql_check "$size: server path is the module" [ "$(reg_default "$server" /reg:64)" = "$module" ]
  ql_check "$size: apartment threaded" [ "$(ql_reg "$server" ThreadingModel /reg:64)" = Apartment ]
done
ql_check "64-bit registrations stay out of the 32-bit view" key_missing "$(asio_key 8)" /reg:32
ql_check "64-bit driver object through COM" \
  com_probe x86_64 'C:\qltest\qlorvalo_vasio64A_driver64.dll' "${clsid64[64A]}" registered

# Unregister form as the setup program builds it: " -u " directly followed by " -f".
ql_check "qlregsvr64 -u unregisters" [ "$(regsvr64 " -u  -fC:\\qltest\\qlorvalo_vasio8_driver64.dll")" = 0 ]
ql_check "ASIO key removed" key_missing "$(asio_key 8)" /reg:64
ql_check "class key removed" key_missing "HKCR\\CLSID\\${clsid64[8]}" /reg:64
ql_check "unregistered 64-bit driver unknown to COM" \
  com_probe x86_64 'C:\qltest\qlorvalo_vasio8_driver64.dll' "${clsid64[8]}" unregistered
ql_check "other drivers keep their keys" key_exists "$(asio_key 64A)" /reg:64
ql_check "shared ASIO key kept" key_exists 'HKLM\SOFTWARE\ASIO' /reg:64
ql_check "unregistering twice still succeeds" \
  [ "$(regsvr64 -u "-fC:\\qltest\\qlorvalo_vasio8_driver64.dll")" = 0 ]
ql_check "missing module fails (2)" [ "$(regsvr64 "-fC:\\qltest\\absent.dll")" = 2 ]
ql_check "module without the entry point fails (3)" [ "$(regsvr64 "-fC:\\windows\\system32\\version.dll")" = 3 ]
ql_check "no -f option fails (1)" [ "$(regsvr64 -u)" = 1 ]

# --- 32-bit modules through Wine's own 32-bit regsvr32 --------------------------------------
regsvr32() { (cd "$work" && ql_run 'C:\windows\syswow64\regsvr32.exe' /s "$@"); }
declare -A clsid32=([8]={5A7BEB21-96C1-47ED-A4D4-E98D5DC07EE5} [64A]={ED159C93-FFE0-4A7A-9CCB-B07581EF3C26}
                    [64B]={8EC3E686-0913-4551-BED8-0800BC9A6F95} [128]={C0E79BA3-E575-49F1-9AE9-1B7C061E31A0})
for size in 8 64A 64B 128; do
  module="C:\\qltest\\qlorvalo_vasio${size}_driver.dll"
  ql_check "regsvr32 registers the 32-bit $size module" [ "$(regsvr32 "$module")" = 0 ]
  ql_check "$size: 32-bit ASIO key" [ "$(ql_reg "$(asio_key $size)" CLSID /reg:32)" = "${clsid32[$size]}" ]
  ql_check "$size: 32-bit server path" \
    [ "$(reg_default "HKCR\\CLSID\\${clsid32[$size]}\\InprocServer32" /reg:32)" = "$module" ]
done
ql_check "regsvr32 /u unregisters" [ "$(regsvr32 /u 'C:\qltest\qlorvalo_vasio128_driver.dll')" = 0 ]
ql_check "32-bit ASIO key removed" key_missing "$(asio_key 128)" /reg:32
ql_check "32-bit class key removed" key_missing "HKCR\\CLSID\\${clsid32[128]}" /reg:32
ql_check "32-bit driver object through COM" \
  com_probe i686 'C:\qltest\qlorvalo_vasio8_driver.dll' "${clsid32[8]}" registered
ql_check "unregistered 32-bit driver unknown to COM" \
  com_probe i686 'C:\qltest\qlorvalo_vasio128_driver.dll' "${clsid32[128]}" unregistered

# --- VAIO setup program ------------------------------------------------------------------------
services='HKLM\SYSTEM\CurrentControlSet\Services'
record='HKLM\SOFTWARE\QL\QLOrvaloVAIO_Setup'
image='\SystemRoot\System32\drivers\qlorvalovaio64_win10.sys'
installed_sys=$(ql_c windows/system32/drivers/qlorvalovaio64_win10.sys)
vaio() { # vaio FOLDER ARGS...: runs the setup with FOLDER as its current folder
  local folder=$1; shift
  (cd "$work/$folder" && ql_run QLOrvaloVAIO_Setup_x64.exe "$@")
}

ql_check "VAIO install succeeds" [ "$(vaio vaio -h -i -H -n)" = 0 ]
for service in QLOrvaloVAIO QLOrvaloVAIOMME; do
  ql_check "$service ImagePath" [ "$(ql_reg "$services\\$service" ImagePath /reg:64)" = "$image" ]
  ql_check "$service ImagePath expandable" [ "$(value_type "$services\\$service" ImagePath /reg:64)" = REG_EXPAND_SZ ]
done
ql_check "driver file copied" cmp -s "$installed_sys" "$work/vaio/qlorvalovaio64_win10.sys"
ql_check "command line recorded" bash -c '[[ "$1" == *"-h -i -H -n" ]]' _ "$(ql_reg "$record" LastCommandLine /reg:64)"
ql_check "folder recorded" [ "$(ql_reg "$record" LastFolder /reg:64)" = 'C:\qltest\vaio' ]

ql_check "VAIO removal succeeds" [ "$(vaio vaio -h -u -H)" = 0 ]
ql_check "service key removed" key_missing "$services\\QLOrvaloVAIO" /reg:64
ql_check "MME service key removed" key_missing "$services\\QLOrvaloVAIOMME" /reg:64
ql_check "driver file removed" [ ! -e "$installed_sys" ]
ql_check "removal recorded" bash -c '[[ "$1" == *"-h -u -H" ]]' _ "$(ql_reg "$record" LastCommandLine /reg:64)"
ql_check "removing again succeeds" [ "$(vaio vaio -h -u -H)" = 0 ]

ql_check "install without driver files fails negative" [ "$(vaio empty -h -i -H -n)" = 255 ]
ql_check "nothing installed then" key_missing "$services\\QLOrvaloVAIO" /reg:64
ql_check "failed run recorded" [ "$(ql_reg "$record" LastFolder /reg:64)" = 'C:\qltest\empty' ]

export QL_TEST_VAIO_EXIT=-1
ql_check "forced exit -1" [ "$(vaio vaio -h -i -H -n)" = 255 ]
ql_check "forced exit installs nothing" key_missing "$services\\QLOrvaloVAIO" /reg:64
QL_TEST_VAIO_EXIT=1
ql_check "forced exit 1 (restart)" [ "$(vaio vaio -h -i -H -n)" = 1 ]
unset QL_TEST_VAIO_EXIT
echo "e2e_helpers: all checks passed"
