# The page in headless Chromium with SwiftShader's WebGL: it shows the desktop
# game's pictures by keys, by a pad and by touch, on screens of any density
# and any shape, and as an app it installs and plays offline. Its pictures
# are the desktop's but for a step in a channel, where Mesa and SwiftShader
# round a 0.5 each its own way.
import shutil, time

import numpy
import pytest

from jogador import (RAIZ, TELEFONE, espera, igual, iguais, le_png, lighthouse, produto, roda,
                     serve)


@pytest.mark.parametrize("densidade", [1, 2, 3])
def test_percurso(densidade, referencias, abre_navegador, endereco):
    # From disk and served, on screens one to three times as dense, the
    # reference pictures, each of whose pixels is then a block. The context
    # lost and given back draws the same picture, and a density that changes
    # mid-game draws it again at the new one.
    navegador = abre_navegador(f"--force-device-scale-factor={densidade}")
    navegador.abre(produto("web/index.html").as_uri() if densidade == 1 else endereco)
    julgas = iguais(referencias, 1)
    if densidade > 1:
        # A picture this large takes a second: the truck, which shows where the
        # start frame has it one time in eleven, is left to density 1.
        julgas["inicio"] = igual(referencias["inicio"], 1, faixa=False)
    navegador.percorre(julgas)
    navegador.js("window.perda = Module.ctx.getExtension('WEBGL_lose_context'); "
                 "perda.loseContext();")
    espera(lambda: navegador.js("return Module.ctx.isContextLost()"), "the context lost")
    navegador.js("perda.restoreContext();")
    navegador.mostra(julgas["fim"], "contexto")
    navegador.tela(1000, 900, densidade % 3 + 1, movel=False)
    navegador.mostra(julgas["fim"], "outra-densidade")


# Counts the page's calls of a method, given as the path of its object from
# window and its name, in Module.chamadas from now on; returns the frames
# shown so far, read in the same script, so that no frame comes between.
CONTA = """
const dono = arguments[0].split('.').reduce((objeto, nome) => objeto[nome], window);
const chama = dono[arguments[1]].bind(dono);
Module.chamadas = 0;
dono[arguments[1]] = (...argumentos) => { Module.chamadas++; return chama(...argumentos); };
return Module.quadros;
"""


def test_com_mouse(referencias, abre_navegador, endereco):
    # With a mouse, the page weighs 300 KiB at most, and shows what
    # docs/web.png shows: the game, the keys' table and no buttons. It draws
    # each frame with one call. Esc ends the game: no more frames, the page
    # says so, and its "Play again" starts a new one.
    assert produto("web/index.html").stat().st_size <= 300 * 1024
    navegador = abre_navegador()
    navegador.abre(endereco)
    navegador.mostra(igual(le_png(RAIZ / "docs/web.png")), "web", css="body")
    antes = navegador.js(CONTA, "Module.ctx", "drawArrays")
    navegador.quadros(5)
    assert navegador.js("return Module.chamadas / (Module.quadros - arguments[0])", antes) == 1
    navegador.teclas("Escape")
    espera(lambda: navegador.js("return fim.offsetHeight"), "the end said")
    antes = navegador.contados()
    # Three truck periods, in which a game still running draws three frames.
    time.sleep(0.2)
    assert navegador.contados() == antes
    estado = navegador.js("return document.querySelector('[role=status]').innerText")
    assert estado.strip() == "The game is over."
    assert navegador.js("return document.activeElement.textContent") == "Play again"
    navegador.js("window.velha = true; document.activeElement.click();")
    espera(lambda: navegador.js("return !window.velha && window.Module && Module.quadros > 0"),
           "a new game")
    navegador.mostra(igual(referencias["inicio"], 1), "denovo")


def test_pads(pads, abre_navegador, endereco):
    # With a pad plugged in before the page opens, each of PASSOS (in
    # jogador.py) gives its keys' picture, the truck's lane aside; Start fills
    # the screen, and with no pad left the page reads none.
    pads.liga(0)
    navegador = abre_navegador(env=pads.navegador())
    navegador.abre(endereco)
    fotos = navegador.fotos_dos_passos()
    navegador.abre(endereco)
    navegador.passos(pads, fotos)
    pads.mexe(0, "b7:1")
    espera(lambda: navegador.js("return document.fullscreenElement"), "the screen filled")
    pads.tira(0)
    pads.tira(1)
    espera(lambda: navegador.js("return !Array.from(navigator.getGamepads()).some(Boolean)"),
           "no pad")
    navegador.quadros()
    navegador.js(CONTA, "navigator", "getGamepads")
    navegador.quadros(3)
    assert navegador.js("return Module.chamadas") == 0


# What the page shows on a phone or a tablet: the screen's size, the game's
# box and the buttons', and what a gesture may have scrolled, zoomed or
# selected.
MEDIDAS = """
return {
  tela: [innerWidth, innerHeight],
  jogo: canvas.getBoundingClientRect(),
  botoes: Array.from(document.querySelectorAll('button'), (b) => b.getBoundingClientRect()),
  movida: [scrollX, scrollY, visualViewport.scale, String(getSelection())],
  pagina: [document.body.scrollWidth, document.body.scrollHeight],
};
"""


def cabe(medidas):
    # The game and its buttons fit the screen: the game at least half the
    # largest picture that would fit, the buttons 44 pixels or more, below it
    # when upright and beside it when turned; nothing scrolls, and no gesture
    # has scrolled, zoomed or selected.
    largura, altura = medidas["tela"]
    jogo = medidas["jogo"]
    for caixa in [jogo, *medidas["botoes"]]:
        assert 0 <= caixa["left"] and caixa["right"] <= largura, caixa
        assert 0 <= caixa["top"] and caixa["bottom"] <= altura, caixa
    assert jogo["width"] * jogo["height"] * 2 >= 690 * 530 * min(largura / 690, altura / 530) ** 2
    for botao in medidas["botoes"]:
        assert min(botao["width"], botao["height"]) >= 44, botao
        if largura > altura:
            assert botao["left"] >= jogo["right"], botao
        else:
            assert botao["top"] >= jogo["bottom"], botao
    assert medidas["pagina"][0] <= largura and medidas["pagina"][1] <= altura
    assert medidas["movida"] == [0, 0, 1, ""]


def test_telefone(referencias, abre_navegador):
    # On phones and tablets, by touch. Held upright, a phone shows what
    # docs/phone.png shows. On four screens, upright and turned, the game and
    # its buttons fit; a flood of taps, a long press, swipes, the buttons and
    # keys, each round of which leaves the game as it was, neither scrolls,
    # zooms nor selects, nor leaves the page's heap larger. On a phone whose
    # game is the desktop's size, taps hop the frog, and they, swipes and the
    # buttons walk the reference pictures; the full screen button fills the
    # screen with the game, and Esc then ends the game, in full screen: a
    # key sent by DevTools reaches the page alone, not the browser, which
    # takes a real Esc to leave full screen.
    navegador = abre_navegador(metricas=TELEFONE)
    navegador.abre(produto("web/index.html").as_uri())
    navegador.mostra(igual(le_png(RAIZ / "docs/phone.png")), "phone", css="body")

    def heap():
        # The page's heap in use once its garbage is collected.
        navegador.cdp("HeapProfiler.collectGarbage")
        return navegador.cdp("Runtime.getHeapUsage")["usedSize"]
    antes = heap()
    for largura, altura in [(390, 844), (844, 390), (640, 360), (820, 1180)]:
        navegador.tela(largura, altura)
        navegador.toque(ms=800)
        navegador.dedos("Down")
        for _ in range(3):
            navegador.dedos("Up")
            navegador.teclas("Up")
            navegador.dedos("Down", "Down", "w", "s", "Left", "Right")
            navegador.teclas("Left", "Right")
        cabe(navegador.js(MEDIDAS))
    assert heap() - antes < 2**20
    navegador.tela(690, 900)
    navegador.percorre(iguais(referencias, 1), navegador.dedos)
    navegador.toque("[data-key=f]")
    cheia = "return document.fullscreenElement && canvas.width == screen.width"
    espera(lambda: navegador.js(cheia), "the game filling the screen")
    navegador.teclas("Escape")
    fim = "return fim.offsetHeight && document.fullscreenElement"
    espera(lambda: navegador.js(fim), "the end, in full screen")


def test_app(referencias, abre_navegador, tmp_path):
    # The page as an app, served from localhost: it can be installed; after
    # one visit it plays offline as online, the whole walk; a new build served
    # at the same address reaches the next visit, and only its cache is left.
    # Its maskable icon's frog lies within the safe zone, a circle of 40 % of
    # the icon.
    icone = le_png(produto("web/app/icon-maskable-512.png"))
    y, x = numpy.ogrid[:512, :512]
    assert not icone[(x - 256) ** 2 + (y - 256) ** 2 > 204 ** 2].any()
    shutil.copytree(produto("web/app"), tmp_path / "site")
    navegador = abre_navegador()
    with serve(tmp_path / "site") as site:
        navegador.abre(site.url)
        espera(lambda: navegador.js("return navigator.serviceWorker.controller"), "the worker")
        assert navegador.cdp("Page.getInstallabilityErrors") == {"installabilityErrors": []}
    navegador.abre(site.url)
    navegador.percorre(iguais(referencias, 1))
    velhos = navegador.js("return caches.keys()")
    nova = tmp_path / "nova.html"
    pagina = produto("web/index.html").read_text()
    nova.write_text(pagina.replace("<title>Zandrel<", "<title>Zandrel, anew<"))
    shutil.rmtree(tmp_path / "site")
    roda("cmake", f"-DPAGINA={nova}", f"-DWEB={RAIZ}/web", f"-DICONE={RAIZ}/data/zandrel.svg",
         "-DRSVG=rsvg-convert", f"-DAVISOS={produto('web/app/LICENSE.txt')}",
         f"-DSAIDA={tmp_path}/site", "-P", RAIZ / "web/app/app.cmake")

    def renovados():
        nomes = navegador.js("return caches.keys()")
        return len(nomes) == 1 and nomes != velhos
    with serve(tmp_path / "site", site.server_address[1]) as site:
        navegador.abre(site.url)
        espera(renovados, "the old cache alone replaced")
        navegador.abre(site.url)
        assert navegador.driver.title == "Zandrel, anew"


def test_sem_webgl(abre_navegador):
    # Without WebGL: a message where the game was.
    navegador = abre_navegador("--disable-3d-apis")
    navegador.driver.get(produto("web/index.html").as_uri())
    mensagem = "return !semgl.hidden && getComputedStyle(jogo).display == 'none'"
    espera(lambda: navegador.js(mensagem), "the message")


@pytest.mark.parametrize("preset", ["mobile", "desktop"])
def test_lighthouse(preset):
    # Lighthouse scores the app in full for accessibility, best practices and
    # SEO, as a phone and as a desktop.
    with serve(produto("web/app")) as site:
        notas = lighthouse(site.url, preset, "accessibility,best-practices,seo")
    assert set(notas.values()) == {1}, notas
