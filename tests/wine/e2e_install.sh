#!/usr/bin/env bash
# The install end to end on 64-bit Windows 10: files, shortcuts, registry records, driver
# modules and the VAIO setup program; then the driver-warning path, a file held open by
# another program, and a setup program run under another file name.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
ql_prefix install win10

programs=$QL_TESTPROGS
folder="C:\\$QL_PF\\QL\\QuillonOrvalo"
unix_folder=$(ql_c "$QL_PF/QL/QuillonOrvalo")
menu=$(ql_c "ProgramData/Microsoft/Windows/Start Menu/Programs/Quillon/QuillonOrvalo")
entry='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\QL:QuillonOrvalo {45CF77f2-4E06-4A39}'
vaio_record='HKLM\SOFTWARE\QL\QLOrvaloVAIO_Setup'

# Removes what an install leaves that would make the next -i refuse or pass by accident; the
# running VAIO driver's interface, too, marks the product installed.
clean() {
  ql_forget_install
  wine reg delete "$vaio_record" /reg:64 /f >/dev/null 2>&1 || true
  rm -rf "$unix_folder"
}
same_files() { # every payload file and the setup copy, byte for byte, and nothing else
  local name count=0
  for file in "$QL_BUILD"/payload/*; do
    name=$(basename "$file")
    cmp -s "$file" "$unix_folder/$name" || { echo "differs or missing: $name"; return 1; }
    count=$((count + 1))
  done
  cmp -s "$2" "$unix_folder/$1" || { echo "setup copy differs or missing: $1"; return 1; }
  [ "$count" = 23 ] && [ "$(ls "$unix_folder" | wc -l)" = 24 ]
}

# --- a complete silent install --------------------------------------------------------------
ql_check "silent install exits 1" [ "$(ql_run "$QL_SETUP" -h -i)" = 1 ]
ql_check "install folder holds the 23 files and the setup copy" same_files QuillonOrvalo_Setup.exe "$QL_SETUP"

ql_check "four shortcuts in the Start-menu folder" \
  [ "$(ls "$menu" | LC_ALL=C sort | tr '\n' /)" = "Nalta-Screen.LNK/QuillonOrvalo x64.LNK/QuillonOrvalo.LNK/Readme.LNK/" ]
menu_win='C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Quillon\QuillonOrvalo'
shortcut() { # target|working folder|description of one shortcut
  wine "$programs/ql_linkinfo.exe" "$menu_win\\$1.LNK" 2>/dev/null | tr -d '\r'
}
ql_check "Readme shortcut" [ "$(shortcut Readme)" = "$folder\\readme.txt|$folder|Readme" ]
ql_check "application shortcut" [ "$(shortcut QuillonOrvalo)" = "$folder\\QuillonOrvalo.exe|$folder|QuillonOrvalo" ]
ql_check "64-bit application shortcut" \
  [ "$(shortcut 'QuillonOrvalo x64')" = "$folder\\QuillonOrvalo_x64.exe|$folder|QuillonOrvalo x64" ]
ql_check "screen tool shortcut" [ "$(shortcut Nalta-Screen)" = "$folder\\NaltaScreen.exe|$folder|Nalta-Screen" ]

ql_check "entry: DisplayName" [ "$(ql_reg "$entry" DisplayName $QL_VIEW)" = "Quillon Orvalo, Audio Router" ]
ql_check "entry: Publisher in silent mode" [ "$(ql_reg "$entry" Publisher $QL_VIEW)" = Quillon ]
ql_check "entry: UninstallString" [ "$(ql_reg "$entry" UninstallString $QL_VIEW)" = "$folder\\QuillonOrvalo_Setup.exe" ]
ql_check "entry: DisplayIcon" [ "$(ql_reg "$entry" DisplayIcon $QL_VIEW)" = "$folder\\QuillonOrvalo_Setup.exe" ]
other_view=/reg:64; [ "$QL_VIEW" = /reg:64 ] && other_view=/reg:32
ql_check "entry: not in the other view" [ -z "$(ql_reg "$entry" DisplayName $other_view)" ]
for key in 'HKCU\Quillon\QuillonOrvalo' 'HKCU\Quillon\QuillonOrvaloZintho'; do
  for value in SysTray SysTrayShowOnRun EngineMode; do
    ql_check "$key $value is 0" [ "$(ql_reg "$key" "$value")" = 0x0 ]
  done
done

for module in vasio8 vasio64A vasio64B vasio128; do
  name="Quillon Orvalo Virtual ASIO ${module#vasio}"
  for view in 32 64; do
    [ $view = 32 ] && file="qlorvalo_${module}_driver.dll" || file="qlorvalo_${module}_driver64.dll"
    clsid=$(ql_reg "HKLM\\SOFTWARE\\ASIO\\$name" CLSID /reg:$view)
    if [ $view = 32 ] && [ "$QL_ASIO32" = 0 ]; then  # could not be loaded: no trace, no harm
      ql_check "$name not registered in the 32-bit view" [ -z "$clsid" ]
      continue
    fi
    ql_check "$name registered in the $view-bit view" [ -n "$clsid" ]
    ql_check "$name $view-bit server is the installed module" \
      [ "$(reg_default "HKCR\\CLSID\\$clsid\\InprocServer32" /reg:$view)" = "$folder\\$file" ]
  done
done

ql_check "VAIO setup got its command line" [ "$(ql_reg "$vaio_record" LastCommandLine /reg:64)" = "-h -i -H -n" ]
ql_check "VAIO setup ran in the install folder" [ "$(ql_reg "$vaio_record" LastFolder /reg:64)" = "$folder" ]

# --- run under another file name ---------------------------------------------------------------
clean
renamed=$(ql_c "Downloads/MySetup.exe")
mkdir -p "$(dirname "$renamed")"
cp "$QL_SETUP" "$renamed"
ql_check "renamed setup exits 1" [ "$(ql_run 'C:\Downloads\MySetup.exe' -h -i)" = 1 ]
ql_check "copy keeps the running file name" same_files MySetup.exe "$renamed"
ql_check "entry names the renamed copy" [ "$(ql_reg "$entry" UninstallString $QL_VIEW)" = "$folder\\MySetup.exe" ]

# --- the VAIO setup program fails: the install still completes ----------------------------------
clean
ql_check "VAIO failure still exits 1" [ "$(QL_TEST_VAIO_EXIT=-1 ql_run "$QL_SETUP" -h -i)" = 1 ]
ql_check "VAIO setup did run" [ "$(ql_reg "$vaio_record" LastCommandLine /reg:64)" = "-h -i -H -n" ]
ql_check "entry still written" [ -n "$(ql_reg "$entry" UninstallString $QL_VIEW)" ]

# --- a package file held open by another program ------------------------------------------------
clean
mkdir -p "$unix_folder"
rm -f "$(ql_c held.ready)" "$(ql_c held.release)"
wine "$programs/ql_holdfile.exe" "$folder\\qlorvalo_vasio8_driver.dll" 'C:\held.ready' 'C:\held.release' \
  >/dev/null 2>&1 &
holder=$!
for _ in $(seq 100); do [ -e "$(ql_c held.ready)" ] && break; sleep 0.1; done
ql_check "file is held" [ -e "$(ql_c held.ready)" ]
ql_check "held file ends the install with -102" [ "$(ql_run "$QL_SETUP" -h -i)" = 154 ]
touch "$(ql_c held.release)"
wait "$holder" || true
ql_check "the other files were written" cmp -s "$QL_BUILD/payload/qlregsvr64.exe" "$unix_folder/qlregsvr64.exe"
ql_check "no entry after a stopped install" [ -z "$(ql_reg "$entry" UninstallString $QL_VIEW)" ]

echo "e2e_install: all checks passed"
