#!/usr/bin/env bash
# Measures the CPU the game takes on its map as a player runs it: the built
# game on a virtual X display of 1280 x 1024, with its shipped Settings.ini,
# the sample started from the menus with the mouse (past the intro, Start,
# Next and Start: the sample's own human country), then the CPU of the game's
# process (utime + stime of /proc/PID/stat: all its threads, a GL
# rasteriser's included) over the wall time of each phase on the map:
#   idle    the pointer resting on the map, 30 s;
#   scroll  an arrow key held, Down and Up in turn for 2 s each (held alone,
#           Down meets the map's edge within seconds and the rest is idle), 20 s;
#   zoom    the wheel turned on the map, 20 notches a second, ten out then ten in, 20 s.
# Once per renderer: "default" leaves SDL and the game to choose, any other
# name is given to the game as SDL_RENDER_DRIVER, as a player would.
#
# Usage: scripts/map_cpu.sh [GAME_FOLDER] [RENDERERS]
#   GAME_FOLDER  a game folder as the build makes it (default build/game, which
#                ./run.sh builds in Release); it is copied, and left as it was
#   RENDERERS    comma-separated (default "default,software,opengl")
# MAP_CPU_SHOTS=<folder> keeps a picture of the window at the end of each phase.
# MAP_CPU_SIZE=<width>x<height> runs the game at that size (its ResolutionX and
# ResolutionY in the copy's Settings.ini) instead of the shipped one; the
# clicks through the menus follow their controls, scaled to that size.
# Needs xvfb-run (package xvfb), python3 and the X test extension's library
# (libxtst6); it starts its own display, so it runs where there is none.
# Prints one line per renderer: the share of a core of each phase, the game's
# resident memory at the end (VmRSS), then the renderer lines of the game's
# ConsoleOut.txt.
set -euo pipefail
cd "$(dirname "$0")/.."
game=$(realpath "${1:-build/game}")
renderers=${2:-default,software,opengl}
[ -x "$game/tidereach" ] || { echo "no game at $game (build it with ./run.sh or cmake --build build --target tidereach)" >&2; exit 1; }
command -v xvfb-run >/dev/null || { echo "xvfb-run is missing (package xvfb)" >&2; exit 1; }

size=${MAP_CPU_SIZE:-}
[ -z "$size" ] || [[ "$size" =~ ^[0-9]+x[0-9]+$ ]] || { echo "MAP_CPU_SIZE must be <width>x<height>" >&2; exit 1; }
screen=1280x1024
if [ -n "$size" ] && { [ "${size%x*}" -gt 1280 ] || [ "${size#*x}" -gt 1024 ]; }; then screen=$size; fi

exec xvfb-run -a -s "-screen 0 ${screen}x24" python3 - "$game" "$renderers" "$size" <<'PY'
import ctypes, os, re, shutil, signal, struct, subprocess, sys, tempfile, time, zlib

game, renderers, size = sys.argv[1], sys.argv[2].split(","), sys.argv[3]
shots = os.environ.get("MAP_CPU_SHOTS")
WIDTH, HEIGHT = (int(v) for v in size.split("x")) if size else (1024, 768)


def scaled(x, y):
    """A point of the 1024 x 768 layout, which the game scales to its size."""
    return (x * WIDTH // 1024, y * HEIGHT // 768)


MAP_POINT = scaled(512, 300)  # on the map, clear of the panels and of the scroll zone at the edges
MAIN_MENU_START = scaled(512, 385)
SCENARIO_NEXT = scaled(886, 676)
SETTINGS_START = scaled(886, 726)

x11 = ctypes.CDLL("libX11.so.6")
xtst = ctypes.CDLL("libXtst.so.6")
P, UL, I = ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int
x11.XOpenDisplay.restype = P
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XDefaultRootWindow.restype = UL
x11.XDefaultRootWindow.argtypes = [P]
x11.XQueryTree.argtypes = [P, UL, ctypes.POINTER(UL), ctypes.POINTER(UL), ctypes.POINTER(ctypes.POINTER(UL)),
                           ctypes.POINTER(ctypes.c_uint)]
x11.XFetchName.argtypes = [P, UL, ctypes.POINTER(ctypes.c_char_p)]
x11.XTranslateCoordinates.argtypes = [P, UL, UL, I, I, ctypes.POINTER(I), ctypes.POINTER(I), ctypes.POINTER(UL)]
x11.XSync.argtypes = [P, I]
x11.XSetInputFocus.argtypes = [P, UL, I, UL]
x11.XStringToKeysym.argtypes = [ctypes.c_char_p]
x11.XStringToKeysym.restype = UL
x11.XKeysymToKeycode.argtypes = [P, UL]
x11.XKeysymToKeycode.restype = ctypes.c_ubyte
xtst.XTestFakeMotionEvent.argtypes = [P, I, I, I, UL]
xtst.XTestFakeButtonEvent.argtypes = [P, ctypes.c_uint, I, UL]
xtst.XTestFakeKeyEvent.argtypes = [P, ctypes.c_uint, I, UL]


class XImage(ctypes.Structure):
    _fields_ = [("width", I), ("height", I), ("xoffset", I), ("format", I), ("data", ctypes.POINTER(ctypes.c_ubyte)),
                ("byte_order", I), ("bitmap_unit", I), ("bitmap_bit_order", I), ("bitmap_pad", I), ("depth", I),
                ("bytes_per_line", I), ("bits_per_pixel", I)]


x11.XGetImage.restype = ctypes.POINTER(XImage)
x11.XGetImage.argtypes = [P, UL, I, I, ctypes.c_uint, ctypes.c_uint, UL, I]
# A window that goes away under a request (SDL makes the window anew for a GL
# renderer) is an error to ignore, not the end of the script.
ErrorHandler = ctypes.CFUNCTYPE(I, P, P)
IGNORE_ERRORS = ErrorHandler(lambda display, event: 0)
x11.XSetErrorHandler.argtypes = [ErrorHandler]
x11.XSetErrorHandler.restype = P
x11.XSetErrorHandler(IGNORE_ERRORS)
display = x11.XOpenDisplay(None)
root = x11.XDefaultRootWindow(display)


def sync():
    x11.XSync(display, 0)


class Window:
    """The game's window, found by its caption; input goes to it as the X server's own."""

    def __init__(self, deadline):
        self.id = None
        while self.id is None:
            if time.monotonic() > deadline:
                raise RuntimeError("the game's window did not appear")
            self.id = self.find()
            time.sleep(0.1)
        x, y, child = I(), I(), UL()
        x11.XTranslateCoordinates(display, self.id, root, 0, 0, ctypes.byref(x), ctypes.byref(y), ctypes.byref(child))
        self.x, self.y = x.value, y.value
        # What a window manager does for the window a player clicks.
        x11.XSetInputFocus(display, self.id, 2, 0)
        sync()

    @staticmethod
    def find():
        parent, back, children, count = UL(), UL(), ctypes.POINTER(UL)(), ctypes.c_uint()
        x11.XQueryTree(display, root, ctypes.byref(parent), ctypes.byref(back), ctypes.byref(children),
                       ctypes.byref(count))
        for i in range(count.value):
            name = ctypes.c_char_p()
            if x11.XFetchName(display, children[i], ctypes.byref(name)) and name.value and \
                    name.value.startswith(b"Tidereach"):
                return children[i]
        return None

    def move(self, point):
        xtst.XTestFakeMotionEvent(display, -1, self.x + point[0], self.y + point[1], 0)
        sync()

    def click(self, point, hold=0.05):
        self.move(point)
        time.sleep(0.05)
        xtst.XTestFakeButtonEvent(display, 1, 1, 0)
        sync()
        time.sleep(hold)
        xtst.XTestFakeButtonEvent(display, 1, 0, 0)
        sync()

    def key(self, name, down):
        code = x11.XKeysymToKeycode(display, x11.XStringToKeysym(name.encode()))
        xtst.XTestFakeKeyEvent(display, code, 1 if down else 0, 0)
        sync()

    def wheel(self, away):
        button = 4 if away else 5
        xtst.XTestFakeButtonEvent(display, button, 1, 0)
        xtst.XTestFakeButtonEvent(display, button, 0, 0)
        sync()

    def shot(self, path):
        image = x11.XGetImage(display, self.id, 0, 0, WIDTH, HEIGHT, 0xFFFFFFFF, 2).contents
        raw = ctypes.string_at(image.data, image.bytes_per_line * image.height)
        rows = bytearray()
        for y in range(image.height):
            line = raw[y * image.bytes_per_line:y * image.bytes_per_line + image.width * 4]
            rgb = bytearray(image.width * 3)
            rgb[0::3], rgb[1::3], rgb[2::3] = line[2::4], line[1::4], line[0::4]
            rows += b"\0" + rgb

        def chunk(kind, data):
            return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

        with open(path, "wb") as f:
            f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", image.width, image.height, 8, 2, 0, 0, 0))
                    + chunk(b"IDAT", zlib.compress(bytes(rows))) + chunk(b"IEND", b""))


def log_text(folder):
    try:
        with open(os.path.join(folder, "ConsoleOut.txt"), "rb") as f:
            return f.read().decode("utf-16-le", errors="ignore")
    except OSError:
        return ""


def wait_for_line(folder, line, deadline, step=None):
    while line not in log_text(folder):
        if time.monotonic() > deadline:
            raise RuntimeError("no \"%s\" in ConsoleOut.txt" % line)
        if step:
            step()
        time.sleep(0.2)


def cpu_seconds(pid):
    fields = open("/proc/%d/stat" % pid).read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def resident_mb(pid):
    for line in open("/proc/%d/status" % pid):
        if line.startswith("VmRSS:"):
            return int(line.split()[1]) // 1024
    return 0


def measure(pid, seconds, act):
    """The share of a core the process took over the phase; act(elapsed) drives the input."""
    cpu0, wall0 = cpu_seconds(pid), time.monotonic()
    while time.monotonic() - wall0 < seconds:
        act(time.monotonic() - wall0)
        time.sleep(0.05)
    return (cpu_seconds(pid) - cpu0) / (time.monotonic() - wall0)


def run(renderer):
    work = tempfile.mkdtemp(prefix="map_cpu_")
    folder = os.path.join(work, "game")
    shutil.copytree(game, folder, symlinks=True)
    if size:
        settings = os.path.join(folder, "Settings.ini")
        with open(settings, "rb") as f:
            text = f.read().decode("latin-1")
        text = re.sub(r"(?m)^ResolutionX = .*$", "ResolutionX = %d" % WIDTH, text)
        text = re.sub(r"(?m)^ResolutionY = .*$", "ResolutionY = %d" % HEIGHT, text)
        with open(settings, "wb") as f:
            f.write(text.encode("latin-1"))
    env = dict(os.environ)
    env.pop("SDL_RENDER_DRIVER", None)
    if renderer != "default":
        env["SDL_RENDER_DRIVER"] = renderer
    output = open(os.path.join(work, "output.txt"), "wb")
    process = subprocess.Popen(["./tidereach"], cwd=folder, env=env, stdin=subprocess.DEVNULL, stdout=output,
                               stderr=subprocess.STDOUT)
    try:
        deadline = time.monotonic() + 120
        # The window is found once its render device is made: SDL may make the window anew for it.
        wait_for_line(folder, "Device reset end", deadline)
        window = Window(deadline)
        # The movies stop for the left button, the logos for a click.
        wait_for_line(folder, "----- Main Menu -----", deadline, lambda: window.click((4, 4), hold=0.15))
        time.sleep(1)
        window.click(MAIN_MENU_START)
        wait_for_line(folder, "----- SinglePlayer Menu -----", deadline)
        time.sleep(1)
        window.click(SCENARIO_NEXT)
        wait_for_line(folder, "Menu created", deadline)
        time.sleep(1)
        window.click(SETTINGS_START)
        wait_for_line(folder, "============== Enjoy your game :)", deadline)
        window.move(MAP_POINT)
        # The glide to the first view, and the hint under the pointer.
        time.sleep(10)
        pid = process.pid
        figures = {}

        holding = []

        def held(elapsed):
            key = "Down" if int(elapsed / 2) % 2 == 0 else "Up"
            if holding != [key]:
                for other in holding:
                    window.key(other, False)
                window.key(key, True)
                holding[:] = [key]

        def wheel(elapsed):
            window.wheel(away=int(elapsed * 2) % 2 == 1)

        for phase, seconds, act in (("idle", 30, lambda elapsed: None), ("scroll", 20, held), ("zoom", 20, wheel)):
            figures[phase] = measure(pid, seconds, act)
            window.key("Down", False)
            window.key("Up", False)
            if shots:
                window.shot(os.path.join(shots, "%s_%s.png" % (renderer, phase)))
            time.sleep(2)
        rss = resident_mb(pid)
        chosen = [line for line in log_text(folder).splitlines() if line.startswith(("Renderer:", "The GL renderer"))]
        print("%-10s idle %.2f  scroll %.2f  zoom %.2f  rss %d MB   [%s]" % (
            renderer, figures["idle"], figures["scroll"], figures["zoom"], rss, "; ".join(chosen)), flush=True)
    except RuntimeError as error:
        print("%-10s not measured: %s (see %s)" % (renderer, error, folder), flush=True)
        return
    finally:
        if process.poll() is None:
            process.send_signal(signal.SIGTERM)
            try:
                process.wait(timeout=30)
            except subprocess.TimeoutExpired:
                process.kill()
    shutil.rmtree(work, ignore_errors=True)


print("share of a core (CPU of the game process over wall time), sample at its opening view, FPSLimit from %s"
      % os.path.join(game, "Settings.ini"), flush=True)
for r in renderers:
    run(r)
PY
