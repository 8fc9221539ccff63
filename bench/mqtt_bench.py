#!/usr/bin/python3
"""kr60p-gateway on MQTT measured against a real Mosquitto broker: a command
on the broker to its first byte at the simulator, the power switched to the
state message that shows it, the gateway's memory and idle CPU with MQTT on,
and the messages it publishes in an idle hour. Prints rows 28 to 31 of the
benchmark table.

Usage: mqtt_bench.py KR60P_GATEWAY KR60P_SIM"""

import datetime
import json
import os
import re
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "tests", "web"))
sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "tests", "mqtt"))
sys.path.insert(0, os.path.dirname(__file__))
from gateway import Simulator, free_port, wait  # noqa: E402
from mqtt_test import Assistant, Broker  # noqa: E402
from measure import cpu_seconds, resident_kib, row  # noqa: E402

GATEWAY, SIM = sys.argv[1:3]
BASE = "kr60p/bench"
IDLE = 130  # seconds: two of the minutes moved measures wait


def sim_times(sim, code):
    """When each line with this code reached the simulator, in seconds."""
    times = []
    for stamp in re.findall(r"(\S+)  <-  %s<CR>" % code, sim.read()):
        times.append(datetime.datetime.fromisoformat(stamp).timestamp())
    return times


folder = tempfile.mkdtemp()
broker = Broker(folder)
device = free_port()
sim = Simulator(SIM, folder, device, "--warm-up", "1000", "--cool-down", "1000")
password = os.path.join(folder, "gateway.password")
with open(password, "w") as f:
    f.write("gw-secret\n")
ha = Assistant(broker.port)
journal = open(os.path.join(folder, "journal"), "w")
gateway = subprocess.Popen([GATEWAY, "--device", "tcp://127.0.0.1:%d" % device, "--listen",
                            "127.0.0.1:0", "--name", "bench", "--mqtt",
                            "mqtt://127.0.0.1:%d" % broker.port, "--mqtt-user", "gateway",
                            "--mqtt-password-file", password], stdout=subprocess.DEVNULL,
                           stderr=journal)
try:
    wait(lambda: ha.get(BASE + "/availability") == b"online", 10, "online")
    wait(lambda: len(ha.json(BASE + "/state")["readings"]) >= 9, 20, "every reading")

    # Row 29 first, as it leaves the projector on for row 28.
    delays = []
    for _ in range(5):
        for payload, shown in (("ON", "warming-up"), ("OFF", "cooling-down")):
            time.sleep(1.5)  # past the pace of the last state message
            mark = ha.mark()
            start = time.monotonic()
            ha.publish(BASE + "/power/set", payload)

            def seen():
                return any(t == BASE + "/state" and json.loads(p)["power"] == shown
                           for t, p, _ in ha.heard[mark:])

            wait(seen, 10, shown)
            delays.append(time.monotonic() - start)
            settled = "on" if payload == "ON" else "standby"
            wait(lambda: ha.json(BASE + "/state")["power"] == settled, 10, settled)
    ha.publish(BASE + "/power/set", "ON")
    wait(lambda: ha.json(BASE + "/state")["power"] == "on", 10, "on")

    firsts = []
    for _ in range(20):
        before = len(sim_times(sim, "C09"))
        start = time.time()
        ha.publish(BASE + "/command", "volume-up")
        wait(lambda: len(sim_times(sim, "C09")) > before, 5, "C09")
        firsts.append((sim_times(sim, "C09")[-1] - start) * 1000)
        time.sleep(0.3)
    row(28, "kr60p-gateway on MQTT: volume-up on BASE/command to its first byte at the simulator, 20 times",
        "median %.1f ms, worst %.1f ms (the simulator's clock in whole ms; the line may be busy with "
        "the state's one query a second)" % (statistics.median(firsts), max(firsts)),
        "median < 50 ms", statistics.median(firsts) < 50)
    row(29, "kr60p-gateway on MQTT: the power switched to the state message that shows warming-up or "
        "cooling-down, 10 times",
        "median %.0f ms, worst %.0f ms (the command read back at once; a change within a second "
        "of the last message waits for that second's end)"
        % (statistics.median(delays) * 1000, max(delays) * 1000),
        "median < 100 ms", statistics.median(delays) < 0.1)

    # Idle: the projector on, nobody commanding.
    time.sleep(2)
    mark = ha.mark()
    cpu = cpu_seconds(gateway.pid)
    time.sleep(IDLE)
    cpu = cpu_seconds(gateway.pid) - cpu
    messages = len(ha.heard[mark:])
    states = sum(1 for t, _, _ in ha.heard[mark:] if t == BASE + "/state")
    row(30, "kr60p-gateway on MQTT: resident memory and CPU idle (%d s), connected" % IDLE,
        "%.1f MiB; %.2f %% of one core (its state poll included)"
        % (resident_kib(gateway.pid) / 1024, cpu / IDLE * 100), "report", None)
    row(31, "kr60p-gateway on MQTT: messages published in an idle hour (%d s counted)" % IDLE,
        "%.0f an hour, all on BASE/state (%d in %d s: the simulator's temperatures, pressure and "
        "lamp hours move on every reading, published once a minute; a steady projector publishes none)"
        % (messages * 3600 / IDLE, states, IDLE),
        "at most 60 (a minute's measures)", messages == states and messages * 3600 / IDLE <= 60)
finally:
    gateway.terminate()
    gateway.wait(10)
    journal.close()
    ha.stop()
    sim.stop()
    broker.stop()
