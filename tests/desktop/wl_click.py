#!/usr/bin/python3
"""Clicks at a point of a wlroots compositor's layout through a virtual pointer.

    wl_click.py X Y WIDTH HEIGHT

X and Y are pixels of a layout WIDTH x HEIGHT pixels large (one output). A headless compositor has no
pointer until a client brings one: the pointer appears, the compositor tells the clients that the seat
now has one, and only then does the press go out, on the point where the pointer was moved. Speaks the
wire protocol itself: Debian packages no tool that drives a virtual pointer.
"""

import os
import socket
import struct
import sys
import time

BTN_LEFT = 0x110


class Connection:
    def __init__(self):
        runtime = os.environ["XDG_RUNTIME_DIR"]
        name = os.environ.get("WAYLAND_DISPLAY", "wayland-0")
        self.sock = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        self.sock.connect(name if name.startswith("/") else os.path.join(runtime, name))
        self.next_id = 2
        self.buffer = b""

    def new_id(self):
        object_id = self.next_id
        self.next_id += 1
        return object_id

    def send(self, object_id, opcode, payload=b""):
        size = 8 + len(payload)
        self.sock.sendall(struct.pack("<II", object_id, (size << 16) | opcode) + payload)

    def events(self):
        """Reads what has arrived up to the next message boundary, as (object, opcode, payload)."""
        while True:
            while len(self.buffer) >= 8:
                object_id, word = struct.unpack_from("<II", self.buffer)
                size = word >> 16
                if len(self.buffer) < size:
                    break
                payload = self.buffer[8:size]
                self.buffer = self.buffer[size:]
                yield object_id, word & 0xFFFF, payload
            chunk = self.sock.recv(65536)
            if not chunk:
                raise SystemExit("wl_click: the compositor closed the connection")
            self.buffer += chunk

    def roundtrip(self, on_event=None):
        callback = self.new_id()
        self.send(1, 0, struct.pack("<I", callback))  # wl_display.sync
        for object_id, opcode, payload in self.events():
            if object_id == callback:
                return
            if object_id == 1 and opcode == 0:  # wl_display.error
                failed, code = struct.unpack_from("<II", payload)
                raise SystemExit(f"wl_click: protocol error {code} on object {failed}")
            if on_event is not None:
                on_event(object_id, opcode, payload)


def string(text):
    data = text.encode() + b"\0"
    return struct.pack("<I", len(data)) + data + b"\0" * (-len(data) % 4)


def main():
    x, y, width, height = (int(a) for a in sys.argv[1:5])
    wl = Connection()
    registry = wl.new_id()
    wl.send(1, 1, struct.pack("<I", registry))  # wl_display.get_registry
    globals_ = {}

    def on_global(object_id, opcode, payload):
        if object_id == registry and opcode == 0:
            name, length = struct.unpack_from("<II", payload)
            interface = payload[8:8 + length - 1].decode()
            globals_[interface] = name

    wl.roundtrip(on_global)
    if "zwlr_virtual_pointer_manager_v1" not in globals_:
        raise SystemExit("wl_click: the compositor offers no virtual pointer")

    def bind(interface):
        object_id = wl.new_id()
        wl.send(registry, 0, struct.pack("<I", globals_[interface]) + string(interface)
                + struct.pack("<II", 1, object_id))
        return object_id

    seat = bind("wl_seat")
    manager = bind("zwlr_virtual_pointer_manager_v1")
    pointer = wl.new_id()
    wl.send(manager, 0, struct.pack("<II", seat, pointer))  # create_virtual_pointer
    wl.roundtrip()
    # The clients learn of the new pointer and bind it; what comes before they have is lost.
    time.sleep(1.0)

    def stamp():
        return int(time.monotonic() * 1000) & 0xFFFFFFFF

    wl.send(pointer, 1, struct.pack("<IIIII", stamp(), x, y, width, height))  # motion_absolute
    wl.send(pointer, 4, struct.pack("<I", stamp()))  # frame
    wl.roundtrip()
    time.sleep(0.2)
    for state in (1, 0):
        wl.send(pointer, 2, struct.pack("<III", stamp(), BTN_LEFT, state))  # button
        wl.send(pointer, 4, struct.pack("<I", stamp()))
        wl.roundtrip()
        time.sleep(0.1)
    wl.send(pointer, 8)  # destroy
    wl.roundtrip()


if __name__ == "__main__":
    main()
