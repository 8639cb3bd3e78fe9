#!/usr/bin/env bash
# A dialog on a real X server and window manager: with four stay-on-top tool windows showing
# (Results (Mini), Results (Max), Logging, System Info), Sampling Setup opened with Ctrl+Q from
# the frame window comes up on top of them all (last in _NET_CLIENT_LIST_STACKING) and active
# (_NET_ACTIVE_WINDOW) with the keyboard's input focus (the manager draws its title bar from
# that focus), and the window manager offers no minimise or maximise for it
# (_NET_WM_ALLOWED_ACTIONS). A picture of the screen is left in the scratch folder.
#   dialog_stacking.sh <QzSim> <scratch folder>
# Needs Xvfb, openbox, xdotool, xprop and xdpyinfo; exit 77 (skipped) when one is missing. The
# display number is the first free one from 100 up; the profile is the scratch folder's own.
set -u
for tool in Xvfb openbox xdotool xprop xdpyinfo; do
  command -v "$tool" >/dev/null || { echo "$tool is missing: skipped"; exit 77; }
done
exe=$(readlink -f "$1")
work=$2
rm -rf "$work" && mkdir -p "$work"
work=$(readlink -f "$work")
fail() {
  echo "FAIL: $*"
  [ -n "${DISPLAY:-}" ] && command -v import >/dev/null && import -window root "$work/fail.png" 2>/dev/null
  exit 1
}
pids=()
app=""
cleanup() {
  if [ -n "$app" ] && kill -0 "$app" 2>/dev/null; then
    kill -TERM "$app" 2>/dev/null
    for _ in $(seq 1 200); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
    kill -KILL "$app" 2>/dev/null
  fi
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
}
trap cleanup EXIT

# Polls `cond` (a shell command) every 0.1 s for at most `secs` seconds.
wait_until() {
  local secs=$1
  shift
  local n=$((secs * 10))
  for _ in $(seq 1 "$n"); do
    eval "$@" && return 0
    sleep 0.1
  done
  return 1
}

# ---- an X server of our own, on a display nobody uses ----
disp=""
for n in $(seq 100 199); do
  [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
  Xvfb ":$n" -screen 0 1600x900x24 -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
  xpid=$!
  if wait_until 30 "xdpyinfo -display :$n >/dev/null 2>&1 || ! kill -0 $xpid 2>/dev/null" &&
    kill -0 "$xpid" 2>/dev/null; then
    pids+=("$xpid")
    disp=":$n"
    break
  fi
  kill "$xpid" 2>/dev/null
done
[ -n "$disp" ] || fail "no X server could be started"
export DISPLAY=$disp
# The server is kept from resetting (-noreset) when its first client, the poll above, leaves: a
# manager connecting during such a reset cannot open the display and ends. Should it end all the
# same, it is started again, at most three times.
wm_up() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
for _ in 1 2 3; do
  openbox >>"$work/openbox.log" 2>&1 &
  wm=$!
  pids+=("$wm")
  wait_until 30 "wm_up || ! kill -0 $wm 2>/dev/null"
  wm_up && break
done
wm_up || fail "the window manager did not come up"

# ---- the program with four tool windows showing ----
export QZSIM_PROFILE=$work/profile
user=$QZSIM_PROFILE/Vostrel/QzSim
mkdir -p "$user"
printf '[QzSmallFrm]\r\nVisible=1\r\n[QzResForm]\r\nVisible=1\r\n[LogForm]\r\nVisible=1\r\n[TuStpFrm]\r\nVisible=1\r\n' \
  >"$user/QzSim0.ini"
export QT_QPA_PLATFORM=xcb
# No session bus: the program runs on without its live output.
export DBUS_SESSION_BUS_ADDRESS=unix:path=$work/no-bus
"$exe" >"$work/qzsim.out" 2>&1 &
app=$!

ids() { xprop -root "$1" 2>/dev/null | sed -n 's/.*window id # //p' | tr -d ' ' | tr ',' ' '; }
name_of() { xprop -id "$1" _NET_WM_NAME 2>/dev/null | sed -n 's/^_NET_WM_NAME(UTF8_STRING) = "\(.*\)"$/\1/p'; }
dec() { printf '%d' "$1"; }
# The first window whose title matches the regular expression.
id_named() {
  for w in $(ids _NET_CLIENT_LIST_STACKING); do
    name_of "$w" | grep -qE "$1" && { echo "$w"; return 0; }
  done
  return 1
}
# Results (Mini) is titled after what it shows.
tools=('^(Input( \(Transformed\))?|Load)$' '^Quzar Measurement Results$' '^Data Logging$'
  '^System Info$')
all_tools_up() {
  for t in "${tools[@]}"; do id_named "$t" >/dev/null || return 1; done
}
wait_until 120 "kill -0 $app 2>/dev/null && all_tools_up" || {
  kill -0 "$app" 2>/dev/null || fail "the program ended: $(cat "$work/qzsim.out")"
  fail "the tool windows did not come up; windows: $(for w in $(ids _NET_CLIENT_LIST_STACKING); do printf '"%s" ' "$(name_of "$w")"; done)"
}
frame=""
for w in $(ids _NET_CLIENT_LIST_STACKING); do
  case $(name_of "$w") in *" - Simulation"*) frame=$w ;; esac
done
[ -n "$frame" ] || fail "no frame window"

# ---- Ctrl+Q in the frame window ----
dialog='^Quzar Sampling Setup \(Ctrl\+Q\)$'
xdotool windowactivate --sync "$frame" >/dev/null 2>&1 || xdotool windowactivate "$frame"
frame_active() { [ "$(dec "$(ids _NET_ACTIVE_WINDOW)")" = "$(dec "$frame")" ]; }
wait_until 30 frame_active || fail "the frame window could not be activated"
xdotool key --clearmodifiers ctrl+q
on_top_and_active() {
  local d last active
  d=$(id_named "$dialog") || return 1
  last=$(ids _NET_CLIENT_LIST_STACKING | awk '{print $NF}')
  active=$(ids _NET_ACTIVE_WINDOW)
  [ -n "$last" ] && [ -n "$active" ] && [ "$(dec "$last")" = "$(dec "$d")" ] &&
    [ "$(dec "$active")" = "$(dec "$d")" ]
}
if ! wait_until 60 on_top_and_active; then
  order=$(for w in $(ids _NET_CLIENT_LIST_STACKING); do printf '"%s" ' "$(name_of "$w")"; done)
  fail "Sampling Setup is not last and active; stacking (bottom first): $order; active: \"$(name_of "$(ids _NET_ACTIVE_WINDOW)")\""
fi
d=$(id_named "$dialog")
# The keys go to it: the X input focus is on the dialog, not only the manager's active mark.
has_focus() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$(dec "$d")" ]; }
wait_until 10 has_focus ||
  fail "Sampling Setup is active but the input focus is on \"$(name_of "$(printf '0x%x' "$(xdotool getwindowfocus 2>/dev/null)")")\""
# Every tool window is below it.
for t in "${tools[@]}"; do id_named "$t" >/dev/null || fail "$t went away"; done
# The title bar offers closing and moving only.
actions=$(xprop -id "$d" _NET_WM_ALLOWED_ACTIONS 2>/dev/null)
echo "$actions" | grep -q "_NET_WM_ACTION_CLOSE" || fail "Sampling Setup cannot be closed: $actions"
for a in _NET_WM_ACTION_MINIMIZE _NET_WM_ACTION_MAXIMIZE_HORZ _NET_WM_ACTION_MAXIMIZE_VERT; do
  echo "$actions" | grep -q "$a" && fail "Sampling Setup offers $a: $actions"
done
command -v import >/dev/null && import -window root "$work/stacking.png" 2>/dev/null
echo "PASS: Sampling Setup last of $(ids _NET_CLIENT_LIST_STACKING | wc -w) windows, active, with the input focus; $actions"
