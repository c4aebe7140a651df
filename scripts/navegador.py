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
# Run with Debian's python3, which has Debian's selenium.
#   /usr/bin/python3 scripts/navegador.py
import json
import os
import signal
import sys
import tempfile
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.keys import Keys

NOMES = {"Up": Keys.ARROW_UP, "Down": Keys.ARROW_DOWN, "Left": Keys.ARROW_LEFT,
         "Right": Keys.ARROW_RIGHT, "Escape": Keys.ESCAPE, "space": " "}

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
    return webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=opcoes)


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
