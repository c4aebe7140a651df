#!/usr/bin/python3
# Writes the pictures that the README shows: the playing frame with the truck
# all in sight, the building raised to three floors and the victory frame,
# from the real game under Xvfb; and the page in Chromium, on a desktop and
# on a phone held upright.
#   scripts/screenshots.py GAME PAGE FOLDER
import pathlib, shutil, sys, tempfile

from PIL import Image

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent.parent / "tests"))
from jogador import BRANCO, CAMINHAO, Jogo, Pagina, acha, sondas, tela  # noqa: E402


def caminhao(f):
    n, x0, x1, _, _ = acha(f, CAMINHAO)
    return "" if n and 0.5 < x0 and x1 < 29.5 else "the truck not all in sight"


jogo, pagina, destino = sys.argv[1], pathlib.Path(sys.argv[2]).resolve(), pathlib.Path(sys.argv[3])
pasta = pathlib.Path(tempfile.mkdtemp(prefix="zandrel-screenshots-"))
x = tela(pasta)
j = Jogo(x, pasta, jogo)
Image.fromarray(j.mostra(caminhao, "playing")).save(destino / "playing.png")
j.teclas("w", "w")
Image.fromarray(j.mostra(sondas([("floor-3", 4.5, 11.55, BRANCO)]), "building")).save(destino / "building.png")
j.atravessa()
Image.fromarray(j.foto()).save(destino / "victory.png")
j.esc()
x.xvfb.kill()
for nome, metricas in [("web", None), ("phone", {"width": 390, "height": 844, "pixelRatio": 1, "touch": True})]:
    p = Pagina(pasta, metricas=metricas)
    p.abre(pagina.as_uri())
    p.mostra(caminhao, nome)
    p.d.find_element("css selector", "body").screenshot(str(destino / f"{nome}.png"))
    p.d.quit()
shutil.rmtree(pasta)
print(f"wrote playing.png, building.png, victory.png, web.png and phone.png in {destino}")
