#!/usr/bin/python3
# Writes the README's pictures of the page: in Chromium on a desktop, with
# the keys' table under the game, and on a phone held upright, with its
# buttons. Each is taken with the truck out of sight, so that a run writes
# the same files as the last unless the page has changed; the tests compare
# the page with them. The README's pictures of the game itself are the
# tests' reference pictures, in tests/referencias/.
#   scripts/screenshots.py PAGE FOLDER
import pathlib, shutil, sys, tempfile

from PIL import Image

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent.parent / "tests"))
from jogador import TELEFONE, Navegador, sem_caminhao  # noqa: E402

pagina, destino = pathlib.Path(sys.argv[1]).resolve(), pathlib.Path(sys.argv[2])
pasta = pathlib.Path(tempfile.mkdtemp(prefix="zandrel-screenshots-"))
for nome, metricas in [("web", None), ("phone", TELEFONE)]:
    navegador = Navegador(pasta, metricas=metricas)
    try:
        navegador.abre(pagina.as_uri())
        foto = navegador.mostra(sem_caminhao, nome, css="body")
        Image.fromarray(foto).save(destino / f"{nome}.png")
    finally:
        navegador.driver.quit()
shutil.rmtree(pasta)
print(f"wrote web.png and phone.png in {destino}")
