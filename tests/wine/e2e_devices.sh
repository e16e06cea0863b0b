#!/usr/bin/env bash
# End to end, the audio device inventory and the driver-present warning: without audio
# devices nothing is found; with a sound server of the suite's own whose null sink bears the
# product's name (Wine lists it as a render endpoint and a wave-out device, its monitor as a
# capture device) and no uninstall entry, the warning box, the window stays and the exit code
# is -3. Silent without -i or -u (a mistyped -hi too), the program ends by itself as soon as
# it has looked, with 0 or -3, showing and installing nothing.
source "$(dirname "$0")/lib.sh"
command -v pulseaudio >/dev/null || ql_fail "pulseaudio is missing (scripts/setup.sh installs it)"
ql_prefix devices

drivers='HKCU\Software\Wine\Drivers'

# ---- no audio driver at all: no device, no warning ----------------------------------------
wine reg add "$drivers" /v Audio /t REG_SZ /d "" /f >/dev/null 2>&1
silent_alone() { for flags in -h -hi; do start_setup $flags; ends_with "$flags alone" "$1"; done; }
silent_alone 0

# ---- a sound server of our own, found by Wine through XDG_RUNTIME_DIR ----------------------
PULSE_DIR=$(mktemp -d)
export XDG_RUNTIME_DIR=$PULSE_DIR
unset PULSE_SERVER
sink="device.description='Quillon Orvalo Test Output'"
HOME=$PULSE_DIR pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no \
  -L "module-native-protocol-unix auth-anonymous=1" \
  -L "module-null-sink sink_name=ql_sink sink_properties=\"$sink\"" >"$PULSE_DIR/server.log" 2>&1 &
PULSE=$!
trap 'kill "$PULSE" 2>/dev/null; wait "$PULSE" 2>/dev/null; rm -rf "$PULSE_DIR"; ql_cleanup' EXIT
sink_up() { pactl list short sinks 2>/dev/null | grep -q ql_sink; }
for _ in $(seq 50); do sink_up && break; sleep 0.1; done
ql_check "the sound server holds the product-named sink" sink_up
wine reg add "$drivers" /v Audio /t REG_SZ /d pulse /f >/dev/null 2>&1

start_setup
box=$(poke box "Installation Issue") || ql_fail "no driver-present box"
ql_check "the box asks to remove the product's drivers" \
  grep -q "Check Quillon Orvalo drivers are no more present" <<<"$box"
ql_check "the window stays after the box" still_running 1
poke key 27 >/dev/null
ends_with "closing it" 253

silent_alone 253
ql_check "nothing was installed" [ ! -e "$(ql_c "$QL_PF/QL")" ]
