# The end-to-end tests' fixtures, and the writer of the desktop game's
# reference pictures, which every build is compared with.
import numpy
import pytest
from PIL import Image

# Failures in the harness say what they compared, as the tests' own do.
pytest.register_assert_rewrite("jogador")
from jogador import (CAMINHAO, REFERENCIAS, Jogo, Navegador, Pads, ganhou, le_png,  # noqa: E402
                     produto, relogio, sem_caminhao, serve, servidor_x)


def pytest_addoption(parser):
    parser.addoption("--referencias", action="store_true",
                     help="write tests/referencias/ anew from the desktop game, then test")


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
    with servidor_x(pasta) as servidor:
        jogo = Jogo(servidor, pasta, produto("test/src/zandrel"), **relogio(pasta))

        def aperta(*teclas):
            jogo.teclas(*teclas)
            jogo.quadros(2)
        julgas = {"inicio": caminhao_no_meio, "alto": sem_caminhao, "baixo": sem_caminhao,
                  "fim": lambda foto: "" if ganhou(foto) else "the frog never crossed"}
        fotos = jogo.percorre(julgas, aperta)
        jogo.esc()
    for nome, foto in fotos.items():
        Image.fromarray(foto).save(REFERENCIAS / f"{nome}.png")


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
    jogos = []
    with servidor_x(tmp_path) as servidor:
        def abre(*comando, **env):
            jogo = Jogo(servidor, tmp_path, *comando, **env)
            jogos.append(jogo)
            return jogo
        try:
            yield abre
        finally:
            for jogo in jogos:
                jogo.processo.kill()


@pytest.fixture
def abre_navegador(tmp_path):
    """abre_navegador(*options, metricas=None, env=None) starts Chromium (jogador.Navegador).
    The test fails if a page logged an error or a warning; every browser ends with it."""
    navegadores = []

    def abre(*opcoes, **chaves):
        navegador = Navegador(tmp_path, *opcoes, **chaves)
        navegadores.append(navegador)
        return navegador
    try:
        yield abre
        erros = [registro["message"] for navegador in navegadores
                 for registro in navegador.driver.get_log("browser")
                 if registro["level"] in {"WARNING", "SEVERE"}]
        assert erros == [], "the page's console"
    finally:
        for navegador in navegadores:
            navegador.fecha()


@pytest.fixture
def endereco():
    """The page's address, served over HTTP from the folder it was built in."""
    site = serve(produto("web"))
    yield site.url + "index.html"
    site.shutdown()


@pytest.fixture
def pads():
    """Pads to plug in (jogador.Pads); all gone with the test."""
    bancada = Pads()
    yield bancada
    bancada.bancada.clear()
