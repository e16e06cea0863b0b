#!/usr/bin/env bash
# The removal end to end on 64-bit Windows 10, where the install puts the VAIO driver in place:
# two install and removal cycles that must end in the same state, a removal from the window
# whose VAIO setup fails and the removal after it, then a program file in use and a folder
# link during a removal without the person's rights, and the install after it; the installed
# copy of the setup program, run as the uninstall entry says (its QuietUninstallString, then
# its UninstallString through Wine's own uninstaller), removes and installs again in place.
# (-u before any install: e2e_spine; the person's folders, drivers and modules that go wrong:
# e2e_removal_faults.)
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
ql_prefix uninstall win10
source "$(dirname "${BASH_SOURCE[0]}")/removal_lib.sh"

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
echo "e2e_uninstall: all checks passed"
