#!/usr/bin/env bash
# A headless run whose setup switches the live data item on publishes it on the session bus, and
# what another program reads there with gdbus is the program's own item text.
#   ddebus_headless.sh <QzSim> <scratch folder>
# Runs on a private session bus of its own; exits 77 (skipped) without dbus-run-session or gdbus.
set -u
exe=$1
work=$2
if ! command -v dbus-run-session >/dev/null || ! command -v gdbus >/dev/null; then
  echo "dbus-run-session or gdbus is missing (packages dbus-daemon, libglib2.0-bin): skipped"
  exit 77
fi
if [ -z "${QZ_INSIDE_PRIVATE_BUS:-}" ]; then
  QZ_INSIDE_PRIVATE_BUS=1 exec dbus-run-session -- "$0" "$@"
fi

rm -rf "$work" && mkdir -p "$work"
# A constant load (no uncertainties) so that every frame carries the same item text; a pause of
# 10 ms a frame keeps the run going while the item is read.
printf '[QuzarForm]\r\nmiDdeOn=1\r\nDdeDelim=3\r\nDdeWait_ms=0\r\n[Model]\r\nDutType=0\r\nRFormat=0\r\nErrByte=0\r\nRhoMag=0.5\r\nRhoPha=90\r\nPinc=2\r\nFreq=2450\r\nRUncert=0\r\nPUncert=0\r\nFUncert=0\r\nTUncert=0\r\nAniPause=500\r\n' \
  > "$work/user.stp"
QZSIM_PROFILE="$work/profile" "$exe" --headless --passes 400 --setup "$work/user.stp" \
  > "$work/out.txt" 2>&1 &
pid=$!

read_item() {
  gdbus call --session --dest local.QzSim --object-path /QuzarDdeTopic \
    --method org.freedesktop.DBus.Properties.Get local.QzSim.QuzarDdeTopic QuzarDdeItem 2>/dev/null
}
got=""
for _ in $(seq 1 100); do
  got=$(read_item)
  case "$got" in *"2450"*) break ;; esac
  sleep 0.05
done
requested=$(gdbus call --session --dest local.QzSim --object-path /QuzarDdeTopic \
  --method local.QzSim.QuzarDdeTopic.Request QuzarDdeItem 2>/dev/null)
wait "$pid"
rc=$?
cat "$work/out.txt"
if [ "$rc" -ne 0 ]; then
  echo "FAIL: the headless run exited $rc"
  exit 1
fi
item=$(sed -n 's/^Live data item: //p' "$work/out.txt" | tr -d '\r')
echo "program's item: $item"
echo "read on the bus: $got"
echo "requested:       $requested"
if [ -z "$item" ]; then
  echo "FAIL: the run published no item"
  exit 1
fi
# gdbus prints the property as (<'text'>,) and the method's answer as ('text',).
if [ "$got" != "(<'$item'>,)" ]; then
  echo "FAIL: the property read on the bus is not the program's item"
  exit 1
fi
if [ "$requested" != "('$item',)" ]; then
  echo "FAIL: Request does not answer the program's item"
  exit 1
fi
echo "PASS"
