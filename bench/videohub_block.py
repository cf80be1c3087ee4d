#!/usr/bin/env python3
"""One block of 127 Videohub routes to a running panel, as a Videohub client
sends it, timed until the last route's push arrives; printed as a ratio to the
wire floor (127 x 9.375 ms at 9600 baud). Used by bench/service.sh.
Usage: videohub_block.py PORT RUNS  (prints one ratio a line)"""
import socket
import sys
import time

PORTS = 127
WIRE_FLOOR_S = PORTS * 0.009375


def blocks(conn):
    """Yields each block (list of lines) as clients split them: on LF, a block ending on an empty line."""
    pending, block = b"", []
    while True:
        data = conn.recv(65536)
        if not data:
            return
        pending += data
        *lines, pending = pending.split(b"\n")
        for line in lines:
            if line:
                block.append(line.decode())
            elif block:
                yield block
                block = []


def main():
    port, runs = int(sys.argv[1]), int(sys.argv[2])
    conn = socket.create_connection(("127.0.0.1", port), timeout=60)
    received = blocks(conn)
    while next(received)[0] != "END PRELUDE:":
        pass
    for run in range(1, runs + 1):
        routes = "".join(f"{out} {(out + run) % PORTS}\n" for out in range(PORTS))
        start = time.monotonic()
        conn.sendall(f"VIDEO OUTPUT ROUTING:\n{routes}\n".encode())
        pushed = 0
        while pushed < PORTS:
            block = next(received)
            if block[0] == "VIDEO OUTPUT ROUTING:":
                pushed += len(block) - 1
        print(f"{(time.monotonic() - start) / WIRE_FLOOR_S:.3f}")


if __name__ == "__main__":
    main()
