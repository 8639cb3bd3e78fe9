#!/bin/sh
# The D-Bus example client against QzSim --serve on a private session bus. Skips (77) without
# dbus-daemon or dbus-python.
qzsim="$1"; profile="$2"; client="$3"
command -v dbus-daemon >/dev/null || { echo "dbus-daemon missing"; exit 77; }
/usr/bin/python3 -c 'import dbus, gi' 2>/dev/null || { echo "python3-dbus or python3-gi missing"; exit 77; }
rm -rf "$profile"; mkdir -p "$profile"
addrfile="$profile/address"
dbus-daemon --session --nofork --print-address=1 > "$addrfile" &
daemon=$!
trap 'kill $daemon 2>/dev/null' EXIT
for i in $(seq 100); do [ -s "$addrfile" ] && break; sleep 0.1; done
DBUS_SESSION_BUS_ADDRESS=$(head -n1 "$addrfile"); export DBUS_SESSION_BUS_ADDRESS
# An item that changes with every frame: the followers get at most one per 10 ms.
printf '[QuzarForm]\r\nmiDdeOn=1\r\nDdeWait_ms=0\r\n' > "$profile/item.stp"
QZSIM_PROFILE="$profile" QT_QPA_PLATFORM=offscreen "$qzsim" --serve --setup "$profile/item.stp" &
qz=$!
for i in $(seq 200); do
  gdbus call --session --dest local.QzSim --object-path /Control \
    --method org.freedesktop.DBus.Properties.Get local.QzSim.Control Running >/dev/null 2>&1 && break
  sleep 0.1
done
/usr/bin/python3 "$client" --seconds 2; rc=$?
gdbus call --session --dest local.QzSim --object-path /Control --method local.QzSim.Control.Quit false >/dev/null
wait $qz; qzrc=$?
[ $rc -eq 0 ] && [ $qzrc -eq 0 ] && echo PASS
exit $rc
