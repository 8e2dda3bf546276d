#!/usr/bin/python3
"""Times a window's answers to the desktop's liveness pings (_NET_WM_PING).

Sends a ping, waits for the answer, sends the next one a few milliseconds
later, for as long as asked; prints the number of pings and the longest,
median and 99th-percentile wait in milliseconds. A desktop marks a window
"not responding" when a ping waits about 5 s.

    scripts/ping-probe.py <window id> <seconds> [--until-title REGEX]
"""
import argparse
import re
import select
import statistics
import sys
import time

from Xlib import X, display
from Xlib.protocol import event


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("window", type=lambda v: int(v, 0))
    parser.add_argument("seconds", type=float)
    parser.add_argument("--until-title", help="stop early once the title matches")
    parser.add_argument("--gap-ms", type=float, default=10.0)
    parser.add_argument("--after", type=float, default=2.0, help="seconds to go on after the title matched")
    parser.add_argument("--verbose", action="store_true", help="print every wait over 50 ms")
    args = parser.parse_args()

    d = display.Display()
    root = d.screen().root
    window = d.create_resource_object("window", args.window)
    protocols = d.intern_atom("WM_PROTOCOLS")
    ping = d.intern_atom("_NET_WM_PING")
    name_atom = d.intern_atom("_NET_WM_NAME")
    utf8 = d.intern_atom("UTF8_STRING")
    # The answer goes to the root window; Qt sends it to whoever watches the
    # root's structure, others to whoever watches its children.
    root.change_attributes(event_mask=X.StructureNotifyMask | X.SubstructureNotifyMask)
    d.sync()

    waits = []
    stamp = 1
    start = time.monotonic()
    end = start + args.seconds
    while time.monotonic() < end:
        stamp += 1
        message = event.ClientMessage(window=window, client_type=protocols,
                                      data=(32, [ping, stamp, args.window, 0, 0]))
        window.send_event(message, event_mask=X.NoEventMask)
        d.flush()
        sent = time.monotonic()
        answered = False
        while not answered:
            left = sent + 30.0 - time.monotonic()
            if left <= 0:
                print(f"no answer within 30 s (ping {stamp})")
                return 1
            if d.pending_events() == 0:
                select.select([d.fileno()], [], [], left)
            while d.pending_events():
                e = d.next_event()
                if (e.type == X.ClientMessage and e.client_type == protocols
                        and e.data[1][0] == ping and e.data[1][1] == stamp):
                    answered = True
        waits.append((time.monotonic() - sent) * 1000.0)
        title = window.get_full_property(name_atom, utf8)
        title = title.value.decode("utf-8", "replace") if title else ""
        if args.verbose and waits[-1] > 50:
            print(f"  {sent - start:7.3f} s  {waits[-1]:6.1f} ms  {title}")
        if args.until_title and re.search(args.until_title, title):
            end = min(end, time.monotonic() + args.after)
        time.sleep(args.gap_ms / 1000.0)

    waits.sort()
    p99 = waits[min(len(waits) - 1, int(len(waits) * 0.99))]
    print(f"pings {len(waits)}  longest {waits[-1]:.1f} ms  median {statistics.median(waits):.1f} ms  "
          f"p99 {p99:.1f} ms")
    return 0


if __name__ == "__main__":
    sys.exit(main())
