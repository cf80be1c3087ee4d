#!/usr/bin/env python3
"""Every door flooded at once against a running panel: CLIENTS SW-P-08 clients
sending "all source names" requests and CLIENTS Videohub clients asking for
the routing block, each as fast as it can while reading what it is sent,
while a control-port client asks `status` every 50 ms. Prints the status
answer times (median, p99, max), the requests sent and the panel's peak
resident memory. Used by bench/service.sh.
Usage: door_flood.py CONTROL_SOCKET VIDEOHUB_PORT SWP08_PORT PANEL_PID SECONDS [CLIENTS]"""
import socket
import sys
import threading
import time

from videohub_flood import Client

VIDEOHUB_ASK = b"VIDEO OUTPUT ROUTING:\n\n"


def swp08_request():
    """All source names of level 0, framed: DLE STX, DATA, BTC, checksum, DLE ETX."""
    data = bytes.fromhex("640000")
    btc = len(data)
    checksum = (-(sum(data) + btc)) & 0xFF
    return b"\x10\x02" + data + bytes([btc, checksum]) + b"\x10\x03"


class Flooder(Client):
    """A connection whose bytes are counted (see Client) and that sends one
    request over and over from a thread of its own."""

    def __init__(self, port, request, stop):
        super().__init__(port)
        self.request = request * 64
        self.stop = stop
        self.sent = 0
        threading.Thread(target=self.send, daemon=True).start()

    def send(self):
        try:
            while not self.stop.is_set():
                self.conn.sendall(self.request)
                self.sent += 64
        except OSError:
            pass


def resident_kib(pid):
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    return 0


def ask_status(path):
    """Seconds from sending `status` to its closing `end` line."""
    conn = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
    conn.connect(path)
    start = time.monotonic()
    conn.sendall(b"status\n")
    answer = b""
    while not answer.endswith(b"end\n"):
        data = conn.recv(65536)
        if not data:
            break
        answer += data
    took = time.monotonic() - start
    conn.close()
    return took


def main():
    control, videohub, swp08, pid, seconds = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), sys.argv[4], float(
        sys.argv[5])
    clients = int(sys.argv[6]) if len(sys.argv) > 6 else 8
    quiet = [ask_status(control) for _ in range(20)]
    rss_before = resident_kib(pid)
    stop = threading.Event()
    flooders = [Flooder(swp08, swp08_request(), stop) for _ in range(clients)]
    flooders += [Flooder(videohub, VIDEOHUB_ASK, stop) for _ in range(clients)]
    times, peak = [], rss_before
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        times.append(ask_status(control))
        peak = max(peak, resident_kib(pid))
        time.sleep(0.05)
    stop.set()
    times.sort()
    quiet.sort()

    def ms(value):
        return f"{value * 1000:.1f} ms"

    print(f"status, quiet: median {ms(quiet[len(quiet) // 2])}, max {ms(quiet[-1])}")
    print(f"status during the flood ({len(times)} asks, {clients} SW-P-08 + {clients} Videohub clients): "
          f"median {ms(times[len(times) // 2])}, p99 {ms(times[min(len(times) - 1, int(len(times) * 0.99))])}, "
          f"max {ms(times[-1])}")
    print(f"requests sent: SW-P-08 {sum(f.sent for f in flooders[:clients])}, "
          f"Videohub {sum(f.sent for f in flooders[clients:])}; "
          f"bytes received {sum(f.received for f in flooders)}")
    print(f"resident memory: {rss_before} KiB before, peak {peak} KiB during the flood")


if __name__ == "__main__":
    main()
