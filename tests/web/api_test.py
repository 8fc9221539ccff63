#!/usr/bin/python3
"""The JSON API as programs meet it, against its own OpenAPI document: every
answer's status is one the document gives for its path, and its body fits
the document's schema; passwords right, wrong (answered later each time)
and absent; requests malformed, oversized and many; the device away and a
projector that does not answer.

Usage: api_test.py KR60P_GATEWAY KR60P_SIM"""

import base64
import copy
import http.client
import json
import os
import socket
import sys
import tempfile
import time
import unittest

import jsonschema

sys.path.insert(0, os.path.dirname(__file__))
from gateway import Gateway, Simulator, free_port, wait  # noqa: E402

GATEWAY, SIM = sys.argv[1:3] if len(sys.argv) >= 3 else ("", "")
PASSWORD = "api-secret"


def json_schema(schema):
    """OpenAPI 3.0's schema as JSON Schema: nullable as a null type, refs kept."""
    schema = copy.deepcopy(schema)
    if isinstance(schema, dict):
        if schema.pop("nullable", False) and "type" in schema:
            schema["type"] = [schema["type"], "null"]
        if "$ref" in schema:
            schema["$ref"] = schema["$ref"].replace("#/components/schemas/", "#/definitions/")
        return {key: json_schema(value) for key, value in schema.items()}
    if isinstance(schema, list):
        return [json_schema(item) for item in schema]
    return schema


class Api(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.mkdtemp()
        cls.device = free_port()
        cls.sim = Simulator(SIM, cls.folder, cls.device, "--warm-up", "300")
        cls.gateway = Gateway(GATEWAY, cls.device, PASSWORD)
        status, _, body = cls.request(cls, "GET", "/api/v1/openapi.json")
        cls.document = json.loads(body)
        cls.definitions = json_schema(cls.document["components"]["schemas"])

    @classmethod
    def tearDownClass(cls):
        cls.gateway.stop()
        cls.sim.stop()

    def request(self, method, path, body=None, password=PASSWORD, headers=None, port=None):
        connection = http.client.HTTPConnection("127.0.0.1", port or self.gateway.http, timeout=20)
        headers = dict(headers or {})
        if password:
            headers["Authorization"] = "Basic " + base64.b64encode(("x:" + password).encode()).decode()
        if isinstance(body, (dict, list)):
            body = json.dumps(body)
            headers["Content-Type"] = "application/json"
        connection.request(method, path, body=body, headers=headers)
        response = connection.getresponse()
        data = response.read()
        connection.close()
        return response.status, dict(response.getheaders()), data

    def checked(self, method, path, template=None, **options):
        """The request made, its answer held to the document."""
        status, headers, body = self.request(method, path, **options)
        operation = self.document["paths"][template or path][method.lower()]
        self.assertIn(str(status), operation["responses"], "%s %s gave %d" % (method, path, status))
        content = operation["responses"][str(status)].get("content", {})
        if "application/json" in content:
            schema = json_schema(content["application/json"]["schema"])
            schema["definitions"] = self.definitions
            jsonschema.validate(json.loads(body), schema)
        return status, headers, body

    def test_every_path_answers_as_its_document_says(self):
        self.checked("GET", "/healthz", password=None)
        status, _, body = self.checked("GET", "/api/v1/status")
        self.assertEqual(status, 200)
        self.assertEqual(json.loads(body)["power"], "standby")
        self.assertEqual(self.checked("GET", "/api/v1/commands")[0], 200)
        self.assertEqual(self.checked("POST", "/api/v1/commands/power-state",
                                      "/api/v1/commands/{name}", body={})[0], 200)
        self.assertEqual(self.checked("POST", "/api/v1/commands/input-pc2",
                                      "/api/v1/commands/{name}", body={})[0], 409)
        self.assertEqual(self.checked("POST", "/api/v1/commands/no-such",
                                      "/api/v1/commands/{name}", body={})[0], 404)
        status, _, body = self.checked("POST", "/api/v1/send", body={"code": "CR PRESSURE"})
        self.assertEqual(status, 200)
        self.assertIn("hPa", json.loads(body))
        self.assertEqual(self.checked("POST", "/api/v1/send", body="not json")[0], 400)
        self.assertEqual(self.checked("POST", "/api/v1/send", body={"code": "C" * 32768})[0], 413)
        self.assertEqual(self.checked("POST", "/api/v1/hold", body={"command": "power-on",
                                                                    "stream": "x"})[0], 400)
        self.assertEqual(self.checked("POST", "/api/v1/hold/release", body={"stream": "x"})[0], 200)
        status, headers, body = self.checked("GET", "/metrics")
        self.assertTrue(headers["Content-Type"].startswith("text/plain"))
        self.assertIn(b"pjlink_power_status 0", body)
        self.assertEqual(self.request("GET", "/api/v1/send")[0], 405)
        self.assertEqual(self.request("GET", "/nothing")[0], 404)

    def test_passwords_right_wrong_and_absent(self):
        status, headers, _ = self.checked("GET", "/api/v1/status", password=None)
        self.assertEqual(status, 401)
        self.assertIn("WWW-Authenticate", headers)
        page = self.request("GET", "/api/v1/status", password=None, headers={"X-KR60P-Page": "1"})
        self.assertNotIn("WWW-Authenticate", page[1])  # no box of the browser's own
        started = time.monotonic()
        self.assertEqual(self.checked("GET", "/api/v1/status", password="wrong")[0], 401)
        self.assertEqual(self.checked("GET", "/api/v1/status", password="wrong")[0], 401)
        self.assertGreaterEqual(time.monotonic() - started, 2.9)  # 1 s, then 2 s
        # The page's login: a session cookie that works in place of the password.
        status, headers, _ = self.request("POST", "/login", body="password=" + PASSWORD,
                                          password=None,
                                          headers={"Content-Type": "application/x-www-form-urlencoded"})
        self.assertEqual(status, 303)
        cookie = headers["Set-Cookie"]
        self.assertIn("HttpOnly", cookie)
        self.assertIn("SameSite=Strict", cookie)
        session = cookie.split(";")[0]
        self.assertEqual(self.request("GET", "/api/v1/status", password=None,
                                      headers={"Cookie": session})[0], 200)
        # The page's own files need none.
        for path in ["/", "/app.js", "/app.css", "/icon.svg"]:
            self.assertEqual(self.request("GET", path, password=None)[0], 200, path)

    def test_oversized_and_many_requests_are_bounded(self):
        status, _, _ = self.request("POST", "/api/v1/send", body="x" * (20 * 1024))
        self.assertEqual(status, 413)
        status, _, _ = self.request("GET", "/api/v1/status", headers={"X-Padding": "y" * 10000})
        self.assertEqual(status, 431)
        # One host holds at most 128 connections; others still get in.
        held = []
        try:
            for _ in range(128):
                held.append(socket.create_connection(("127.0.0.1", self.gateway.http), 5))
            extra = socket.create_connection(("127.0.0.1", self.gateway.http), 5)
            extra.settimeout(5)
            self.assertIn(b"503", extra.recv(200))
            extra.close()
        finally:
            for connection in held:
                connection.close()
        wait(lambda: self.request("GET", "/healthz", password=None)[0] == 200, what="room again")

    def test_a_device_away_and_a_projector_silent(self):
        away = Gateway(GATEWAY, free_port())
        try:
            status, _, body = self.checked("POST", "/api/v1/commands/power-state",
                                           "/api/v1/commands/{name}", body={}, password=None,
                                           port=away.http)
            self.assertEqual(status, 503)
            self.assertIn("away", json.loads(body)["error"])
        finally:
            away.stop()
        silent_port = free_port()
        silent = Simulator(SIM, self.folder, silent_port, "--silent")
        gateway = Gateway(GATEWAY, silent_port)
        try:
            wait(lambda: json.loads(self.request("GET", "/healthz", password=None,
                                                 port=gateway.http)[2])["reachable"])
            status, _, _ = self.checked("POST", "/api/v1/send", body={"code": "CR0"},
                                        password=None, port=gateway.http)
            self.assertEqual(status, 504)
            for _ in range(2):
                self.request("POST", "/api/v1/send", body={"code": "CR0"}, password=None,
                             port=gateway.http)
            status, _, body = self.checked("POST", "/api/v1/commands/power-state",
                                           "/api/v1/commands/{name}", body={}, password=None,
                                           port=gateway.http)
            self.assertEqual(status, 503)
            self.assertIn("not answering", json.loads(body)["error"])
        finally:
            gateway.stop()
            silent.stop()


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
