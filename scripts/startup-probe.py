#!/usr/bin/python3
"""Times a program's start-up in a real X window: from its start until its
first window is managed and answers the desktop's liveness ping
(_NET_WM_PING), which a window does once its event loop runs; the program is
then ended. Prints the milliseconds.

    scripts/startup-probe.py <program> [arguments...]
"""
import os
import select
import signal
import subprocess
import sys
import time

from Xlib import X, display
from Xlib.protocol import event


def main():
    d = display.Display()
    root = d.screen().root
    clients = d.intern_atom("_NET_CLIENT_LIST")
    pid_atom = d.intern_atom("_NET_WM_PID")
    protocols = d.intern_atom("WM_PROTOCOLS")
    ping = d.intern_atom("_NET_WM_PING")
    # The answer goes to the root window, to whoever watches its structure;
    # the client list's changes wake this probe instead of polling, which
    # would take the processor from the program it times.
    root.change_attributes(event_mask=X.StructureNotifyMask | X.SubstructureNotifyMask | X.PropertyChangeMask)
    d.sync()

    start = time.monotonic()
    child = subprocess.Popen(sys.argv[1:], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        window = None
        while window is None:
            if child.poll() is not None or time.monotonic() - start > 30:
                print("startup probe: no window", file=sys.stderr)
                return 1
            listed = root.get_full_property(clients, X.AnyPropertyType)
            for wid in (listed.value if listed else []):
                w = d.create_resource_object("window", wid)
                owner = w.get_full_property(pid_atom, X.AnyPropertyType)
                if owner and owner.value[0] == child.pid:
                    window = w
                    break
            else:
                # Until the client list changes (or a while has passed, to see the child end).
                changed = False
                while not changed:
                    if not d.pending_events():
                        select.select([d.fileno()], [], [], 0.1)
                        if not d.pending_events():
                            break
                    e = d.next_event()
                    changed = e.type == X.PropertyNotify and e.atom == clients
        stamp = 1
        while True:
            stamp += 1
            window.send_event(event.ClientMessage(window=window, client_type=protocols,
                                                  data=(32, [ping, stamp, window.id, 0, 0])),
                              event_mask=X.NoEventMask)
            d.flush()
            sent = time.monotonic()
            while time.monotonic() - sent < 0.05:
                select.select([d.fileno()], [], [], 0.005)
                while d.pending_events():
                    e = d.next_event()
                    if (e.type == X.ClientMessage and e.client_type == protocols
                            and e.data[1][0] == ping and e.data[1][1] == stamp):
                        print(f"{(time.monotonic() - start) * 1000.0:.1f}")
                        return 0
    finally:
        child.send_signal(signal.SIGTERM)
        child.wait()


if __name__ == "__main__":
    sys.exit(main())
