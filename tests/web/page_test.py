#!/usr/bin/python3
"""The gateway's control page in a real browser (Debian's Chromium, headless,
driven by Selenium), against the gateway and the simulator, as an operator
uses it: log in, power on and watch warm-up become on, choose an input, hold
VOL + and let go every way a page lets go, see a refused command's words and
the device taken away and back. Screenshots of a phone-sized and a
desktop-sized window go to the folder given.

Usage: page_test.py KR60P_GATEWAY KR60P_SIM SCREENSHOT_FOLDER"""

import os
import re
import socket
import subprocess
import sys
import tempfile
import time
import unittest

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By

GATEWAY, SIM, SHOTS = sys.argv[1:4] if len(sys.argv) >= 4 else ("", "", "")
PASSWORD = "hall-3-secret"


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
        except Exception:  # the page between two states
            pass
        time.sleep(0.05)
    raise AssertionError("waited %.0f s for %s" % (seconds, what))


class Simulator:
    """kr60p-sim on TCP, its traffic log in a file of its own."""

    def __init__(self, port, folder, *options):
        self.log = os.path.join(folder, "sim-%d.log" % time.monotonic_ns())
        self.out = open(self.log, "w")
        self.process = subprocess.Popen([SIM, "--listen", "tcp://127.0.0.1:%d" % port, *options],
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


class Page(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.mkdtemp()
        cls.device_port = free_port()
        cls.sim = Simulator(cls.device_port, cls.folder, "--warm-up", "2000", "--cool-down", "1500")
        password = os.path.join(cls.folder, "password")
        with open(password, "w") as f:
            f.write(PASSWORD + "\n")
        os.chmod(password, 0o600)
        cls.http = free_port()
        cls.gateway = subprocess.Popen(
            [GATEWAY, "--device", "tcp://127.0.0.1:%d" % cls.device_port, "--listen",
             "127.0.0.1:0", "--http", "127.0.0.1:%d" % cls.http, "--password-file", password],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        wait(lambda: socket.create_connection(("127.0.0.1", cls.http), 1).close() or True,
             what="the gateway")
        options = webdriver.ChromeOptions()
        for argument in ["--headless=new", "--no-sandbox", "--disable-gpu", "--disable-quic",
                         "--no-first-run", "--disable-background-networking",
                         "--disable-component-update", "--disable-sync",
                         "--user-data-dir=" + os.path.join(cls.folder, "profile")]:
            options.add_argument(argument)
        options.binary_location = "/usr/bin/chromium"
        cls.browser = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
        cls.browser.set_window_size(1280, 1000)

    @classmethod
    def tearDownClass(cls):
        cls.browser.quit()
        cls.gateway.terminate()
        cls.gateway.wait(10)
        cls.sim.stop()

    def text(self, element_id):
        return self.browser.find_element(By.ID, element_id).text

    def button(self, command):
        return self.browser.find_element(By.CSS_SELECTOR, "button[data-command='%s']" % command)

    def note_of(self, command):
        return self.button(command).find_element(By.XPATH, "../../p[@class]")

    def test_1_login_and_power_on_to_on_without_a_reload(self):
        b = self.browser
        b.get("http://127.0.0.1:%d/" % self.http)
        wait(lambda: b.find_element(By.ID, "password").is_displayed(), what="the login")
        b.find_element(By.ID, "password").send_keys("not it")
        b.find_element(By.CSS_SELECTOR, "#login button").click()
        wait(lambda: b.find_element(By.ID, "wrong").is_displayed(), what="the wrong password said")
        b.find_element(By.ID, "password").send_keys(PASSWORD)
        b.find_element(By.CSS_SELECTOR, "#login button").click()
        wait(lambda: "Standby" in self.text("power"), what="standby shown")
        self.button("power-on").click()
        wait(lambda: "Warming up" in self.text("power"), what="warming up shown")
        wait(lambda: self.text("power").startswith("On"), what="on shown, with no reload")
        self.assertIn("C00", self.sim.commands())

    def test_2_an_input_reaches_the_projector(self):
        self.button("input-pc1").click()
        wait(lambda: "C05" in self.sim.commands(), what="C05 at the simulator")
        wait(lambda: "Computer 1" in self.text("input"), what="the input shown")

    def held_volume_ups(self, let_go, hold_seconds=1.0):
        before = self.sim.commands().count("C09")
        volume = self.button("volume-up")
        self.browser.execute_script("arguments[0].scrollIntoView({block: 'center'})", volume)
        actions = ActionChains(self.browser)
        actions.move_to_element(volume).click_and_hold().perform()
        time.sleep(hold_seconds)
        let_go(volume)
        let_go_at = time.monotonic()
        time.sleep(1.5)
        after = self.sim.commands().count("C09")
        time.sleep(1.0)
        self.assertEqual(self.sim.commands().count("C09"), after, "still repeating after the lease")
        return after - before, let_go_at

    def test_3_a_held_volume_repeats_at_the_windows_pace_and_stops_when_let_go(self):
        sent, _ = self.held_volume_ups(lambda _: ActionChains(self.browser).release().perform())
        # Once, then every 250 ms for a second: four or five lines.
        self.assertGreaterEqual(sent, 4)
        self.assertLessEqual(sent, 6)
        # The pointer leaving the button lets go too.
        title = self.browser.find_element(By.ID, "state-title")
        sent, _ = self.held_volume_ups(
            lambda _: ActionChains(self.browser).move_to_element(title).perform(), 0.6)
        self.assertGreaterEqual(sent, 2)
        ActionChains(self.browser).release().perform()

    def test_4_a_tab_closed_mid_hold_stops_within_the_lease(self):
        b = self.browser
        main = b.current_window_handle
        b.switch_to.new_window("tab")
        b.get("http://127.0.0.1:%d/" % self.http)
        wait(lambda: self.button("volume-up").is_displayed(), what="the page in a second tab")
        time.sleep(0.5)  # its live stream open
        before = self.sim.commands().count("C09")
        ActionChains(b).move_to_element(self.button("volume-up")).click_and_hold().perform()
        time.sleep(0.8)
        b.close()
        b.switch_to.window(main)
        closed = self.sim.commands().count("C09")
        self.assertGreater(closed, before)
        time.sleep(1.5)  # the lease (1 s) runs out, or the stream's end is seen
        stopped = self.sim.commands().count("C09")
        time.sleep(1.0)
        self.assertEqual(self.sim.commands().count("C09"), stopped, "repeats ran on")
        self.assertLessEqual(stopped - closed, 5)

    def test_5_a_refused_command_says_why_at_the_control(self):
        self.button("power-off").click()
        wait(lambda: self.text("power").startswith("Cooling down") or
             self.text("power").startswith("Standby"), what="cooling or standby")
        self.button("input-video").click()
        note = self.note_of("input-video")
        wait(lambda: "cooling down" in note.text or "standby" in note.text,
             what="the refusal in words")
        self.assertNotIn("C07", self.sim.commands())

    def test_6_the_device_away_and_back_is_shown(self):
        self.sim.stop()
        wait(lambda: "away" in self.text("reach"), what="the device away shown")
        Page.sim = Simulator(self.device_port, self.folder)
        wait(lambda: self.text("reach") == "Connected to the projector.", 15,
             what="the device back shown")

    def test_7_screenshots_of_a_phone_and_a_desktop(self):
        os.makedirs(SHOTS, exist_ok=True)
        b = self.browser
        for name, width, height in [("desktop", 1280, 1000), ("phone", 390, 844)]:
            b.set_window_size(width, height)
            time.sleep(0.3)
            b.save_screenshot(os.path.join(SHOTS, name + ".png"))
            # Nothing wider than the window: no sideways scrolling on a phone.
            self.assertLessEqual(b.execute_script("return document.documentElement.scrollWidth"),
                                 b.execute_script("return window.innerWidth"))
        b.set_window_size(1280, 1000)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
