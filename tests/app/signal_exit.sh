#!/usr/bin/env bash
# The program driven with real signals, as a service manager, a terminal or a log-out does:
#  - each of SIGTERM, SIGINT and SIGHUP to a long headless run that logs and saves results ends
#    it as Exit does: the log gets its end record, the results hold the sweep so far, stderr says
#    "Ended by SIG... after N frames." and the shell sees the signal's own exit status;
#  - two signals in a row end it at once;
#  - a window program (offscreen) ends by SIGTERM after writing its automatic setup, also with an
#    error box open;
#  - the single-instance lock: a second window start is refused while the first runs, the next
#    start after a SIGKILL comes up, garbage in the lock file never matters, and nothing is
#    made in /tmp when there is no runtime folder.
#   signal_exit.sh <QzSim> <scratch folder>
set -u
set -m  # background jobs keep SIGINT, as a program started from a terminal does
exe=$1
work=$2
rm -rf "$work" && mkdir -p "$work"
fail() {
  echo "FAIL: $*"
  exit 1
}
lines_of() { (tr -cd '\n' <"$1" | wc -c) 2>/dev/null; }
wait_for_lines() {
  for _ in $(seq 1 800); do
    [ "$(lines_of "$1")" -ge "$2" ] 2>/dev/null && return 0
    sleep 0.025
  done
  return 1
}
wait_for_file() {
  for _ in $(seq 1 800); do
    [ -e "$1" ] && return 0
    sleep 0.025
  done
  return 1
}
status_of() { case $1 in TERM) echo 143 ;; INT) echo 130 ;; HUP) echo 129 ;; esac; }

# ---- headless runs --------------------------------------------------------------------------
for sig in TERM INT HUP; do
  log=$work/$sig.log
  res=$work/$sig.txt
  QZSIM_PROFILE=$work/profile "$exe" --headless --passes 100000000 --log "$log" \
    --save-results "$res" >"$work/$sig.out" 2>"$work/$sig.err" &
  pid=$!
  wait_for_lines "$log" 500 || fail "$sig: the log did not grow"
  kill -"$sig" "$pid"
  wait "$pid"
  rc=$?
  [ "$rc" -eq "$(status_of $sig)" ] || fail "$sig: exit status $rc, wanted $(status_of $sig): $(cat "$work/$sig.err")"
  grep -q "(ended illegally)" "$log" || fail "$sig: the log has no end record"
  grep -q "End of logging." "$log" || fail "$sig: the log's settings block is missing"
  n=$(grep -c -P '^[0-9]+\t' "$res")
  [ "$n" -eq 101 ] || fail "$sig: $n results lines, wanted the sweep of 101"
  grep -q -E "^QzSim: Ended by SIG$sig after [0-9]+ frames\.$" "$work/$sig.err" ||
    fail "$sig: no end line on stderr: $(cat "$work/$sig.err")"
done

# A CSV log ended by a signal closes as the text log does: its stop line says it ended
# illegally, the record count matches the rows, and every row is whole.
csv=$work/term.csv
QZSIM_PROFILE=$work/profile "$exe" --headless --passes 100000000 --log "$csv" --log-format csv \
  >"$work/csv.out" 2>"$work/csv.err" &
pid=$!
wait_for_lines "$csv" 500 || fail "CSV: the log did not grow"
kill -TERM "$pid"
wait "$pid"
rc=$?
[ "$rc" -eq 143 ] || fail "CSV: exit status $rc: $(cat "$work/csv.err")"
tail -2 "$csv" | head -1 | grep -q -P '^# stopped: \d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}Z \(ended illegally\)\r$' ||
  fail "CSV: the stop line is $(tail -2 "$csv" | head -1 | cat -A)"
records=$(tail -1 "$csv" | tr -d '\r' | sed -n 's/^# records: \([0-9]*\)$/\1/p')
[ -n "$records" ] || fail "CSV: no record count at the end: $(tail -1 "$csv" | cat -A)"
rows=$(grep -c -P '^[0-9]+,' "$csv")
[ "$rows" -eq "$records" ] || fail "CSV: $rows rows, the count says $records"
whole=$(grep -P '^[0-9]+,' "$csv" | grep -c -P '^([^,]*,){18}[^,]*\r$')
[ "$whole" -eq "$rows" ] || fail "CSV: $((rows - whole)) rows are not whole"
grep -q "(ended illegally)" "$csv" || fail "CSV: no end record"

# A second signal while the program ends in order (here: drawing a large chart after the run)
# ends it at once. The pause lets the first signal be taken before the second is sent (two
# pending signals of one kind would be one).
QZSIM_PROFILE=$work/profile "$exe" --headless --passes 100000000 --log "$work/two.log" \
  --chart mag:4096x4096 --save-chart "$work/two.png" >/dev/null 2>"$work/two.err" &
pid=$!
wait_for_lines "$work/two.log" 50 || fail "two signals: the log did not grow"
kill -TERM "$pid"
sleep 0.3
kill -TERM "$pid"
wait "$pid"
rc=$?
[ "$rc" -eq 143 ] || fail "two signals: exit status $rc"
grep -q "Ended by" "$work/two.err" && fail "two signals: the program ended in order, not at once"

# ---- start-up files, targets and names -----------------------------------------------------
# Start-up files that are there but cannot be read: one stderr line each, the run goes on.
sprof=$work/sprofile
umask 077
QZSIM_PROFILE=$sprof "$exe" --headless >/dev/null 2>&1 || fail "first start failed"
umask 022
suser=$sprof/Vostrel/QzSim
[ "$(stat -c %a "$suser/QzSim0.ini")" = 600 ] || fail "first-start copy is $(stat -c %a "$suser/QzSim0.ini") under umask 077"
rm -f "$suser/QzSim0.ini" && mkfifo "$suser/QzSim0.ini"
ln -s /dev/zero "$suser/RS232.CFG"
truncate -s $((64 * 1024 + 1)) "$suser/RS232.STP"
timeout 60 env QZSIM_PROFILE=$sprof "$exe" --headless --passes 50 --save-results "$work/start.txt" \
  >"$work/start.out" 2>"$work/start.err"
rc=$?
[ "$rc" -eq 0 ] || fail "start-up files: exit $rc: $(cat "$work/start.err")"
[ "$(grep -c '^QzSim: The automatic setup ".*QzSim0.ini" is not read (not a regular file); the defaults are used and the file is left as it is\.$' "$work/start.err")" -eq 1 ] ||
  fail "start-up files: no line for the automatic setup: $(cat "$work/start.err")"
grep -q '^QzSim: The configuration file ".*RS232.CFG" is not read (not a regular file); the defaults are used\.$' "$work/start.err" ||
  fail "start-up files: no line for RS232.CFG"
grep -q '^QzSim: The configuration file ".*RS232.STP" is not read (too large: a configuration file may have at most 64 KiB); the defaults are used\.$' "$work/start.err" ||
  fail "start-up files: no line for RS232.STP"
[ "$(grep -c -P '^[0-9]+\t' "$work/start.txt")" -eq 50 ] || fail "start-up files: results not written"
[ -p "$suser/QzSim0.ini" ] || fail "start-up files: the automatic setup is no longer a FIFO"

# Read-only targets are refused before the run (which would take hours here).
for ext in txt png bmp gif jpg; do
  t=$work/readonly.$ext
  printf 'keep me' >"$t" && chmod 444 "$t"
  if [ $ext = txt ]; then
    args=(--save-results "$t")
  else
    args=(--chart mag --save-chart "$t")
  fi
  timeout 60 env QZSIM_PROFILE=$work/profile "$exe" --headless --passes 100000000 "${args[@]}" \
    >/dev/null 2>"$work/ro.err"
  rc=$?
  [ "$rc" -eq 1 ] || fail "read-only $ext: exit $rc"
  grep -qx "QzSim: \"$t\" is read-only; it is not overwritten." "$work/ro.err" ||
    fail "read-only $ext: $(cat "$work/ro.err")"
  [ "$(cat "$t")" = "keep me" ] || fail "read-only $ext: the file was changed"
done

# A name far beyond any file system's limit: exit 1 and one line on stderr.
long=$work/$(head -c 100000 /dev/zero | tr '\0' 'n')
timeout 60 env QZSIM_PROFILE=$work/profile "$exe" --headless --passes 10 --save-results "$long" \
  >/dev/null 2>"$work/long.err"
rc=$?
[ "$rc" -eq 1 ] || fail "long name: exit $rc"
[ "$(wc -l <"$work/long.err")" -eq 1 ] || fail "long name: $(wc -l <"$work/long.err") lines on stderr"

# ---- window runs and the single-instance lock ---------------------------------------------
run=$work/run
mkdir -p "$run" && chmod 700 "$run"
wprof=$work/wprofile
start_window() {
  XDG_RUNTIME_DIR=$run QZSIM_PROFILE=$wprof QT_QPA_PLATFORM=offscreen "$exe" "$@" \
    >>"$work/window.out" 2>>"$work/window.err" &
  wpid=$!
}
socket_of() { ls "$run"/QzSim-*.socket 2>/dev/null | head -1; }
wait_window_up() {
  for _ in $(seq 1 800); do
    [ -n "$(socket_of)" ] && { sleep 1; return 0; }
    kill -0 "$wpid" 2>/dev/null || return 1
    sleep 0.025
  done
  return 1
}

start_window
wait_window_up || fail "the window did not start: $(cat "$work/window.err")"
auto=$wprof/Vostrel/QzSim/QzSim0.ini
first=$wpid
# A second start is refused and raises the first.
XDG_RUNTIME_DIR=$run QZSIM_PROFILE=$wprof QT_QPA_PLATFORM=offscreen "$exe" \
  >"$work/second.out" 2>"$work/second.err"
rc=$?
[ "$rc" -eq 1 ] || fail "second start: exit $rc"
grep -qx "QzSim is already running!!!" "$work/second.err" || fail "second start: $(cat "$work/second.err")"
# Killed without a chance to clean up: the next start is the first again.
kill -KILL "$first"
wait "$first" 2>/dev/null
lock=$(ls "$run"/QzSim-*.lock)
printf 'garbage 99999999\n' >"$lock"
start_window
wait_window_up || fail "the start after SIGKILL did not come up: $(tail -3 "$work/window.err")"
before=$(stat -c %Y.%s "$auto" 2>/dev/null)
sleep 1.1
kill -TERM "$wpid"
wait "$wpid"
rc=$?
[ "$rc" -eq 143 ] || fail "window SIGTERM: exit status $rc: $(tail -3 "$work/window.err")"
grep -q "AutoSetup" "$auto" || fail "window SIGTERM: the automatic setup was not written"
[ "$(stat -c %Y.%s "$auto")" != "$before" ] || fail "window SIGTERM: the automatic setup is unchanged"
[ ! -d "$wprof/Vostrel/QzSim/BackupSetups" ] || fail "window SIGTERM: a backup instead of the setup"

# The same with an error box open (a setup that does not exist).
before=$(stat -c %Y.%s "$auto")
sleep 1.1
start_window --setup "$work/missing.stp"
wait_window_up || fail "the window with --setup did not start"
kill -TERM "$wpid"
wait "$wpid"
rc=$?
[ "$rc" -eq 143 ] || fail "window SIGTERM with a box open: exit status $rc: $(tail -3 "$work/window.err")"
[ "$(stat -c %Y.%s "$auto")" != "$before" ] || fail "window SIGTERM with a box open: setup not written"

# A window over an automatic setup it cannot read: the line is told, the exit writes a backup and
# leaves the FIFO as it was.
rm -f "$suser/RS232.CFG" "$suser/RS232.STP"
XDG_RUNTIME_DIR=$run QZSIM_PROFILE=$sprof QT_QPA_PLATFORM=offscreen "$exe" \
  >"$work/wfifo.out" 2>"$work/wfifo.err" &
wpid=$!
for _ in $(seq 1 800); do
  grep -q "The automatic setup" "$work/wfifo.err" && break
  sleep 0.025
done
sleep 1
kill -TERM "$wpid"
wait "$wpid"
rc=$?
[ "$rc" -eq 143 ] || fail "window over a FIFO setup: exit status $rc: $(cat "$work/wfifo.err")"
grep -q '^QzSim: The automatic setup ".*QzSim0.ini" is not read (not a regular file)' "$work/wfifo.err" ||
  fail "window over a FIFO setup: no line"
[ -p "$suser/QzSim0.ini" ] || fail "window over a FIFO setup: the FIFO was replaced"
ls "$suser"/BackupSetups/QzSim0_*.stp >/dev/null 2>&1 || fail "window over a FIFO setup: no backup"

# Without a runtime folder the lock lives in the per-user folder: nothing in /tmp.
user=$(readlink -f "$wprof/Vostrel/QzSim")
hash=$(printf '%s' "$user" | sha1sum | cut -c1-16)
env -u XDG_RUNTIME_DIR QZSIM_PROFILE=$wprof QT_QPA_PLATFORM=offscreen "$exe" \
  >>"$work/window.out" 2>>"$work/window.err" &
wpid=$!
wait_for_file "$user/QzSim-$hash.lock" || fail "no lock in the per-user folder"
sleep 1
kill -TERM "$wpid"
wait "$wpid"
ls /tmp/QzSim-"$hash"* >/dev/null 2>&1 && fail "a QzSim-$hash file in /tmp"
echo "PASS"
