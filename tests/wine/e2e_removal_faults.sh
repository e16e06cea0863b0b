#!/usr/bin/env bash
# Removals on 64-bit Windows 10 where something went wrong or is hostile: a driver that the
# kernel refused, so it never started; a module with a library of its own beside it; the
# person's folders leading through a link into the system folder; a person named outside the
# ANSI code page.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
ql_prefix removal_faults win10
source "$(dirname "${BASH_SOURCE[0]}")/removal_lib.sh"

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
echo "e2e_removal_faults: all checks passed"
