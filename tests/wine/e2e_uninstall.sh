#!/usr/bin/env bash
# The removal end to end on 64-bit Windows 10, where the install puts the VAIO driver in place:
# two install and removal cycles that must end in the same state, a removal from the window
# whose VAIO setup fails and the removal after it, then a program file in use and a folder
# link during a removal without the person's rights, and the install after it; the installed
# copy of the setup program, run as the uninstall entry says (its QuietUninstallString, then
# its UninstallString through Wine's own uninstaller), removes and installs again in place;
# then a removal whose person's folders lead through a link; last a person named outside the
# ANSI code page. Between them: a driver refused by the kernel, and a module with a library of
# its own. (-u before any install: e2e_spine.)
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
ql_prefix uninstall win10

unix_folder=$(ql_c "$QL_PF/QL/QuillonOrvalo")
menus=("$(ql_c ProgramData/Microsoft/Windows/Start\ Menu/Programs/Quillon)"
       "$(ql_c "users/$(id -un)/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Quillon")")
startup=${menus[1]%/Quillon}/StartUp
install() { ql_check "-h -i exits 1" [ "$(ql_run "$QL_SETUP" -h -i)" = 1 ]; }
# Wine runs every program elevated, its desktop shell too: the person's own shell, whose
# rights the removal takes for the person's folders, is a stand-in that runs unelevated.
person_shell() {
  [ -n "${shell_pid:-}" ] && kill -0 "$shell_pid" 2>/dev/null && return 0
  rm -f "$(ql_c shell.txt)"
  wine "$QL_TESTPROGS/qlwindow.exe" QLShell0Window shell 'C:\shell.txt' shell >/dev/null 2>&1 &
  shell_pid=$!
  for _ in $(seq 100); do grep -qs ready "$(ql_c shell.txt)" && return 0; sleep 0.1; done
  ql_fail "the person's stand-in shell did not start"
}
remove() {  # [noshell] the person's menu folder holds the four shortcuts and a file of theirs
  if [ "${1:-}" = noshell ]; then wine taskkill /f /im qlwindow.exe >/dev/null 2>&1 || true
  else person_shell; fi
  mkdir -p "${menus[1]}/QuillonOrvalo"
  (cd "${menus[1]}/QuillonOrvalo" &&
    touch Readme.LNK QuillonOrvalo.LNK "QuillonOrvalo x64.LNK" Nalta-Screen.LNK Notes.txt)
  touch "$startup/QuillonOrvalo.LNK" "$startup/Other.LNK"
  wine reg add 'HKCU\Quillon\QuillonOrvalo' /v SysTray /t REG_DWORD /d 1 /f >/dev/null 2>&1
  ql_check "-h -u exits 1" [ "$(ql_run "$QL_SETUP" -h -u)" = 1 ]
}
only_empty() { [ -d "$1" ] && [ -z "$(ls -A "$1")" ]; }
# Files outside Wine's own folder, and the registry once the server has saved it, less the
# key times and the driver dates that Wine rewrites in every session.
snapshot() {
  wineserver -k && wineserver -w
  (cd "$WINEPREFIX" && find drive_c -path drive_c/windows -prune -o -printf '%y %s %p\n' | sort &&
    sed -E 's/^(\[.*\]) [0-9]+$/\1/; /^#time=|^"DriverDateData"=/d' system.reg user.reg)
  wineserver -p60 >/dev/null 2>&1
}

for cycle in 1 2; do
  install
  remove
  snapshot >"$WINEPREFIX/../uninstall_$cycle.txt"
done
ql_check "the install folder is gone, QL stays empty" only_empty "$(dirname "$unix_folder")"
ql_check "only Quillon stays of the common menu" only_empty "${menus[0]}"
# What the removal leaves of the person's own menu and Startup folders: the last check.
# A left uninstall entry fails the second cycle's install (-4), as e2e_spine sees directly.
for view in /reg:32 /reg:64; do
  ql_check "no ASIO registration in $view" reg_lacks 'HKLM\SOFTWARE\ASIO' quillon $view
done
ql_check "settings read 0" [ "$(ql_reg 'HKCU\Quillon\QuillonOrvalo' SysTray)" = 0x0 ]
ql_check "the VAIO setup program took its driver away" ql_vaio gone
ql_check "both removals end in the same state" \
  diff "$WINEPREFIX/../uninstall_1.txt" "$WINEPREFIX/../uninstall_2.txt"

# A removal whose VAIO setup program fails keeps the driver; the next one still takes it
# away, with the program written again from its own package. The first is the Remove
# button's: it waits on the window's thread for the programs closed at start, then for the
# VAIO setup and the registration tool, stand-ins here that probe the window meanwhile (as the
# suite does in the first wait). Windows ghosts a window whose messages stay unread for 5 s;
# Wine never does, but the probe asks for an answer within a second.
install
for name in QLOrvaloVAIO_Setup_x64 qlregsvr64; do
  cp "$QL_TESTPROGS/qlvaiofail.exe" "$unix_folder/$name.exe"
done
QL_STANDIN_RUN="$(winepath -w "$QL_TESTPROGS/qlpoke.exe") answers 2 >>C:\probes.txt" start_setup
poke key 13 >/dev/null || ql_fail "no window to remove from"
# answering TEXT: how many lines of TEXT tell of a window that answered every probe, no box up
answering() { grep -cE '^answered ([1-9][0-9]*) of \1, hung 0, boxes 0$' <<<"$1" || true; }
probe=$(poke answers 3)
ql_check "the window answers in the first wait: $probe" [ "$(answering "$probe")" = 1 ]
# The failure notice comes once the removal is over, over its restart box, as ever.
poke box "REBOOT YOUR SYSTEM" 60 keep >/dev/null || ql_fail "no restart box"
ql_check "then the VAIO setup's notice" poke box "QuillonOrvalo Uninstallation Error" 5
poke box "REBOOT YOUR SYSTEM" 5 >/dev/null
ends_with "the Remove button's removal" 0 30
first_run=$(tr -d '\r' <"$(ql_c vaio_runs.txt)" | head -n 1)
ql_check "the failing VAIO setup ran with -h -u -H in the install folder" \
  [ "$first_run" = "-h -u -H|C:\\$QL_PF\\QL\\QuillonOrvalo" ]
probes=$(tr -d '\r' <"$(ql_c probes.txt)")
ql_check "and while the VAIO setup and each registration run: $probes" \
  [ "$(answering "$probes")" = 5 ]
ql_check "the driver stays after its failed removal" ql_vaio present
remove
ql_check "the next removal takes the driver away" ql_vaio gone
ql_check "and leaves no install folder" only_empty "$(dirname "$unix_folder")"

# A driver that Wine's kernel refuses to load: its setup program registers it but cannot
# start it, so it has no interface. The install says so; the removal takes it away anyway.
overrides='HKCU\Software\Wine\DllOverrides'
wine reg add "$overrides" /v qlorvalovaio64_win10.sys /d "" /f >/dev/null
ql_check "-h -i with the driver refused exits -104" [ "$(ql_run "$QL_SETUP" -h -i)" = 152 ]
wine reg delete "$overrides" /v qlorvalovaio64_win10.sys /f >/dev/null
remove
ql_check "the removal took the driver that never started away" ql_vaio gone

# A module whose library lies beside it is unregistered. The form's setup loads modules of
# its own width only, so in the x86-64 form a 64-bit one takes the 32-bit module's place.
install
arch=$([ "$QL_FORM" = x64 ] && echo x86_64 || echo i686)
"$arch-w64-mingw32-g++" -Os -static -s -shared -Wl,--kill-at \
  "$(dirname "${BASH_SOURCE[0]}")/planted_library.cpp" -o "$unix_folder/qldep.dll"
# (The library exports its names undecorated: the stdcall fix-up lets a 32-bit link find them.)
printf '%s\n' '#define WIN32_LEAN_AND_MEAN' '#include <windows.h>' \
  'extern "C" UINT WINAPI waveOutGetNumDevs();' \
  'extern "C" __declspec(dllexport) HRESULT WINAPI DllUnregisterServer() {' \
  '  return CreateDirectoryA("C:\\unregistered", 0) ? waveOutGetNumDevs() : E_FAIL; }' |
  "$arch-w64-mingw32-g++" -Os -static -s -shared -Wl,--kill-at,--enable-stdcall-fixup -x c++ - \
    -x none "$unix_folder/qldep.dll" -o "$unix_folder/qlorvalo_vasio8_driver.dll"
remove
ql_check "the module with its own library was unregistered" [ -d "$(ql_c unregistered)" ]

# A program file in use is moved aside; a folder link leads out of the install folder. Without
# the person's rights (no stand-in shell, and Wine's own runs elevated) nothing of theirs goes.
install
# The busy program is a window program of the form under test in the screen tool's place, so
# that it runs where 32-bit programs cannot.
ql_hold_program "$unix_folder"
mkdir -p "$(ql_c outside)" && touch "$(ql_c outside/keep.txt)"
ln -s "$(ql_c outside)" "$unix_folder/link"
remove noshell
ql_check "without the person's rights none of theirs goes" \
  [ -e "${menus[1]}/QuillonOrvalo/Readme.LNK" -a -e "$startup/QuillonOrvalo.LNK" ]
ql_check "the program in use keeps running as NaltaScreen.del" \
  [ "$(ls "$unix_folder" | grep -i nalta)" = NaltaScreen.del ]
ql_check "the folder the link names keeps its files" [ -f "$(ql_c outside/keep.txt)" ]
wineserver -k && wineserver -w
rm "$unix_folder/link"
install
ql_check "the next install sweeps the .del file" [ ! -e "$unix_folder/NaltaScreen.del" ]

# The entry's commands as Windows runs them, by their first word unless quoted: a program at
# C:\Program.exe (the stand-in browser, which notes its arguments) must not be the one to run.
copy="C:\\$QL_PF\\QL\\QuillonOrvalo\\QuillonOrvalo_Setup.exe"
cp "$QL_TESTPROGS/qlurl.exe" "$(ql_c Program.exe)"
# QuietUninstallString, as deployment tools run it: through cmd /c, just as it stands.
code=$(poke run "cmd /c \"$(ql_reg "$QL_ENTRY" QuietUninstallString $QL_VIEW)\"")
ql_check "the entry runs the installed copy, got $code" test "$code" = 1 -a ! -e "$(ql_c urls.txt)"
ql_check "only the installed copy is left" [ "$(ls "$unix_folder")" = QuillonOrvalo_Setup.exe ]
ql_check "the installed copy installs again in place" [ "$(ql_run "$copy" -h -i)" = 1 ]
ql_check "its entry names it" [ "$(ql_reg "$QL_ENTRY" UninstallString $QL_VIEW)" = "\"$copy\"" ]
# Wine's own uninstaller finds the entry by its key's name (in both registry views), runs its
# UninstallString as a command line and waits for it: the window offers the removal.
wine uninstaller --remove "${QL_ENTRY##*\\}" >/dev/null 2>&1 & uninstaller=$!
poke key 13 >/dev/null || ql_fail "no window from the entry's UninstallString"
poke box "REBOOT YOUR SYSTEM" 60 >/dev/null || ql_fail "no restart box after the removal"
wait $uninstaller
ql_check "Wine's uninstaller removed it, the entry with it" key_missing "$QL_ENTRY" $QL_VIEW
# The person's Programs names a folder whose Quillon\QuillonOrvalo is a link into the system
# folder, and Startup that link: the shortcuts named like ours there stay.
victim=$(ql_c windows/system32/victim1) evil="C:\\users\\$(id -un)\\evil"
mkdir -p "$victim" "$(ql_c "users/$(id -un)/evil/Quillon")"
touch "$victim"/{Readme,Nalta-Screen,QuillonOrvalo}.LNK
ln -s "$victim" "$(ql_c "users/$(id -un)/evil/Quillon/QuillonOrvalo")"
for folders in 'Shell Folders' 'User Shell Folders'; do
  key="HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\$folders"
  wine reg add "$key" /v Programs /d "$evil" /f >/dev/null 2>&1
  wine reg add "$key" /v Startup /d "$evil\\Quillon\\QuillonOrvalo" /f >/dev/null 2>&1
done
install
remove
ql_check "a further removal takes it all" [ ! -e "$unix_folder" ]
ql_check "the folder the person's link names keeps its files" [ "$(ls "$victim" | wc -l)" = 3 ]

# A person whose name is outside the ANSI code page, which the ANSI calls give as "Lukasz": a
# setup from their downloads folder installs completely, and the removal takes the product's
# shortcuts, and nothing else, from their own Programs and Startup folders.
person=$(ql_c users/Łukasz) menus[1]=$(ql_c users/Łukasz/Programs/Quillon) home='C:\users\Łukasz'
startup=$person/Startup
for folders in 'Shell Folders' 'User Shell Folders'; do
  key="HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\$folders"
  wine reg add "$key" /v Programs /d "$home\\Programs" /f >/dev/null 2>&1
  wine reg add "$key" /v Startup /d "$home\\Startup" /f >/dev/null 2>&1
done
mkdir -p "$startup" "$person/Downloads" && cp "$QL_SETUP" "$person/Downloads/"
QL_SETUP='C:\users\Łukasz\Downloads\QuillonOrvalo_Setup.exe' install
ql_check "their setup left its copy" \
  ql_installed_files "$QL_BUILD/payload" QuillonOrvalo_Setup.exe "$QL_SETUP"
ql_check "and the entry" [ "$(ql_reg "$QL_ENTRY" UninstallString $QL_VIEW)" = "\"$copy\"" ]
remove
ql_check "the removal took their shortcuts alone" \
  [ "$(cd "$person" && find Programs Startup -type f | sort | tr '\n' ' ')" = \
    "Programs/Quillon/QuillonOrvalo/Notes.txt Startup/Other.LNK " ]
echo "e2e_uninstall: all checks passed"
