#!/usr/bin/python3
# Writes the pictures that the README shows: the playing frame with the truck
# all in sight, the building raised to three floors and the victory frame,
# from the real game under Xvfb; and the page in Chromium, on a desktop and
# on a phone held upright.
#   scripts/screenshots.py GAME PAGE FOLDER
import pathlib, shutil, sys, tempfile

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent.parent / "tests"))
from jogador import (BRANCO, abre, atravessa, caminhao, chromium, esc, foto, foto_pagina, joga, mostra, sondas,  # noqa: E402
                     tela, teclas)
from PIL import Image  # noqa: E402

jogo, pagina, destino = sys.argv[1], pathlib.Path(sys.argv[2]).resolve(), pathlib.Path(sys.argv[3])
pasta = pathlib.Path(tempfile.mkdtemp(prefix="zandrel-screenshots-"))
x = tela(pasta)
j = joga(x, pasta, jogo)
Image.fromarray(mostra(lambda: foto(j), caminhao, pasta / "playing")).save(destino / "playing.png")
teclas(j, "w", "w")
Image.fromarray(mostra(lambda: foto(j), sondas([("floor-3", 4.5, 11.55, BRANCO)]), pasta / "building")).save(
    destino / "building.png")
atravessa(lambda *t: teclas(j, *t), lambda: foto(j))
Image.fromarray(foto(j)).save(destino / "victory.png")
esc(j)
x.xvfb.kill()
for nome, metricas in [("web", None), ("phone", {"width": 390, "height": 844, "pixelRatio": 1, "touch": True})]:
    d = chromium(pasta, metricas=metricas)
    abre(d, pagina.as_uri())
    mostra(lambda: foto_pagina(d), caminhao, pasta / nome)
    d.find_element("css selector", "body").screenshot(str(destino / f"{nome}.png"))
    d.quit()
shutil.rmtree(pasta)
print(f"wrote playing.png, building.png, victory.png, web.png and phone.png in {destino}")
