#!/usr/bin/python3
"""Uses the updater's window as a screen reader does, through AT-SPI with
pyatspi: finds the program and its frame, reads the page, presses buttons
through their "click" action and listens to what the program announces.

    screen_reader.py SCENARIO UPDATER [ARGUMENT...]

starts UPDATER with the arguments (after the listeners are registered, so
that the program learns of them when it joins the bus) and runs one
scenario:
  update      the update-available page read, UPDATE pressed twice at once,
              the stand-by and then the success page announced, FINISH
  rescan      the connect page without a device, RESCAN pressed (nothing
              changes), the device plugged in ($WINDOW_TEST_WORK/plug),
              RESCAN pressed again: the update-available page; About
              pressed: the about overlay as a dialog, closed with Escape;
              QUIT
  quit-no     UPDATE, the window closed during the update, the quit question
              as an alert answered No through its button, the update to its
              end, FINISH
  read-tree   prints the time to read the whole tree and the program's
              processor time idle on the update-available page for 10 s,
              with this client listening (a benchmark, no check)
Every scenario but read-tree ends with the program's exit code 0.
"""
import os
import statistics
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

PROGRAM = "tvs-updater"
TITLE = "TVS Updater"
EVENTS = ("object:announcement", "object:text-changed", "object:children-changed",
          "object:state-changed:focused", "object:state-changed:showing")


class Failure(Exception):
    pass


class Reader:
    def __init__(self, command):
        self.events = []
        for kind in EVENTS:
            pyatspi.Registry.registerEventListener(self.heard, kind)
        self.process = subprocess.Popen(command)
        self.app = self.wait_for(self.find_application, 20, "the program on the accessibility bus")
        self.frame = self.wait_for(lambda: self.child(self.app, pyatspi.ROLE_FRAME), 5, "its frame")

    def heard(self, event):
        self.events.append((event.type, event.source, event.any_data))

    def pump(self, seconds):
        context = GLib.MainContext.default()
        end = time.monotonic() + seconds
        while time.monotonic() < end:
            if not context.iteration(False):
                time.sleep(0.01)

    def wait_for(self, found, timeout, what):
        end = time.monotonic() + timeout
        while time.monotonic() < end:
            result = found()
            if result:
                return result
            self.pump(0.05)
        raise Failure(f"no {what} within {timeout} s")

    def find_application(self):
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == PROGRAM and app.get_process_id() == self.process.pid:
                return app
        return None

    @staticmethod
    def child(node, role, name=None):
        for each in node:
            if each is not None and each.getRole() == role and (name is None or each.name == name):
                return each
        return None

    def find(self, role, name=None, within=None):
        return pyatspi.findDescendant(within or self.frame,
                                      lambda node: node.getRole() == role and (name is None or node.name == name))

    def shown_button(self, name):
        button = self.find(pyatspi.ROLE_PUSH_BUTTON, name)
        return button if button is not None and showing(button) else None

    def message(self):
        status = self.find(pyatspi.ROLE_PANEL, "Status")
        return text_of(self.child(status, pyatspi.ROLE_TEXT)) if status else ""

    def announcements(self):
        return [data for kind, _, data in self.events if kind == "object:announcement"]

    def wait_for_announcement(self, start, timeout):
        def said():
            heard = self.announcements()
            return next((text for text in heard if text.startswith(start)), None)
        return self.wait_for(said, timeout, f"announcement starting {start!r}")

    def click(self, button):
        action = button.queryAction()
        if action.nActions != 1 or action.getName(0) != "click":
            raise Failure(f"{button.name}: the actions are not one \"click\"")
        return action.doAction(0)

    def ends_with(self, code, timeout=15):
        try:
            got = self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            raise Failure(f"the program did not end within {timeout} s")
        if got != code:
            raise Failure(f"the program ended with {got}, not {code}")


def showing(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


def text_of(node):
    text = node.queryText()
    return text.getText(0, -1)


def check(condition, what):
    if not condition:
        raise Failure(what)


def read_update_available_page(reader):
    reader.wait_for(lambda: reader.shown_button("UPDATE"), 10, "UPDATE button")
    check(reader.frame.name == TITLE, f"the frame is named {reader.frame.name!r}")
    check(reader.message().startswith("A firmware update is available"), f"message {reader.message()!r}")
    fields = {name: reader.find(pyatspi.ROLE_LABEL, name)
              for name in ("Newest Firmware", "Installed Firmware", "Serial Number")}
    check(all(fields.values()), f"firmware fields {list(fields)}")
    check(text_of(fields["Installed Firmware"]) == "32", "installed firmware 32")
    check(fields["Installed Firmware"].description == "Not up to date", "installed firmware not up to date")
    check(text_of(fields["Newest Firmware"]).startswith("33"), "newest firmware 33")
    check(text_of(fields["Serial Number"]) not in ("", "-"), "a serial number")


def scenario_update(reader):
    read_update_available_page(reader)
    update = reader.shown_button("UPDATE")
    check(reader.click(update) and reader.click(update), "UPDATE took both clicks")
    first = len(reader.events)
    standing_by = reader.wait_for_announcement("Please stand by", 10)
    check(reader.announcements()[-1] == standing_by, "the stand-by page is the last announcement")
    page_change = [kind for kind, _, _ in reader.events[first:]]
    check("object:text-changed:insert" in page_change, "the new message as a text change")
    check(any(kind.startswith("object:children-changed") for kind in page_change), "a children change")
    check(not showing(update), "UPDATE, hidden, is not showing")
    reader.wait_for_announcement("The firmware of your", 60)
    check(sum(text.startswith("Please stand by") for text in reader.announcements()) == 1, "one update")
    reader.click(reader.wait_for(lambda: reader.shown_button("FINISH"), 5, "FINISH button"))
    reader.ends_with(0)


def scenario_rescan(reader):
    rescan = reader.wait_for(lambda: reader.shown_button("RESCAN"), 10, "RESCAN button")
    check(reader.message().startswith("Please connect your"), f"message {reader.message()!r}")
    check(reader.click(rescan), "RESCAN took the click")
    reader.pump(1)
    check(reader.message().startswith("Please connect your"), "without a device the connect page stays")
    open(os.path.join(os.environ["WINDOW_TEST_WORK"], "plug"), "w").close()
    reader.pump(1)
    check(reader.click(rescan), "RESCAN took the second click")
    reader.wait_for_announcement("A firmware update is available", 10)
    read_update_available_page(reader)
    reader.click(reader.shown_button("About"))
    about = reader.wait_for(lambda: reader.find(pyatspi.ROLE_DIALOG), 5, "about dialog")
    check(showing(about) and about.name == "TROVIX STUDIO UPDATER", f"about dialog {about.name!r}")
    check(reader.find(pyatspi.ROLE_PUSH_BUTTON, "QUIT") is None, "the dialog covers the page's buttons")
    window = subprocess.run(["xdotool", "search", "--name", TITLE], capture_output=True, text=True).stdout.split()
    subprocess.run(["xdotool", "windowfocus", "--sync", window[0], "key", "Escape"], check=True)
    reader.wait_for(lambda: not showing(about), 5, "about dialog closed")
    reader.click(reader.shown_button("QUIT"))
    reader.ends_with(0)


def scenario_quit_no(reader):
    read_update_available_page(reader)
    reader.click(reader.shown_button("UPDATE"))
    reader.wait_for_announcement("Please stand by", 10)
    window = subprocess.run(["xdotool", "search", "--name", TITLE], capture_output=True, text=True).stdout.split()
    subprocess.run([os.path.join(os.environ["WINDOW_TEST_TOOLS"], "close_window"), window[0]], check=True)
    alert = reader.wait_for(lambda: reader.find(pyatspi.ROLE_ALERT), 5, "quit question")
    reader.wait_for_announcement("An update is currently in progress", 5)
    check(showing(alert) and alert.name == "TROVIX STUDIO UPDATER", f"alert {alert.name!r}")
    no = reader.find(pyatspi.ROLE_PUSH_BUTTON, "No", alert)
    check(no is not None and reader.find(pyatspi.ROLE_PUSH_BUTTON, "Yes", alert) is not None, "Yes and No")
    check(no.getState().contains(pyatspi.STATE_FOCUSED), "No has the focus")
    reader.click(no)
    reader.wait_for(lambda: not showing(alert), 5, "quit question closed")
    reader.wait_for_announcement("The firmware of your", 60)
    reader.click(reader.wait_for(lambda: reader.shown_button("FINISH"), 5, "FINISH button"))
    reader.ends_with(0)


def read_whole_tree(node):
    node.name, node.description, node.getRole(), node.getState()
    for child in node:
        read_whole_tree(child)


def processor_seconds(pid):
    with open(f"/proc/{pid}/stat") as stat:
        fields = stat.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def scenario_read_tree(reader):
    reader.wait_for(lambda: reader.shown_button("UPDATE"), 10, "UPDATE button")
    reader.pump(1)
    times = []
    for _ in range(20):
        start = time.perf_counter()
        read_whole_tree(reader.app)
        times.append((time.perf_counter() - start) * 1000)
    print(f"whole tree read (names, descriptions, roles, states, children): first {times[0]:.1f} ms, "
          f"median {statistics.median(times):.1f} ms, slowest {max(times):.1f} ms (20 reads)")
    before = processor_seconds(reader.process.pid)
    reader.pump(10)
    used = processor_seconds(reader.process.pid) - before
    print(f"idle on the update-available page, bridge active: {used * 1000:.0f} ms of processor time in 10 s "
          f"({used * 10:.2f} %)")
    reader.process.terminate()
    reader.process.wait(10)


SCENARIOS = {"update": scenario_update, "rescan": scenario_rescan, "quit-no": scenario_quit_no,
             "read-tree": scenario_read_tree}


def main():
    scenario = SCENARIOS[sys.argv[1]]
    reader = Reader(sys.argv[2:])
    try:
        scenario(reader)
    except Failure as failure:
        print(f"screen_reader {sys.argv[1]}: {failure}", file=sys.stderr)
        print("announced: " + repr(reader.announcements()), file=sys.stderr)
        reader.process.kill()
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
