#!/usr/bin/env python3
"""A Videohub label flood against a running panel (127 outputs): one client
sends BLOCKS blocks renaming every output with a 1,000-byte name and reads
what it is sent, another only reads, a third never reads. Prints what each
received and whether the panel closed it. Used by bench/service.sh.
Usage: videohub_flood.py PORT BLOCKS"""
import socket
import sys
import threading
import time

PORTS = 127


class Client:
    """A connection whose bytes are counted by a thread of its own (none for a deaf one)."""

    def __init__(self, port, reads=True):
        self.conn = socket.create_connection(("127.0.0.1", port), timeout=120)
        self.received = 0
        self.closed = False
        self.last_block_at = None
        self.pending = b""
        if reads:
            self.thread = threading.Thread(target=self.read, daemon=True)
            self.thread.start()

    def read(self):
        try:
            while True:
                data = self.conn.recv(1 << 20)
                if not data:
                    break
                self.received += len(data)
                self.pending = (self.pending + data)[-8192:]
                self.last_block_at = time.monotonic()
        except OSError:
            pass
        self.closed = True

    def saw(self, text):
        return text in self.pending


def main():
    port, count = int(sys.argv[1]), int(sys.argv[2])
    reader, flooder, deaf = Client(port), Client(port), Client(port, reads=False)
    time.sleep(0.5)
    blocks = []
    for b in range(count):
        # Names differ from port to port, so none gets the "!" of a duplicate.
        lines = "".join(f"{out} {b:05d}-{out:03d}{chr(97 + out % 26) * 990}\n" for out in range(PORTS))
        blocks.append(f"OUTPUT LABELS:\n{lines}\n".encode())
    start = time.monotonic()
    flooder.conn.sendall(b"".join(blocks))
    last = f"{PORTS - 1} {count - 1:05d}-{PORTS - 1:03d}".encode()
    deadline = start + 120
    while not (reader.saw(last) or reader.closed) and time.monotonic() < deadline:
        time.sleep(0.01)
    took = time.monotonic() - start
    time.sleep(3)  # the deaf client's unread bound is looked at once a second
    # What the deaf client was sent waits in its socket: it is closed when the end follows.
    deaf.conn.setblocking(False)
    deaf_closed = False
    try:
        while True:
            data = deaf.conn.recv(1 << 20)
            if not data:
                deaf_closed = True
                break
            deaf.received += len(data)
    except BlockingIOError:
        pass
    except OSError:
        deaf_closed = True
    sent = sum(len(b) for b in blocks)
    print(f"flooder sent {count} blocks, {sent / 1e6:.1f} MB; the reader had the last push after {took:.2f} s")
    for name, client in (("reader", reader), ("flooder", flooder)):
        print(f"  {name}: received {client.received / 1e6:.1f} MB, {'closed' if client.closed else 'still connected'}")
    print(f"  deaf client: had been sent {deaf.received / 1e6:.1f} MB, {'closed' if deaf_closed else 'still connected'}")


if __name__ == "__main__":
    main()
