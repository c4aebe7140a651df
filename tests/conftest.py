# The end-to-end tests' fixtures, and the judges of the desktop game's
# pictures, which every other build's are then compared with.
import pytest

from jogador import AMARELO, BRANCO, ESCURO, PRETO, VERDE, Jogo, Pads, Pagina, acha, produto, serve, sondas, tela

# Where each element of the picture lies: what, x and y, colour. The start
# frame; then two steps left and two floors up; then one floor down.
INICIO = [
    ("lower-edge", 10, 1, BRANCO), ("upper-edge", 20, 7, BRANCO), ("dash-at-y3", 4, 3, BRANCO),
    ("gap-at-y3", 8, 3, PRETO), ("last-dash-at-y3", 28.5, 3, BRANCO), ("dash-at-y5", 12, 5, BRANCO),
    ("gap-at-y5", 24, 5, PRETO), ("lower-verge", 20, 0.4, ESCURO), ("upper-verge", 20, 7.6, ESCURO),
    ("strip-above-verge", 20, 0.9, PRETO), ("strip-below-verge", 20, 7.1, PRETO), ("frog-body", 15, 1, VERDE),
    ("frog-left-eye", 14.8, 1.2, AMARELO), ("frog-right-eye", 15.2, 1.2, AMARELO), ("building", 3.5, 8.5, BRANCO),
    ("below-roof", 3.5, 9.9, BRANCO), ("window-1-sill", 2.5, 9.3, PRETO), ("window-1-glass", 2.5, 9.55, BRANCO),
    ("window-2-side", 4, 9.55, PRETO), ("window-2-glass", 4.5, 9.55, BRANCO), ("above-roof", 3.5, 10.3, PRETO),
    ("left-of-road", 0.5, 0.4, PRETO), ("left-of-edge", 0.5, 1, PRETO), ("right-of-road", 29.5, 7, PRETO),
    ("right-of-verge", 29.5, 0.4, PRETO),
]
ALTO = [("frog-body", 13, 1, VERDE), ("edge-where-the-frog-was", 15.5, 1, BRANCO), ("floor-2-sill", 2.5, 10.3, PRETO),
        ("floor-2-glass", 2.5, 10.55, BRANCO), ("floor-3-glass", 4.5, 11.55, BRANCO), ("floor-3-top", 4.5, 11.8, PRETO),
        ("below-roof", 3.5, 11.9, BRANCO), ("above-roof", 3.5, 12.3, PRETO)]
BAIXO = [("frog-body", 13, 1, VERDE), ("floor-2-glass", 2.5, 10.55, BRANCO), ("below-roof", 3.5, 10.9, BRANCO),
         ("floor-3-unseen", 4.5, 11.55, PRETO), ("above-roof", 3.5, 11.3, PRETO)]


def vitoria(f):
    # The message, from (9.2, 6) on its baseline, and nothing else.
    n, x0, _, y0, y1 = acha(f, BRANCO)
    if not (n > 500 and 9.15 <= x0 <= 9.6 and 5.8 <= y0 <= 6.1 and y1 <= 7):
        return f"no message at (9.2, 6): {n} white pixels from x {x0:.2f}, y {y0:.2f} to {y1:.2f}"
    return "" if n + acha(f, PRETO)[0] == f.shape[0] * f.shape[1] else "more than the message"


# The desktop game's pictures on the walk, each judged as it comes.
JUIZES = {"inicio": sondas(INICIO), "alto": sondas(ALTO), "baixo": sondas(BAIXO), "fim": vitoria}


@pytest.fixture
def jogo(tmp_path):
    # Starts games on the test's own X server, which ends with the test.
    x, jogos = tela(tmp_path), []
    yield lambda *comando, **env: jogos.append(Jogo(x, tmp_path, *comando, **env)) or jogos[-1]
    for j in jogos:
        j.processo.kill()
    x.xvfb.kill()


@pytest.fixture(scope="session")
def mesa(tmp_path_factory):
    # What the other builds must show: the desktop game's walk.
    pasta = tmp_path_factory.mktemp("mesa")
    x = tela(pasta)
    j = Jogo(x, pasta, produto("test/src/zandrel"))
    fotos = j.percorre(lambda nome: j.mostra(JUIZES[nome], nome))
    j.esc()
    x.xvfb.kill()
    return fotos


@pytest.fixture
def navegador(tmp_path):
    # Starts pages in Chromium for the test (see jogador.Pagina); when it
    # ends, none may have logged an error or a warning.
    abertas = []
    yield lambda *opcoes, **chaves: abertas.append(Pagina(tmp_path, *opcoes, **chaves)) or abertas[-1]
    erros = [e["message"] for p in abertas for e in p.d.get_log("browser") if e["level"] in {"WARNING", "SEVERE"}]
    for p in abertas:
        p.d.quit()
    assert not erros, f"the page's console: {erros}"


@pytest.fixture
def pagina():
    # The page, over HTTP from the folder it was built in.
    s = serve(produto("web"))
    yield s.url + "index.html"
    s.shutdown()


@pytest.fixture
def pads():
    p = Pads()
    yield p
    p.bancada.clear()
