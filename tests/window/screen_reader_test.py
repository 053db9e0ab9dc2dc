#!/usr/bin/python3
"""screen_reader_test.py PROGRAM: the program on a private Xvfb with its own session and
accessibility buses, read through AT-SPI as a screen reader reads it, typed into and copied from
through X as a user does (xdotool), the copies read back with xclip."""

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

try:
    import pyatspi
    from gi.repository import Atspi, Gio, GLib
except ImportError:
    pyatspi = None

WAIT = 20.0  # seconds for any one condition; a loaded machine may be slow to start Qt
NAME_CHANGED = "object:property-change:accessible-name"
SHOWING = "object:state-changed:showing"
STARTED = []

TITLE = "Tarnwick（单位：kg，mm）"
BANNER = ("塔恩威克钢材有限公司，钢板 · 圆钢 · 钢管 · 型材 · 不锈钢，电话：0000-0000000，"
          "手机：000-0000-0000，www.tarnwick-steel.example")
# Each control in the window's creation order: its name, its container (None: the window), its
# accessible name and description, and a field's text (None: no text beside its name).
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


def fail(message):
    raise SystemExit("FAIL: " + message)


def signal_group(pgid, sig):
    try:
        os.killpg(pgid, sig)
        return True
    except (ProcessLookupError, PermissionError):
        return False


def start(argv, **popen):
    """A process in a process group of its own, its output the test's."""
    STARTED.append(subprocess.Popen(argv, start_new_session=True, stdin=subprocess.DEVNULL,
                                    **popen))
    return STARTED[-1]


def start_x_and_buses(work):
    cookie, authority = secrets.token_hex(16), os.path.join(work, "Xauthority")
    # The server takes every cookie in its file; a client looks up its display's.
    subprocess.run(["xauth", "-q", "-f", authority, "add", ":0", ".", cookie], check=True)
    reader, writer = os.pipe()
    start(["Xvfb", "-displayfd", str(writer), "-auth", authority, "-nolisten", "tcp",
           "-noreset", "-screen", "0", "1280x1024x24"], pass_fds=(writer,))
    os.close(writer)
    with os.fdopen(reader) as number:
        wait_for("Xvfb's display number", lambda: select.select([number], [], [], 0)[0])
        display = ":" + number.readline().strip()
    subprocess.run(["xauth", "-q", "-f", authority, "add", display, ".", cookie], check=True)
    bus = os.path.join(work, "bus")
    os.environ.update(DISPLAY=display, XAUTHORITY=authority,
                      DBUS_SESSION_BUS_ADDRESS="unix:path=" + bus)
    start(["dbus-daemon", "--session", "--nofork", "--nopidfile", "--address=unix:path=" + bus])
    wait_for("the session bus", lambda: os.path.exists(bus))
    # As on a desktop where a screen reader runs; Qt reads these properties at start.
    start(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately", "--a11y=1",
           "--screen-reader=1"])


def close():
    """Ends each process group started, last first, with all that its process started."""
    for process in reversed(STARTED):
        signal_group(process.pid, signal.SIGTERM)
        deadline = time.monotonic() + 10
        while ((process.poll() is None or signal_group(process.pid, 0))
               and time.monotonic() < deadline):
            time.sleep(0.05)
        signal_group(process.pid, signal.SIGKILL)
        process.wait()


def wait_for(what, condition):
    """condition()'s first true value, AT-SPI's messages handled meanwhile."""
    deadline = time.monotonic() + WAIT
    while True:
        while GLib.MainContext.default().iteration(False):
            pass
        try:
            value = condition()
        except Exception:  # an object that is not there yet
            value = None
        if value:
            return value
        if time.monotonic() > deadline:
            fail(f"timed out after {WAIT:.0f} s waiting for {what}")
        time.sleep(0.02)


def listen():
    """The events (type, detail, source) received from now on. The program learns at its start
    which events a reader listens to: this waits until the registry lists them."""
    events = []
    pyatspi.Registry.registerEventListener(
        lambda event: events.append((event.type, event.detail1, event.source)),
        NAME_CHANGED, SHOWING)

    def call(address, *method):
        bus = Gio.DBusConnection.new_for_address_sync(address, (
            Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT
            | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION), None, None)
        reply = bus.call_sync(*method, None, None, 0, int(WAIT * 1000), None).unpack()[0]
        bus.close_sync(None)
        return reply
    a11y = call(os.environ["DBUS_SESSION_BUS_ADDRESS"], "org.a11y.Bus", "/org/a11y/bus",
                "org.a11y.Bus", "GetAddress")
    wait_for("the registry to list the reader's events", lambda: {
        "Object:PropertyChange:AccessibleName", "Object:StateChanged:Showing"} <= {
        event.rstrip(":") for _, event in call(a11y, "org.a11y.atspi.Registry",
                                               "/org/a11y/atspi/registry",
                                               "org.a11y.atspi.Registry", "GetRegisteredEvents")})
    return events


def children(accessible):
    return [accessible.getChildAtIndex(i) for i in range(accessible.childCount)]


def xdotool(*args):
    subprocess.run(["xdotool", *args], check=True)


def click(accessible, button):
    box = accessible.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    xdotool("mousemove", str(box.x + box.width // 2), str(box.y + box.height // 2),
            "click", str(button))


def focus_on(accessible, what):
    wait_for(f"the focus on {what}", lambda: accessible.getState().contains(pyatspi.STATE_FOCUSED))


def open_menu(events, how, what):
    """Opens a menu with how() and waits until it shows."""
    first = len(events)
    how()
    return wait_for(f"{what} to open a menu", lambda: next(
        source for kind, detail, source in events[first:] if kind == SHOWING and detail == 1
        and source.getRoleName() in ("popup menu", "menu")))


def copy(label, events, how, what, keys=("Down", "Return")):
    """Chooses the menu's one item, read out as 复制(C), with the keys; the clipboard must hold
    the label's text."""
    shown = label.name
    menu = open_menu(events, how, what)
    items = [item.name for item in children(menu) if item.name]
    if items != ["复制(C)"]:
        fail(f"the menu from {what} reads {items!r}, expected ['复制(C)']")
    xdotool("key", *keys)
    wait_for(f"the clipboard to hold {shown!r} after {what}", lambda: subprocess.run(
        ["xclip", "-o", "-selection", "clipboard"], capture_output=True,
        timeout=WAIT).stdout.decode() == shown)


def check(controls, events):
    problems = []
    for name, _, *want in CONTROLS:
        control = controls[name]
        got = [control.name, control.description,
               None if want[2] is None else control.queryText().getText(0, -1)]
        if got != want:
            problems.append(f"  {name}: {got!r}, expected {want!r}")
    if problems:
        fail("controls read through AT-SPI differ from the table:\n" + "\n".join(problems))

    # Qt's own menu for a field, whatever the program's language; read out, "撤消(U)\tCtrl+Z".
    menu = open_menu(events, lambda: click(controls["Text25"], 3), "a right click on Text25")
    items = [re.sub(r"\(.\)$", "", item.name.split("\t")[0]) for item in children(menu)
             if item.getRoleName() != "separator" and item.name]
    xdotool("key", "Escape")
    wait_for("Text25's menu to close", lambda: not menu.getState().contains(pyatspi.STATE_SHOWING))
    if items != ["撤消", "重做", "剪切", "复制", "粘贴", "删除", "全选"]:
        fail(f"Text25's own menu reads {items!r}")

    for field, digits in (("Text4", "100"), ("Text18", "1000")):
        click(controls[field], 1)
        focus_on(controls[field], field)
        xdotool("type", "--delay", "20", digits)
    label = controls["Label30"]
    wait_for("Label30 to read 61.65", lambda: label.name == "61.65")
    if label.description != "圆钢重量":
        fail(f"Label30 is described {label.description!r}, expected 圆钢重量")
    wait_for("Label30's name-change event", lambda: any(
        kind == NAME_CHANGED and source.path == label.path for kind, _, source in events))

    copy(label, events, lambda: click(label, 3), "a right click on Label30")
    xdotool("type", "0")  # a new weight, for the next copy to be seen
    wait_for("Label30 to show a new weight", lambda: label.name != "61.65")
    xdotool("key", "Tab")
    focus_on(controls["Command5"], "Command5")
    copy(label, events, lambda: xdotool("key", "Menu"), "the menu key on Command5", ("c",))


def run(program):
    work = tempfile.mkdtemp(prefix="tarnwick-reader-")
    try:
        os.mkdir(os.path.join(work, "runtime"), 0o700)
        for key in [key for key in os.environ if key.startswith(
                ("QT_", "DBUS_", "AT_SPI", "XDG_", "DISPLAY", "XAUTHORITY", "WAYLAND"))]:
            del os.environ[key]
        os.environ.update(XDG_RUNTIME_DIR=os.path.join(work, "runtime"), HOME=work,
                          GSETTINGS_BACKEND="memory")
        start_x_and_buses(work)
        events = listen()
        # English, whose menus must be Chinese all the same. Under AddressSanitizer, leaks are
        # the window tests' business and strict string checks would stop it in the xcb
        # platform's keymap set-up (libxkbcommon-x11 hands strndup an unterminated name).
        asan = ":".join(filter(None, (os.environ.get("ASAN_OPTIONS"),
                                      "detect_leaks=0:strict_string_checks=0")))
        tarnwick = start([program], env=dict(
            os.environ, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
            LANG="C.UTF-8", LANGUAGE="en", ASAN_OPTIONS=asan))
        app = wait_for("the program on the accessibility bus", lambda: next(
            a for a in children(pyatspi.Registry.getDesktop(0))
            if a.get_process_id() == tarnwick.pid))
        app.set_cache_mask(Atspi.Cache.NONE)  # every read asks the program
        window = wait_for("the program's window", lambda: next(
            w for w in children(app) if w.name == TITLE and w.childCount > 0))
        subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--pid", str(tarnwick.pid)],
                       check=True, stdout=subprocess.DEVNULL, timeout=WAIT)
        # The controls by table name, matched by place: each container's children in order.
        controls = {}
        for container in [None] + [name for name, *_ in CONTROLS if name.startswith("Frame")]:
            rows = [name for name, within, *_ in CONTROLS if within == container]
            found = children(controls[container] if container else window)
            if len(found) != len(rows):
                fail(f"{container or 'the window'} has {len(found)} children, not {len(rows)}")
            controls.update(zip(rows, found))
        check(controls, events)
    finally:
        close()
        shutil.rmtree(work, ignore_errors=True)


def main():
    missing = [tool for tool in ("Xvfb", "xauth", "dbus-daemon", "xdotool", "xclip",
                                 "/usr/libexec/at-spi-bus-launcher") if not shutil.which(tool)]
    missing += [] if pyatspi else ["pyatspi (python3-pyatspi) for " + sys.executable]
    if missing:
        print("SKIP: missing " + ", ".join(missing) + " (scripts/install-deps.sh test)")
        return 77
    # A test runner's SIGTERM ends the test as a failure does: everything started is ended.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(128 + signal.SIGTERM))
    run(os.path.abspath(sys.argv[1]))
    return 0


if __name__ == "__main__":
    sys.exit(main())
