# The end-to-end tests' fixtures, the writer of the desktop game's reference
# pictures, which every build is compared with, and the guard that no test
# leaves a process running.
import contextlib, ctypes

import numpy
import psutil
import pytest
from PIL import Image

# Failures in the harness say what they compared, as the tests' own do.
pytest.register_assert_rewrite("jogador")
from jogador import (CAMINHAO, REFERENCIAS, Jogo, Navegador, Pads, ganhou, le_png,  # noqa: E402
                     produto, relogio, sem_caminhao, serve, servidor_x)

# pytest adopts what the tests' processes leave behind, so that nothing that
# a test started escapes the guard below (PR_SET_CHILD_SUBREAPER).
assert ctypes.CDLL(None).prctl(36, 1) == 0


def pytest_addoption(parser):
    parser.addoption("--referencias", action="store_true",
                     help="write tests/referencias/ anew from the desktop game first")


def caminhao_no_meio(foto):
    # The truck's place in the start frame: in the middle of the window, give
    # or take a unit of the world's 30.
    colunas = numpy.nonzero((abs(foto.astype(int) - CAMINHAO).max(2) <= 1).any(0))[0]
    if len(colunas) and abs(colunas.min() + colunas.max() - foto.shape[1]) < foto.shape[1] / 15:
        return ""
    return "the truck not in the middle"


def escreve_referencias(pasta):
    # The game as the tests build it, walked; each picture once the game has
    # drawn the keys given before, with the truck in the middle of the window
    # at the start, then out of sight.
    with servidor_x(pasta) as servidor, contextlib.closing(
            Jogo(servidor, pasta, produto("test/src/zandrel"), **relogio(pasta))) as jogo:
        def aperta(*teclas):
            jogo.teclas(*teclas)
            jogo.quadros(2)
        julgas = {"inicio": caminhao_no_meio, "alto": sem_caminhao, "baixo": sem_caminhao,
                  "fim": lambda foto: "" if ganhou(foto) else "never crossed"}
        fotos = jogo.percorre(julgas, aperta)
        jogo.esc()
    mudadas = [nome for nome, foto in fotos.items()
               if not numpy.array_equal(foto, le_png(REFERENCIAS / f"{nome}.png"))]
    for nome in mudadas:
        Image.fromarray(fotos[nome]).save(REFERENCIAS / f"{nome}.png")
    if mudadas:
        # Tests against pictures just written would pass by construction: a
        # change ends the run.
        pytest.exit(f"{REFERENCIAS}: {' '.join(mudadas)} written anew; look at each", 1)


@pytest.fixture(scope="session")
def referencias(request, tmp_path_factory):
    """The pictures every build must show on the walk, by name: the desktop
    game's, in tests/referencias/; with --referencias, written anew first."""
    if request.config.getoption("referencias"):
        escreve_referencias(tmp_path_factory.mktemp("referencias"))
    return {nome: le_png(REFERENCIAS / f"{nome}.png") for nome in "inicio alto baixo fim".split()}


@pytest.fixture
def abre_jogo(tmp_path):
    """abre_jogo(*command, **variables) starts a game (jogador.Jogo) on the
    test's own X server. The games and the server end with the test."""
    with servidor_x(tmp_path) as servidor, contextlib.ExitStack() as jogos:
        def abre(*comando, **env):
            jogo = Jogo(servidor, tmp_path, *comando, **env)
            return jogos.enter_context(contextlib.closing(jogo))
        yield abre


@pytest.fixture
def abre_navegador(tmp_path):
    """abre_navegador(*options, metricas=None, env=None) starts Chromium (jogador.Navegador).
    The test fails if a page logged an error or a warning; every browser ends with it."""
    navegadores = []
    with contextlib.ExitStack() as fechados:
        def abre(*opcoes, **chaves):
            navegadores.append(Navegador(tmp_path, *opcoes, **chaves))
            fechados.callback(navegadores[-1].driver.quit)
            return navegadores[-1]
        yield abre
        erros = [registro["message"] for navegador in navegadores
                 for registro in navegador.driver.get_log("browser")
                 if registro["level"] in {"WARNING", "SEVERE"}]
        assert erros == [], "the page's console"


@pytest.fixture
def endereco():
    """The page's address, served over HTTP from the folder it was built in."""
    with serve(produto("web")) as site:
        yield site.url + "index.html"


@pytest.fixture
def pads():
    """Pads to plug in (jogador.Pads); all gone with the test."""
    bancada = Pads()
    yield bancada
    bancada.bancada.clear()


@pytest.fixture(autouse=True)
def sem_sobras():
    """Ends what a test left running, failing it."""
    yield
    vivos = psutil.wait_procs(psutil.Process().children(recursive=True), timeout=5)[1]
    for processo in vivos:
        processo.kill()
    assert [processo.name() for processo in vivos] == []
