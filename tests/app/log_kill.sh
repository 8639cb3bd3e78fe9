#!/usr/bin/env bash
# A headless run that logs every frame, killed (SIGKILL) while it logs, leaves a log that is
# whole up to its last record: the comment and header, then data lines numbered 1, 2, 3 ...
# with all 17 columns each, and no torn line at the end. Five kills at different moments.
#   log_kill.sh <QzSim> <scratch folder>
set -u
exe=$1
work=$2
rm -rf "$work" && mkdir -p "$work"

for round in 1 2 3 4 5; do
  log="$work/run$round.log"
  QZSIM_PROFILE="$work/profile" "$exe" --headless --passes 200000000 --log "$log" \
    > "$work/out$round.txt" 2>&1 &
  pid=$!
  # Killed once the log holds a few thousand records, a little later in every round.
  want=$((2000 * round))
  for _ in $(seq 1 400); do
    lines=$( (tr -cd '\n' < "$log" | wc -c) 2>/dev/null)
    [ "${lines:-0}" -ge "$want" ] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.025
  done
  if ! kill -KILL "$pid" 2>/dev/null; then
    echo "FAIL: round $round: the run ended before it was killed"
    cat "$work/out$round.txt"
    exit 1
  fi
  wait "$pid" 2>/dev/null
  if [ ! -s "$log" ]; then
    echo "FAIL: round $round: the log is empty"
    exit 1
  fi
  if [ "$(tail -c 2 "$log" | od -An -c | tr -d ' ')" != '\r\n' ]; then
    echo "FAIL: round $round: the log does not end with a whole line"
    tail -c 200 "$log" | od -c | tail -5
    exit 1
  fi
  if ! awk -F'\t' -v RS='\r\n' '
      NR == 2 && $1 != "No" { print "line 2 is not the header"; bad = 1; exit }
      NR > 2 && (NF != 17 || $1 != NR - 2) { print "line " NR ": " NF " columns, number " $1; bad = 1; exit }
      END { if (!bad) print NR - 2 " records whole"; exit bad }' "$log"; then
    echo "FAIL: round $round: the log holds a torn or missing record"
    exit 1
  fi
done
echo "PASS"
