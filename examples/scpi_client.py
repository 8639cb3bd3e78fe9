#!/usr/bin/env python3
"""A lab script on the instrument socket of QzSim, through PyVISA's pure-Python backend.

    python3 scpi_client.py PORT [RESULTS_FILE]

connects to TCPIP::127.0.0.1::PORT::SOCKET (QzSim started with --scpi PORT, window or --serve),
sets a matched-free load of 0.5 at 90 degrees, measures, autotunes, measures again, saves the
results and leaves the program running. With --check it also tests the socket's rules (a 10 KB
line, a ninth client, a megabyte of noise) and ends the program with SYST:QUIT; it prints PASS.
"""
import random
import socket
import sys

import pyvisa


def main():
    args = [a for a in sys.argv[1:] if a != "--check"]
    check = "--check" in sys.argv
    port = int(args[0])
    results = args[1] if len(args) > 1 else "/tmp/qzsim_scpi_results.txt"
    rm = pyvisa.ResourceManager("@py")
    qz = rm.open_resource(f"TCPIP::127.0.0.1::{port}::SOCKET")
    qz.read_termination = "\n"
    qz.write_termination = "\n"
    qz.timeout = 60000

    idn = qz.query("*IDN?")
    assert idn.startswith("Vostrel,QzSim,0,"), idn
    qz.write("SOUR:VAL RUncert,0")
    qz.write("SOUR:LOAD 0.5,90")
    assert qz.query("INIT;*OPC?") == "1"
    mag, deg = (float(v) for v in qz.query("MEAS:GAMM:LOAD?").split(","))
    assert abs(mag - 0.5) <= 2.5e-4 and abs(deg - 90) <= 0.05, (mag, deg)
    assert qz.query("ABOR;*OPC?") == "1"
    tune = qz.query("TUNE:AUTO?")
    assert tune == '0,"No error"', tune
    # The next run from its second frame: the input is matched.
    assert qz.query("INIT;*OPC?") == "1"
    first = int(qz.query("MEAS:FRAM?"))
    while int(qz.query("MEAS:FRAM?")) < first + 1:
        pass
    gin = float(qz.query("MEAS:GAMM?").split(",")[0])
    assert gin < 0.03, gin
    assert qz.query("ABOR;*OPC?") == "1"
    # The stubs moved by a command read back in the frames that follow (the tuner's steps are
    # far finer than 0.05 mm); a few frames may still show the stubs on their way.
    move = qz.query("TUNE:MOVE? 5,10,15")
    assert move == '0,"No error"', move
    assert qz.query("INIT;*OPC?") == "1"
    for _ in range(2000):
        stubs = [float(v) for v in qz.query("MEAS:STUB?").split(",")]
        if all(abs(a - b) <= 0.05 for a, b in zip(stubs, (5, 10, 15))):
            break
    else:
        raise AssertionError(f"stubs {stubs} after a move to 5, 10, 15 mm")
    assert qz.query("ABOR;*OPC?") == "1"
    qz.write(f'MMEM:STOR:RES "{results}"')
    err = qz.query("SYST:ERR?")
    assert err == '0,"No error"', err

    if check:
        # A 10 KB line is refused whole; the next line is answered.
        qz.write("X" * 10240)
        assert qz.query("SYST:ERR?").startswith("-363,"), "no -363"
        # Eight clients at most: with this one and seven more, a ninth is closed.
        others = [socket.create_connection(("127.0.0.1", port)) for _ in range(7)]
        ninth = socket.create_connection(("127.0.0.1", port))
        ninth.settimeout(20)
        assert ninth.recv(10) == b"", "a ninth client was served"
        # A megabyte of noise on one of them; every client is still answered.
        noise = random.Random(37).randbytes(1024 * 1024)
        others[0].sendall(noise + b"\n*CLS\n")
        assert qz.query("*IDN?") == idn
        others[1].sendall(b"*IDN?\n")
        others[1].settimeout(20)
        assert others[1].recv(100).decode().strip() == idn
        for s in others:
            s.close()
        qz.write("SYST:QUIT")
        print("PASS")
    qz.close()


if __name__ == "__main__":
    main()
