#!/bin/sh
# The instrument socket of a served program without any session bus, driven by the PyVISA
# example: its sequence, the socket's rules, and SYST:QUIT ending the program with exit code 0.
# A taken port ends a second served program with exit code 1.
exe=$1 profile=$2 python=$3 script=$4
rm -rf "$profile" && mkdir -p "$profile" || exit 1
"$python" -c "import pyvisa, pyvisa_py" 2>/dev/null || { echo "SKIP: no python3-pyvisa(-py)"; exit 77; }
out=$profile/out.txt
DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent QZSIM_PROFILE=$profile QT_QPA_PLATFORM=offscreen \
  "$exe" --serve --scpi 0 >"$out" 2>"$profile/err.txt" &
pid=$!
i=0
while ! grep -q '^SCPI ' "$out" 2>/dev/null; do
  i=$((i + 1)); [ $i -gt 600 ] && { echo "FAIL: no SCPI line"; kill $pid; exit 1; }
  sleep 0.1
done
port=$(sed -n 's/^SCPI 127\.0\.0\.1://p' "$out")
# A second program on the taken port ends with exit code 1.
DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent QZSIM_PROFILE=$profile/second QT_QPA_PLATFORM=offscreen \
  "$exe" --serve --scpi "$port" >/dev/null 2>&1
rc2=$?
[ $rc2 -eq 1 ] || { echo "FAIL: taken port gave exit code $rc2"; kill $pid; exit 1; }
"$python" "$script" "$port" "$profile/results.txt" --check || { kill $pid; echo "FAIL: client"; exit 1; }
wait $pid
rc=$?
[ $rc -eq 0 ] || { echo "FAIL: exit code $rc"; cat "$profile/err.txt"; exit 1; }
grep -q 'Quzar' "$profile/results.txt" || [ -s "$profile/results.txt" ] || { echo "FAIL: no results"; exit 1; }
echo PASS
