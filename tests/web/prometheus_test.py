#!/usr/bin/python3
"""The gateway's metrics as a real Prometheus (Debian's) scrapes them every
second, with the gateway's password: up, the lamp hours and a temperature
the simulator reports; promtool checks the exposition and the alert rules.

Usage: prometheus_test.py KR60P_GATEWAY KR60P_SIM SOURCE_DIR"""

import base64
import json
import os
import subprocess
import sys
import unittest
import urllib.parse
import urllib.request

sys.path.insert(0, os.path.dirname(__file__))
from gateway import Gateway, Simulator, free_port, wait  # noqa: E402

GATEWAY, SIM, SOURCE = sys.argv[1:4] if len(sys.argv) >= 4 else ("", "", "")
PASSWORD = "scrape-me"


def get(url, password=None):
    request = urllib.request.Request(url)
    if password:
        token = base64.b64encode(("prometheus:" + password).encode()).decode()
        request.add_header("Authorization", "Basic " + token)
    with urllib.request.urlopen(request, timeout=5) as response:
        return response.read().decode()


class Scraped(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.device = free_port()
        cls.sim = None
        cls.gateway = None
        import tempfile
        cls.folder = tempfile.mkdtemp()
        cls.sim = Simulator(SIM, cls.folder, cls.device)
        cls.gateway = Gateway(GATEWAY, cls.device, PASSWORD)
        cls.prometheus_port = free_port()
        config = os.path.join(cls.folder, "prometheus.yml")
        with open(config, "w") as f:
            f.write("global:\n  scrape_interval: 1s\n  evaluation_interval: 1s\n"
                    "scrape_configs:\n  - job_name: kr60p\n"
                    "    basic_auth: {username: prometheus, password: %s}\n"
                    "    static_configs: [{targets: ['127.0.0.1:%d']}]\n" % (PASSWORD, cls.gateway.http))
        cls.prometheus = subprocess.Popen(
            ["prometheus", "--config.file=" + config, "--storage.tsdb.path=" + os.path.join(cls.folder, "data"),
             "--web.listen-address=127.0.0.1:%d" % cls.prometheus_port],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    @classmethod
    def tearDownClass(cls):
        cls.prometheus.terminate()
        cls.prometheus.wait(10)
        cls.gateway.stop()
        cls.sim.stop()

    def query(self, expression):
        url = "http://127.0.0.1:%d/api/v1/query?query=%s" % (self.prometheus_port,
                                                             urllib.parse.quote(expression))
        result = json.loads(get(url))["data"]["result"]
        return [float(sample["value"][1]) for sample in result]

    def test_a_real_prometheus_reads_up_the_lamp_hours_and_a_temperature(self):
        wait(lambda: self.query('up{job="kr60p"}') == [1.0], 30, "up == 1 in Prometheus")
        status = json.loads(get(self.gateway.url + "/api/v1/status", PASSWORD))
        wait(lambda: self.query('pjlink_lamp_hours{lamp="1"}') ==
             [float(status["readings"]["lamp-time"]["hours"])], 15, "the lamp hours")
        wait(lambda: self.query('kr60p_temperature_celsius{sensor="1"}'), 15, "a temperature")
        temperature = self.query('kr60p_temperature_celsius{sensor="1"}')[0]
        said = status["readings"]["temperatures"]["temperatures"][0]
        self.assertLess(abs(temperature - said), 5.0)
        self.assertEqual(self.query("kr60p_reachable"), [1.0])

    def test_promtool_finds_nothing_but_its_lint_on_the_exporters_names(self):
        exposition = get(self.gateway.url + "/metrics", PASSWORD)
        checked = subprocess.run(["promtool", "check", "metrics"], input=exposition, text=True,
                                 capture_output=True)
        for line in (checked.stdout + checked.stderr).splitlines():
            self.assertTrue(line.startswith("pjlink_"), "promtool: " + line)

    def test_the_alert_rules_pass_promtool(self):
        rules = os.path.join(SOURCE, "packaging", "gateway", "kr60p-alerts.yml")
        subprocess.run(["promtool", "check", "rules", rules], check=True, capture_output=True)
        tests = os.path.join(SOURCE, "tests", "web", "alerts_test.yml")
        subprocess.run(["promtool", "test", "rules", tests], check=True, capture_output=True)

    def test_a_scrape_while_the_device_is_away_answers_at_once_without_stale_values(self):
        away = Gateway(GATEWAY, free_port())  # nothing listens there
        try:
            import time
            started = time.monotonic()
            text = get(away.url + "/metrics")
            self.assertLess(time.monotonic() - started, 1.5)
            self.assertIn("kr60p_reachable 0", text)
            self.assertNotIn("pjlink_power_status", text)
            self.assertNotIn("kr60p_temperature_celsius", text)
        finally:
            away.stop()


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
