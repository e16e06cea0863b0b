# What the removal suites share: the install folder, the menus, install and removal with the
# person's own shell standing in, and the files-and-registry snapshot.
unix_folder=$(ql_c "$QL_PF/QL/QuillonOrvalo")
copy="C:\\$QL_PF\\QL\\QuillonOrvalo\\QuillonOrvalo_Setup.exe"
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
