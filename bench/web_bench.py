#!/usr/bin/python3
"""kr60p-gateway's web front end measured: the page's weight and first
render in headless Chromium, a click to its first byte at the simulator, a
state change to the page's display, a scrape of /metrics, and 100 live page
connections at once. Prints rows 22 to 27 of the benchmark table.

Usage: web_bench.py KR60P_GATEWAY KR60P_SIM"""

import os
import re
import socket
import statistics
import sys
import tempfile
import time
import urllib.request

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "tests", "web"))
sys.path.insert(0, os.path.dirname(__file__))
from gateway import Gateway, Simulator, free_port, wait  # noqa: E402
from measure import cpu_seconds, percentile, resident_kib, row  # noqa: E402

from selenium import webdriver  # noqa: E402
from selenium.webdriver.chrome.service import Service  # noqa: E402
from selenium.webdriver.common.by import By  # noqa: E402

GATEWAY, SIM = sys.argv[1:3]


folder = tempfile.mkdtemp()
device = free_port()
sim = Simulator(SIM, folder, device, "--warm-up", "1000", "--cool-down", "1000")
gateway = Gateway(GATEWAY, device)
options = webdriver.ChromeOptions()
for argument in ["--headless=new", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                 "--disable-background-networking", "--disable-component-update", "--disable-sync",
                 "--user-data-dir=" + os.path.join(folder, "profile")]:
    options.add_argument(argument)
options.binary_location = "/usr/bin/chromium"
browser = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
try:
    # Row 22: everything the page loads, and its first render.
    weight = sum(len(urllib.request.urlopen(gateway.url + path).read())
                 for path in ["/", "/app.js", "/app.css", "/icon.svg"])
    renders = []
    for _ in range(5):
        browser.get(gateway.url + "/")
        wait(lambda: browser.find_element(By.ID, "power").text not in ("", "–"), what="the state")
        timing = browser.execute_script(
            "const p = performance.getEntriesByType('paint').find(e => e.name === 'first-contentful-paint');"
            "return p ? p.startTime : null;")
        renders.append(timing)
    row(22, "web page: everything it loads, and its first render in headless Chromium, 5 loads",
        "%d bytes (HTML, JavaScript, CSS, icon); first contentful paint median %.0f ms" %
        (weight, statistics.median(renders)), "under 100 KB", weight < 100_000)

    # Row 23: a click to its first byte at the simulator: the typed command,
    # which is always sent (a query button may be answered from the last
    # second's answer).
    times = []
    code = browser.find_element(By.ID, "code")
    code.clear()
    code.send_keys("CR4")
    send = browser.find_element(By.CSS_SELECTOR, "#send button")
    for _ in range(40):
        before = sim.commands().count("CR4")
        started = time.monotonic()
        send.click()
        wait(lambda: sim.commands().count("CR4") > before, what="CR4 at the simulator")
        times.append((time.monotonic() - started) * 1000)
        time.sleep(0.2)
    row(23, "web page: a click of Send to its line's first byte at the simulator, 40 clicks",
        "median %.1f ms, p99 %.1f ms (through WebDriver; the simulator's log looked at every 50 ms)" %
        (statistics.median(times), percentile(times, 0.99)), "report", None)

    # Row 24: a change at the projector to the page's display.
    shown = []
    for i in range(6):
        command = "C00" if i % 2 == 0 else "C01"
        expected = ("Warming up", "On") if i % 2 == 0 else ("Cooling down", "Standby")
        with socket.create_connection(("127.0.0.1", gateway.http)):
            pass
        started = time.monotonic()
        urllib.request.urlopen(urllib.request.Request(
            gateway.url + "/api/v1/send", data=b'{"code": "%s"}' % command.encode(),
            headers={"Content-Type": "application/json"}))
        wait(lambda: browser.find_element(By.ID, "power").text.startswith(expected[0]), 15,
             what=expected[0])
        shown.append((time.monotonic() - started) * 1000)
        wait(lambda: browser.find_element(By.ID, "power").text.startswith(expected[1]), 15,
             what=expected[1])
    row(24, "web page: a power command by the API to the page showing its new state, 6 times",
        "median %.0f ms, worst %.0f ms (the command read back at once)" %
        (statistics.median(shown), max(shown)), "within the second", max(shown) < 1000)
    browser.get("about:blank")

    # Row 25: a scrape.
    time.sleep(6)  # every reading older than a scrape refreshes
    before = len(sim.commands())
    started = time.monotonic()
    urllib.request.urlopen(gateway.url + "/metrics").read()
    first = (time.monotonic() - started) * 1000
    cost = len(sim.commands()) - before
    started = time.monotonic()
    urllib.request.urlopen(gateway.url + "/metrics").read()
    second = (time.monotonic() - started) * 1000
    row(25, "metrics: a scrape of /metrics, and what it cost the line",
        "%.1f ms with every reading stale (%d exchanges, one a reading); %.1f ms at once after "
        "(%d more)" % (first, cost, second, len(sim.commands()) - before - cost),
        "at most one exchange a reading; at most 1 s", cost <= 9 and first < 1100)

    # Rows 26, 27: 100 live page connections.
    idle_before = resident_kib(gateway.process.pid)
    streams = []
    for _ in range(100):
        s = socket.create_connection(("127.0.0.1", gateway.http))
        s.sendall(b"GET /api/v1/events HTTP/1.1\r\nHost: x\r\n\r\n")
        streams.append(s)
    time.sleep(2)
    with_streams = resident_kib(gateway.process.pid)
    cpu = cpu_seconds(gateway.process.pid)
    time.sleep(10)
    idle_cpu = (cpu_seconds(gateway.process.pid) - cpu) / 10 * 100
    row(26, "web: 100 live page connections open at once, memory",
        "resident %.1f MiB with them, %.1f MiB before" % (with_streams / 1024, idle_before / 1024),
        "report", None)
    row(27, "web: 100 live page connections, CPU while nothing changes, 10 s",
        "%.2f %% of one core (the state polled once a second for them)" % idle_cpu,
        "< 2 %", idle_cpu < 2)
    for s in streams:
        s.close()
finally:
    browser.quit()
    gateway.stop()
    sim.stop()
