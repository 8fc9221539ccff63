#!/usr/bin/python3
"""The gateway on a real Mosquitto broker of the test's own (loopback, a
password file), with a client of the test playing Home Assistant: the
discovery documents complete for their components and their templates
rendered over the state; a switch that reaches the simulator and a state
that follows it; bad commands answered and nothing sent; Home Assistant
starting again; the broker stopped and started while the projector changes;
the gateway killed, started again and ended; the projector taken out of
service. The methods run in their names' order, each leaving the projector
in standby.

Usage: mqtt_test.py KR60P_GATEWAY KR60P_SIM"""

import json
import os
import pwd
import re
import signal
import socket
import subprocess
import sys
import tempfile
import threading
import unittest

import jinja2
import paho.mqtt.client as paho

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "web"))
from gateway import Simulator, free_port, wait  # noqa: E402

GATEWAY, SIM = sys.argv[1:3] if len(sys.argv) >= 3 else ("", "")
BASE = "kr60p/hall-3"
PREFIX = "homeassistant"

# What Home Assistant needs of each component besides unique_id, device and
# availability.
REQUIRED = {
    "switch": ["command_topic", "state_topic", "value_template", "payload_on", "payload_off"],
    "select": ["command_topic", "options"],  # a state too, where the projector tells it
    "button": ["command_topic", "payload_press"],
    "sensor": ["state_topic", "value_template"],
    "binary_sensor": ["state_topic", "value_template"],
}


class Broker:
    """mosquitto on a free loopback port, its retained messages kept on disk."""

    def __init__(self, folder):
        self.port = free_port()
        self.folder = folder
        passwords = os.path.join(folder, "passwd")
        for user, password in (("gateway", "gw-secret"), ("ha", "ha-secret")):
            subprocess.run(["mosquitto_passwd", "-b"] + (["-c"] if user == "gateway" else []) +
                           [passwords, user, password], check=True, capture_output=True)
        self.config = os.path.join(folder, "mosquitto.conf")
        with open(self.config, "w") as f:
            # As whoever runs the test: root's broker would be another user's.
            f.write("listener %d 127.0.0.1\nallow_anonymous false\npassword_file %s\n"
                    "persistence true\npersistence_location %s/\nautosave_interval 1\nuser %s\n"
                    % (self.port, passwords, folder, pwd.getpwuid(os.getuid()).pw_name))
        self.start()

    def start(self):
        self.log = open(os.path.join(self.folder, "broker.log"), "a")
        self.process = subprocess.Popen(["mosquitto", "-c", self.config], stdout=self.log,
                                        stderr=subprocess.STDOUT)
        wait(lambda: subprocess.run(["mosquitto_pub", "-p", str(self.port), "-u", "ha", "-P",
                                     "ha-secret", "-t", "probe", "-m", ""],
                                    capture_output=True).returncode == 0, what="the broker")

    def stop(self):
        self.process.terminate()
        self.process.wait(10)
        self.log.close()


class Assistant:
    """What Home Assistant keeps of the broker: the last message of each topic."""

    def __init__(self, port, user="ha", password="ha-secret"):
        self.lock = threading.Lock()
        self.last = {}
        self.heard = []
        self.client = paho.Client(client_id="test-ha-%d" % os.getpid())
        self.client.username_pw_set(user, password)
        self.client.on_message = self.message
        self.client.on_connect = lambda client, *_: client.subscribe([("#", 1)])
        self.client.connect("127.0.0.1", port)
        self.client.loop_start()

    def message(self, client, data, message):
        with self.lock:
            self.last[message.topic] = message.payload
            self.heard.append((message.topic, message.payload, message.retain))

    def get(self, topic):
        with self.lock:
            return self.last.get(topic)

    def json(self, topic):
        payload = self.get(topic)
        return json.loads(payload) if payload else None

    def documents(self):
        with self.lock:
            return {topic: json.loads(payload) for topic, payload in self.last.items()
                    if topic.startswith(PREFIX + "/") and topic.endswith("/config") and payload}

    def responses(self, since):
        with self.lock:
            return [json.loads(p) for t, p, _ in self.heard[since:] if t == BASE + "/response"]

    def mark(self):
        with self.lock:
            return len(self.heard)

    def publish(self, topic, payload):
        self.client.publish(topic, payload, qos=1).wait_for_publish(5)

    def stop(self):
        self.client.loop_stop()
        self.client.disconnect()


def render(template, state):
    return jinja2.Environment().from_string(template).render(value_json=state).strip()


class Mqtt(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.mkdtemp()
        cls.broker = Broker(cls.folder)
        cls.device = free_port()
        cls.sim = Simulator(SIM, cls.folder, cls.device, "--warm-up", "1500", "--cool-down", "300")
        cls.password = os.path.join(cls.folder, "gateway.password")
        with open(cls.password, "w") as f:
            f.write("gw-secret\n")
        os.chmod(cls.password, 0o600)
        cls.ha = Assistant(cls.broker.port)
        cls.gateway = None
        cls.start_gateway()

    @classmethod
    def tearDownClass(cls):
        if cls.gateway and cls.gateway.poll() is None:
            cls.gateway.terminate()
            cls.gateway.wait(10)
        cls.journal.close()
        cls.ha.stop()
        cls.sim.stop()
        cls.broker.stop()

    @classmethod
    def arguments(self):
        return [GATEWAY, "--device", "tcp://127.0.0.1:%d" % self.device, "--listen", "127.0.0.1:0",
                "--name", "Hall 3", "--mqtt", "mqtt://127.0.0.1:%d" % self.broker.port,
                "--mqtt-user", "gateway", "--mqtt-password-file", self.password]

    def journal_text(self):
        with open(os.path.join(self.folder, "journal")) as journal:
            return journal.read()

    @classmethod
    def start_gateway(self):
        if self.gateway:
            self.journal.close()
        self.journal = open(os.path.join(self.folder, "journal"), "a")
        self.gateway = subprocess.Popen(self.arguments(), stdout=subprocess.DEVNULL,
                                        stderr=self.journal)
        wait(lambda: self.ha.get(BASE + "/availability") == b"online", 10, "online")

    def state(self):
        return self.ha.json(BASE + "/state")

    def actions(self):
        """What reached the simulator besides the state's queries."""
        return [c for c in self.sim.commands() if not c.startswith("CR")]

    def test_a_discovery_is_complete_and_its_templates_read_the_state(self):
        wait(lambda: len(self.ha.documents()) == 46, 10, "46 discovery documents")
        documents = self.ha.documents()
        ids = set()
        for topic, document in documents.items():
            component = topic.split("/")[1]
            for key in REQUIRED[component] + ["unique_id", "name", "availability", "origin"]:
                self.assertIn(key, document, topic)
            if "state_topic" in document:
                self.assertIn("value_template", document, topic)
            ids.add(document["unique_id"])
            self.assertEqual(document["device"]["identifiers"], ["kr60p_hall-3"])
            self.assertEqual(document["device"]["model"], "KR60P")
            self.assertEqual(document["availability"][0]["topic"], BASE + "/availability")
            if "command_topic" in document:
                self.assertTrue(document["command_topic"].startswith(BASE + "/"), topic)
        self.assertEqual(len(ids), len(documents))

        # Every reading there, with the simulator's values.
        wait(lambda: len(self.state()["readings"]) >= 9, 15, "every reading")
        power = PREFIX + "/switch/kr60p_hall-3/power/config"
        wait(lambda: self.ha.documents()[power]["device"].get("sw_version") == "KR60P Ver1.40",
             15, "the projector's version in the device block")
        documents = self.ha.documents()

        def reply(query):
            replies = re.findall(r"<-  %s<CR>\n[^\n]*->  ([^<]*)<CR>" % query, self.sim.read())
            return replies[-1]

        def value(entity):
            document = documents[PREFIX + "/sensor/kr60p_hall-3/%s/config" % entity]
            return render(document["value_template"], self.state())

        wait(lambda: [float(value("temperature-%d" % n)) for n in (1, 2, 3)]
             == [float(t) for t in reply("CR6").split()], 5, "the temperatures")
        wait(lambda: int(value("lamp-hours")) == int(reply("CR3")), 5, "the lamp hours")
        self.assertEqual(value("power-state"), "standby")
        self.assertEqual(value("software-version"), "KR60P Ver1.40")
        self.assertEqual(float(value("pressure")), self.state()["readings"]["pressure"]["hPa"])
        for entity in ("fan", "lamp", "temperature", "cover", "filter", "other"):
            document = documents[PREFIX + "/binary_sensor/kr60p_hall-3/%s-problem/config" % entity]
            self.assertEqual(render(document["value_template"], self.state()), "OFF")
        select = documents[PREFIX + "/select/kr60p_hall-3/input/config"]
        self.assertIn(render(select["value_template"], self.state()), select["options"])

    def test_b_the_power_switch_reaches_the_projector_and_the_state_follows(self):
        since, sent = self.ha.mark(), len(self.actions())
        self.ha.publish(BASE + "/power/set", "ON")
        wait(lambda: self.actions()[sent:] == ["C00"], 5, "C00 at the simulator")
        wait(lambda: self.state()["power"] == "on", 10, "the projector on")
        powers = [json.loads(p)["power"] for t, p, _ in self.ha.heard[since:] if t == BASE + "/state"]
        changes = [p for i, p in enumerate(powers) if i == 0 or powers[i - 1] != p]
        self.assertEqual(changes[-2:], ["warming-up", "on"])
        response = self.ha.responses(since)[0]
        self.assertEqual((response["command"], response["outcome"]), ("power-on", "answered"))
        self.ha.publish(BASE + "/set", json.dumps({"power": "OFF", "correlation": "job-7"}))
        wait(lambda: self.state()["power"] == "standby", 10, "standby again")
        self.assertEqual(self.ha.responses(since)[1]["correlation"], "job-7")

    def test_c_bad_commands_are_answered_and_nothing_is_sent(self):
        sent = len(self.actions())
        cases = [  # topic, payload, outcome
            (BASE + "/set", "{not json", "malformed"),
            (BASE + "/set", json.dumps({"command": "warp-drive", "correlation": 3}), "unknown"),
            (BASE + "/set", json.dumps({"power": "ON", "input": "PC1"}), "malformed"),
            (BASE + "/command", "warp-drive", "unknown"),
            (BASE + "/input/set", "Laser", "malformed"),
            (BASE + "/warp/set", "ON", "unknown"),
            (BASE + "/set", json.dumps({"code": "C" * 40000}), "too-long"),
            (BASE + "/command", "volume-up", "refused"),  # in standby
        ]
        since = self.ha.mark()
        for topic, payload, _ in cases:
            self.ha.publish(topic, payload)
        wait(lambda: len(self.ha.responses(since)) == len(cases), 10, "every response")
        responses = self.ha.responses(since)
        for (topic, payload, outcome), response in zip(cases, responses):
            self.assertEqual((response["topic"], response["outcome"]), (topic, outcome), payload[:60])
            self.assertTrue(response["error"], response)
        self.assertEqual(responses[1]["correlation"], 3)
        self.assertEqual(self.actions()[sent:], [])

    def test_d_home_assistant_starting_again_gets_discovery_again(self):
        since = self.ha.mark()
        self.ha.publish(PREFIX + "/status", "online")
        wait(lambda: sum(1 for t, p, _ in self.ha.heard[since:] if t.endswith("/config")) == 46, 5,
             "discovery again")

    def test_e_a_broker_back_gets_the_state_of_now(self):
        self.broker.stop()
        wait(lambda: "MQTT DOWN" in self.journal_text(), 10,
             "the loss said")
        # The projector changes while the broker is away, by PJLink.
        self.ha.stop()
        self.pjlink("%1POWR 1")
        wait(lambda: "C00" in self.actions()[-1:], 5, "C00")
        self.broker.start()
        fresh = Assistant(self.broker.port)
        type(self).ha = fresh
        wait(lambda: fresh.json(BASE + "/state") and fresh.json(BASE + "/state")["power"] == "on",
             70, "the state of now on the broker")
        self.assertEqual(fresh.get(BASE + "/availability"), b"online")
        journal = self.journal_text()
        self.assertEqual(journal.count("MQTT DOWN"), 1, journal)
        self.pjlink("%1POWR 0")
        wait(lambda: self.state()["power"] == "standby", 10, "standby again")

    def pjlink(self, request):
        port = int(re.search(r"PJLINK on 127\.0\.0\.1:(\d+)",
                             self.journal_text()).group(1))
        with socket.create_connection(("127.0.0.1", port), 5) as s:
            s.recv(64)
            s.sendall(request.encode() + b"\r")
            return s.recv(64)

    def test_f_availability_follows_the_gateway_killed_started_and_ended(self):
        self.gateway.send_signal(signal.SIGKILL)
        self.gateway.wait(5)
        wait(lambda: self.ha.get(BASE + "/availability") == b"offline", 10, "the last will")
        self.start_gateway()
        self.gateway.terminate()
        self.assertEqual(self.gateway.wait(10), 0)
        wait(lambda: self.ha.get(BASE + "/availability") == b"offline", 5, "offline at the end")

    def test_g_taken_out_of_service_nothing_is_left_retained(self):
        self.assertIsNotNone(self.gateway.poll())
        removal = subprocess.run(self.arguments() + ["--ha-remove"], capture_output=True, text=True,
                                 timeout=20)
        self.assertEqual(removal.returncode, 0, removal.stderr)
        left = subprocess.run(["mosquitto_sub", "-p", str(self.broker.port), "-u", "ha", "-P",
                               "ha-secret", "-t", PREFIX + "/#", "-t", BASE + "/#", "-v",
                               "--retained-only", "-W", "2"], capture_output=True, text=True)
        self.assertEqual(left.stdout, "")


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
