# Drives the game's page in headless Chromium for the tests and the
# screenshots, a command per line on standard input, an answer per line on
# standard output ("ok ..." or "erro ..."):
#   teclas MS KEY...  real key presses, xdotool's names, MS apart
#   abre URL          loads another page
#   recarrega         reloads the page
#   foto FILE.png [CSS]  an element as the page shows it, the canvas unless named
#   js EXPRESSION     its value, as JSON
#   consola           what the page logged: errors and warnings, or nothing
#   movel W H [R]     a phone or tablet's screen of W x H CSS px, R device
#                     pixels to one (1 unless given), with touch: the first
#                     call starts the browser anew in ChromeDriver's mobile
#                     emulation, later ones turn or resize the screen
#   toque CSS DX DY [MS]  a finger on the element's centre, slid by DX, DY CSS
#                     px, held MS ms, lifted: a tap when DX and DY are 0
#   dedos MS KEY...   the same keys by touch, MS apart: arrows as swipes on the
#                     game, characters as taps on their buttons
#   memoria           the JS heap in use after a garbage collection, in bytes
#   cdp METHOD [JSON] a DevTools protocol command, its answer as JSON
#   opcoes ARG...     starts the browser anew with these arguments besides its
#                     own (none: its own alone), on a blank page
#   pad N liga [outro]  plugs in pad N, a joystick faked by umockdev that the
#                     browser reads with its own code: an Xbox 360 pad, which it
#                     gives the standard layout, or one it does not know; the
#                     first starts the browser anew, on a blank page
#   pad N tira        unplugs it
#   pad N MS ITEM...  on pad N, MS ms after each: KEY presses and lets go its
#                     control (cruz:KEY the d-pad's or a button, alavanca:KEY the
#                     stick's); aA=V moves axis A to V (-1 to 1), bB=V sets
#                     button B (1 down, 0 up)
# Run with Debian's python3, which has Debian's selenium.
#   /usr/bin/python3 scripts/navegador.py
import ctypes.util
import json
import os
import select
import struct
import signal
import sys
import tempfile
import time
import tty

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.keys import Keys

NOMES = {"Up": Keys.ARROW_UP, "Down": Keys.ARROW_DOWN, "Left": Keys.ARROW_LEFT,
         "Right": Keys.ARROW_RIGHT, "Escape": Keys.ESCAPE, "space": " "}

# The browser that sees a pad runs under umockdev's preload library, and so
# does this driver, which announces its plugging and unplugging; until a pad
# is plugged in, the library does nothing.
PRELOAD = "libumockdev-preload.so.0"
if ctypes.util.find_library("umockdev-preload") and os.environ.get("LD_PRELOAD") != PRELOAD:
    os.execve(sys.executable, [sys.executable, *sys.argv], dict(os.environ, LD_PRELOAD=PRELOAD))
ambiente = {k: v for k, v in os.environ.items() if k != "LD_PRELOAD"}  # the browser's

perfil = tempfile.TemporaryDirectory(prefix="zandrel-chromium-")  # gone at exit


def abre_navegador(metricas=None, extras=()):
    opcoes = webdriver.ChromeOptions()
    opcoes.binary_location = "/usr/bin/chromium"
    # Software WebGL, and none of the background traffic that a closed network refuses.
    for a in ["--headless=new", "--use-angle=swiftshader", "--enable-unsafe-swiftshader",
              "--window-size=1000,900", "--no-first-run", "--disable-background-networking",
              "--disable-component-update", "--disable-sync", "--disable-quic",
              "--user-data-dir=" + perfil.name, *extras]:
        opcoes.add_argument(a)
    if os.geteuid() == 0:
        opcoes.add_argument("--no-sandbox")
    if metricas:
        opcoes.add_experimental_option("mobileEmulation", {"deviceMetrics": metricas})
    opcoes.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    return webdriver.Chrome(service=Service("/usr/bin/chromedriver", env=ambiente), options=opcoes)


navegador = abre_navegador()
movel = False  # in ChromeDriver's mobile emulation yet
# Killed by the harness when a test ends: the browser goes too.
signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))


DESLIZES = {"Up": (0, -60), "Down": (0, 60), "Left": (-60, 0), "Right": (60, 0)}


def toque(css, dx, dy, ms=0):
    def dedo(tipo, x, y):
        pontos = [{"x": x, "y": y}] if tipo != "touchEnd" else []
        navegador.execute_cdp_cmd("Input.dispatchTouchEvent", {"type": tipo, "touchPoints": pontos})
    r = navegador.execute_script("return arguments[0].getBoundingClientRect()",
                                 navegador.find_element("css selector", css))
    x, y = r["x"] + r["width"] / 2, r["y"] + r["height"] / 2
    dedo("touchStart", x, y)
    for i in (1, 2):
        dedo("touchMove", x + dx * i / 2, y + dy * i / 2)
    time.sleep(ms / 1000)
    dedo("touchEnd", 0, 0)


# The pads, by number: a udev device (the input device and its /dev/input/jsJ,
# a pty) with the vendor and product the browser knows the pad by, and the
# pty's other end, which takes struct js_event records. J is new at every
# plug, as umockdev makes a node of a name once. The driver's Xbox 360
# pad: A is button 0, the shoulders 4 and 5, Start 7, the left stick axes 0
# and 1, the triggers 2 and 5 (-1 at rest), the d-pad the hat's axes 6 and 7.
# The other has the same buttons and axes but the triggers, and no name the
# browser knows.
bancada, pads, nos = None, {}, 0
MODELOS = {"": ("Microsoft X-Box 360 pad", "045e", "028e", (2, 5)), "outro": ("Zandrel Test Pad", "1209", "7a7d", ())}
CONTROLOS = {"Up": "a7=-1", "Down": "a7=1", "Left": "a6=-1", "Right": "a6=1", "w": "b5=1", "s": "b4=1",
             "f": "b7=1", "A": "b0=1", "alavanca:Up": "a1=-1", "alavanca:Down": "a1=1",
             "alavanca:Left": "a0=-1", "alavanca:Right": "a0=1"}


# A struct js_event: TIPO 1 a button, 2 an axis, with 0x80 as it rests at first.
def js_event(n, tipo, numero, valor):
    os.write(pads[n][0], struct.pack("<IhBB", 0, round(float(valor) * 32767), tipo, int(numero)))


def pad(n, resto):
    global bancada, navegador, movel, nos
    if resto[0] == "liga":
        if not bancada:
            import gi
            gi.require_version("UMockdev", "1.0")
            from gi.repository import UMockdev
            bancada = UMockdev.Testbed.new()
            ambiente.update(LD_PRELOAD=PRELOAD, UMOCKDEV_DIR=bancada.get_root_dir())
            navegador.quit()
            navegador, movel = abre_navegador(), False
        nome, vendedor, produto, gatilhos = MODELOS[resto[1] if len(resto) > 1 else ""]
        j, nos = nos, nos + 1
        bancada.add_from_string(f"""P: /devices/pad{n}/input/input{j}
E: SUBSYSTEM=input
A: name={nome}
A: id/vendor={vendedor}
A: id/product={produto}

P: /devices/pad{n}/input/input{j}/js{j}
N: input/js{j}
E: DEVNAME=/dev/input/js{j}
E: SUBSYSTEM=input
E: MAJOR=13
E: MINOR={j}
E: ID_INPUT=1
E: ID_INPUT_JOYSTICK=1
""")
        bancada.uevent(f"/sys/devices/pad{n}/input/input{j}/js{j}", "add")
        pads[n] = (bancada.get_dev_fd(f"/dev/input/js{j}"), j)
        tty.setraw(pads[n][0])  # every byte as it is: no control characters
        for i in range(11):
            js_event(n, 0x81, i, 0)
        for i in range(8):
            js_event(n, 0x82, i, -1 if i in gatilhos else 0)
    elif resto[0] == "tira":
        # Its node gone first, so the browser cannot open it again on the news.
        j = pads.pop(n)[1]
        os.unlink(bancada.get_root_dir() + f"/dev/input/js{j}")
        bancada.uevent(f"/sys/devices/pad{n}/input/input{j}/js{j}", "remove")
        bancada.remove_device(f"/sys/devices/pad{n}/input/input{j}")
    else:
        # A press written before the browser opens the node reaches it with its
        # release in one read, and is lost: the node's pty hangs up till then.
        aberto = select.poll()
        aberto.register(pads[n][0], select.POLLHUP)
        for _ in range(100):
            if not aberto.poll(0):
                break
            time.sleep(0.05)
        for item in resto[1:]:
            controlo = CONTROLOS.get(item) or CONTROLOS.get(item.partition(":")[2], item)
            for c in [controlo] + ([controlo.partition("=")[0] + "=0"] if controlo != item else []):
                js_event(n, 2 if c[0] == "a" else 1, *c[1:].split("="))
                time.sleep(int(resto[0]) / 1000)


def comando(linha):
    global navegador, movel
    nome, _, resto = linha.partition(" ")
    if nome == "teclas":
        ms, *teclas = resto.split()
        for t in teclas:
            ActionChains(navegador).key_down(NOMES.get(t, t)).key_up(NOMES.get(t, t)).perform()
            time.sleep(int(ms) / 1000)
        return ""
    if nome == "abre":
        navegador.get(resto)
        return ""
    if nome == "recarrega":
        navegador.refresh()
        return ""
    if nome == "foto":
        arquivo, _, css = resto.partition(" ")
        navegador.find_element("css selector", css or "#canvas").screenshot(arquivo)
        return ""
    if nome == "js":
        return json.dumps(navegador.execute_script("return " + resto))
    if nome == "consola":
        return " | ".join(e["message"] for e in navegador.get_log("browser")
                          if e["level"] in ("WARNING", "SEVERE"))
    if nome == "movel":
        w, h, r = (float(n) for n in (resto + " 1").split()[:3])
        w, h = int(w), int(h)
        if not movel:
            navegador.quit()
            navegador = abre_navegador({"width": w, "height": h, "pixelRatio": r, "touch": True})
            movel = True
        navegador.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
            "width": w, "height": h, "deviceScaleFactor": r, "mobile": True,
            "screenOrientation": {"type": "landscapePrimary" if w > h else "portraitPrimary",
                                  "angle": 90 if w > h else 0}})
        return ""
    if nome == "toque":
        css, *numeros = resto.split()
        toque(css, *(int(n) for n in numeros))
        return ""
    if nome == "dedos":
        ms, *teclas = resto.split()
        for t in teclas:
            toque("#canvas", *DESLIZES[t]) if t in DESLIZES else toque(f"[data-key={t}]", 0, 0)
            time.sleep(int(ms) / 1000)
        return ""
    if nome == "memoria":
        navegador.execute_cdp_cmd("HeapProfiler.collectGarbage", {})
        return str(navegador.execute_cdp_cmd("Runtime.getHeapUsage", {})["usedSize"])
    if nome == "cdp":
        metodo, _, parametros = resto.partition(" ")
        return json.dumps(navegador.execute_cdp_cmd(metodo, json.loads(parametros or "{}")))
    if nome == "pad":
        n, *resto = resto.split()
        pad(int(n), resto)
        return ""
    if nome == "opcoes":
        navegador.quit()
        navegador = abre_navegador(extras=resto.split())
        movel = False
        return ""
    raise ValueError("unknown command: " + nome)


try:
    for linha in sys.stdin:
        try:
            print("ok", comando(linha.strip()), flush=True)
        except Exception as e:  # the test reads the failure and stops
            print("erro", str(e).splitlines()[0], flush=True)
finally:
    navegador.quit()
