#!/usr/bin/env bash
# Ten starts of the window program on a real X server and window manager, each ended over the
# remote control with Quit(true): every window must open where the start before it left it.
# Eleven display windows and every tool window that keeps its visibility are open; after each
# start the places of all of them (the keys "Visible", "Top", "Left", "Width", "Height",
# "WindowState" and the display windows' legend and clock places) are collected from the
# automatic setup. The ten collections must be equal, the display windows 248 high and the
# scenario window 540 high at 39.
#   restart_cycles.sh <QzSim> <scratch folder> [display]
# Needs Xvfb, openbox, dbus-daemon, gdbus and python3; run by hand (see docs/DEVELOPING.md).
set -u
exe=$(readlink -f "$1")
work=$2
disp=${3:-:97}
for tool in Xvfb openbox dbus-daemon gdbus python3; do
  command -v "$tool" >/dev/null || { echo "$tool is missing: skipped"; exit 77; }
done
rm -rf "$work" && mkdir -p "$work"
work=$(readlink -f "$work")
fail() {
  echo "FAIL: $*"
  exit 1
}
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  [ -n "${DBUS_SESSION_BUS_PID:-}" ] && kill "$DBUS_SESSION_BUS_PID" 2>/dev/null
}
trap cleanup EXIT

Xvfb "$disp" -screen 0 1920x1080x24 -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
pids+=($!)
export DISPLAY=$disp
for _ in $(seq 1 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.05; done 2>/dev/null
openbox >"$work/openbox.log" 2>&1 &
pids+=($!)
sleep 1
eval "$(dbus-daemon --session --fork --print-address=1 --print-pid=1 |
  { read -r a; read -r p; echo "export DBUS_SESSION_BUS_ADDRESS='$a' DBUS_SESSION_BUS_PID=$p"; })"
export QZSIM_PROFILE=$work/profile
unset QT_QPA_PLATFORM
ini=$QZSIM_PROFILE/Vostrel/QzSim/QzSim0.ini

# One start: wait until the program serves its control object and its windows have settled,
# then end it with Quit(true) (the setup is saved) and wait for the process.
one_start() {
  "$exe" >"$work/run$1.out" 2>&1 &
  local pid=$!
  local up=""
  for _ in $(seq 1 400); do
    if gdbus introspect --session --dest local.QzSim --object-path /Control >/dev/null 2>&1; then
      up=1
      break
    fi
    sleep 0.05
  done
  [ -n "$up" ] || { kill "$pid"; fail "start $1: the control object did not come up"; }
  sleep 2
  gdbus call --session --dest local.QzSim --object-path /Control \
    --method local.QzSim.Control.Quit true >"$work/quit$1.out" 2>&1 ||
    fail "start $1: Quit(true) refused: $(cat "$work/quit$1.out")"
  for _ in $(seq 1 400); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.05
  done
  kill -0 "$pid" 2>/dev/null && { kill "$pid"; fail "start $1: the program did not end"; }
  wait "$pid"
}

# Every window's place as the automatic setup holds it, one line per section and key.
collect() {
  python3 - "$ini" <<'PY'
import re, sys
keys = {"Visible", "Top", "Left", "Width", "Height", "WindowState",
        "LgndTop", "LgndLeft", "pTimeTop", "pTimeLeft"}
section = None
for raw in open(sys.argv[1], encoding="latin-1"):
    line = raw.strip()
    m = re.match(r"^\[(.*)\]$", line)
    if m:
        section = m.group(1)
        continue
    if section is None or " " in section or "=" not in line:
        continue
    k, v = line.split("=", 1)
    if k in keys:
        print(f"{section}.{k}={v}")
PY
}

# The first start makes the profile; then eleven display windows and every tool window that
# keeps its visibility are put into the automatic setup.
one_start 0
[ -f "$ini" ] || fail "the first start wrote no automatic setup"
python3 - "$ini" <<'PY'
import re, sys
path = sys.argv[1]
text = open(path, encoding="latin-1").read().replace("\r\n", "\n")
# Drop the display windows there are, with their sub-sections.
out, skip = [], False
for line in text.split("\n"):
    m = re.match(r"^\[(.*)\]$", line)
    if m:
        skip = m.group(1).lower().startswith("dform_")
    if not skip:
        out.append(line)
text = "\n".join(out)
# Every tool window that keeps its visibility is shown.
text = re.sub(r"(?m)^Visible=0$", "Visible=1", text)
# The scenario window at 39, 540 high.
def scen(m):
    body = re.sub(r"(?m)^Top=.*$", "Top=39", m.group(0))
    return re.sub(r"(?m)^Height=.*$", "Height=540", body)
text = re.sub(r"(?ms)^\[TuScenarioForm\]\n.*?(?=^\[|\Z)", scen, text)
for n in range(1, 12):
    text += (f"\n[DForm_{n}]\nWindowState=0\nTop={24 * (n - 1)}\nLeft={24 * (n - 1)}\n"
             f"Width=338\nHeight=248\nLgndTop=1\nLgndLeft=215\nLgndShow=1\npTimeTop=20\n"
             f"pTimeLeft=10\npTimeShow=1\nDsplTyp={(n - 1) % 11}\n")
open(path, "w", encoding="latin-1", newline="\r\n").write(text)
PY
grep -q '^Visible=1' "$ini" || fail "no tool window keeps its visibility"

for i in $(seq 1 10); do
  one_start "$i"
  collect >"$work/places$i.txt"
  [ -s "$work/places$i.txt" ] || fail "start $i: nothing collected"
done
for i in $(seq 2 10); do
  diff "$work/places1.txt" "$work/places$i.txt" >"$work/diff$i.txt" ||
    fail "start $i placed windows elsewhere than start 1: $(cat "$work/diff$i.txt")"
done
n=$(grep -c -E '^DForm_[0-9]+\.Height=248' "$work/places1.txt")
[ "$n" -eq 11 ] || fail "$n display windows 248 high, wanted 11: $(grep 'DForm_.*Height' "$work/places1.txt")"
grep -q '^TuScenarioForm\.Height=540$' "$work/places1.txt" ||
  fail "scenario window: $(grep '^TuScenarioForm' "$work/places1.txt")"
grep -q '^TuScenarioForm\.Top=39$' "$work/places1.txt" ||
  fail "scenario window: $(grep '^TuScenarioForm' "$work/places1.txt")"
echo "ten starts, ten equal collections of $(wc -l <"$work/places1.txt") places"
