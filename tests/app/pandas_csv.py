#!/usr/bin/python3
"""A headless run's CSV results and CSV log, read with pandas as an engineer would read them.

    pandas_csv.py QZSIM WORKDIR [log]

150 frames of a defined load (0.5 at 90 degrees, no uncertainties, 2 ms a frame) at 101 points
per sweep; the results are saved with --save-csv and, with "log", logged with --log
--log-format csv.
Prints PASS, or the first failed check and exits 1; exits 77 when pandas is missing.
"""
import os
import shutil
import subprocess
import sys

try:
    import pandas
except ImportError:
    print("pandas is not installed (package python3-pandas)")
    sys.exit(77)

COLUMNS = ["frame", "time", "f_MHz", "mag_in", "pha_in_deg", "mag_load", "pha_load_deg",
           "pinc_kW", "prfl_kW", "pabs_kW", "vswr_in", "temp_C", "err", "st1_mm", "st2_mm",
           "st3_mm", "ms1", "ms2"]

SETUP = ("[QvTuStp1]\r\nPoints=101\r\n"
         "[Model]\r\nDutType=0\r\nRhoMag=0.5\r\nRhoPha=90\r\nRFormat=0\r\nErrByte=0\r\n"
         "Pinc=6\r\nRUncert=0\r\nPUncert=0\r\nFUncert=0\r\nTUncert=0\r\nAniPause=100\r\n")


def fail(why):
    print("FAIL: " + why)
    sys.exit(1)


def check(cond, why):
    if not cond:
        fail(why)


def main():
    exe, work = sys.argv[1], sys.argv[2]
    with_log = sys.argv[3:] == ["log"]
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    stp = os.path.join(work, "load.stp")
    with open(stp, "w", newline="") as f:
        f.write(SETUP)
    csv = os.path.join(work, "results.csv")
    log = os.path.join(work, "log.csv")
    env = dict(os.environ, QZSIM_PROFILE=os.path.join(work, "profile"),
               QT_QPA_PLATFORM="offscreen")
    args = [exe, "--headless", "--passes", "150", "--setup", stp, "--save-csv", csv]
    if with_log:
        args += ["--log", log, "--log-format", "csv"]
    run = subprocess.run(args, env=env, capture_output=True, text=True, timeout=600)
    check(run.returncode == 0, "exit code %d: %s" % (run.returncode, run.stderr))

    # The results: the last sweep of 101 frames, oldest first, named columns.
    df = pandas.read_csv(csv, comment="#")
    check(df.shape == (101, 18), "results shape %s" % (df.shape,))
    check(list(df.columns) == COLUMNS, "results columns %s" % list(df.columns))
    check(list(df["frame"]) == list(range(50, 151)), "frames %s" % list(df["frame"]))
    t = pandas.to_datetime(df["time"])
    check(t.is_monotonic_increasing and t.is_unique, "times do not rise strictly")
    check(((df["mag_load"] - 0.5).abs() <= 0.00025).all(), "mag_load off 0.5")
    check(((df["vswr_in"] - 3.0).abs() <= 0.003).all(), "vswr_in off 3")
    check(((df["pinc_kW"] - 6.0).abs() <= 2e-9).all(), "pinc_kW off 6")
    check(((df["prfl_kW"] + df["pabs_kW"] - 6.0).abs() <= 2e-9).all(),
          "prfl_kW + pabs_kW off 6")
    with open(csv, "rb") as f:
        raw = f.read()
    check(raw.count(b"\n") == raw.count(b"\r\n"), "a line does not end with CR LF")
    lines = raw.decode("utf-8").split("\r\n")
    check("# frames_measured: 150" in lines, "no '# frames_measured: 150' line")
    check("# rows_kept: 101" in lines, "no '# rows_kept: 101' line")

    if not with_log:
        print("PASS")
        return
    # The log: every frame, numbered as records and as frames from 1.
    lg = pandas.read_csv(log, comment="#")
    check(len(lg) == 150, "log rows %d" % len(lg))
    check(list(lg.columns) == ["record"] + COLUMNS, "log columns %s" % list(lg.columns))
    check(list(lg["record"]) == list(range(1, 151)), "log records")
    check(list(lg["frame"]) == list(range(1, 151)), "log frames")
    check(pandas.to_datetime(lg["time"]).is_monotonic_increasing, "log times go back")
    with open(log, "rb") as f:
        text = f.read().decode("utf-8")
    check("\r\n# records: 150\r\n" in text, "no '# records: 150' line")
    check("\r\n# stopped: " in text, "no '# stopped:' line")
    print("PASS")


if __name__ == "__main__":
    main()
