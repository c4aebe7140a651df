# Drives the game's page in headless Chromium for the tests and the
# screenshots, a command per line on standard input, an answer per line on
# standard output ("ok ..." or "erro ..."):
#   teclas MS KEY...  real key presses, xdotool's names, MS apart
#   abre URL          loads another page
#   foto FILE.png [CSS]  an element as the page shows it, the canvas unless named
#   js EXPRESSION     its value, as JSON
#   consola           what the page logged: errors and warnings, or nothing
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
opcoes = webdriver.ChromeOptions()
opcoes.binary_location = "/usr/bin/chromium"
# Software WebGL, and none of the background traffic that a closed network refuses.
for a in ["--headless=new", "--use-angle=swiftshader", "--enable-unsafe-swiftshader",
          "--window-size=1000,900", "--no-first-run", "--disable-background-networking",
          "--disable-component-update", "--disable-sync", "--disable-quic",
          "--user-data-dir=" + perfil.name]:
    opcoes.add_argument(a)
if os.geteuid() == 0:
    opcoes.add_argument("--no-sandbox")
opcoes.set_capability("goog:loggingPrefs", {"browser": "ALL"})
navegador = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=opcoes)
# Killed by the harness when a test ends: the browser goes too.
signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))


def comando(linha):
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
    if nome == "foto":
        arquivo, _, css = resto.partition(" ")
        navegador.find_element("css selector", css or "#canvas").screenshot(arquivo)
        return ""
    if nome == "js":
        return json.dumps(navegador.execute_script("return " + resto))
    if nome == "consola":
        return " | ".join(e["message"] for e in navegador.get_log("browser")
                          if e["level"] in ("WARNING", "SEVERE"))
    raise ValueError("unknown command: " + nome)


try:
    for linha in sys.stdin:
        try:
            print("ok", comando(linha.strip()), flush=True)
        except Exception as e:  # the test reads the failure and stops
            print("erro", str(e).splitlines()[0], flush=True)
finally:
    navegador.quit()
