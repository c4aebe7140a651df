# The real game on a private Xvfb with Mesa's software GL, played by real
# keys: its rules, its window, its pictures, its pace, and how it ends.
import re, sysconfig

import pytest

from jogador import RAIZ, ambiente, espera, iguais, produto, relogio, roda

# The rules' unit tests and the game are built with ASan and UBSan too. For
# the game, Mesa's driver is kept mapped past the leak check, after the
# sanitizer's runtime, so that the suppressions can name its leaks.
SANITIZADO = {"LSAN_OPTIONS": f"suppressions={RAIZ}/tests/lsan.supp:print_suppressions=0",
              "UBSAN_OPTIONS": "print_stacktrace=1:halt_on_error=1"}
LIBASAN = roda("g++", "-print-file-name=libasan.so").strip()
SWRAST = f"/usr/lib/{sysconfig.get_config_var('MULTIARCH')}/dri/swrast_dri.so"
# Each kind of key but Esc and 'f' (what one of a kind does, the rules'
# unit tests check for all), six times over; after each round, the frog is
# back where it started.
CHUVA = "Left Right w s Up Down a 1 space Return Tab BackSpace F11 Home KP_5 comma".split() * 6


@pytest.mark.parametrize("regras", ["regras", "regras_asan", "regras_continuo"])
def test_regras(regras):
    # The rules' unit tests: as the game is built, with the sanitizers, and
    # with playing frames drawn back to back.
    roda(produto(f"test/tests/{regras}"), **ambiente(**SANITIZADO))


@pytest.mark.parametrize("programa", ["zandrel", "zandrel_asan"])
def test_percurso(programa, abre_jogo, referencias, tmp_path):
    # One window, "Zandrel", 690 x 530 at (50, 50); a flood of keys while it
    # is resized leaves the game as it was; the walk shows the reference
    # pictures exactly, the truck's included; then 'f' still fills the
    # screen, and Esc ends the game, which printed nothing. All along, the
    # truck's timer was asked for 10 ms at start-up, then for 100 ms until a
    # frame had been shown, which sets the period, and for 60 ms after. With
    # no X server to open, freeglut says so (on standard error) and the game
    # ends with 1.
    sem_tela = roda(produto(f"test/src/{programa}"), status=1,
                    **ambiente(DISPLAY=":99999", **SANITIZADO))
    assert sem_tela == "freeglut (zandrel): failed to open display ':99999'\n"
    env = relogio(tmp_path)
    if programa == "zandrel_asan":
        env = dict(env, LD_PRELOAD=f"{LIBASAN} {SWRAST} {env['LD_PRELOAD']}", **SANITIZADO)
    jogo = abre_jogo(produto(f"test/src/{programa}"), **env)
    geometria = jogo.janela.get_geometry()
    origem = jogo.servidor.screen().root.translate_coords(jogo.janela, 0, 0)
    assert (origem.x, origem.y, geometria.width, geometria.height) == (50, 50, 690, 530)
    for largura, altura in [(1, 1), (4000, 3000), (690, 530)]:
        jogo.janela.configure(width=largura, height=altura)
        jogo.teclas(*CHUVA)
    jogo.percorre(iguais(referencias))
    jogo.teclas("f")
    espera(lambda: jogo.janela.get_geometry().width == 1280, "the screen filled")
    jogo.esc()
    assert jogo.saida.read_text() == "", "the game printed"
    # The pads' looks, every half second with none plugged in, aside.
    eventos = " ".join(evento for evento in jogo.eventos() if evento != "olha 500")
    ritmo = r"tique 10( tique 100)*( quadro)+ tique 60( quadro| tique 60)*"
    assert re.fullmatch(ritmo, eventos), eventos[:200]


def test_pads(pads, abre_jogo, tmp_path):
    # The game played by the keys of PASSOS (in jogador.py), then anew by
    # pads, the first plugged in once it runs: each step gives its keys'
    # picture, the truck's lane aside; Start fills the screen. It looked for
    # pads every half second while none was plugged in, and every 16 ms while
    # one was.
    jogo = abre_jogo(produto("test/src/zandrel"), **relogio(tmp_path))
    fotos = jogo.fotos_dos_passos()
    jogo.esc()
    jogo = abre_jogo(produto("test/src/zandrel"), **pads.jogo(relogio(tmp_path)))
    pads.liga(0)
    jogo.passos(pads, fotos)
    pads.mexe(0, "b7:1")
    espera(lambda: jogo.janela.get_geometry().width == 1280, "the screen filled")
    pads.tira(0)
    pads.tira(1)
    jogo.esc()
    assert jogo.saida.read_text() == "", "the game printed"
    olhadas = {evento for evento in jogo.eventos() if evento.startswith("olha")}
    assert olhadas == {"olha 500", "olha 16"}
