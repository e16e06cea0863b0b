#!/usr/bin/env bash
# The VAIO driver end to end on 64-bit Windows 10, with the kernel-mode stand-in of the driver:
# the install waits for its 16 pins and names and decorates its endpoints (and no other); a new
# start finds its interface; -h -u takes driver, interface and endpoint entries away. (Without
# them a start offers the install, as e2e_devices and e2e_spine see.)
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
ql_prefix endpoints win10

store='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\MMDevices\Audio'
service_id='{83da6326-97a6-4088-9453-a1923f573b29},3'
number_id='{233164c8-1b2c-4c7d-bc68-b671687a2567},1'
name_id='{a45c254e-df1c-4efd-8020-67d146a850e0},2'
icon_id='{259abffc-50a7-47ce-af08-68c9a7d73366},12'
services='HKLM\SYSTEM\CurrentControlSet\Services'
interfaces='HKLM\SYSTEM\CurrentControlSet\Control\DeviceClasses\{66CAA746-1518-4C53-B6E6-9E550A734FD1}'
labels=$QL_BUILD/wine/endpoints.labels

# Endpoints of other drivers, one whose service name only begins with the driver's.
other() { # other FLOW KEY SERVICE NAME
  local key="$store\\$1\\$2\\Properties"
  wine reg add "$key" /v "$service_id" /t REG_SZ /d "$3" /reg:64 /f >/dev/null 2>&1
  wine reg add "$key" /v "$name_id" /t REG_SZ /d "$4" /reg:64 /f >/dev/null 2>&1
}
speakers='{0.0.0.00000000}.{11111111-0000-4000-8000-000000000001}'
line='{0.0.1.00000000}.{11111111-0000-4000-8000-000000000002}'
other Render "$speakers" 'hdaudio.inf:HdAudModel:6.0:HDAudio' Speakers
other Capture "$line" 'x.inf:Model:1.0:QLOrvaloVAIOX' Line
# Windows makes a device of each endpoint a driver brings up; Wine's audio system makes one only
# of a store key that holds a friendly name when the program starts, which the driver's stand-in
# setup does not write. The driver's 16 keys get theirs beforehand, so that the naming finds
# their devices as on Windows.
for flow in 1Render 2Capture; do for n in 1 2 3 4 5 6 7 8; do
  printf '[%s\\%s\\{8A1C3F52-0D4E-4B7A-9C61-5E2F7B900%s0%s}\\Properties]\n"%s"="VAIO"\n' \
    "${store/HKLM/HKEY_LOCAL_MACHINE}" "${flow:1}" "${flow:0:1}" "$n" "${name_id%2}14"
done; done | sed '1i REGEDIT4' >"$labels.reg"
ql_wine_step "the driver's endpoints as devices" wine reg import "$labels.reg" /reg:64
untouched() { # untouched FLOW KEY NAME
  local key="$store\\$1\\$2\\Properties"
  [ "$(ql_reg "$key" "$name_id" /reg:64)" = "$3" ] && [ -z "$(ql_reg "$key" "$icon_id" /reg:64)" ]
}

ql_url_handler  # no browser

# Runs the setup with its window while Wine traces the texts it draws; clicks the button when
# asked to; answers the boxes of that caption (any box without one) until the setup ends or
# SECONDS pass, then ends it with Escape. Sets boxes ("caption|" per box) and code. A caption
# is waited for by name: a box found before its caption is set would read as an empty one.
windowed() { # windowed click|idle SECONDS [CAPTION]
  WINEDEBUG=-all,+timestamp,+text,+mmdevapi wine "$QL_SETUP" >/dev/null 2>"$labels.raw" &
  SETUP_PID=$!
  local end box
  poke origin >/dev/null || ql_fail "the installer window did not appear"
  end=$((SECONDS + $2))  # from the window on: a loaded machine may take long to show it
  if [ "$1" = click ]; then  # once the button is drawn: the click is judged by its rectangle
    for _ in $(seq 100); do grep -q 'DrawTextExW L"Install"' "$labels.raw" && break; sleep 0.1; done
    poke click 730 474 >/dev/null
  fi
  boxes=""
  while kill -0 "$SETUP_PID" 2>/dev/null && [ $SECONDS -lt $end ]; do
    if box=$(poke box "${3:--}" 1); then boxes+="${box%%|*}|"; fi
  done
  # A setup held by a box nobody answers leaves code "running" instead of hanging the suite.
  kill -0 "$SETUP_PID" 2>/dev/null && poke key 27 >/dev/null
  finish_setup 10
  sed -n 's/^\([0-9.]*\):.*DrawTextExW L"\([^"]*\)".*/\1 \2/p' "$labels.raw" | changes >"$labels"
}
changes() { # "seconds text" lines: only those whose text differs from the line before
  awk '{ text = $0; sub(/^[^ ]* /, "", text); if (text != last) print; last = text }'
}
drawn() { cut -d' ' -f2- "$labels" | grep -qxF "$1"; }

# --- the install: pins, labels, names and icons ----------------------------------------------
windowed click 120 "REBOOT YOUR SYSTEM"
ql_check "install ends with 1, got $code" [ "$code" = 1 ]
ql_check "the restart box came, got $boxes" [ "$boxes" = "REBOOT YOUR SYSTEM|" ]
# The label of the last pin count is replaced at once by the naming's when all 16 are ready,
# so only the counts before it are drawn; a wait that ended otherwise would have shown its
# last label for a minute.
steps=$(grep -E ' (Configure VAIOs|[0-9]+/16 Pin\(s\) Ok|Set Pin Name/Icon)$' "$labels" | changes)
ql_check "the labels go from Configure VAIOs through pin counts to the naming" \
  bash -c '[[ "$(cut -d" " -f2- <<<"$0" | tr "\n" "|")" =~ ^Configure\ VAIOs\|([0-9]+/16\ Pin\(s\)\ Ok\|)*Set\ Pin\ Name/Icon\|$ ]]' "$steps"
ql_check "the naming came within 10 s of the last label: all 16 pins became ready" \
  awk '/(VAIOs|Ok)$/ { since = $1 } /Set Pin Name\/Icon$/ { exit !($1 - since < 10) }' <<<"$steps"

icon='%windir%\System32\drivers\qlorvalovaio64_win10.sys'
# The driver's endpoints of FLOW are named and decorated after their own numbers, 1 to 8 once each.
check_flow() { # check_flow FLOW PREFIX ICON-BASE
  local keys numbers="" key number properties
  keys=$(wine reg query "$store\\$1" /reg:64 2>/dev/null | tr -d '\r' | grep -o '{8A1C3F52-[^}]*}')
  for key in $keys; do
    properties="$store\\$1\\$key\\Properties"
    number=$(ql_reg "$properties" "$number_id" /reg:64); number=$((10#${number: -4}))
    numbers+="$number "
    [ "$(ql_reg "$properties" "$name_id" /reg:64)" = "$2 $number" ] &&
      [ "$(ql_reg "$properties" "$icon_id" /reg:64)" = "$icon,-$(($3 + number))" ] ||
      { echo "$1 $key: '$(ql_reg "$properties" "$name_id" /reg:64)'"; return 1; }
  done
  [ "$(tr ' ' '\n' <<<"$numbers" | sort -n | tr '\n' ' ')" = " 1 2 3 4 5 6 7 8 " ]
}
ql_check "the 8 playback endpoints are QLOrvalo In 1-8 with icons -201 to -208" check_flow Render "QLOrvalo In" 200
ql_check "the 8 recording endpoints are QLOrvalo Out 1-8 with icons -301 to -308" check_flow Capture "QLOrvalo Out" 300
# Wine traces each value set through a device's property store; none means the fallback.
set=$(grep -cE "MMDevPropStore_SetValue .*(${name_id#?}|${icon_id#?})\"" "$labels.raw" || true)
echo "e2e_endpoints: route: $set of 32 values through the devices' property stores, the rest by the fallback"
ql_check "the 32 names and icons went through the devices' property stores" [ "$set" = 32 ]
ql_check "another driver's endpoint is untouched" untouched Render "$speakers" Speakers
ql_check "an endpoint of a longer service name is untouched" untouched Capture "$line" Line

# --- a new start without the uninstall entry: the interface alone marks the product installed --
wine reg delete "$QL_ENTRY" $QL_VIEW /f >/dev/null 2>&1
windowed idle 5 "Installation Issue"
ql_check "the driver's presence is reported, got $boxes" [ "$boxes" = "Installation Issue|" ]
ql_check "the button reads Remove" drawn Remove
ql_check "the window ends with -3, got $code" [ "$code" = 253 ]

# --- the removal: the setup's -h -u runs the driver's own removal ------------------------------
ql_check "-h -u removes the product, found by its interface alone" [ "$(ql_run "$QL_SETUP" -h -u)" = 1 ]
ql_check "the driver's service keys are gone" \
  [ -z "$(ql_reg "$services\\QLOrvaloVAIO" ImagePath /reg:64)$(ql_reg "$services\\QLOrvaloVAIOMME" ImagePath /reg:64)" ]
ql_check "the driver stopped and its file is gone" [ ! -e "$(ql_c windows/system32/drivers/qlorvalovaio64_win10.sys)" ]
ql_check "the interface is gone" reg_lacks "$interfaces" qlorvalovaio
ql_check "the driver's endpoint entries are gone, the others stay" \
  eval 'reg_lacks "$store" 8A1C3F52 /reg:64 && untouched Render "$speakers" Speakers'
echo "e2e_endpoints: all checks passed"
