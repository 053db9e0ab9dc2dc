#!/usr/bin/python3
"""The running program as a screen reader and other programs see it.

Starts the real program on a private X display (Xvfb), with a session bus and an accessibility
bus of its own (at-spi2-core's bus launcher), reads every control through AT-SPI with pyatspi as
Orca does and compares it with the table below: the name, the description and, for fields, the
text; and reads a field's own context menu, which must be Chinese while the program's language is
English. Then it types into the round bar's fields through X (xdotool: real key events), reads the
new weight from its label, waits for the label's name-change event, and copies results as a user
does: a right click on the label, Down, Return; and from the keyboard, with the focus on the
panel's "重量：" button (the context-menu key) and on "=" (Shift+F10). Each copy is read back from
the X clipboard by another program, xclip, while the program runs (the clipboard is served by its
owner). The menu must be the one item "复制" and must leave every text and the focus as it was.

    screen_reader_test.py PROGRAM

Runs with Debian's /usr/bin/python3 (python3-pyatspi). Every wait is for a condition, bounded;
everything started here is ended here, by its process group.
"""

import collections
import importlib.util
import os
import re
import secrets
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import time

WAIT = 20.0  # seconds for any one condition; a loaded machine may be slow to start Qt


class Failure(Exception):
    pass


# What each control must give a screen reader, in the window's creation order: the control's
# name, its container (None: the window), its accessible name, its description, and for a text
# field its text (None: the control has no text of its own beside its name).
TITLE = "Tarnwick（单位：kg，mm）"
BANNER = ("塔恩威克钢材有限公司，钢板 · 圆钢 · 钢管 · 型材 · 不锈钢，电话：0000-0000000，"
          "手机：000-0000-0000，www.tarnwick-steel.example")
CONTROLS = [
    ("Frame5", None, "圆钢", "", None),
    ("Text4", "Frame5", "直径：", "", ""),
    ("Command5", "Frame5", "重量：", "", None),
    ("Text18", "Frame5", "长度：", "", ""),
    ("Label11", "Frame5", "直径：", "", None),
    ("Label12", "Frame5", "长度：", "", None),
    ("Label30", "Frame5", "0.00", "圆钢重量", None),
    ("Command11", None, "访问官网", "", None),
    ("Command10", None, "重置", "", None),
    ("Command8", None, "置顶", "", None),
    ("Text27", None, "材料密度(t/m3):", "", "7.85"),
    ("Command7", None, "=", "", None),
    ("Text25", None, "计算器第二个数", "", ""),
    ("Option8", None, "根", "", None),
    ("Option7", None, "方", "", None),
    ("Option6", None, "÷", "", None),
    ("Option5", None, "×", "", None),
    ("Option4", None, "-", "", None),
    ("Option3", None, "+", "", None),
    ("Text24", None, "计算器：", "", ""),
    ("Frame4", None, "钢管", "", None),
    ("Text14", "Frame4", "长度:", "", ""),
    ("Text13", "Frame4", "壁厚:", "", ""),
    ("Text12", "Frame4", "内径:", "", ""),
    ("Text11", "Frame4", "外径:", "", ""),
    ("Command4", "Frame4", "重量：", "", None),
    ("Option2", "Frame4", "壁厚:", "", None),
    ("Option1", "Frame4", "内径:", "", None),
    ("Label29", "Frame4", "0.00", "钢管重量", None),
    ("Label10", "Frame4", "长度:", "", None),
    ("Label9", "Frame4", "外径:", "", None),
    ("Frame2", None, "钢板二", "", None),
    ("Command2", "Frame2", "重量：", "", None),
    ("Text6", "Frame2", "厚度：", "", ""),
    ("Text5", "Frame2", "面积：", "", ""),
    ("Label27", "Frame2", "0.00", "钢板二重量", None),
    ("Label5", "Frame2", "厚度：", "", None),
    ("Label4", "Frame2", "面积：", "", None),
    ("Frame1", None, "钢板一", "", None),
    ("Command1", "Frame1", "重量：", "", None),
    ("Text3", "Frame1", "厚：", "", ""),
    ("Text2", "Frame1", "宽：", "", ""),
    ("Text1", "Frame1", "长：", "", ""),
    ("Label26", "Frame1", "0.00", "钢板一重量", None),
    ("Label3", "Frame1", "厚：", "", None),
    ("Label2", "Frame1", "宽：", "", None),
    ("Label1", "Frame1", "长：", "", None),
    ("Image1", None, BANNER, "", None),
    ("Label32", None, "0.00", "计算器结果", None),
    ("Label23", None, "材料密度(t/m3):", "", None),
    ("Label22", None, "计算器：", "", None),
]

# The AT-SPI role each kind of control must have, by the name's prefix (a later Qt calls a
# single-line field an entry).
ROLES = {
    "Frame": {"panel"},
    "Text": {"text", "entry"},
    "Command": {"push button"},
    "Option": {"radio button"},
    "Label": {"label"},
    "Image": {"image"},
}


# One event as the reader received it: its type, its source's object path, its string data
# (if any), its first detail (1: a state set, 0: cleared) and the source itself.
Event = collections.namedtuple("Event", "type path data detail source")


def log(message):
    print(message, flush=True)


class Session:
    """A private X display, session bus and accessibility bus, each in a process group of its
    own; `close` ends each group it started, last started first."""

    def __init__(self):
        self.work = tempfile.mkdtemp(prefix="tarnwick-reader-")
        self.groups = []  # (name, Popen)
        self.env = {
            key: value for key, value in os.environ.items()
            if not key.startswith(("QT_", "DBUS_", "AT_SPI", "XDG_", "DISPLAY", "XAUTHORITY",
                                   "WAYLAND"))
        }
        runtime = os.path.join(self.work, "runtime")
        os.mkdir(runtime, 0o700)
        self.env.update({
            "XDG_RUNTIME_DIR": runtime,
            "HOME": self.work,
            # Nothing here reads or writes the user's desktop settings.
            "GSETTINGS_BACKEND": "memory",
        })

    def start(self, name, argv, **popen):
        process = subprocess.Popen(argv, env=self.env, start_new_session=True,
                                   stdin=subprocess.DEVNULL, **popen)
        self.groups.append((name, process))
        return process

    def log_file(self, name):
        return open(os.path.join(self.work, name + ".log"), "wb")

    def start_x(self):
        cookie = secrets.token_hex(16)
        authority = os.path.join(self.work, "Xauthority")
        open(authority, "wb").close()
        # The server takes every cookie in its file, whatever display it is filed under.
        subprocess.run(["xauth", "-q", "-f", authority, "add", ":0", ".", cookie], check=True)
        reader, writer = os.pipe()
        self.start("Xvfb", ["Xvfb", "-displayfd", str(writer), "-auth", authority, "-nolisten",
                            "tcp", "-noreset", "-screen", "0", "1280x1024x24"],
                   pass_fds=(writer,), stdout=self.log_file("xvfb"), stderr=subprocess.STDOUT)
        os.close(writer)
        display = read_line(reader, "Xvfb to report its display number")
        os.close(reader)
        subprocess.run(["xauth", "-q", "-f", authority, "add", ":" + display, ".", cookie],
                       check=True)
        self.env.update({"DISPLAY": ":" + display, "XAUTHORITY": authority})
        log(f"Xvfb on :{display}")

    def start_buses(self):
        bus = self.start("session bus",
                         ["dbus-daemon", "--session", "--nofork", "--nopidfile",
                          "--address=unix:path=" + os.path.join(self.work, "bus"),
                          "--print-address=1"],
                         stdout=subprocess.PIPE, stderr=self.log_file("dbus"))
        address = read_line(bus.stdout.fileno(), "the session bus to print its address")
        self.env["DBUS_SESSION_BUS_ADDRESS"] = address
        # As on a desktop where a screen reader runs; Qt reads these properties at start.
        self.start("accessibility bus",
                   ["/usr/libexec/at-spi-bus-launcher", "--launch-immediately", "--a11y=1",
                    "--screen-reader=1"],
                   stdout=self.log_file("at-spi"), stderr=subprocess.STDOUT)
        os.environ.clear()
        os.environ.update(self.env)

    def start_program(self, program):
        """The program on the xcb platform, its language English: its menus must be Chinese
        all the same. Its accessibility is on (QT_LINUX_ACCESSIBILITY_ALWAYS_ON), as the bus
        also tells it."""
        # Under AddressSanitizer leaks are the window tests' business (this program is ended by
        # a signal), and strict string checks would stop it in the xcb platform's keymap set-up
        # (libxkbcommon-x11 hands strndup a name that is not NUL-terminated).
        asan = ":".join(filter(None, (self.env.get("ASAN_OPTIONS"),
                                      "detect_leaks=0:strict_string_checks=0")))
        env = dict(self.env, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                   LANG="C.UTF-8", LANGUAGE="en", ASAN_OPTIONS=asan)
        process = subprocess.Popen([program], env=env, start_new_session=True,
                                   stdin=subprocess.DEVNULL, stdout=self.log_file("tarnwick"),
                                   stderr=subprocess.STDOUT)
        self.groups.append(("tarnwick", process))
        return process

    def close(self):
        for name, process in reversed(self.groups):
            if process.poll() is None or group_alive(process.pid):
                try:
                    os.killpg(process.pid, signal.SIGTERM)
                except ProcessLookupError:
                    pass
            try:
                process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                log(f"{name} did not end on SIGTERM within 10 s: killed")
                os.killpg(process.pid, signal.SIGKILL)
                process.wait()
            # What the group started (the accessibility bus's own daemon and registry) ends
            # with its bus; whatever is left of the group gets SIGKILL.
            deadline = time.monotonic() + 10
            while group_alive(process.pid) and time.monotonic() < deadline:
                time.sleep(0.05)
            if group_alive(process.pid):
                os.killpg(process.pid, signal.SIGKILL)
        shutil.rmtree(self.work, ignore_errors=True)


def group_alive(pgid):
    try:
        os.killpg(pgid, 0)
        return True
    except (ProcessLookupError, PermissionError):
        return False


def read_line(fd, what):
    data = b""
    deadline = time.monotonic() + WAIT
    while not data.endswith(b"\n"):
        left = deadline - time.monotonic()
        if left <= 0 or not select.select([fd], [], [], left)[0]:
            raise Failure(f"timed out after {WAIT:.0f} s waiting for {what}")
        chunk = os.read(fd, 256)
        if not chunk:
            raise Failure(f"no answer while waiting for {what}")
        data += chunk
    return data.decode().strip()


def pump():
    from gi.repository import GLib
    context = GLib.MainContext.default()
    while context.iteration(False):
        pass


def wait_for(what, condition, timeout=WAIT):
    """Waits until condition() gives a true value, handling AT-SPI's messages meanwhile."""
    deadline = time.monotonic() + timeout
    while True:
        pump()
        try:
            value = condition()
        except Exception:  # an object that is not there yet
            value = None
        if value:
            return value
        if time.monotonic() > deadline:
            raise Failure(f"timed out after {timeout:.0f} s waiting for {what}")
        time.sleep(0.02)


class Reader:
    """The program through AT-SPI, with every name-change and text-change event it raises."""

    EVENTS = ("object:property-change:accessible-name", "object:text-changed:insert",
              "object:text-changed:delete", "object:state-changed:focused",
              "object:state-changed:showing")
    CHANGES = ("object:property-change:accessible-name", "object:text-changed:insert",
               "object:text-changed:delete")

    def __init__(self):
        import pyatspi
        from gi.repository import Atspi, Gio
        self.pyatspi = pyatspi
        self.Atspi = Atspi
        self.events = []
        pyatspi.Registry.registerEventListener(self.on_event, *self.EVENTS)
        # The program learns at its start which events a client listens to: the registry must
        # list this reader's before the program starts.
        flags = (Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT
                 | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION)
        session_bus = Gio.DBusConnection.new_for_address_sync(
            os.environ["DBUS_SESSION_BUS_ADDRESS"], flags, None, None)
        address = session_bus.call_sync("org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus",
                                        "GetAddress", None, None, Gio.DBusCallFlags.NONE,
                                        int(WAIT * 1000), None).unpack()[0]
        session_bus.close_sync(None)
        a11y_bus = Gio.DBusConnection.new_for_address_sync(address, flags, None, None)

        def registered():
            reply = a11y_bus.call_sync("org.a11y.atspi.Registry", "/org/a11y/atspi/registry",
                                       "org.a11y.atspi.Registry", "GetRegisteredEvents", None,
                                       None, Gio.DBusCallFlags.NONE, int(WAIT * 1000), None)
            listed = {event.rstrip(":") for _, event in reply.unpack()[0]}
            # Listed as D-Bus names: "Object:PropertyChange:AccessibleName".
            return all(":".join("".join(word.capitalize() for word in part.split("-"))
                                for part in event.split(":")) in listed
                       for event in self.EVENTS)
        wait_for("the registry to list this reader's events", registered)
        a11y_bus.close_sync(None)

    def on_event(self, event):
        # Qt's name-change event carries the object itself, not the name: a reader reads the
        # name from the object when told.
        data = event.any_data if isinstance(event.any_data, str) else None
        self.events.append(Event(event.type, event.source.path, data, event.detail1,
                                 event.source))

    def application(self, pid):
        desktop = self.pyatspi.Registry.getDesktop(0)
        for index in range(desktop.childCount):
            app = desktop.getChildAtIndex(index)
            if app is not None and app.get_process_id() == pid:
                return app
        return None


def role(accessible):
    return accessible.getRoleName()


def children(accessible):
    return [accessible.getChildAtIndex(i) for i in range(accessible.childCount)]


def text_of(accessible):
    text = accessible.queryText()
    return text.getText(0, -1)


def focused(accessible, pyatspi):
    return accessible.getState().contains(pyatspi.STATE_FOCUSED)


def center(accessible, pyatspi):
    box = accessible.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return box.x + box.width // 2, box.y + box.height // 2


def xdotool(*args):
    subprocess.run(["xdotool", *args], check=True, env=os.environ)


def clipboard():
    """The X clipboard's text as another program reads it, or None while it has none."""
    result = subprocess.run(["xclip", "-o", "-selection", "clipboard"], capture_output=True,
                            env=os.environ, timeout=WAIT)
    return result.stdout.decode() if result.returncode == 0 else None


def check_controls(controls, expected_changes, pyatspi):
    """Compares each control with the table, with the given rows changed."""
    problems = []
    for name, _, accessible_name, description, text in CONTROLS:
        accessible_name, text = expected_changes.get(name, (accessible_name, text))
        accessible = controls[name]
        got = (accessible.name, accessible.description,
               text_of(accessible) if text is not None else None)
        want = (accessible_name, description, text)
        if got != want:
            problems.append(f"  {name}: (name, description, text) {got!r}, expected {want!r}")
        kinds = next(roles for prefix, roles in ROLES.items() if name.startswith(prefix))
        if role(accessible) not in kinds:
            problems.append(f"  {name}: role {role(accessible)!r}, expected one of {kinds}")
    if problems:
        raise Failure("controls read through AT-SPI differ from the table:\n" + "\n".join(problems))


def window_state(controls):
    """Every name and text a screen reader reads in the window."""
    return {name: (controls[name].name, text_of(controls[name]) if text is not None else None)
            for name, _, _, _, text in CONTROLS}


def copy_through_menu(controls, label, open_menu, what, reader, pyatspi):
    """Opens a result label's menu with open_menu() and reads it as a screen reader does: the
    menu shows, holding the one item "复制", and Down focuses that item; Return chooses it. The
    clipboard must then hold the label's text, and no text, name or focus in the window may
    have changed."""
    shown = controls[label].name
    if clipboard() == shown:
        raise Failure(f"the clipboard holds {shown!r} already: copying {label} would prove nothing")
    focus_before = {name for name in controls if focused(controls[name], pyatspi)}
    before = window_state(controls)
    first = len(reader.events)

    def event(kind, detail, roles, since):
        return next((e.source for e in reader.events[since:] if e.type == kind
                     and e.detail == detail and role(e.source) in roles), None)
    open_menu()
    menu = wait_for(f"{label}'s menu to show ({what})",
                    lambda: event("object:state-changed:showing", 1, ("popup menu", "menu"),
                                  first))
    items = [item.name for item in children(menu) if role(item) != "separator"]
    if items != ["复制"]:
        raise Failure(f"{label}'s menu ({what}) holds {items!r}, expected ['复制']")
    opened = len(reader.events)
    xdotool("key", "Down")
    item = wait_for(f"the menu's item to take the focus ({what})",
                    lambda: event("object:state-changed:focused", 1, ("menu item",), opened))
    if item.name != "复制":
        raise Failure(f"Down focused {item.name!r} in {label}'s menu ({what}), expected 复制")
    xdotool("key", "Return")
    wait_for(f"the clipboard to hold {label}'s text {shown!r} ({what})",
             lambda: clipboard() == shown)
    wait_for(f"the focus back on {sorted(focus_before)} after copying ({what})",
             lambda: {name for name in controls if focused(controls[name], pyatspi)}
             == focus_before)
    if window_state(controls) != before:
        raise Failure(f"copying {label} ({what}) changed the window: {before!r} became "
                      f"{window_state(controls)!r}")
    paths = {accessible.path: name for name, accessible in controls.items()}
    changes = [(e.type, paths[e.path]) for e in reader.events[first:]
               if e.type in reader.CHANGES and e.path in paths]
    if changes:
        raise Failure(f"copying {label} ({what}) raised change events: {changes!r}")
    log(f"ok: {what}: the menu holds 复制, the clipboard holds {shown!r}, the focus stayed on "
        f"{', '.join(sorted(focus_before))}")


def read_field_menu(controls, field, reader, pyatspi):
    """A right click on the field opens Qt's own menu for it, in Chinese though the program's
    language is English; Escape closes it with nothing changed."""
    before = window_state(controls)
    first = len(reader.events)
    click(controls[field], 3, pyatspi)
    menu = wait_for(f"{field}'s menu to show", lambda: next(
        (e.source for e in reader.events[first:] if e.type == "object:state-changed:showing"
         and e.detail == 1 and role(e.source) in ("popup menu", "menu")), None))
    # As read out: "撤消(U)\tCtrl+Z" is 撤消.
    items = [re.sub(r"\(.\)$", "", item.name.split("\t")[0]) for item in children(menu)
             if role(item) != "separator" and item.name]
    xdotool("key", "Escape")
    wait_for(f"{field}'s menu to close", lambda: not menu.getState().contains(
        pyatspi.STATE_SHOWING))
    expected = ["撤消", "重做", "剪切", "复制", "粘贴", "删除", "全选"]
    if items != expected:
        raise Failure(f"{field}'s menu reads {items!r}, expected {expected!r}")
    if window_state(controls) != before:
        raise Failure(f"opening {field}'s menu changed the window")
    log(f"ok: {field}'s own menu reads {' '.join(items)}")


def find_controls(window):
    """The controls by table name, matched by place: each container's children in order."""
    controls = {}
    frames = [name for name, *_ in CONTROLS if name.startswith("Frame")]
    for container in [None] + frames:
        rows = [name for name, within, *_ in CONTROLS if within == container]
        found = children(window if container is None else controls[container])
        if len(found) != len(rows):
            raise Failure(f"{container or 'the window'} has {len(found)} accessible children, "
                          f"expected {len(rows)}: {[(role(c), c.name) for c in found]!r}")
        controls.update(zip(rows, found))
    return controls


def click(accessible, button, pyatspi):
    xdotool("mousemove", *map(str, center(accessible, pyatspi)), "click", str(button))


def run(program):
    session = Session()
    try:
        session.start_x()
        session.start_buses()
        reader = Reader()
        pyatspi = reader.pyatspi
        tarnwick = session.start_program(program)

        app = wait_for("the program on the accessibility bus",
                       lambda: reader.application(tarnwick.pid))
        # Every read goes to the program itself, not to a cache of earlier answers.
        app.set_cache_mask(reader.Atspi.Cache.NONE)
        window = wait_for("the program's window", lambda: next(
            (w for w in children(app) if w.name == TITLE and w.childCount > 0), None))
        subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--pid",
                        str(tarnwick.pid), "--name", "^Tarnwick"], check=True, env=os.environ,
                       stdout=subprocess.DEVNULL, timeout=WAIT)
        controls = find_controls(window)
        check_controls(controls, {}, pyatspi)
        log(f"ok: all {len(CONTROLS)} controls give the name, description and text of the table")

        read_field_menu(controls, "Text25", reader, pyatspi)

        # Type into the round bar as a user: click into the field, type.
        for field, digits in (("Text4", "100"), ("Text18", "1000")):
            click(controls[field], 1, pyatspi)
            wait_for(f"the focus in {field}", lambda: focused(controls[field], pyatspi))
            xdotool("type", "--delay", "20", digits)
            wait_for(f"{field} to read {digits}", lambda: text_of(controls[field]) == digits)
        wait_for("Label30 to be named 61.65", lambda: controls["Label30"].name == "61.65")
        check_controls(controls, {"Text4": ("直径：", "100"), "Text18": ("长度：", "1000"),
                                  "Label30": ("61.65", None), "Text24": ("计算器：", "61.65")},
                       pyatspi)
        log("ok: after 100 and 1000 in the round bar, Label30 reads 61.65, described 圆钢重量")

        # One name change for each new text: 0 (a diameter and no length), 0.06, 0.62, 6.17,
        # 61.65.
        def name_changes():
            return [event.data for event in reader.events
                    if event.type == "object:property-change:accessible-name"
                    and event.path == controls["Label30"].path]
        wait_for("Label30's name-change events", lambda: len(name_changes()) >= 5)
        if len(name_changes()) != 5 or any(data not in (None, text) for data, text in zip(
                name_changes(), ("0", "0.06", "0.62", "6.17", "61.65"))):
            raise Failure(f"Label30 raised {len(name_changes())} name-change events "
                          f"({name_changes()!r}), expected one for each of its 5 new texts")
        log("ok: Label30 raised a name-change event for each of its 5 new texts")

        # Copy as a user: a right click on the label, then Down and Return.
        copy_through_menu(controls, "Label30", lambda: click(controls["Label30"], 3, pyatspi),
                          "right click on Label30", reader, pyatspi)

        # A new weight, then the keyboard: Tab from the length to "重量：", the menu key.
        xdotool("type", "--delay", "20", "0")
        wait_for("Label30 to show the weight of 10000 mm",
                 lambda: controls["Label30"].name not in ("61.65", "0.00"))
        xdotool("key", "Tab")
        wait_for("the focus on Command5", lambda: focused(controls["Command5"], pyatspi))
        copy_through_menu(controls, "Label30", lambda: xdotool("key", "Menu"),
                          "the menu key on Command5 (重量：)", reader, pyatspi)

        # "=" answers for the calculator's result: a click focuses it (and computes the same
        # result again), Shift+F10 opens the menu.
        click(controls["Command7"], 1, pyatspi)
        wait_for("the focus on Command7", lambda: focused(controls["Command7"], pyatspi))
        copy_through_menu(controls, "Label32", lambda: xdotool("key", "shift+F10"),
                          "Shift+F10 on Command7 (=)", reader, pyatspi)

        if tarnwick.poll() is not None:
            raise Failure(f"the program ended with status {tarnwick.returncode}")
        log("screen reader and clipboard: all passed")
    except Failure:
        log_path = os.path.join(session.work, "tarnwick.log")
        if os.path.exists(log_path):
            with open(log_path, errors="replace") as output:
                sys.stdout.write("--- the program's output ---\n" + output.read())
        raise
    finally:
        session.close()


# What the test needs beside the program (scripts/install-deps.sh test installs them).
TOOLS = ("Xvfb", "xauth", "dbus-daemon", "/usr/libexec/at-spi-bus-launcher", "xdotool", "xclip")


def missing_tools():
    missing = [tool for tool in TOOLS if shutil.which(tool) is None]
    if importlib.util.find_spec("pyatspi") is None:
        missing.append("pyatspi (python3-pyatspi) for " + sys.executable)
    return missing


def main():
    if len(sys.argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    missing = missing_tools()
    if missing:
        print("SKIP: missing " + ", ".join(missing) + " (scripts/install-deps.sh test)")
        return 77
    # A test runner's SIGTERM ends the test as a failure would: everything started is ended.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(128 + signal.SIGTERM))
    try:
        run(os.path.abspath(sys.argv[1]))
    except Failure as failure:
        print(f"FAIL: {failure}", flush=True)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
