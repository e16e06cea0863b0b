#!/usr/bin/env bash
# A library planted next to the setup program, as in a downloads folder, is never loaded:
# the program takes its run-time libraries from the system folder, by full path. The planted
# SHFOLDER.DLL marks its loading; Wine is told to prefer such a copy to its own, as Windows
# would, and a load by bare name from that folder shows that it would be found.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;shfolder=n,b"
ql_prefix planted win10

downloads=$(ql_c users/Public/Downloads)
mark=$downloads/SHFOLDER.DLL.loaded
arch=$([ "$QL_FORM" = x64 ] && echo x86_64 || echo i686)  # the library must match the program
mkdir -p "$downloads"
"$arch-w64-mingw32-g++" -Os -static -s -shared -Wl,--kill-at \
  "$(dirname "${BASH_SOURCE[0]}")/planted_library.cpp" -o "$downloads/SHFOLDER.DLL"
printf '#include <windows.h>\nint main() { return LoadLibraryA("SHFOLDER.DLL") ? 0 : 1; }\n' |
  "$arch-w64-mingw32-g++" -Os -static -s -x c++ - -o "$downloads/bare_name_load.exe"
cp "$QL_SETUP" "$downloads/"
setup=$downloads/$(basename "$QL_SETUP")

found_by_bare_name() { [ "$(ql_run "$downloads/bare_name_load.exe")" = 0 ] && [ -e "$mark" ]; }
ql_check "a load by bare name from the downloads folder finds the planted library" found_by_bare_name
rm -f "$mark" "$downloads/bare_name_load.exe"

# The shell cannot give a Startup folder on a missing drive: the program asks SHFOLDER.DLL.
# An install with the shell's folders alone takes the same path up to there, so a load of the
# library on that path would show here too.
for key in 'User Shell Folders' 'Shell Folders'; do
  wine reg add "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\$key" \
    /v Startup /t REG_SZ /d 'Q:\missing\Startup' /f >/dev/null 2>&1
done
ql_check "with the shell's Startup folder unavailable, the install exits 1" \
  [ "$(ql_run "$setup" -h -i)" = 1 ]
ql_check "its SHFOLDER fallback has loaded the system's library, not the planted one" [ ! -e "$mark" ]
