#!/usr/bin/python3
# The benchmark. The game, its back-to-back build and the anchor, one after
# the other, each on a private Xvfb with Mesa's software GL, played by real
# keys with a probe preloaded (sonda.cpp) that times them; then Lighthouse's
# performance scores of the app and of an anchor page (ancora.html), as a
# phone and as a desktop, each measured right after the other. It prints two
# tables, and asserts nothing: it is not a test.
#   bench/bench.py GAME BACK-TO-BACK ANCHOR PROBE.so SITE    (Lighthouse from ZANDREL_BUILD's npm/)
import os, pathlib, shutil, sys, tempfile, time

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent.parent / "tests"))
from jogador import Jogo, lighthouse, serve, servidor_x  # noqa: E402

paced, continuo, ancora, sonda, app = sys.argv[1:]
JOGAR = float(os.environ.get("JOGAR", 10))  # seconds of each playing phase
GANHO = float(os.environ.get("GANHO", 5))  # seconds measured after the victory
pasta = pathlib.Path(tempfile.mkdtemp(prefix="zandrel-bench-"))


def mede(nome, programa, ganha):
    # Playing, first untouched, then with the frog stepping left and right
    # along the start row, out of the truck's way, each step a key-to-screen
    # sample; then, but for the anchor, won. F12 marks the phases for the
    # probe, which keeps it from the game and writes its row at exit.
    linha = pasta / f"{nome}.linha"
    with servidor_x(pasta) as servidor:
        jogo = Jogo(servidor, pasta, programa, LD_PRELOAD=os.path.realpath(sonda),
                    ZANDREL_SONDA_SAIDA=str(linha), ZANDREL_SONDA_INICIO=f"{time.time():.6f}")
        time.sleep(1)
        jogo.teclas("F12")
        time.sleep(JOGAR)
        jogo.teclas("F12")
        fim, lado = time.monotonic() + JOGAR, "Left"
        while time.monotonic() < fim:
            jogo.teclas(lado)
            lado = "Right" if lado == "Left" else "Left"
            time.sleep(0.09)
        jogo.teclas("F12")
        if ganha:
            jogo.atravessa(jogo.teclas)
            jogo.teclas("F12")
            time.sleep(GANHO)
            jogo.teclas("F12")
        jogo.esc()
    print(f"| {nome} {linha.read_text().strip()}", flush=True)


print("| variant | frames/s playing | CPU % playing | CPU ms per frame | CPU % won | truck period mean / max "
      "| frames per truck position (min) | key-to-screen median / max | start-up to first frame | peak RSS |")
print("|---|---|---|---|---|---|---|---|---|---|")
mede("game", paced, True)
mede("unpaced", continuo, True)
mede("anchor", ancora, False)

# The app and the anchor page served side by side, from one folder.
shutil.copytree(app, pasta / "site")
shutil.copy(pathlib.Path(__file__).parent / "ancora.html", pasta / "site")
print("\n| Lighthouse performance | the app | the anchor page |\n|---|---|---|")
with serve(pasta / "site") as site:
    for preset in ["mobile", "desktop"]:
        nota, anc = [lighthouse(site.url + u, preset, "performance")["performance"] for u in ["", "ancora.html"]]
        print(f"| {preset} | {nota} | {anc} |", flush=True)
shutil.rmtree(pasta)
