# The page in headless Chromium with SwiftShader's WebGL: it shows the desktop
# game's pictures by keys, by a pad and by touch, on screens of any density
# and any shape, and as an app it installs and plays offline. Its pictures
# are the desktop's but for a step in a channel: Mesa rounds dark green's 0.5
# to 127, SwiftShader to 128.
import shutil, subprocess, time

import numpy
import pytest
from PIL import Image

from jogador import RAIZ, VERDE, espera, igual, lighthouse, produto, serve, sondas


@pytest.mark.parametrize("densidade", [1, 2, 3])
def test_percurso(densidade, mesa, navegador, pagina):
    # From disk and served, on screens one to three times as dense, the
    # desktop's pictures, each of whose pixels is then a block. The context
    # lost and given back draws the same picture, and a density that changes
    # mid-game draws it again at the new one.
    p = navegador(f"--force-device-scale-factor={densidade}")
    p.abre(produto("web/index.html").as_uri() if densidade == 1 else pagina)
    p.percorre_igual(mesa, 1)
    p.js("(window.perda = Module.ctx.getExtension('WEBGL_lose_context')).loseContext()")
    espera(lambda: p.js("Module.ctx.isContextLost()"))
    p.js("perda.restoreContext()")
    p.mostra(igual(mesa["fim"], 1), "contexto")
    p.tela(1000, 900, densidade % 3 + 1, movel=False)
    p.mostra(igual(mesa["fim"], 1), "outra-densidade")


def test_mesa(mesa, navegador, pagina):
    # With a mouse, the page weighs 300 KiB at most, shows the keys' table and
    # no buttons, and draws each frame with one call. Esc ends the game: no
    # more frames, the page says so, and its "Play again" starts a new one.
    assert produto("web/index.html").stat().st_size <= 300 * 1024
    p = navegador()
    p.abre(pagina)
    assert p.js("getComputedStyle(controles).display == 'none' && document.querySelector('table').offsetHeight > 0")
    # Counted from the frame that the wrapping sees, in the same script, so that no frame comes between.
    antes = p.js("((c, d) => { Module.desenhos = 0; c.drawArrays = (...a) => (Module.desenhos++, d.apply(c, a)); "
                 "return Module.quadros; })(Module.ctx, Module.ctx.drawArrays)")
    p.quadros(5)
    assert p.js(f"Module.desenhos / (Module.quadros - {antes})") == 1
    p.teclas("Escape")
    espera(lambda: p.js("fim.offsetHeight"))
    antes = p.js("Module.quadros")
    # Three truck periods, in which a game still running draws three frames.
    time.sleep(0.2)
    assert p.js("Module.quadros") == antes
    assert p.js("[document.querySelector('[role=status]').innerText.trim(), document.activeElement.textContent]") == [
        "The game is over.", "Play again"]
    p.js("(window.velha = true) && document.activeElement.click()")
    espera(lambda: p.js("!window.velha && window.Module && Module.quadros > 0"))
    p.mostra(igual(mesa["inicio"], 1), "denovo")


# Pad moves and the keys each stands for, played in turn on one game: pad,
# how long each event is held in ms, the events (see Pads.mexe), the keys.
# The frog keeps out of the truck's row. In turn: the d-pad, a step a press;
# the stick, the same; each held, with no repeat; the stick short of
# half-way, or drifting, no step; just past half-way; pushed most one way;
# eased back, but not near the centre, one step; back near the centre, two;
# A hops; the shoulders; the pad unplugged and plugged in again, and beside
# it one that Chromium does not know, by its stick, hat and buttons.
PASSOS = [
    (0, 100, "a6:1 a6:1 a7:-1", "Right Right Up"), (0, 100, "a6:-1 a7:1", "Left Down"),
    (0, 100, "a0:1 a1:-1", "Right Up"), (0, 100, "a0:-1 a1:1", "Left Down"),
    (0, 600, "a6:1", "Right"), (0, 600, "a0:1", "Right"),
    (0, 100, "a0:0.45 a0=0.09 a1=-0.09 a0=0 a1=0", ""), (0, 100, "a0:0.55", "Right"),
    (0, 100, "a1=-0.4 a0=0.45 a0=0 a1=0", "Right"), (0, 100, "a0=0.6 a0=0.35 a0:0.6", "Right"),
    (0, 100, "a0=0.6 a0=0.2 a0:0.6", "Right Right"), (0, 100, "b0:1", "Up"), (0, 100, "b5:1 b5:1 b4:1", "w w s"),
    (0, 0, "tira", ""), (0, 0, "liga", ""), (1, 0, "liga outro", ""), (0, 100, "a6:-1", "Left"),
    (1, 100, "b0:1 a0:1 b5:1", "Up Right w"), (1, 100, "a7:1 a6:-1 b4:1", "Down Left s"),
]


def test_pads(pads, navegador, pagina):
    # With a pad plugged in before the page opens, each of PASSOS gives its
    # keys' picture; Start fills the screen, and with no pad left the page
    # reads none.
    pads.liga(0)
    p = navegador(env=pads.env)
    p.abre(pagina)
    fotos = [p.teclas(*teclas.split()) or p.quadros() or p.foto() for *_, teclas in PASSOS]
    p.abre(pagina)
    for i, (n, ms, eventos, _) in enumerate(PASSOS):
        if eventos.startswith("liga"):
            pads.liga(n, *eventos.split()[1:])
        elif eventos == "tira":
            pads.tira(n)
        else:
            pads.mexe(n, eventos, ms)
        p.mostra(igual(fotos[i]), f"passo{i}")
    pads.mexe(0, "b7:1")
    espera(lambda: p.js("document.fullscreenElement"))
    pads.tira(0)
    pads.tira(1)
    espera(lambda: p.js("![...navigator.getGamepads()].some(Boolean)"))
    p.quadros()
    p.js("(g => { Module.lidos = 0; navigator.getGamepads = () => (Module.lidos++, g()); })"
         "(navigator.getGamepads.bind(navigator))")
    p.quadros(3)
    assert p.js("Module.lidos") == 0


# What keeps the game and its buttons from fitting the screen with nothing to
# scroll: the game at least half the largest picture that would fit, the
# buttons 44 pixels or more, beside it when turned and below it when upright;
# or a swipe, a double tap or a long press that scrolled, zoomed or selected.
CABE = """[...document.querySelectorAll('canvas, button')].map(b => {
  let v = innerWidth, a = innerHeight, r = b.getBoundingClientRect(), c = canvas.getBoundingClientRect();
  return r.left < 0 || r.top < 0 || r.right > v || r.bottom > a ? b.textContent + ' off the screen'
    : b == canvas ? (r.width*r.height*2 < 690*530 * Math.min(v/690, a/530)**2 ? 'a small game' : '')
    : r.width < 44 || r.height < 44 ? b.textContent + ' small'
    : (v > a ? r.left < c.right : r.top < c.bottom) ? b.textContent + ' not beside or below the game' : '';
}).concat(scrollX || scrollY || visualViewport.scale != 1 || getSelection() + '' ? 'moved by a gesture' : '',
  document.body.scrollWidth > innerWidth || document.body.scrollHeight > innerHeight ? 'scrolls' : '')
  .filter(Boolean).join(', ')"""


def test_telefone(mesa, navegador):
    # On phones and tablets, by touch: a tap hops the frog; on four screens,
    # upright and turned, the game and its buttons fit; a flood of taps, a
    # long press, swipes, the buttons and keys, each round of which leaves
    # the game as it was, neither scrolls, zooms nor selects, nor leaves the
    # page's heap larger; then, on a phone whose game is the desktop's size,
    # swipes, taps and the buttons walk the desktop's pictures; and the full
    # screen button fills the screen with the game.
    p = navegador(metricas={"width": 690, "height": 900, "pixelRatio": 1, "touch": True})
    p.abre(produto("web/index.html").as_uri())
    p.toque()
    p.mostra(sondas([("frog-after-a-tap", 15, 2, VERDE)]), "toque")
    p.dedos("Down")
    # The heap in use once the garbage is collected.
    heap = lambda: p.cdp("HeapProfiler.collectGarbage") or p.cdp("Runtime.getHeapUsage")["usedSize"]  # noqa: E731
    antes = heap()
    for tela in [(390, 844), (844, 390), (640, 360), (820, 1180)]:
        p.tela(*tela)
        p.toque(ms=800)
        p.dedos("Down")
        for _ in range(3):
            p.toque()
            p.teclas("Up")
            p.dedos("Down", "Down", "w", "s", "Left", "Right")
            p.teclas("Left", "Right")
        assert p.js(CABE) == "", tela
    assert heap() - antes < 2**20
    p.tela(690, 900)
    p.percorre_igual(mesa, 1, p.dedos)
    p.toque("[data-key=f]")
    espera(lambda: p.js("document.fullscreenElement && canvas.width == screen.width"))


def test_app(navegador, tmp_path):
    # The page as an app, served from localhost: it can be installed; after
    # one visit it plays offline as online; a new build served at the same
    # address reaches the next visit, and only its cache is left. Its maskable
    # icon's frog lies within the safe zone, a circle of 40 % of the icon.
    icone = numpy.asarray(Image.open(produto("web/app/icon-maskable-512.png")).convert("RGB"))
    y, x = numpy.ogrid[:512, :512]
    assert not icone[(x-256)**2 + (y-256)**2 > 204**2].any()
    shutil.copytree(produto("web/app"), tmp_path / "site")
    s, p = serve(tmp_path / "site"), navegador()
    p.abre(s.url)
    espera(lambda: p.js("navigator.serviceWorker.controller"))
    assert p.cdp("Page.getInstallabilityErrors") == {"installabilityErrors": []}
    online = p.foto()
    s.shutdown()
    s.server_close()
    p.d.refresh()
    espera(lambda: p.js("window.Module && Module.quadros > 0"))
    p.mostra(igual(online), "recarregada")
    p.d.get("about:blank")
    p.abre(s.url)
    p.mostra(igual(online), "visitada")

    caches = "caches.keys().then(arguments[0])"
    velhos, nova = p.d.execute_async_script(caches), tmp_path / "nova.html"
    nova.write_text(produto("web/index.html").read_text().replace("<title>Zandrel<", "<title>Zandrel, anew<"))
    shutil.rmtree(tmp_path / "site")
    subprocess.run(["cmake", f"-DPAGINA={nova}", f"-DWEB={RAIZ}/web", f"-DICONE={RAIZ}/data/zandrel.svg",
                    "-DRSVG=rsvg-convert", f"-DAVISOS={produto('web/app/LICENSE.txt')}", f"-DSAIDA={tmp_path}/site",
                    "-P", RAIZ / "web/app/app.cmake"], check=True)
    s = serve(tmp_path / "site", s.server_address[1])
    p.abre(s.url)
    espera(lambda: len(c := p.d.execute_async_script(caches)) == 1 and c != velhos)
    p.d.get("about:blank")
    p.abre(s.url)
    assert p.d.title == "Zandrel, anew"
    s.shutdown()


def test_sem_webgl(navegador, pagina):
    # Without WebGL, from disk and served: a message where the game was.
    p = navegador("--disable-3d-apis")
    for url in [produto("web/index.html").as_uri(), pagina]:
        p.d.get(url)
        espera(lambda: p.js("!semgl.hidden && getComputedStyle(jogo).display == 'none'"))


@pytest.mark.parametrize("preset", ["mobile", "desktop"])
def test_lighthouse(preset):
    # Lighthouse scores the app in full for accessibility, best practices and
    # SEO, as a phone and as a desktop.
    s = serve(produto("web/app"))
    notas = lighthouse(s.url, preset, "accessibility,best-practices,seo")
    s.shutdown()
    assert set(notas.values()) == {1}, notas
