#!/usr/bin/env bash
# The helper programs of the package, end to end under Wine: the built artwork decoded by
# ImageMagick, the 64-bit registration tool (and where it finds a module's dependencies) and an
# ASIO module's self-registration and removal in both views (e2e_install checks all eight
# registered by the setup program; e2e_spine the windowed programs closed by it), and the VAIO
# setup program's install, removal and its failures without its driver files or when its
# driver file cannot be copied.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
ql_prefix helpers

here=$(dirname "${BASH_SOURCE[0]}")
payload=$QL_BUILD/payload
work=$(ql_c qltest)
mkdir -p "$work/empty" "$work/module" "$work/current"
cp "$payload"/* "$work/"
cp "$payload"/QLOrvaloVAIO_Setup_x64.exe "$work/empty/"

asio_key() { echo "HKLM\\SOFTWARE\\ASIO\\Quillon Orvalo Virtual ASIO $1"; }
probe() { (cd "$work" && ql_wine_step probe wine "$@"); }  # probe PROGRAM ARGS...: run in $work
for arch in x86_64 $([ "$QL_WINE32" = 1 ] && echo i686); do  # class factory checks and activation through the registry
  "$arch-w64-mingw32-g++" -std=c++17 -Os -static -s "$here/asio_com_probe.cpp" -lole32 -luuid \
    -o "$work/probe_$arch.exe"
done

# --- artwork, decoded by an independent reader ------------------------------------------------
# identify decodes the pixels too: a damaged image prints nothing.
for png in QuillonOrvalo QuillonOrvaloLogo QuillonLogoBlack QuillonLogoWhite; do
  ql_check "$png image is a 72x72 PNG" \
    [ "$(identify -format '%m %w %h' "$payload/${png}_72x72.png" 2>/dev/null)" = "PNG 72 72" ]
done
ql_check "skin is a 900x424 bitmap" [ "$(identify -format '%m %w %h %[bit-depth]' "$QL_BUILD/art/skin.bmp")" = "BMP3 900 424 8" ]
ql_check "icon holds 16 and 32 pixel images" [ "$(identify -format '%w ' "$QL_BUILD/art/icon.ico")" = "16 32 " ]

# --- a 64-bit module through qlregsvr64.exe, a 32-bit one through Wine's regsvr32 ----------------
# Which views the setup's registrations land in, that each driver key names its module's
# class, and that removal clears the driver keys, e2e_install and e2e_uninstall see; here,
# what only a direct run shows.
regsvr64() { (cd "$work" && ql_run qlregsvr64.exe "$@"); }
regsvr32() { (cd "$work" && ql_run 'C:\windows\syswow64\regsvr32.exe' /s "$@"); }
clsid64={8AD27F05-835B-41AC-9C85-5D90BC34F336}
module='C:\qltest\qlorvalo_vasio64A_driver64.dll'
ql_check "qlregsvr64 registers a module" [ "$(regsvr64 "-f$module")" = 0 ]
ql_check "ASIO key describes it" [ "$(ql_reg "$(asio_key 64A)" Description /reg:64)" = "Quillon Orvalo Virtual ASIO 64A" ]
ql_check "apartment threaded" [ "$(ql_reg "HKCR\\CLSID\\$clsid64\\InprocServer32" ThreadingModel /reg:64)" = Apartment ]
ql_check "64-bit driver object through COM" probe probe_x86_64.exe "$module" "$clsid64" registered
ql_check "a second module registers" [ "$(regsvr64 '-fC:\qltest\qlorvalo_vasio8_driver64.dll')" = 0 ]
# Unregister form as the setup program builds it: " -u " directly followed by " -f".
ql_check "qlregsvr64 -u unregisters" [ "$(regsvr64 " -u  -f$module")" = 0 ]
ql_check "class key removed" key_missing "HKCR\\CLSID\\$clsid64" /reg:64
ql_check "unregistered 64-bit driver unknown to COM" probe probe_x86_64.exe "$module" "$clsid64" unregistered
ql_check "other drivers keep their keys" key_exists "$(asio_key 8)" /reg:64
ql_check "unregistering twice still succeeds" [ "$(regsvr64 -u "-f$module")" = 0 ]
ql_check "missing module fails (2)" [ "$(regsvr64 "-fC:\\qltest\\absent.dll")" = 2 ]
ql_check "module without the entry point fails (3)" [ "$(regsvr64 "-fC:\\windows\\system32\\version.dll")" = 3 ]
ql_check "no -f option fails (1)" [ "$(regsvr64 -u)" = 1 ]
# A module's dependencies come from its own folder or the system folder, never from the tool's
# current folder (where the setup program was started, say: a downloads folder).
x86_64-w64-mingw32-g++ -Os -static -s -shared -Wl,--kill-at "$here/planted_library.cpp" \
  -o "$work/current/qldep.dll"
printf '%s\n' 'extern "C" __declspec(dllimport) unsigned __stdcall waveOutGetNumDevs();' \
  'extern "C" __declspec(dllexport) long __stdcall DllRegisterServer() {' \
  '  return waveOutGetNumDevs(); }' |
  x86_64-w64-mingw32-g++ -Os -static -s -shared -x c++ - -x none "$work/current/qldep.dll" \
    -o "$work/module/qldependent.dll"
dependent() { # the tool's exit code for that module, run in the current folder; loaded copies
  echo "$(cd "$work/current" && ql_run "$work/qlregsvr64.exe" '-fC:\qltest\module\qldependent.dll')" \
    "$(cd "$work" && ls -- */qldep.dll.loaded 2>/dev/null)"
}
ql_check "a dependency in the current folder alone is not loaded" [ "$(dependent)" = "2 " ]
cp "$work/current/qldep.dll" "$work/module/"
ql_check "one beside the module is found" [ "$(dependent)" = "0 module/qldep.dll.loaded" ]

# 32-bit modules only where this machine runs 32-bit programs (lib.sh's probe).
if [ "$QL_WINE32" = 1 ]; then
  clsid32={C0E79BA3-E575-49F1-9AE9-1B7C061E31A0}
  module='C:\qltest\qlorvalo_vasio128_driver.dll'
  ql_check "regsvr32 registers a 32-bit module" [ "$(regsvr32 "$module")" = 0 ]
  ql_check "32-bit driver object through COM" probe probe_i686.exe "$module" "$clsid32" registered
  ql_check "regsvr32 /u unregisters" [ "$(regsvr32 /u "$module")" = 0 ]
  ql_check "unregistered 32-bit driver unknown to COM" probe probe_i686.exe "$module" "$clsid32" unregistered
else
  echo "skip - 32-bit module registration: $QL_WINE32_WHY"
fi

# --- VAIO setup program ------------------------------------------------------------------------
services='HKLM\SYSTEM\CurrentControlSet\Services'
installed_sys=$(ql_c windows/system32/drivers/qlorvalovaio64_win10.sys)
# vaio FOLDER ARGS...: the VAIO setup program run in FOLDER, below the work folder
vaio() { (cd "$work/$1" && shift && ql_run QLOrvaloVAIO_Setup_x64.exe "$@"); }

ql_check "VAIO install succeeds" [ "$(vaio . -h -i -H -n)" = 0 ]
for service in QLOrvaloVAIO QLOrvaloVAIOMME; do
  ql_check "$service ImagePath" [ "$(ql_reg "$services\\$service" ImagePath /reg:64)" = '\SystemRoot\System32\drivers\qlorvalovaio64_win10.sys' ]
done
expandable() { wine reg query "$services\\QLOrvaloVAIOMME" /v ImagePath /reg:64 2>/dev/null | grep -q REG_EXPAND_SZ; }
ql_check "ImagePath expandable" expandable
ql_check "driver file copied" cmp -s "$installed_sys" "$payload/qlorvalovaio64_win10.sys"
# What the removal takes away e2e_endpoints sees, after the running driver's removal.
ql_check "VAIO removal succeeds" [ "$(vaio . -h -u -H)" = 0 ]
ql_check "removing again succeeds" [ "$(vaio . -h -u -H)" = 0 ]
ql_check "install without driver files fails negative" [ "$(vaio empty -h -i -H -n)" = 255 ]
ql_check "nothing installed then" key_missing "$services\\QLOrvaloVAIO" /reg:64
mkdir "$installed_sys"  # in the driver file's place: the copy fails
ql_check "install that cannot copy the driver file fails with -3" [ "$(vaio . -h -i -H -n)" = 253 ]
ql_check "nothing installed then either" key_missing "$services\\QLOrvaloVAIO" /reg:64
echo "e2e_helpers: all checks passed"
