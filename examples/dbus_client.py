#!/usr/bin/python3
"""Follows QzSim's live item and the end of its runs while calling its remote control.

    QzSim --serve &                 # or the window program
    python3 examples/dbus_client.py [--bus-name local.QzSim] [--seconds 2]

dbus-python with the GLib main loop: the signals (RunStarted, QuzarDdeItemChanged, RunEnded)
arrive while the loop runs; the calls are asynchronous, so the loop never waits on an answer. The
script sets a defined load, switches nothing else, runs for a while, pauses, waits for RunEnded
and checks that the last item it was sent is the item's text after the run, then reads the last
frame typed (GetResult: its keys in their order, of the run that RunStarted told) and the frames
the sweep still holds (GetResults). Exit code 0 when all went as said.
"""

import argparse
import sys

import dbus
import dbus.mainloop.glib
from gi.repository import GLib

# The keys of a typed record, in the order they are sent.
RECORD_KEYS = ["frame", "run", "time", "freq_Hz", "mag_in", "pha_in_deg", "mag_load",
               "pha_load_deg", "pinc_W", "prfl_W", "pabs_W", "temp_C", "stub1_mm", "stub2_mm",
               "stub3_mm", "status", "error", "motor_status", "motor_error"]


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--bus-name", default="local.QzSim")
    ap.add_argument("--seconds", type=float, default=2.0)
    args = ap.parse_args()

    dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()
    control = dbus.Interface(bus.get_object(args.bus_name, "/Control"), "local.QzSim.Control")
    topic_obj = bus.get_object(args.bus_name, "/QuzarDdeTopic")
    topic = dbus.Interface(topic_obj, "local.QzSim.QuzarDdeTopic")
    loop = GLib.MainLoop()
    state = {"items": 0, "last": None, "ended": None, "error": None, "started": None,
             "record": None, "rows": None}

    def on_started(run, first_frame):
        state["started"] = (int(run), int(first_frame))

    def on_item(text):
        state["items"] += 1
        state["last"] = str(text)

    def on_ended(reason):
        state["ended"] = str(reason)
        # The item's text after the run: the last notification equals it.
        topic.Request("QuzarDdeItem", reply_handler=on_request, error_handler=on_error)

    def on_request(text):
        if str(text) != state["last"]:
            state["error"] = "last item %r differs from Request %r" % (state["last"], str(text))
        control.GetResult(reply_handler=on_result, error_handler=on_error)

    def on_result(record):
        state["record"] = record
        if list(record.keys()) != RECORD_KEYS:
            state["error"] = "GetResult's keys %s" % list(record.keys())
        elif state["started"] is None or int(record["run"]) != state["started"][0]:
            state["error"] = "the last frame's run %s, RunStarted told %s" % (
                record["run"], state["started"])
        elif int(record["frame"]) < state["started"][1]:
            state["error"] = "the last frame %s precedes the run's first %s" % (
                record["frame"], state["started"][1])
        control.GetResults(dbus.UInt64(0), reply_handler=on_rows, error_handler=on_error)

    def on_rows(rows, missed):
        state["rows"] = (len(rows), int(missed))
        if rows and int(rows[-1]["frame"]) != int(state["record"]["frame"]):
            state["error"] = "the last row is frame %s, GetResult's %s" % (
                rows[-1]["frame"], state["record"]["frame"])
        loop.quit()

    def on_error(e):
        state["error"] = str(e)
        loop.quit()

    def pause():
        control.Pause(reply_handler=lambda: None, error_handler=on_error)
        return False

    topic_obj.connect_to_signal("QuzarDdeItemChanged", on_item,
                                dbus_interface="local.QzSim.QuzarDdeTopic")
    control.connect_to_signal("RunEnded", on_ended)
    control.connect_to_signal("RunStarted", on_started)
    # The model's load without uncertainty, then a run that Pause ends.
    control.SetModelValue("RUncert", "0")
    control.SetModelLoad(0.5, 90.0)
    control.Run(reply_handler=lambda: GLib.timeout_add(int(args.seconds * 1000), pause),
                error_handler=on_error)
    GLib.timeout_add(int(args.seconds * 1000) + 30000, lambda: on_error("no RunEnded") or False)
    loop.run()

    frames = int(dbus.Interface(bus.get_object(args.bus_name, "/Control"),
                                "org.freedesktop.DBus.Properties")
                 .Get("local.QzSim.Control", "FramesAccepted"))
    print("run ended: %s after %d frames; %d items followed; last: %s"
          % (state["ended"], frames, state["items"], (state["last"] or "").split()))
    if state["record"] is not None:
        print("run %s began with frame %s; last frame %d at %s; %s rows held, %s missed"
              % (state["started"][0] if state["started"] else "?",
                 state["started"][1] if state["started"] else "?",
                 int(state["record"]["frame"]), state["record"]["time"],
                 *(state["rows"] or ("?", "?"))))
    if state["error"]:
        print("error:", state["error"])
        return 1
    if state["ended"] != "paused" or state["items"] == 0 or state["rows"] is None:
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
