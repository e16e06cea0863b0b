#!/usr/bin/env bash
# End to end, the program's frame: single instance, closing of running copies of the
# application and of the VAIO control panel, the automatic procedures and their exit codes (a
# window, a lock or a thread that cannot be had among them), the warning for a product
# installed by another setup program, the idle window's painting, clicks (skin, outline,
# button) and keys, the install from the button and its notices, the installed state, the
# removal by the Remove button, and -i with the window: it blinks while the install runs,
# repaints, refuses to close, and its final notice (the program not placed for removal) stays
# until dismissed. What a screen reader reads of the window, its press of the button and the
# changes it is told of, the progress on the taskbar button, Enter and Space drawing the
# button pressed; last, without the desktop shell no page opens.
source "$(dirname "$0")/lib.sh"
ql_prefix spine win10

SHOTS=$QL_BUILD/screenshots
mkdir -p "$SHOTS"

set_entry() { # set_entry UNINSTALL-STRING: the product's uninstall entry, default view
  wine reg add "$QL_ENTRY" /v UninstallString /t REG_SZ /d "$1" $QL_VIEW /f >/dev/null 2>&1
}

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

URLS=$(ql_c urls.txt)
ql_url_handler
# opened ADDRESS: qlurl was asked for it within a few seconds, by the desktop shell's process,
# which runs as the signed-in person, not by the elevated setup program
opened() {
  for _ in $(seq 50); do grep -qx "$1 explorer.exe" "$URLS" 2>/dev/null && return 0; sleep 0.1; done
  cat "$URLS" >&2 || true  # what was opened, and by which program
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

# The window as a screen reader reads it (qlpoke read): the client area, then the status lines
# and the button, each "id|name, role, states|place in the client area|action". The window
# takes the focus when it appears, at a moment of its own: heard() leaves the focus out.
heard() { poke read | sed 's/, focused,/,/'; }
IDLE_READ="0|QuillonOrvalo Installation (Version 1.0.2.9), client, focusable|0,0 900x524|
1|Ready to install ? Click the button right there..., static text, read only|20,454 560x20|
2|it will install Quillon QuillonOrvalo on your system..., static text, read only|20,474 560x20|
3|Install, push button, focusable|580,444 301x61|Press"
focus_on_button() {
  for _ in $(seq 30); do poke read | grep -q '^3|Install, push button, focused,' && return; sleep 0.2; done
  false
}
# Wine's taskbar never tells a window that its button is in place (qlpoke taskbar does), and
# its taskbar object notes only the first progress state and value of a run: those of the run
# started by with_taskbar.
TASKBAR=$QL_BUILD/wine/taskbar.$$
with_taskbar() { WINEDEBUG=-all,fixme+explorerframe QL_SETUP_ERR=$TASKBAR "$@"; }
taskbar_got() { grep -q "SetProgress$1 .*$2 stub" "$TASKBAR"; }  # taskbar_got State|Value TEXT
REBOOT="REBOOT YOUR SYSTEM|Installation Complete and Successful !  YOU MUST RESTART your computer to finalize installation"
NOT_PLACED="REBOOT YOUR SYSTEM|Installation finished !  The setup program could not be placed for removal: this installation is not listed in Windows Programs and Features.  Thanks to restart your system anyway"

# ---- closing running copies --------------------------------------------------------------
# Every stand-in ends on WM_DESTROY, so a closed window is an ended process. The packaged
# application and control panel must be closed; so must a window of the application's class
# titled with the product's id, or a longer title that starts with it; left alone are one
# whose title differs in case, one of another class, and a control panel with an owner.
declare -A pid expect
closed() { for _ in $(seq 50); do kill -0 "$1" 2>/dev/null || return 0; sleep 0.1; done; return 1; }
left_alone() { sleep 1; kill -0 "$1" 2>/dev/null; }  # time enough to end, had it been closed
window() { # window NAME closed|left_alone CLASS TITLE [owned]: a qlwindow, once it is up
  wine "$QL_TESTPROGS/qlwindow.exe" "$3" "$4" "C:\\report_$1.txt" ${5:-} >/dev/null 2>&1 &
  pid[$1]=$! expect[$1]=$2
  for _ in $(seq 100); do [ -f "$(ql_c "report_$1.txt")" ] && return 0; sleep 0.1; done
  ql_fail "test window $1 did not come up"
}
window app_id closed QUILLON0Orvalo0MainWindow0 "QuillonOrvalo"
window app_longer closed QUILLON0Orvalo0MainWindow0 "QuillonOrvalo - Audio Router"
window app_case left_alone QUILLON0Orvalo0MainWindow0 "quillon orvalo"
window other_class left_alone QLOther0Window "Quillon Orvalo"
window panel_owned left_alone QLPanel1Window "Quillon Orvalo VAIO Control Panel" owned
for program in QuillonOrvalo_x64 QLOrvaloVAIO_ControlPanel $([ "$QL_WINE32" = 1 ] && echo QuillonOrvalo); do
  wine "$QL_BUILD/payload/$program.exe" >/dev/null 2>&1 &
  pid[$program]=$! expect[$program]=closed
done
sleep 1
for name in "${!pid[@]}"; do ql_check "$name is up" kill -0 "${pid[$name]}"; done

# The person's hive names their Startup folder: no start makes it, as administrator.
wine reg add 'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders' \
  /v Startup /d 'C:\windows\system32\made_by_setup\deep' /f >/dev/null 2>&1
code=$(ql_run "$QL_SETUP" -h -u)
ql_check "-h -u on a clean system ends with -4 (252), got $code" [ "$code" = 252 ]
ql_check "no start makes the Startup folder" [ ! -e "$(ql_c windows/system32/made_by_setup)" ]
for name in "${!pid[@]}"; do
  ql_check "$name: ${expect[$name]}" "${expect[$name]}" "${pid[$name]}"
done

# ---- automatic procedures ------------------------------------------------------------------
set_entry 'C:\QL\QuillonOrvalo_Setup.exe'
code=$(ql_run "$QL_SETUP" -h -i)
ql_check "-h -i with an uninstall entry ends with -4 (252), got $code" [ "$code" = 252 ]
code=$(ql_run "$QL_SETUP" -h -u)
ql_check "-h -u with an entry runs the uninstall, got $code" [ "$code" = 1 ]
ql_check "the uninstall removed the entry" key_missing "$QL_ENTRY" $QL_VIEW

# Silent means no box, not even when the window cannot be made: the exit code alone tells.
SETUP_W=$(winepath -w "$QL_SETUP" 2>/dev/null) STARTED=$QL_BUILD/wine/started.$$
ql_check "-h without a window ends at once with -5, no box holding it" \
  [ "$(poke nowindow "$SETUP_W" -h)" = -5 ]
poke nowindow "$SETUP_W" >"$STARTED" & refused=$!
ql_check "with the window, the Startup Error box says so" \
  [ "$(poke box "Startup Error")" = "Startup Error|Failed to create window..." ]
wait $refused
ql_check "and the program ends after it with -5" [ "$(cat "$STARTED")" = -5 ]
# Any of the person's programs can hold the lock's name with another kind of object.
LOCK='QuillonOrvalo-Installation- Mutex-{ED9D5711-5CE4-4de2-97CB-70D165F565D3}'
ql_check "an event of the lock's name: no lock, -1" [ "$(poke run "\"$SETUP_W\" -h" "$LOCK")" = -1 ]
ql_check "-h -i without a thread for the install: -1" [ "$(poke nothread "$SETUP_W" "-h -i")" = -1 ]

# Another setup program's entry: the warning box, then the window closes with -2.
set_entry 'C:\QL\Renamed_Setup.exe'
start_setup
box=$(poke box "Wrong Installation Program") || ql_fail "no wrong-setup box"
ql_check "the wrong-setup box names the product" \
  grep -q "Current QuillonOrvalo version has been installed by another Setup program" <<<"$box"
ends_with "after the wrong-setup box the window" 254
ql_forget_install

# ---- the idle window, single instance, Escape ------------------------------------------
start_setup
read -r OX OY CW CH < <(poke origin) || ql_fail "the installer window did not appear"
ql_check "the client area is the skin and the band under it, ${CW}x$CH" [ "$CW.$CH" = 900.524 ]
xwininfo -name "QuillonOrvalo Installation (Version 1.0.2.9)" >/dev/null || ql_fail "wrong title"
code=$(ql_run "$QL_SETUP")
ql_check "a second copy ends with -10 (246), got $code" [ "$code" = 246 ]
ql_check "the first copy runs on" still_running 0

ql_check "a screen reader reads the idle window as painted" diff <(heard) - <<<"$IDLE_READ"
ql_check "the button has the keyboard focus" focus_on_button
IDLE=$SHOTS/idle.png
shot "$IDLE"
ql_check "the status panel is white" [ "$(at "$IDLE" 5 430)" = 255,255,255 ]
ql_check "the button's left edge is black" [ "$(at "$IDLE" 580 474)" = 0,0,0 ]
ql_check "the button's right edge is black" [ "$(at "$IDLE" 880 474)" = 0,0,0 ]
ql_check "the button is white inside" [ "$(at "$IDLE" 585 449)" = 255,255,255 ]
ql_check "the label \"Install\" is black in the button" more_than 100 0,0,0 "$IDLE" 600 450 260 48
ql_check "status line 1 is black text" more_than 100 0,0,0 "$IDLE" 20 454 400 18
ql_check "status line 2 is grey text" more_than 50 100,100,100 "$IDLE" 20 474 400 18
ql_check "the OS label is white on the skin" more_than 50 255,255,255 "$IDLE" 20 390 200 34
ql_check "the OS label has its black shadow" more_than 50 0,0,0 "$IDLE" 21 391 200 34
SKIN=$SHOTS/skin_at_origin.png
convert -size 1280x1024 xc:black "$QL_BUILD/art/skin.bmp" -geometry "+$OX+$OY" -composite "$SKIN"
ql_check "the skin is drawn above the label" same_area "$IDLE" "$SKIN" 0 0 "$CW" 385
ql_check "the skin is drawn right of the label" same_area "$IDLE" "$SKIN" 745 385 $((CW - 745)) 39

poke click 100 100 >/dev/null
ql_check "a click on the skin opens the home address" opened "https://quillon.example/"
poke key 27 >/dev/null
ends_with "Escape on the idle window" 0

# ---- a click on the skin's outline below it does nothing; a click on the button installs --
start_setup
poke origin >/dev/null || ql_fail "the installer window did not appear again"
poke click 580 474 >/dev/null
ql_check "a click on the button's outline leaves the window idle" still_running 1
shot "$SHOTS/outline.png"
ql_check "the outline click left it white" [ "$(at "$SHOTS/outline.png" 585 449)" = 255,255,255 ]

poke click 730 474 >/dev/null  # drawn pressed as after a key (below), then busy
dismiss_notices
ends_with "after the final notice the program, with the install's result," 1
ql_check "the final notice asks for a restart" noticed "$REBOOT"
ql_check "the after-install page was opened" opened "https://quillon.example/orvalo/installed"
ql_check "no other page was opened" [ "$(wc -l <"$URLS")" = 2 ]
CLICKED=$notices

start_setup -h  # silent without -i or -u: the start-up checks, then the end, by itself
ends_with "-h alone once installed" 0
ql_check "which removed nothing" key_exists "$QL_ENTRY" $QL_VIEW

# ---- installed: the window offers the removal ----------------------------------------------
with_taskbar start_setup
read -r OX OY CW CH < <(poke origin) || ql_fail "the installer window did not appear once installed"
poke taskbar >/dev/null
ql_check "a screen reader reads Remove" grep -qxF '3|Remove, push button, focusable|580,444 301x61|Press' <(heard)
sleep 1
INSTALLED=$SHOTS/installed.png
shot "$INSTALLED"
ql_check "once installed no warning comes up (same setup file name)" no_box 1
ql_check "the button keeps its white face" [ "$(at "$INSTALLED" 585 449)" = 255,255,255 ]
ql_check "the button's label changes" differ "$IDLE" "$INSTALLED" 581 445 299 59
ql_check "the status lines change" differ "$IDLE" "$INSTALLED" 20 454 500 38
# The Remove button: the uninstall on the window's thread, its restart box, then the end.
poke click 730 474 >/dev/null
dismiss_notices
ends_with "after the Remove button the program" 0 30
ql_check "the restart box" noticed "REBOOT YOUR SYSTEM|Restart System to finish the uninstallation!"
ql_check "the Remove button removed the install folder" [ ! -e "$(ql_c "$QL_PF/QL/QuillonOrvalo")" ]
ql_check "the Remove button removed the entry" key_missing "$QL_ENTRY" $QL_VIEW
ql_check "the removal showed work without a measure on the taskbar" taskbar_got State "flags 1"
ql_check "and no measure" [ "$(grep -c SetProgressValue "$TASKBAR")" = 0 ]

# ---- a screen reader presses the button: the install runs as after the click --------------
LISTENED=$QL_BUILD/wine/listened.$$
with_taskbar start_setup
poke origin >/dev/null || ql_fail "the installer window did not appear for the screen reader"
poke taskbar >/dev/null
poke listen 90 >"$LISTENED" &
LISTENER=$!
for _ in $(seq 50); do grep -qs listening "$LISTENED" && break; sleep 0.1; done
ql_check "the button's default action is taken" poke press
sleep 4  # into the second step or, on a loaded machine, a later one
MIDWAY=$(poke read) && echo "$MIDWAY"
ql_check "midway the button reads the step, unavailable" \
  grep -qxE '3\|Installing: [A-Za-z /]+, push button, unavailable\|580,444 301x61\|Press' <<<"$MIDWAY"
poke box "REBOOT YOUR SYSTEM" 60 keep >/dev/null || ql_fail "no final notice after the default action"
poke read
dismiss_notices
ends_with "after the default action the program, as after the click," 1
ql_check "the notices are those of the click" [ "$notices" = "$CLICKED" ]
wait "$LISTENER"
cat "$LISTENED"
for told in "state 3 .*, unavailable" "name 3 Installing: Copy Files," "name 3 Installing: Create Shortcuts,"; do
  ql_check "a screen reader was told: $told" grep -q "^$told" "$LISTENED"
done
ql_check "each name once: no change is told twice" [ -z "$(grep '^name' "$LISTENED" | uniq -d)" ]
ql_check "the taskbar showed the first step's progress" taskbar_got State "flags 2"
ql_check "as one of seven" taskbar_got Value "ullCompleted 3e8, ullTotal 1b58"

# ---- Enter and Space press the button: drawn pressed, it starts the install's thread ---------
# Here no thread can start: the launch failure's box, beside which the button stays pressed
# (the box, centred on the screen, covers its left part), then the end, with nothing set (0).
ql_forget_install
for key in 13 32; do
  poke nothread "$SETUP_W" >"$STARTED" & refused=$!
  read -r OX OY CW CH < <(poke origin) || ql_fail "no window for key $key"
  poke key $key >/dev/null
  box=$(poke box "QuillonOrvalo Installation Error" 20 keep) || ql_fail "no box after key $key"
  shot "$SHOTS/pressed.png"
  poke box "QuillonOrvalo Installation Error" >/dev/null
  wait $refused
  ql_check "key $key: the install could not start, got $box" \
    [ "$box" = "QuillonOrvalo Installation Error|Failed to launch Procedure..." ]
  ql_check "the pressed button is black" [ "$(at "$SHOTS/pressed.png" 870 449)" = 0,0,0 ]
  ql_check "its label white" more_than 50 255,255,255 "$SHOTS/pressed.png" 760 450 110 48
  ql_check "then the program ends with 0" [ "$(cat "$STARTED")" = 0 ]
done

# ---- -i with the window: it blinks while the install runs, and its notice stays ------------
# This time a folder stands where the setup program's copy goes: the final notice says that
# the program could not be placed for removal, and the install ends with -105.
copy=$(ql_c "$QL_PF/QL/QuillonOrvalo/QuillonOrvalo_Setup.exe")
rm -f "$copy" && mkdir -p "$copy"
DRAWN=$QL_BUILD/wine/drawn.$$  # the texts it draws, as Wine traces them
WINEDEBUG=-all,+text QL_SETUP_ERR=$DRAWN start_setup -i
read -r OX OY CW CH < <(poke origin) || ql_fail "the window of -i did not appear"
# The install's first step waits three seconds: time enough to try the window while busy.
sleep 1
poke key 27 >/dev/null
poke close >/dev/null || true  # no window left to close: the check below tells
ql_check "Escape and the close box do nothing while the install runs" still_running 1
# The timer redraws every 500 ms, with and without "Installing": two shots about that far
# apart differ in the button; a few tries allow for a shot that lands two ticks later.
blinks() {
  shot "$SHOTS/busy_1.png"
  for n in 2 3 4 5 6; do
    sleep 0.25
    shot "$SHOTS/busy_$n.png"
    differ "$SHOTS/busy_$((n - 1)).png" "$SHOTS/busy_$n.png" 580 444 301 45 && return 0
  done
  return 1
}
ql_check "the busy button blinks, so the window answers while the install runs" blinks
# A repaint draws the idle button, "Install", until the next tick draws the busy one over it
# (too soon under load for a shot to catch it reliably, so the drawing is read).
repainted() {
  for _ in $(seq 50); do
    awk '/L"Installing"/ { busy = 1 } busy && /L"Install"/ { exit 1 }' "$DRAWN" || return 0
    sleep 0.1
  done
  false
}
poke repaint
ql_check "a repaint while busy draws the idle button" repainted
notice=$(poke box "REBOOT YOUR SYSTEM" 60 keep) || ql_fail "no final notice after -i"
ql_check "the final notice says the program could not be placed for removal, got $notice" \
  [ "$notice" = "$NOT_PLACED" ]
sleep 3
ql_check "the notice stays until dismissed" poke box "REBOOT YOUR SYSTEM" 1
ends_with "-i then, with the install's result (-105)," 151

# ---- without the desktop shell (the person's programs can end it) no page opens -------------
ql_forget_install  # the driver stays after -105: without it, no start-up notice
pages=$(wc -l <"$URLS")
wine taskkill /f /im explorer.exe >/dev/null 2>&1 || true
start_setup
poke origin >/dev/null || ql_fail "the installer window did not appear without the shell"
poke click 100 100 >/dev/null
no_page() { for _ in $(seq 50); do [ "$(wc -l <"$URLS")" = "$pages" ] || return 1; sleep 0.1; done; }
ql_check "without the desktop shell a click on the skin opens no page" no_page
poke key 27 >/dev/null
ends_with "Escape without the desktop shell" 0
