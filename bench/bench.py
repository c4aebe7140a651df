#!/usr/bin/python3
# The benchmark. The game, with no pad and with one plugged in, its
# back-to-back build and the anchor, one after the other, each on a private
# Xvfb with Mesa's software GL, played by real keys, or by the pad that
# umockdev fakes, with a probe preloaded (sonda.cpp) that times them; then
# Lighthouse's performance scores of the app and of an anchor page
# (ancora.html), as a phone and as a desktop, each measured right after the
# other. It prints two tables, and asserts nothing: it is not a test. It runs
# under umockdev-wrapper, as the tests do, for the pad.
#   bench/bench.py GAME BACK-TO-BACK ANCHOR PROBE.so SITE    (Lighthouse from ZANDREL_BUILD's npm/)
import os, pathlib, shutil, sys, tempfile, time

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent.parent / "tests"))
from jogador import TECLAS_DO_PAD, Jogo, Pads, lighthouse, serve, servidor_x  # noqa: E402

paced, continuo, ancora, sonda, app = sys.argv[1:]
JOGAR = float(os.environ.get("JOGAR", 10))  # seconds of each playing phase
GANHO = float(os.environ.get("GANHO", 5))  # seconds measured after the victory
pasta = pathlib.Path(tempfile.mkdtemp(prefix="zandrel-bench-"))


class Pad(Pads):
    # The tests' pads, which also write down when each press went to a pad's
    # event node, the one the game reads: Pads.mexe makes each event's record
    # there just before it writes it.
    def __init__(self):
        super().__init__()
        self.escritos = []

    def evento(self, modelo, tipo, numero, valor):
        if valor:
            self.escritos.append(time.monotonic_ns())
        return super().evento(modelo, tipo, numero, valor)


pads = Pad()
# Only the game that plays by the pad runs under umockdev's preload, which
# pads.jogo() gives it: the X server and the other programs run as they did
# before there were pads.
del os.environ["LD_PRELOAD"]


def mede(nome, comando, ganha, pad=False):
    # Playing, first untouched, then with the frog stepping left and right
    # along the start row, out of the truck's way, each step a key-to-screen
    # sample; then, but for the anchor, won. F12 marks the phases for the
    # probe, which keeps it from the game and writes its row at exit. With
    # pad, a pad is plugged in once the game runs, and left idle but for the
    # steps, which its d-pad makes, and the crossing: the probe pairs each
    # press of the steps, at the time it was written to the pad, with the next
    # swap.
    linha, apertos = pasta / f"{nome}.linha", pasta / f"{nome}.pad"
    with servidor_x(pasta) as servidor:
        env = dict(LD_PRELOAD=os.path.realpath(sonda), ZANDREL_SONDA_SAIDA=str(linha),
                   ZANDREL_SONDA_INICIO=f"{time.time():.6f}")
        if pad:
            env = pads.jogo(dict(env, ZANDREL_SONDA_PAD=str(apertos)))
        jogo = Jogo(servidor, pasta, *comando, **env)
        if pad:
            # Seen within the half second between looks, then, once the game
            # has opened it, a step right and back.
            pads.liga(0)
            pads.mexe(0, "a6:1 a6:-1", 50)
        time.sleep(1)
        jogo.teclas("F12")
        time.sleep(JOGAR)
        jogo.teclas("F12")
        fim, lado = time.monotonic() + JOGAR, "Left"
        while time.monotonic() < fim:
            if pad:
                pads.mexe(0, TECLAS_DO_PAD[lado][0], 45)  # the d-pad, held 45 ms, then 45 ms free
            else:
                jogo.teclas(lado)
                time.sleep(0.09)
            lado = "Right" if lado == "Left" else "Left"
        jogo.teclas("F12")
        if ganha:
            jogo.atravessa(pads.aperta if pad else jogo.teclas)
            jogo.teclas("F12")
            time.sleep(GANHO)
            jogo.teclas("F12")
        if pad:
            apertos.write_text("".join(f"{t}\n" for t in pads.escritos))  # the probe reads it at exit
        jogo.esc()
        if pad:
            pads.tira(0)
    print(f"| {nome} {linha.read_text().strip()}", flush=True)


print("| variant | frames/s playing | CPU % playing | CPU ms per frame | CPU % won | truck period mean / max "
      "| frames per truck position (min) | key- or pad-to-screen median / max | start-up to first frame "
      "| peak RSS |")
print("|---|---|---|---|---|---|---|---|---|---|")
mede("game", [paced], True)
mede("game, pad idle", [paced], True, pad=True)
mede("unpaced", [continuo], True)
mede("anchor", [ancora], False)
# The anchor paced as the game is, a frame every 60 ms, and so with a timer
# every 16 ms besides, as the game's looks at a pad: what looking that often
# costs on this machine, whatever reads the pad.
mede("anchor, paced", [ancora, "60"], False)
mede("anchor, paced, 16 ms timer", [ancora, "60", "16"], False)

# The app and the anchor page served side by side, from one folder.
shutil.copytree(app, pasta / "site")
shutil.copy(pathlib.Path(__file__).parent / "ancora.html", pasta / "site")
print("\n| Lighthouse performance | the app | the anchor page |\n|---|---|---|")
with serve(pasta / "site") as site:
    for preset in ["mobile", "desktop"]:
        nota, anc = [lighthouse(site.url + u, preset, "performance")["performance"] for u in ["", "ancora.html"]]
        print(f"| {preset} | {nota} | {anc} |", flush=True)
shutil.rmtree(pasta)
