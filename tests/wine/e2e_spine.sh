#!/usr/bin/env bash
# End to end, the program's frame: single instance, closing of running copies of the
# application and of the VAIO control panel, the automatic procedures and their exit codes,
# the warning for a product installed by another setup program, the idle window's painting,
# clicks (skin, outline, button) and keys, the install from the button and its notices, the
# installed state, the removal by the Remove button and by -u, and -i with the window: it
# answers and blinks while the install runs, and its final notice stays until dismissed.
source "$(dirname "$0")/lib.sh"
ql_prefix spine win10

PROGRAMS=$QL_TESTPROGS
SHOTS=$QL_BUILD/screenshots
mkdir -p "$SHOTS"
TITLE="QuillonOrvalo Installation (Version 1.0.2.9)"
ENTRY='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\QL:QuillonOrvalo {45CF77f2-4E06-4A39}'
SKIN=$QL_BUILD/art/skin.bmp
started=()

still_running() { sleep "${1:-1}"; kill -0 "$SETUP_PID" 2>/dev/null; }

set_entry() { # set_entry UNINSTALL-STRING: the product's uninstall entry, 32-bit view
  wine reg add "$ENTRY" /v UninstallString /t REG_SZ /d "$1" $QL_VIEW /f >/dev/null 2>&1
}
drop_entry() { wine reg delete "$ENTRY" $QL_VIEW /f >/dev/null 2>&1 || true; }

# Colours of the screenshot, at client coordinates.
shot() { xwd -root -silent | convert xwd:- "png:$1"; }
at() { # at IMAGE X Y -> "r,g,b" at client coordinates
  local p="p{$((OX + $2)),$((OY + $3))}"
  convert "$1" -format "%[fx:round(255*$p.r)],%[fx:round(255*$p.g)],%[fx:round(255*$p.b)]" info:
}
# more_than COUNT R,G,B IMAGE X Y W H: more than COUNT pixels of exactly that colour in the area
more_than() {
  convert "$3" -crop "$6x$7+$((OX + $4))+$((OY + $5))" +repage -alpha off -depth 8 \
    -format %c histogram:info:- | awk -v want="($2)" -v least="$1" '
      { colour = $0; gsub(/ /, "", colour) } index(colour, want) { n += $1 }
      END { exit !(n > least) }'
}
same_area() { # same_area IMAGE1 IMAGE2 X Y W H: identical pixels in that client area
  local crop="$5x$6+$((OX + $3))+$((OY + $4))"
  [ "$(convert "$1" -crop "$crop" +repage -alpha off rgb:- | md5sum)" = \
    "$(convert "$2" -crop "$crop" +repage -alpha off rgb:- | md5sum)" ]
}
differ() { ! same_area "$@"; }

# Web pages go to qlurl, which notes each address in C:\urls.txt instead of opening a browser.
URLS=$(ql_c urls.txt)
rm -f "$URLS"
handler="\"$(winepath -w "$PROGRAMS/qlurl.exe" 2>/dev/null)\" \"%1\""
for view in /reg:32 /reg:64; do
  wine reg add 'HKCR\https\shell\open\command' /ve /t REG_SZ /d "$handler" /f $view >/dev/null 2>&1
done
opened() { # opened ADDRESS: qlurl was asked for it within a few seconds
  for _ in $(seq 50); do grep -qx "$1" "$URLS" 2>/dev/null && return 0; sleep 0.1; done
  return 1
}

# Presses OK on every message box until the setup ends; notices holds one "caption|text"
# line per box. Boxes may stack (a notice handled inside another box's loop), so the order
# in which they are dismissed is not the order in which they came.
dismiss_notices() {
  notices=""
  for _ in $(seq 150); do
    kill -0 "$SETUP_PID" 2>/dev/null || break
    if notice=$(poke box - 2); then echo "notice: $notice"; notices+="$notice"$'\n'; fi
  done
}
noticed() { grep -qxF "$1" <<<"$notices"; }

cleanup_windows() { for pid in "${started[@]}"; do kill "$pid" 2>/dev/null || true; done; }

# ---- closing running copies --------------------------------------------------------------
report() { ql_c "report_$1.txt"; }
window() { # window NAME CLASS TITLE [owned]
  rm -f "$(report "$1")"
  wine "$PROGRAMS/qlwindow.exe" "$2" "$3" "C:\\report_$1.txt" ${4:-} >/dev/null 2>&1 &
  started+=($!)
}
window app_id QUILLON0Orvalo0MainWindow0 "QuillonOrvalo"
window app_name QUILLON0Orvalo0MainWindow0 "Quillon Orvalo extra"
window app_case QUILLON0Orvalo0MainWindow0 "quillon orvalo"
window other_class QLOther0Window "Quillon Orvalo"
window panel QLPanel0Window "Quillon Orvalo VAIO Control Panel"
window panel_owned QLPanel1Window "Quillon Orvalo VAIO Control Panel" owned
# The packaged application and control panel programs, which must end on WM_DESTROY.
declare -A payload_pid
for program in QuillonOrvalo_x64 QLOrvaloVAIO_ControlPanel $([ "$QL_WINE32" = 1 ] && echo QuillonOrvalo); do
  wine "$QL_BUILD/payload/$program.exe" >/dev/null 2>&1 &
  payload_pid[$program]=$!
done
for name in app_id app_name app_case other_class panel panel_owned; do
  for _ in $(seq 100); do [ -f "$(report $name)" ] && break; sleep 0.1; done
  ql_check "test window $name is up" grep -q ready "$(report $name)"
done
sleep 1
for program in "${!payload_pid[@]}"; do
  ql_check "the $program program is up" kill -0 "${payload_pid[$program]}"
done
ended() { for _ in $(seq 50); do kill -0 "$1" 2>/dev/null || return 0; sleep 0.1; done; return 1; }

code=$(ql_run "$QL_SETUP" -h -u)
ql_check "-h -u on a clean system ends with -4 (252), got $code" [ "$code" = 252 ]
sleep 1
for name in app_id app_name panel; do
  ql_check "$name received WM_DESTROY" grep -q destroyed "$(report $name)"
done
for name in app_case other_class panel_owned; do
  ql_check "$name was left alone" grep -q ready "$(report $name)"
done
for program in "${!payload_pid[@]}"; do
  ql_check "the running $program program was closed" ended "${payload_pid[$program]}"
done
cleanup_windows

# ---- automatic procedures ------------------------------------------------------------------
set_entry 'C:\QL\QuillonOrvalo_Setup.exe'
code=$(ql_run "$QL_SETUP" -h -i)
ql_check "-h -i with an uninstall entry ends with -4 (252), got $code" [ "$code" = 252 ]
code=$(ql_run "$QL_SETUP" -h -u)
ql_check "-h -u with an entry runs the uninstall, got $code" [ "$code" = 1 ]
no_entry() { ! wine reg query "$ENTRY" $QL_VIEW >/dev/null 2>&1; }
ql_check "the uninstall removed the entry" no_entry

# Silent means no box, not even when the window cannot be made: the exit code alone tells.
ql_check "-h without a window shows no box and ends with -5" \
  [ "$(poke nowindow "$(winepath -w "$QL_SETUP" 2>/dev/null)" -h)" = "-5 -" ]

# Hidden window: without -i or -u it waits for WM_CLOSE from outside.
start_setup -h
ql_check "-h alone stays running" still_running 2
ql_check "the hidden window takes WM_CLOSE" poke close
finish_setup 10
ql_check "-h alone then ends with 0, got $code" [ "$code" = 0 ]

# Another setup program's entry: the warning box, then the window closes with -2.
set_entry 'C:\QL\Renamed_Setup.exe'
start_setup
box=$(poke box "Wrong Installation Program") || ql_fail "no wrong-setup box"
ql_check "the wrong-setup box names the product" \
  grep -q "Current QuillonOrvalo version has been installed by another Setup program" <<<"$box"
finish_setup 10
ql_check "after the wrong-setup box the exit code is -2 (254), got $code" [ "$code" = 254 ]
drop_entry

# ---- the idle window, single instance, Escape ------------------------------------------
start_setup
origin=$(poke origin) || ql_fail "the installer window did not appear"
read -r OX OY CW CH <<<"$origin"
ql_check "the client area is exactly the skin and the band under it, got ${CW}x$CH" \
  [ "$CW.$CH" = 900.524 ]
xwininfo -name "$TITLE" >/dev/null || ql_fail "no X window titled $TITLE"
sleep 1
code=$(ql_run "$QL_SETUP")
ql_check "a second copy ends with -10 (246), got $code" [ "$code" = 246 ]
ql_check "the first copy runs on" still_running 0

IDLE=$SHOTS/idle.png
shot "$IDLE"
ql_check "the status panel is white" [ "$(at "$IDLE" 5 430)" = 255,255,255 ]
ql_check "the button's left edge is black" [ "$(at "$IDLE" 580 474)" = 0,0,0 ]
ql_check "the button's right edge is black" [ "$(at "$IDLE" 880 474)" = 0,0,0 ]
ql_check "the button is white inside" [ "$(at "$IDLE" 585 449)" = 255,255,255 ]
ql_check "the label \"Install\" is drawn in black inside the button" \
  more_than 100 0,0,0 "$IDLE" 600 450 260 48
ql_check "status line 1 is black text" more_than 100 0,0,0 "$IDLE" 20 454 400 18
ql_check "status line 2 is grey text" more_than 50 100,100,100 "$IDLE" 20 474 400 18
ql_check "the OS label is white on the skin" more_than 50 255,255,255 "$IDLE" 20 390 200 34
ql_check "the OS label has its black shadow" more_than 50 0,0,0 "$IDLE" 21 391 200 34
if [ -f "$SKIN" ]; then
  SKIN_PNG=$SHOTS/skin_at_origin.png
  convert -size 1280x1024 xc:black "$SKIN" -geometry "+$OX+$OY" -composite "$SKIN_PNG"
  ql_check "the skin is drawn above the label" same_area "$IDLE" "$SKIN_PNG" 0 0 "$CW" 385
  ql_check "the skin is drawn right of the label" same_area "$IDLE" "$SKIN_PNG" 745 385 $((CW - 745)) 39
fi

poke click 100 100 >/dev/null
ql_check "a click on the skin opens the home address" opened "https://quillon.example/"
poke key 27 >/dev/null
finish_setup 10
ql_check "Escape closes the idle window with exit code 0, got $code" [ "$code" = 0 ]

# ---- a click on the skin's outline below it does nothing; a click on the button installs --
start_setup
poke origin >/dev/null || ql_fail "the installer window did not appear again"
poke click 580 474 >/dev/null
ql_check "a click on the button's outline leaves the window idle" still_running 1
BEFORE=$SHOTS/before_click.png
shot "$BEFORE"
ql_check "the outline click did not press the button" [ "$(at "$BEFORE" 585 449)" = 255,255,255 ]

poke click 730 474 >/dev/null
sleep 0.6
shot "$SHOTS/busy_button.png"
ql_check "the busy button is black" [ "$(at "$SHOTS/busy_button.png" 585 449)" = 0,0,0 ]

dismiss_notices
finish_setup 10
ql_check "the final notice asks for a restart" noticed "REBOOT YOUR SYSTEM|Installation Complete and Successful !  YOU MUST RESTART your computer to finalize installation"
ql_check "the after-install page was opened" opened "https://quillon.example/orvalo/installed"
ql_check "no other page was opened" [ "$(wc -l <"$URLS")" = 2 ]
ql_check "after the final notice the program ends with the install's result, got $code" \
  [ "$code" = 1 ]

# ---- installed: the window offers the removal ----------------------------------------------
start_setup
origin=$(poke origin) || ql_fail "the installer window did not appear once installed"
read -r OX OY CW CH <<<"$origin"
sleep 1
INSTALLED=$SHOTS/installed.png
shot "$INSTALLED"
ql_check "once installed no warning comes up (same setup file name)" \
  bash -c '! wine "$0/qlpoke.exe" box - 1 >/dev/null 2>&1' "$PROGRAMS"
ql_check "the button keeps its white face" [ "$(at "$INSTALLED" 585 449)" = 255,255,255 ]
ql_check "the button's label changes" differ "$IDLE" "$INSTALLED" 581 445 299 59
ql_check "the status lines change" differ "$IDLE" "$INSTALLED" 20 454 500 38
# The Remove button: the uninstall on the window's thread, its restart box, then the end.
removed() { [ ! -e "$(ql_c "$QL_PF/QL/QuillonOrvalo")" ] && no_entry; }
poke click 730 474 >/dev/null
dismiss_notices
finish_setup 30
ql_check "the Remove button's restart box" noticed "REBOOT YOUR SYSTEM|Restart System to finish the uninstallation!"
ql_check "after the Remove button the program ends with 0, got $code" [ "$code" = 0 ]
ql_check "the Remove button removed the install folder and the entry" removed

# -u with the window: the same uninstall, whose result becomes the exit code.
ql_check "installed again" [ "$(ql_run "$QL_SETUP" -h -i)" = 1 ]
start_setup -u
dismiss_notices
finish_setup 30
ql_check "the uninstall's restart box" noticed "REBOOT YOUR SYSTEM|Restart System to finish the uninstallation!"
ql_check "-u ends with the uninstall's result, got $code" [ "$code" = 1 ]
ql_check "-u removed the install folder and the entry" removed

# ---- -i with the window: it answers while the install runs, and its notice stays -----------
ql_forget_install
start_setup -i
origin=$(poke origin) || ql_fail "the window of -i did not appear"
read -r OX OY CW CH <<<"$origin"
# The install's first step waits three seconds: time enough to try the window while busy.
sleep 1
poke key 27 >/dev/null
poke close >/dev/null
ql_check "Escape and the close box do nothing while the install runs" still_running 1
ql_check "the window answers while the install runs" poke answers
# The timer redraws every 500 ms, with and without "Installing": two shots about that far
# apart differ in the button; a few tries allow for a shot that lands two ticks later.
blinks=0
shot "$SHOTS/busy_1.png"
for n in 2 3 4 5 6; do
  sleep 0.25
  shot "$SHOTS/busy_$n.png"
  differ "$SHOTS/busy_$((n - 1)).png" "$SHOTS/busy_$n.png" 580 444 301 45 && { blinks=1; break; }
done
ql_check "the busy button blinks" [ "$blinks" = 1 ]
notice=$(poke box "REBOOT YOUR SYSTEM" 60 keep) || ql_fail "no final notice after -i"
ql_check "the final notice asks for a restart, got $notice" \
  [ "$notice" = "REBOOT YOUR SYSTEM|Installation Complete and Successful !  YOU MUST RESTART your computer to finalize installation" ]
sleep 3
ql_check "the notice stays until dismissed" poke box "REBOOT YOUR SYSTEM" 1
finish_setup 10
ql_check "-i then ends with the install's result, got $code" [ "$code" = 1 ]
