#!/usr/bin/env bash
# The install end to end on 64-bit Windows 10: files, shortcuts, registry records, driver
# modules and the VAIO setup program; then a setup program run under another file name from a
# folder anyone may write to, one swapped for another program as it starts, the driver-warning
# path through the window, and a package file in use by a running program.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
ql_prefix install win10

folder="C:\\$QL_PF\\QL\\QuillonOrvalo"
unix_folder=$(ql_c "$QL_PF/QL/QuillonOrvalo")
menu='C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Quillon\QuillonOrvalo'
entry_is() { [ "$(ql_reg_text "$QL_ENTRY" "$1" $QL_VIEW)" = "$2" ]; }  # entry_is VALUE TEXT

# Removes what an install leaves that would make the next -i refuse or pass by accident; the
# running VAIO driver's interface, too, marks the product installed.
clean() {
  ql_forget_install
  rm -rf "$unix_folder"
}

# --- a complete silent install --------------------------------------------------------------
ql_check "silent install exits 1" [ "$(ql_run "$QL_SETUP" -h -i)" = 1 ]
ql_check "install folder holds the 23 files and the setup copy" \
  ql_installed_files "$QL_BUILD/payload" QuillonOrvalo_Setup.exe "$QL_SETUP"

links=$(ls "$(winepath -u "$menu" 2>/dev/null)" | LC_ALL=C sort | tr '\n' /)
ql_check "four shortcuts in the Start-menu folder" \
  [ "$links" = "Nalta-Screen.LNK/QuillonOrvalo x64.LNK/QuillonOrvalo.LNK/Readme.LNK/" ]
# Each shortcut as the shell reads it: target|working folder|description.
for link in Readme=readme.txt QuillonOrvalo=QuillonOrvalo.exe Nalta-Screen=NaltaScreen.exe \
  "QuillonOrvalo x64=QuillonOrvalo_x64.exe"; do
  read_link=$(wine "$QL_TESTPROGS/ql_linkinfo.exe" "$menu\\${link%=*}.LNK" 2>/dev/null | tr -d '\r')
  ql_check "${link%=*} shortcut" [ "$read_link" = "$folder\\${link#*=}|$folder|${link%=*}" ]
done

# The whole uninstall entry, value by value with its type, as Windows' list of installed apps
# and deployment tools read it (Wine lists the values by name): "Quillon" is the silent
# install's publisher; EstimatedSize is the install folder's files in kilobytes, rounded up.
kilobytes=$(( ($(find "$unix_folder" -type f -printf '%s+') 0 + 1023) / 1024 ))
ql_check "entry: every value" \
  diff <(wine reg query "$QL_ENTRY" $QL_VIEW | tr -d '\r' | grep '^ ') - <<EOF
    DisplayIcon    REG_SZ    $folder\QuillonOrvalo_Setup.exe
    DisplayName    REG_SZ    Quillon Orvalo, Audio Router
    DisplayVersion    REG_SZ    1.0.2.9
    EstimatedSize    REG_DWORD    $(printf 0x%x $kilobytes)
    InstallDate    REG_SZ    $(date +%Y%m%d)
    InstallLocation    REG_SZ    $folder
    NoModify    REG_DWORD    0x1
    NoRepair    REG_DWORD    0x1
    Publisher    REG_SZ    Quillon
    QuietUninstallString    REG_SZ    "$folder\QuillonOrvalo_Setup.exe" -h -u
    UninstallString    REG_SZ    "$folder\QuillonOrvalo_Setup.exe"
    URLInfoAbout    REG_SZ    https://quillon.example/
    VersionMajor    REG_DWORD    0x1
    VersionMinor    REG_DWORD    0x0
EOF
other_view=/reg:64; [ "$QL_VIEW" = /reg:64 ] && other_view=/reg:32
ql_check "entry: not in the other view" [ -z "$(ql_reg "$QL_ENTRY" DisplayName $other_view)" ]
for key in 'HKCU\Quillon\QuillonOrvalo' 'HKCU\Quillon\QuillonOrvaloZintho'; do
  for value in SysTray SysTrayShowOnRun EngineMode; do
    ql_check "$key $value is 0" [ "$(ql_reg "$key" "$value")" = 0x0 ]
  done
done

# Each module's driver key names a class whose server is the installed module, in its own view.
for module in vasio8 vasio64A vasio64B vasio128; do
  name="Quillon Orvalo Virtual ASIO ${module#vasio}"
  for view in 32 64; do
    clsid=$(ql_reg "HKLM\\SOFTWARE\\ASIO\\$name" CLSID /reg:$view)
    if [ $view = 32 ] && [ "$QL_ASIO32" = 0 ]; then  # could not be loaded: no trace, no harm
      ql_check "$name not registered in the 32-bit view" [ -z "$clsid" ]
    else
      file="qlorvalo_${module}_driver${view/32/}.dll"  # the 64-bit modules' names end in 64
      ql_check "$name $view-bit server is the installed module" \
        [ "$(reg_default "HKCR\\CLSID\\$clsid\\InprocServer32" /reg:$view)" = "$folder\\$file" ]
    fi
  done
done

# The VAIO setup program installs its driver only when started with -i in the folder that
# holds its driver files; a failure would only show as a warning. (The native tests pin its
# exact command line and folder.)
ql_check "VAIO setup installed its driver" ql_vaio present

# --- run under another file name, while another program tries to swap it -----------------------
# Once its window exists the setup holds its own file: it can be neither renamed nor replaced
# through Windows, and what lands in the install folder is the program that was started, also
# over an older copy left there by a removal run from it.
clean
mkdir -p "$unix_folder" && cp "$QL_TESTPROGS/qlurl.exe" "$unix_folder/MySetup.exe"
cp "$QL_SETUP" "$(ql_c MySetup.exe)"
cp "$QL_TESTPROGS/qlurl.exe" "$(ql_c Other.exe)"
QL_SETUP='C:\MySetup.exe' start_setup -h -i
renamed=$(poke move 'C:\MySetup.exe' 'C:\Renamed.exe' && echo yes || echo no)
poke move 'C:\Other.exe' 'C:\MySetup.exe' || true
ends_with "the renamed setup" 1 120
ql_check "the running setup could not be renamed" [ "$renamed" = no ]
ql_check "nor replaced" cmp -s "$QL_SETUP" "$(ql_c MySetup.exe)"
ql_check "copy keeps the running file name and is the program started" \
  ql_installed_files "$QL_BUILD/payload" MySetup.exe "$QL_SETUP"
ql_check "entry names the renamed copy" entry_is UninstallString "\"$folder\\MySetup.exe\""

# --- renamed and replaced as soon as it starts -------------------------------------------------
# Before the setup holds its file, another program can rename the running file and put its own
# under the name (qlpoke, from a second process, as soon as the setup's process appears). The
# held file is then another program: the install places no copy and no entry and ends with
# -105 (151); had the hold come first, it copies the program that was started. The other
# program never lands in the install folder.
downloads=$(ql_c users/Public/Downloads) win_downloads='C:\users\Public\Downloads'
mkdir -p "$downloads"
cp "$QL_TESTPROGS/qlurl.exe" "$(ql_c Other.exe)"
for attempt in 1 2; do
  clean
  cp "$QL_SETUP" "$downloads/QuillonOrvalo_Setup.exe"
  poke swap "$win_downloads\QuillonOrvalo_Setup.exe" "$win_downloads\aside$attempt.exe" \
    'C:\Other.exe' >"$downloads.swap" & swapper=$!
  sleep 3  # until qlpoke watches the processes
  code=$(ql_run "$downloads/QuillonOrvalo_Setup.exe" -h -i)
  wait $swapper || ql_fail "no setup process seen by the swapping program"
  copied=none entry=$(ql_reg "$QL_ENTRY" UninstallString $QL_VIEW) swap=$(cat "$downloads.swap")
  [ -e "$unix_folder/QuillonOrvalo_Setup.exe" ] && copied=other
  cmp -s "$unix_folder/QuillonOrvalo_Setup.exe" "$QL_SETUP" && copied=started
  expected="151.none."
  [ "$swap" = held ] && expected="1.started.\"$folder\\QuillonOrvalo_Setup.exe\""
  ql_check "$swap at start ($attempt), got $code $copied '$entry'" \
    [ "$code.$copied.$entry" = "$expected" ]
done

# --- a name outside the ANSI code page, with a plain-named twin, another program, beside it -----
# The ANSI calls give the twin's path (a full-width S as S, "Gergő" as "Gergo"); the program
# that was started must be what is held, copied and named, under its own name, by the entry.
for started in 'dl\QuillonOrvalo_Ｓetup.exe' 'Gergő\QuillonOrvalo_Setup.exe'; do
  clean
  path=$(ql_c "${started/\\//}") twin=$(ql_c "$(sed 's/Ｓ/S/; s/ő/o/; s|\\|/|' <<<"$started")")
  mkdir -p "${path%/*}" "${twin%/*}"
  cp "$QL_TESTPROGS/qlurl.exe" "$twin" && cp "$QL_SETUP" "$path"
  ql_check "$started exits 1" [ "$(ql_run "C:\\$started" -h -i)" = 1 ]
  ql_check "$started: its copy is the program started" \
    ql_installed_files "$QL_BUILD/payload" "${started#*\\}" "$QL_SETUP"
  ql_check "$started: the entry names that copy" \
    entry_is UninstallString "\"$folder\\${started#*\\}\""
done

# --- the VAIO setup program fails: the install still completes, and its window says so ----------
clean
# A folder where the driver file goes: the real program cannot copy it and ends with -3.
planted=$(ql_c windows/system32/drivers/qlorvalovaio64_win10.sys)
mkdir "$planted"
ql_url_handler  # the after-install page goes to the stand-in browser
start_setup -i
# The runner's notice comes at once; the final warning opens over it, in its loop.
box=$(poke box "REBOOT YOUR SYSTEM" 90 keep) || ql_fail "no final warning after the VAIO failure"
ql_check "the final warning: the driver might be missing, got $box" \
  grep -q "Virtual Audio Driver might not be installed correctly" <<<"$box"
ql_check "under it the VAIO setup's notice" grep -qx "QuillonOrvalo Installation \
Error|Failed to install virtual i/o driver... Check running setup in administrator mode" \
  <(poke box "QuillonOrvalo Installation Error" 5)
poke box "REBOOT YOUR SYSTEM" 5 >/dev/null
ends_with "VAIO failure: the install" 152
ql_check "entry still written" [ -n "$(ql_reg "$QL_ENTRY" UninstallString $QL_VIEW)" ]
rmdir "$planted"
ql_check "the driver was not installed" ql_vaio gone

# --- a package file in use: a running program, a window program of the form under test --------
clean
mkdir -p "$unix_folder"
ql_hold_program "$unix_folder"
ql_check "a file in use ends the install with -102" [ "$(ql_run "$QL_SETUP" -h -i)" = 154 ]
ql_check "the other files were written" cmp -s "$QL_BUILD/payload/qlregsvr64.exe" "$unix_folder/qlregsvr64.exe"
ql_check "no entry after a stopped install" [ -z "$(ql_reg "$QL_ENTRY" UninstallString $QL_VIEW)" ]

echo "e2e_install: all checks passed"
