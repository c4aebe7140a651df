# The real game on a private Xvfb with Mesa's software GL, played by real
# keys: its rules, its window, its pictures, and how it ends.
import subprocess, sysconfig

import pytest

from conftest import JUIZES
from jogador import CAMINHAO, RAIZ, acha, ambiente, espera, produto

# The rules' unit tests and the game are built with ASan and UBSan too. For
# the game, Mesa's driver is kept mapped past the leak check, after the
# sanitizer's runtime, so that the suppressions can name its leaks.
SANITIZADO = {"LSAN_OPTIONS": f"suppressions={RAIZ}/tests/lsan.supp:print_suppressions=0",
              "UBSAN_OPTIONS": "print_stacktrace=1:halt_on_error=1"}
ASAN = dict(SANITIZADO, LD_PRELOAD=subprocess.check_output(["g++", "-print-file-name=libasan.so"], text=True).strip() +
            f" /usr/lib/{sysconfig.get_config_var('MULTIARCH')}/dri/swrast_dri.so")
# Every key but Esc and 'f', six times over; after each, the frog is back
# where it started.
CHUVA = ("Left Right w s Up Down a z 0 9 space Return Tab BackSpace F1 F5 F11 Home End Prior Next Insert Delete q 1 "
         "KP_5 comma period slash").split() * 6


@pytest.mark.parametrize("regras", ["regras", "regras_asan"])
def test_regras(regras):
    r = subprocess.run([produto(f"test/tests/{regras}")], env=ambiente(**SANITIZADO), capture_output=True, text=True)
    assert r.returncode == 0, r.stdout[-3000:] + r.stderr[-3000:]


@pytest.mark.parametrize("programa", ["zandrel", "zandrel_asan"])
def test_percurso(programa, jogo):
    # One window, "Zandrel", 690 x 530 at (50, 50), with the truck driving in
    # its lane alone; a flood of keys while it is resized leaves the game as it
    # was; the walk to the victory frame; then 'f' still fills the screen, and
    # Esc ends the game, which printed nothing.
    j = jogo(produto(f"test/src/{programa}"), **(ASAN if programa.endswith("_asan") else {}))
    g, o = j.janela.get_geometry(), j.x.screen().root.translate_coords(j.janela, 0, 0)
    assert (o.x, o.y, g.width, g.height) == (50, 50, 690, 530)
    lugares = set()

    def anda():
        n, x0, _, y0, y1 = acha(j.foto(), CAMINHAO)
        assert not n or 3.45 < y0 < y1 < 4.55
        return lugares.add(x0) or len(lugares) > 2
    espera(anda)
    for w, h in [(1, 1), (4000, 3000), (690, 530)]:
        j.janela.configure(width=w, height=h)
        j.teclas(*CHUVA)
    j.percorre(lambda nome: j.mostra(JUIZES[nome], nome))
    j.teclas("f")
    espera(lambda: j.janela.get_geometry().width == 1280)
    j.esc()
    j.calado()

