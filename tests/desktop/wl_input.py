"""A keyboard and a mouse for a wlroots compositor (sway) that has none, as a headless one:
keys(["Tab", "5", ...]) presses and releases each key in turn, click(x, y, width, height) clicks at x, y
of a layout width x height pixels large.

A key is a digit of the top row, Tab, space, Return or Escape. The keyboard is an ordinary US one with
its usual key codes, so the program sees what a physical keyboard sends (the top row's digits are key codes 10 to 19), where wtype types through a
keymap of its own that puts each key at an arbitrary code.

The device appears, the compositor tells the clients that the seat has it and they bind it; only then
do the events go out, since those sent before are lost. Speaks the Wayland wire protocol itself: Debian
packages no tool that drives a virtual pointer.
"""

import os
import socket
import struct
import time

BTN_LEFT = 0x110
# Linux input codes of the keys this drives.
KEYS = {"Escape": 1, "Tab": 15, "Return": 28, "space": 57}
KEYS.update({str(d): 2 + (d + 9) % 10 for d in range(10)})  # KEY_1 is 2, KEY_0 is 11
KEYMAP = b"""xkb_keymap {
    xkb_keycodes { include "evdev+aliases(qwerty)" };
    xkb_types { include "complete" };
    xkb_compat { include "complete" };
    xkb_symbols { include "pc+us+inet(evdev)" };
};
"""


class Connection:
    def __init__(self):
        self.sock = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        self.sock.connect(os.path.join(os.environ["XDG_RUNTIME_DIR"], os.environ["WAYLAND_DISPLAY"]))
        self.next_id = 2
        self.buffer = b""

    def new_id(self):
        self.next_id += 1
        return self.next_id - 1

    def send(self, object_id, opcode, payload=b"", fds=()):
        message = struct.pack("<II", object_id, ((8 + len(payload)) << 16) | opcode) + payload
        if fds:
            socket.send_fds(self.sock, [message], list(fds))
        else:
            self.sock.sendall(message)

    def events(self):
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
                raise SystemExit("wl_input: the compositor closed the connection")
            self.buffer += chunk

    def roundtrip(self, on_event=None):
        callback = self.new_id()
        self.send(1, 0, struct.pack("<I", callback))  # wl_display.sync
        for object_id, opcode, payload in self.events():
            if object_id == callback:
                return
            if object_id == 1 and opcode == 0:  # wl_display.error: object, code, message
                raise SystemExit("wl_input: protocol error %r" % payload)
            if on_event is not None:
                on_event(object_id, opcode, payload)


def string(text):
    data = text.encode() + b"\0"
    return struct.pack("<I", len(data)) + data + b"\0" * (-len(data) % 4)


def stamp():
    return int(time.monotonic() * 1000) & 0xFFFFFFFF


def connect(manager_interface):
    """Binds the seat and the manager of virtual devices: (connection, seat, manager)."""
    wl = Connection()
    registry = wl.new_id()
    wl.send(1, 1, struct.pack("<I", registry))  # wl_display.get_registry
    names = {}

    def on_global(object_id, opcode, payload):
        if object_id == registry and opcode == 0:
            name, length = struct.unpack_from("<II", payload)
            names[payload[8:8 + length - 1].decode()] = name

    wl.roundtrip(on_global)
    if manager_interface not in names:
        raise SystemExit(f"wl_input: the compositor offers no {manager_interface}")

    def bind(interface):
        object_id = wl.new_id()
        wl.send(registry, 0, struct.pack("<I", names[interface]) + string(interface)
                + struct.pack("<II", 1, object_id))
        return object_id

    return wl, bind("wl_seat"), bind(manager_interface)


def keys(names):
    codes = [KEYS[name] for name in names]
    wl, seat, manager = connect("zwp_virtual_keyboard_manager_v1")
    keyboard = wl.new_id()
    wl.send(manager, 0, struct.pack("<II", seat, keyboard))  # create_virtual_keyboard
    keymap = os.memfd_create("keymap")
    os.write(keymap, KEYMAP + b"\0")
    wl.send(keyboard, 0, struct.pack("<II", 1, len(KEYMAP) + 1), fds=[keymap])  # keymap, xkb v1
    os.close(keymap)
    wl.roundtrip()
    # Sway takes a new virtual keyboard's keymap in after the roundtrip answers, and drops the keys sent
    # meanwhile; nothing on the protocol says when it is done (wtype waits the same way).
    time.sleep(1.0)
    for code in codes:
        for state in (1, 0):
            wl.send(keyboard, 1, struct.pack("<III", stamp(), code, state))  # key
            wl.roundtrip()
            time.sleep(0.03)
    time.sleep(0.2)
    wl.send(keyboard, 3)  # destroy
    wl.roundtrip()


def click(x, y, width, height):
    wl, seat, manager = connect("zwlr_virtual_pointer_manager_v1")
    pointer = wl.new_id()
    wl.send(manager, 0, struct.pack("<II", seat, pointer))  # create_virtual_pointer
    wl.roundtrip()
    time.sleep(1.0)
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

