#!/usr/bin/python3
"""Frame rate of a served program (QzSim --serve) with the live item off and at DDE Wait 0 ms,
a client subscribed to both item signals, on a private session bus.

    python3 bench/served_rate.py build/bin/QzSim [--seconds 3] [--rounds 3] [--against OTHER]

Prints frames per second of each round (wall time, and per second of the program's processor
time, all its threads: on a shared machine the wall rate follows the share the program gets) and
the median of each case; alternating rounds, so a change of the machine's load touches both alike. With --against, every round runs the other
program too, beside this one in each case (before/after pairs under the same load). Not run by
CTest (a benchmark, not a test).
"""

import argparse
import os
import statistics
import subprocess
import sys
import tempfile
import time

import dbus
import dbus.mainloop.glib
from gi.repository import GLib


def wait_ready(bus):
    for _ in range(300):
        try:
            bus.get_object("local.QzSim", "/Control").Get(
                "local.QzSim.Control", "Running", dbus_interface="org.freedesktop.DBus.Properties")
            return
        except dbus.DBusException:
            time.sleep(0.05)
    raise RuntimeError("the program did not come up")


def cpu_seconds(pid):
    """Processor time (user and system, all threads) the process has used so far."""
    with open("/proc/%d/stat" % pid) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def one_round(exe, address, item_on, seconds, folder):
    stp = os.path.join(folder, "item.stp")
    with open(stp, "w", newline="") as f:
        f.write("[QuzarForm]\r\nmiDdeOn=%d\r\nDdeWait_ms=0\r\n" % (1 if item_on else 0))
    env = dict(os.environ, DBUS_SESSION_BUS_ADDRESS=address, QZSIM_PROFILE=folder,
               QT_QPA_PLATFORM="offscreen")
    qz = subprocess.Popen([exe, "--serve", "--setup", stp], env=env)
    try:
        bus = dbus.bus.BusConnection(address)
        wait_ready(bus)
        seen = [0]
        bus.add_signal_receiver(lambda *a: seen.__setitem__(0, seen[0] + 1),
                                signal_name="QuzarDdeItemChanged")
        bus.add_signal_receiver(lambda *a: None, signal_name="PropertiesChanged")
        control = dbus.Interface(bus.get_object("local.QzSim", "/Control"), "local.QzSim.Control")
        cpu0 = cpu_seconds(qz.pid)
        control.Run()
        t0 = time.monotonic()
        loop = GLib.MainLoop()
        GLib.timeout_add(int(seconds * 1000), loop.quit)
        loop.run()
        control.Pause()
        elapsed = time.monotonic() - t0
        time.sleep(0.2)
        cpu = cpu_seconds(qz.pid) - cpu0
        frames = int(bus.get_object("local.QzSim", "/Control").Get(
            "local.QzSim.Control", "FramesAccepted",
            dbus_interface="org.freedesktop.DBus.Properties"))
        control.Quit(False)
        qz.wait(30)
        return frames / elapsed, frames / cpu if cpu > 0 else float("nan"), seen[0]
    finally:
        if qz.poll() is None:
            qz.kill()


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("qzsim")
    ap.add_argument("--seconds", type=float, default=3.0)
    ap.add_argument("--rounds", type=int, default=3)
    ap.add_argument("--against", help="another build of the program, run beside it")
    args = ap.parse_args()
    dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
    daemon = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address=1"],
                              stdout=subprocess.PIPE, text=True)
    address = daemon.stdout.readline().strip()
    programs = [("this", args.qzsim)] + ([("other", args.against)] if args.against else [])
    rates = {(name, on): [] for name, _ in programs for on in (False, True)}
    cpu_rates = {(name, on): [] for name, _ in programs for on in (False, True)}
    try:
        with tempfile.TemporaryDirectory() as folder:
            for r in range(args.rounds):
                for on in (False, True):
                    # The pair's order alternates with the round, so neither always goes first.
                    order = programs if r % 2 == 0 else programs[::-1]
                    for name, exe in order:
                        rate, cpu_rate, seen = one_round(exe, address, on, args.seconds, folder)
                        rates[(name, on)].append(rate)
                        cpu_rates[(name, on)].append(cpu_rate)
                        print("round %d %s item %s: %.0f frames/s, %.0f per processor s, "
                              "%d item signals" % (r + 1, name, "on " if on else "off", rate,
                                                   cpu_rate, seen), flush=True)
    finally:
        daemon.kill()
    for label, table in (("frames/s", rates), ("frames per processor s", cpu_rates)):
        for name, _ in programs:
            off = statistics.median(table[(name, False)])
            on = statistics.median(table[(name, True)])
            print("median %s: item off %.0f, item on (DDE Wait 0) %.0f %s (%.1f %%)"
                  % (name, off, on, label, 100.0 * on / off))
        if args.against:
            for on in (False, True):
                pairs = [a / b for a, b in zip(table[("this", on)], table[("other", on)])]
                print("item %s, %s: this / other per round %s, median %.3f"
                      % ("on " if on else "off", label, " ".join("%.3f" % p for p in pairs),
                         statistics.median(pairs)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
