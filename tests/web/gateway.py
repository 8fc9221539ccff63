"""The gateway and the simulator as the web tests start them, on loopback."""

import os
import re
import socket
import subprocess
import tempfile
import time


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def wait(condition, seconds=10.0, what="the condition"):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        try:
            if condition():
                return
        except Exception:  # not there yet
            pass
        time.sleep(0.05)
    raise AssertionError("waited %.0f s for %s" % (seconds, what))


class Simulator:
    """kr60p-sim on TCP, its traffic log in a file of its own."""

    def __init__(self, program, folder, port, *options):
        self.log = os.path.join(folder, "sim-%d.log" % time.monotonic_ns())
        self.out = open(self.log, "w")
        self.process = subprocess.Popen([program, "--listen", "tcp://127.0.0.1:%d" % port, *options],
                                        stdout=self.out, stderr=subprocess.STDOUT)
        wait(lambda: self.read().startswith("tcp://"), what="the simulator")

    def read(self):
        with open(self.log) as log:
            return log.read()

    def commands(self):
        return re.findall(r"<-  (\S[^\n]*?)<CR>", self.read())

    def stop(self):
        self.process.terminate()
        self.process.wait(5)
        self.out.close()


class Gateway:
    """kr60p-gateway with its web server on a free loopback port."""

    def __init__(self, program, device_port, password=None, *options):
        self.folder = tempfile.mkdtemp()
        self.http = free_port()
        arguments = [program, "--device", "tcp://127.0.0.1:%d" % device_port, "--listen",
                     "127.0.0.1:0", "--http", "127.0.0.1:%d" % self.http, *options]
        if password:
            path = os.path.join(self.folder, "password")
            with open(path, "w") as f:
                f.write(password + "\n")
            os.chmod(path, 0o600)
            arguments += ["--password-file", path]
        self.journal = open(os.path.join(self.folder, "journal"), "w")
        self.process = subprocess.Popen(arguments, stdout=subprocess.DEVNULL, stderr=self.journal)
        wait(lambda: socket.create_connection(("127.0.0.1", self.http), 1).close() or True,
             what="the gateway's web server")
        self.url = "http://127.0.0.1:%d" % self.http

    def stop(self):
        self.process.terminate()
        status = self.process.wait(10)
        self.journal.close()
        return status
