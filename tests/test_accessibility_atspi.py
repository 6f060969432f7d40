#!/usr/bin/python3
# What a screen reader finds and hears, over the real AT-SPI bus: the program runs on a
# virtual X screen with its accessibility bridge on, and this script is the assistive client.
# It checks the tree (roles, names, reading order, nothing unnamed), presses the buttons through
# the Action interface, counts the events of each draw and checks the one announcement that
# ends it, also when one draw runs nested in another.
#
# Usage: test_accessibility_atspi.py PATH_TO_TAMAPICK
# Every process it starts dies with it, also when a check fails or the script is killed.

import ctypes
import importlib.util
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

# Imported by Client once the private buses are up: libatspi finds its bus when it loads.
pyatspi = None

# The closing remarks, and the most events a Loto 6 draw may put on the bus (it was ~370
# while every reel step renamed the number labels).
CLOSING_REMARKS = {"こんなん出ました!", "当たりますように!", "こんなのでました"}
MAX_EVENTS_PER_DRAW = 60


def lottery_facts():
    # The lotteries as tests/support/lotteries.h writes them down for every test, a row each:
    # {name, button, caption, headline, seconds, numbers, lowest, highest, distinct}. Here, by
    # name: the button's caption (its accessible name), the headline, the numbers shown, lowest,
    # highest, and the seconds the draw takes.
    header = os.path.join(os.path.dirname(os.path.abspath(__file__)), "support", "lotteries.h")
    with open(header, encoding="utf-8") as source:
        rows = re.findall(r'^ *\{"([^"]+)", "[^"]+", "([^"]+)", "([^"]+)", ([0-9.]+), (\d+), (\d+), (\d+), \w+\},$',
                          source.read(), re.M)
    if len(rows) != 4:
        sys.exit(f"found {len(rows)} lotteries in {header}, not 4")
    return {name: (caption, headline, int(count), int(lowest), int(highest), float(seconds))
            for name, caption, headline, seconds, count, lowest, highest in rows}


LOTTERIES = lottery_facts()
DRAWS = [LOTTERIES["Loto 6"], LOTTERIES["Numbers 3"]]


def skip(reason):
    print(f"skipped: {reason}")
    sys.exit(0)


def die_with_this_script():
    # PR_SET_PDEATHSIG: a child gets SIGTERM when this script ends, however it ends.
    ctypes.CDLL("libc.so.6").prctl(1, signal.SIGTERM)


class Processes:
    """The processes the test starts, each in its own process group, all stopped at the end."""

    def __init__(self):
        self.started = []
        self.tmp = tempfile.mkdtemp(prefix="tamapick-atspi-")

    def start(self, argv, env, pass_fds=()):
        log = open(os.path.join(self.tmp, os.path.basename(argv[0]) + ".log"), "wb")
        process = subprocess.Popen(argv, env=env, pass_fds=pass_fds, stdin=subprocess.DEVNULL, stdout=log,
                                   stderr=subprocess.STDOUT, start_new_session=True,
                                   preexec_fn=die_with_this_script)
        log.close()
        self.started.append(process)
        return process

    def start_reading_line(self, argv, env, options):
        # Xvfb and dbus-daemon tell on a pipe which display or address they took.
        read_end, write_end = os.pipe()
        self.start(argv + [o.format(fd=write_end) for o in options], env, pass_fds=(write_end,))
        os.close(write_end)
        with os.fdopen(read_end) as pipe:
            line = pipe.readline().strip()
        if not line:
            raise RuntimeError(f"{argv[0]} did not start: {self.log(argv[0])}")
        return line

    def log(self, name):
        path = os.path.join(self.tmp, os.path.basename(name) + ".log")
        with open(path, errors="replace") as f:
            return f.read()[-2000:]

    def stop_all(self):
        # Last started, first stopped. The accessibility bus that the launcher starts is in the
        # launcher's process group; the registry on that bus leaves when the bus goes.
        for process in reversed(self.started):
            for sig in (signal.SIGTERM, signal.SIGKILL):
                try:
                    os.killpg(process.pid, sig)
                except ProcessLookupError:
                    break
                try:
                    process.wait(timeout=3)
                    break
                except subprocess.TimeoutExpired:
                    continue
        shutil.rmtree(self.tmp, ignore_errors=True)


class Client:
    """The assistive side: pyatspi on the private bus."""

    def __init__(self):
        global pyatspi
        import gi

        gi.require_version("Atspi", "2.0")
        from gi.repository import GLib
        import pyatspi as loaded

        pyatspi = loaded
        self.GLib = GLib
        self.events = []
        pyatspi.Registry.registerEventListener(self.record, "object", "window", "focus")

    def record(self, event):
        self.events.append((time.monotonic(), event.type, event.source, announced_by(event)))

    def pump(self, seconds, until=lambda: False):
        context = self.GLib.MainContext.default()
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            if until():
                return True
            if not context.iteration(False):
                time.sleep(0.005)
        return until()

    def find_app(self, name):
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is not None and app.name == name:
                return app
        return None


def role(node):
    # The role's name, for messages: at-spi2 renamed some (a push button reads "button" since
    # 2.5x), so checks compare the role itself (pyatspi.ROLE_PUSH_BUTTON).
    return node.getRoleName()


def is_role(node, name):
    return node.getRole() == getattr(pyatspi, "ROLE_" + name.upper().replace(" ", "_"))


def text_of(node):
    try:
        text = node.queryText()
    except NotImplementedError:
        return None
    return text.getText(0, -1)


def has_state(node, name):
    return node.getState().contains(getattr(pyatspi, "STATE_" + name.upper()))


def showing(node):
    return has_state(node, "showing")


def check(condition, message):
    if not condition:
        raise AssertionError(message)


def describe(node, depth=0):
    marks = [s for s in ("showing", "focused", "busy") if has_state(node, s)]
    text = text_of(node)
    line = "  " * depth + f"{role(node)} {node.name!r}" + (f" text={text!r}" if text else "")
    lines = [line + (" [" + ",".join(marks) + "]" if marks else "")]
    for child in node:
        lines.extend(describe(child, depth + 1))
    return lines


def check_tree(frame):
    children = list(frame)
    expected = [("label", None), *[("label", f"{k}番目の数字") for k in range(1, 7)], ("label", None),
                ("push button", "ミニロト"), ("push button", "ロト6"), ("push button", "Numbers3"),
                ("push button", "Numbers4"), ("label", None)]
    got = [(role(c), c.name) for c in children]
    check(len(got) == len(expected), f"the window's children read {got}")
    for (want_role, want_name), child in zip(expected, children):
        check(is_role(child, want_role) and (want_name is None or child.name == want_name),
              f"the window's children read {got}")

    def no_unnamed(node):
        check(node.name, f"an unnamed {role(node)} node under {node.parent.name!r}")
        for child in node:
            no_unnamed(child)

    no_unnamed(frame)
    for button in children[8:12]:
        action = button.queryAction()
        check("Press" in [action.getName(i) for i in range(action.nActions)], f"{button.name} has no Press action")
    return children


def press(button):
    action = button.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    action.doAction(names.index("Press"))


def announced_by(event):
    # Qt 6.8 and later announce; before, a notification comes into view with the text as its
    # name, read now, while it is news.
    if event.type == "object:announcement":
        return str(event.any_data)
    if event.type.startswith("object:state-changed:showing") and event.detail1 == 1:
        if is_role(event.source, "notification"):
            return event.source.name
    return None


def announcements(events):
    return [(index, text) for index, (_, _, _, text) in enumerate(events) if text is not None]


def run_draw(client, frame, button_name, headline, count, lowest, highest, least_seconds):
    children = list(frame)
    button = next(c for c in children if c.name == button_name)
    number_labels = children[1:7]
    busy_seen = []

    client.events.clear()
    started = time.monotonic()
    press(button)

    # The window's state is read once the draw shows on the bus. A newer at-spi2 (2.62) first
    # reports objects gone before the press (state-changed:defunct); those say nothing of the draw.
    def note_busy():
        if not busy_seen and any(not e[1].startswith("object:state-changed:defunct") for e in client.events):
            busy_seen.append(has_state(frame, "busy"))
        return False

    client.pump(3, until=lambda: note_busy() or bool(busy_seen))
    check(client.pump(least_seconds + 20, until=lambda: bool(announcements(client.events))),
          f"no announcement within {least_seconds + 20:.0f} s of pressing {button_name}")
    client.pump(1.5)  # whatever trails the announcement counts too
    took = time.monotonic() - started
    events = list(client.events)
    heard = announcements(events)

    shown = [text_of(label) for label in number_labels]
    numbers = [n for n in shown if n]
    remark = children[7].name
    expected = " ".join([headline, *numbers, remark])
    print(f"{button_name}: {len(events)} events in {took:.1f} s; announced {[text for _, text in heard]}")

    check(len(heard) == 1, f"{len(heard)} announcements for one {button_name} draw")
    check(heard[0][1] == expected, f"announced {heard[0][1]!r}, the window shows {expected!r}")
    check(children[0].name == headline, f"the headline reads {children[0].name!r}")
    check(len(numbers) == count and all(lowest <= int(n) <= highest for n in numbers),
          f"the number labels read {shown}")
    check(all(showing(label) == bool(text) for label, text in zip(number_labels, shown)),
          "an empty number label is still on view to the screen reader, or a number is hidden")
    check(remark in CLOSING_REMARKS, f"the remark line reads {remark!r}")
    # Orca's flat review reads a label's text only where the text says it is drawn.
    for label, text in zip(number_labels, shown):
        if text:
            box = label.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
            for offset in range(len(text)):
                x, y, width, height = label.queryText().getCharacterExtents(offset, pyatspi.DESKTOP_COORDS)
                check(width > 0 and box.x <= x and x + width <= box.x + box.width and box.y <= y
                      and y + height <= box.y + box.height, f"{label.name}: digit {offset} is not placed in the label")
    last_number_event = max((i for i, e in enumerate(events) if e[2] in number_labels), default=-1)
    check(last_number_event >= 0, "the number labels did not report their new numbers")
    check(heard[0][0] > last_number_event, "the announcement came before the last number was reported")
    check(len(events) <= MAX_EVENTS_PER_DRAW, f"{len(events)} accessibility events for one draw")
    check(busy_seen == [True], "the window did not report itself busy during the draw")
    check(not has_state(frame, "busy"), "the window is still busy after the draw")


def run_nested_draws(client, frame):
    # Numbers3 pressed two seconds into a Loto 6 draw runs inside it: each draw that ends is
    # announced, the Loto 6 draw last and under its own headline, though the headline label
    # still shows the Numbers 3 one.
    children = list(frame)
    client.events.clear()
    press(children[9])
    client.pump(2.0)
    press(children[10])
    check(client.pump(40, until=lambda: len(announcements(client.events)) >= 2),
          f"announcements of nested draws: {announcements(client.events)}")
    client.pump(1.5)
    heard = [text for _, text in announcements(client.events)]
    numbers = [text for text in (text_of(label) for label in children[1:7]) if text]
    print(f"nested: {len(client.events)} events; announced {heard}")
    check(len(heard) == 2, f"{len(heard)} announcements for two draws")
    inner = heard[0].split(" ")
    check(inner[0] == LOTTERIES["Numbers 3"][1] and len(inner) == 5 and inner[4] in CLOSING_REMARKS,
          f"the nested draw announced {heard[0]!r}")
    check(heard[1] == " ".join([LOTTERIES["Loto 6"][1], *numbers, children[7].name]),
          f"the outer draw announced {heard[1]!r}")
    check(len(client.events) <= 2 * MAX_EVENTS_PER_DRAW, f"{len(client.events)} events for two draws")


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: test_accessibility_atspi.py PATH_TO_TAMAPICK")
    program = os.path.abspath(sys.argv[1])
    launcher = "/usr/libexec/at-spi-bus-launcher"
    for tool in ("Xvfb", "dbus-daemon", "xdotool"):
        if shutil.which(tool) is None:
            skip(f"{tool} is not installed (bash scripts/setup.sh --tests installs it)")
    if not os.path.exists(launcher):
        skip("at-spi2-core is not installed (bash scripts/setup.sh --tests installs it)")
    if importlib.util.find_spec("gi") is None or importlib.util.find_spec("pyatspi") is None:
        skip("python3-pyatspi is not installed (bash scripts/setup.sh --tests installs it)")

    processes = Processes()
    try:
        env = {k: v for k, v in os.environ.items() if not k.startswith(("DBUS_", "AT_SPI", "QT_", "WAYLAND"))}
        env["XDG_RUNTIME_DIR"] = processes.tmp
        display = processes.start_reading_line(["Xvfb", "-screen", "0", "1024x768x24", "-nolisten", "tcp"], env,
                                               ["-displayfd", "{fd}"])
        env["DISPLAY"] = ":" + display
        address = processes.start_reading_line(["dbus-daemon", "--session", "--nofork"], env,
                                               ["--print-address={fd}"])
        env["DBUS_SESSION_BUS_ADDRESS"] = address
        processes.start([launcher, "--launch-immediately"], env)
        os.environ.clear()
        os.environ.update(env)
        client = Client()  # libatspi finds the accessibility bus through the session bus

        program_env = dict(env, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
        processes.start([program], program_env)
        app = None
        deadline = time.monotonic() + 30
        while app is None and time.monotonic() < deadline:
            client.pump(0.2)
            app = client.find_app("tamapick")
        check(app is not None, "the program never appeared on the accessibility bus: " + processes.log(program))
        check(client.pump(10, until=lambda: app.childCount == 1 and list(app)[0].name == "ほしだま★"),
              "the program's window never appeared")
        frame = list(app)[0]
        check(is_role(frame, "frame"), f"the window is a {role(frame)}")
        print("\n".join(describe(frame)))

        children = check_tree(frame)
        check(not any(showing(label) for label in children[1:7]), "empty number labels are on view before a draw")
        # Without a window manager nothing has the focus until the window is given it.
        window = subprocess.run(["xdotool", "search", "--sync", "--class", "tamapick"], env=env, capture_output=True,
                                text=True, timeout=20).stdout.split()[0]
        subprocess.run(["xdotool", "windowfocus", "--sync", window], env=env, timeout=20, check=True)
        check(client.pump(5, until=lambda: has_state(children[8], "focused")),
              "ミニロト does not have the focus")

        for draw in DRAWS:
            run_draw(client, frame, *draw)
        run_nested_draws(client, frame)
        print("\n".join(describe(frame)))
        check_tree(frame)
    finally:
        processes.stop_all()


if __name__ == "__main__":
    main()
