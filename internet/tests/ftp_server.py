"""A loopback FTP server for the tests and the benchmark of internet.quillbox.

Serves ROOT on 127.0.0.1 port 21 to one user with a password. A directory named
"drop-listing" is special: listing it sends one entry and then drops the connection,
as a server that fails in the middle of a listing does.

Usage: ftp_server.py ROOT READY_FILE [--stop-file PATH] [--populate NAME=COUNT ...]
Writes READY_FILE (holding the process id) once it accepts connections. With
--stop-file it ends as soon as that file exists (for callers that cannot send signals)
and then removes ROOT, READY_FILE and the stop file.
"""
import argparse
import errno
import os
import shutil
import signal
import socket
import struct
import time
import sys

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer

USER, PASSWORD = "quill", "box-secret"
DROP_DIR = "drop-listing"


def reset(channel):
    """Closes a channel's socket abortively (the peer sees a reset, not an orderly end)."""
    if channel is not None and channel.socket is not None:
        channel.socket.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))


class DroppingProducer:
    """Yields one listing line, then resets the data and control connections."""

    def __init__(self, handler):
        self.handler = handler
        self.sent = False

    def more(self):
        if not self.sent:
            self.sent = True
            return b"-rw-r--r--   1 owner    group           5 Jan 01 12:00 early.txt\r\n"
        reset(self.handler.data_channel)
        reset(self.handler)
        self.handler.close()
        return b""


class Handler(FTPHandler):
    def ftp_LIST(self, path):
        if os.path.basename(path.rstrip("/")) == DROP_DIR:
            self.push_dtp_data(DroppingProducer(self), isproducer=True, cmd="LIST")
            return path
        return super().ftp_LIST(path)


def populate(root, spec):
    name, count = spec.split("=")
    folder = os.path.join(root, name)
    os.makedirs(folder, exist_ok=True)
    for i in range(int(count)):
        with open(os.path.join(folder, "entry%06d.txt" % i), "wb") as f:
            f.write(b"x")


def listen(handler, patience=120):
    """The server on port 21; waits while another run (tests or benchmark) holds it."""
    deadline = time.time() + patience
    while True:
        try:
            return FTPServer(("127.0.0.1", 21), handler)
        except OSError as e:
            if e.errno != errno.EADDRINUSE or time.time() > deadline:
                raise
            time.sleep(1)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("root")
    parser.add_argument("ready_file")
    parser.add_argument("--stop-file")
    parser.add_argument("--populate", action="append", default=[])
    args = parser.parse_args()
    if args.stop_file:
        # Started by a Windows program: hold none of its output pipes open after it ends.
        devnull = os.open(os.devnull, os.O_RDWR)
        for fd in (0, 1, 2):
            os.dup2(devnull, fd)
    os.makedirs(os.path.join(args.root, DROP_DIR), exist_ok=True)
    for spec in args.populate:
        populate(args.root, spec)

    authorizer = DummyAuthorizer()
    authorizer.add_user(USER, PASSWORD, args.root, perm="elradfmwMT")
    Handler.authorizer = authorizer
    Handler.banner = "quillbox test server ready"
    server = listen(Handler)
    server.max_cons = 64
    signal.signal(signal.SIGTERM, lambda *_: server.close_all() or sys.exit(0))
    with open(args.ready_file, "w") as f:
        f.write(str(os.getpid()))
    if not args.stop_file:
        server.serve_forever(timeout=1)
        return
    try:
        while not os.path.exists(args.stop_file):
            server.serve_forever(timeout=0.5, blocking=False, handle_exit=False)
    finally:
        server.close_all()
        shutil.rmtree(args.root, ignore_errors=True)
        for path in (args.stop_file, args.ready_file):
            if os.path.exists(path):
                os.remove(path)


if __name__ == "__main__":
    import logging
    logging.basicConfig(level=logging.WARNING)
    main()
