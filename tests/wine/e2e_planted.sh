#!/usr/bin/env bash
# A library planted next to the setup program, as in a downloads folder, is never loaded: the
# program imports only KnownDLLs and takes its other libraries from the system folder, by full
# path, at run time. A planted SHFOLDER.DLL and WINMM.DLL mark their loading; Wine is told to
# prefer such copies to its own, as Windows would, and a program in that folder that loads
# SHFOLDER by bare name and imports WINMM statically shows that they would be found.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;shfolder,winmm=n,b"
ql_prefix planted win10

downloads=$(ql_c users/Public/Downloads)
arch=$([ "$QL_FORM" = x64 ] && echo x86_64 || echo i686)  # the library must match the program
mkdir -p "$downloads"
for library in SHFOLDER WINMM; do
  "$arch-w64-mingw32-g++" -Os -static -s -shared -Wl,--kill-at \
    "$(dirname "${BASH_SOURCE[0]}")/planted_library.cpp" -o "$downloads/$library.DLL"
done
printf '#include <windows.h>\n#include <mmsystem.h>\nint main() {
  return LoadLibraryA("SHFOLDER.DLL") && waveOutGetNumDevs() == 0 ? 0 : 1; }\n' |
  "$arch-w64-mingw32-g++" -Os -static -s -x c++ - -lwinmm -o "$downloads/plain_loads.exe"
cp "$QL_SETUP" "$downloads/"
setup=$downloads/$(basename "$QL_SETUP")
marks() { ls "$downloads" | grep -i '\.loaded$' | tr 'A-Z\n' 'a-z '; }  # the name as loaded

ql_check "a program that loads by bare name and imports statically finds both planted libraries" \
  [ "$(ql_run "$downloads/plain_loads.exe").$(marks)" = "0.shfolder.dll.loaded winmm.dll.loaded " ]
rm -f "$downloads"/*.loaded "$downloads/plain_loads.exe"

# The shell cannot give a Startup folder on a missing drive: the program asks SHFOLDER.DLL.
# An install with the shell's folders alone takes the same path up to there, so a load of the
# library on that path would show here too. The device inventory at start asks WINMM.
for key in 'User Shell Folders' 'Shell Folders'; do
  wine reg add "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\$key" \
    /v Startup /t REG_SZ /d 'Q:\missing\Startup' /f >/dev/null 2>&1
done
ql_check "with the shell's Startup folder unavailable, the install exits 1" \
  [ "$(ql_run "$setup" -h -i)" = 1 ]
ql_check "its SHFOLDER and WINMM came from the system folder, no planted one: $(marks)" \
  [ -z "$(marks)" ]
