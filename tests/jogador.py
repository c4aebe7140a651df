# What the end-to-end tests play the builds with and judge them by: a private
# X server and the game's window on it, the page in Chromium, pads that
# umockdev fakes, and judges of pictures. `make screenshots` and `make bench`
# play with it too. A picture is a numpy array of rows of RGB pixels; a judge
# is a function of a picture that says what is wrong with it, "" if nothing.
import collections, contextlib, functools, http.server, io, itertools, json, os, pathlib, re
import select, struct, subprocess, threading, time, tty

import gi
import numpy
import psutil
from PIL import Image
from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.keys import Keys
from Xlib import X, XK, display, error
from Xlib.ext import xtest
from Xlib.protocol import event

RAIZ = pathlib.Path(__file__).resolve().parent.parent
# Where `make test` built what the tests play: its BUILD.
BUILD = pathlib.Path(os.environ.get("ZANDREL_BUILD", RAIZ / "build"))
# The desktop game's pictures on the walk, which every build must show.
REFERENCIAS = RAIZ / "tests/referencias"
# A phone held upright, as ChromeDriver's mobile emulation makes it.
TELEFONE = {"width": 390, "height": 844, "pixelRatio": 1, "touch": True}
# The frog's green, which only the playing frame has, and the truck's, whose
# 0.5 GLs round to 127 or to 128.
SAPO, CAMINHAO = (0, 255, 0), (128, 255, 0)
MAGENTA = numpy.array([255, 0, 255], "uint8")


def produto(caminho):
    # A file that `make test` builds before the tests run.
    arquivo = BUILD / caminho
    assert arquivo.exists(), f"no {arquivo}: `make test` builds it"
    return arquivo


def ate(condicao, segundos=10):
    # Asks until condicao gives something true, and returns it, or what it
    # gave last once the time is up.
    fim = time.monotonic() + segundos
    while not (resposta := condicao()) and time.monotonic() < fim:
        time.sleep(0.05)
    return resposta


def espera(condicao, oque, segundos=10):
    # The same, failing once the time is up, with what it waited for.
    resposta = ate(condicao, segundos)
    assert resposta, f"not so in {segundos} s: {oque}"
    return resposta


def ambiente(**mais):
    # What the game and the tools run with: the tests' environment, less
    # umockdev's preload, which only a browser that sees pads needs, and with
    # Mesa's software GL, as there is no GPU.
    env = {nome: valor for nome, valor in os.environ.items() if nome != "LD_PRELOAD"}
    return dict(env, LIBGL_ALWAYS_SOFTWARE="1", **mais)


def encerra(processo):
    # Ends a process (a subprocess.Popen) and every process it started, even
    # those in sessions of their own, and waits for it. What outlives it comes
    # back to pytest, the tests' subreaper (conftest.py).
    if processo.poll() is None:
        for membro in psutil.Process(processo.pid).children(recursive=True):
            with contextlib.suppress(psutil.NoSuchProcess):
                membro.kill()
        processo.kill()
    processo.wait()


def roda(*comando, status=0, segundos=120, **env):
    # Runs a command, which must end with status, and returns what it
    # printed; if it does not, the caller fails, with what it printed. One
    # still running after segundos is ended, with all it started, and fails
    # the caller with what it printed so far. With env, its whole environment.
    processo = subprocess.Popen(comando, env=env or None, stdout=subprocess.PIPE,
                                stderr=subprocess.STDOUT, text=True)
    try:
        saida = processo.communicate(timeout=segundos)[0]
    except subprocess.TimeoutExpired:
        encerra(processo)
        saida = processo.communicate()[0] + f"\n(ended after {segundos} s)"
    finally:
        encerra(processo)
    assert processo.returncode == status, f"{comando} ended with {processo.returncode}:\n{saida}"
    return saida


def relogio(pasta):
    # The variables that preload tests/relogio.cpp into a game of this
    # machine's, which writes its frames and truck ticks into pasta.
    return {"LD_PRELOAD": str(produto("test/tests/librelogio.so")),
            "ZANDREL_RELOGIO": str(pasta / "relogio.txt")}


def le_png(caminho):
    return numpy.asarray(Image.open(caminho).convert("RGB"))


def ganhou(foto):
    # The victory frame is the one without a frog.
    return not (foto == SAPO).all(2).any()


def sem_caminhao(foto):
    # A judge: the truck out of sight, at one of the three places where it
    # is, whose pictures are one.
    pixels = (abs(foto.astype(int) - CAMINHAO).max(2) <= 1).sum()
    return f"{pixels} pixels of the truck" if pixels else ""


def igual(ref, limite=0, faixa=True):
    # A judge: what keeps a picture from being ref, but for limite in a
    # channel. From a screen k times as dense, k times ref's size, each of its
    # k x k blocks of one colour must be ref's pixel there, and none of its
    # pixels a colour that ref lacks, as smoothing makes. Without faixa the
    # truck's lane is left out, for two pictures of the truck at any place.
    # Its evidence marks the very pixels that it counted, in magenta on the
    # picture darkened.
    paleta = numpy.unique(ref.reshape(-1, 3), axis=0).astype(int)

    def julga(foto):
        k = foto.shape[1] // ref.shape[1]
        if not k or foto.shape != (ref.shape[0] * k, ref.shape[1] * k, 3):
            return f"a picture of {foto.shape[:2]}, not a multiple of {ref.shape[:2]}"
        # Each pixel of a block of one colour judged against ref's; a colour
        # that ref lacks is looked for among the other blocks' pixels, which
        # are few, and marked wherever it is.
        grande = ref.repeat(k, 0).repeat(k, 1)
        blocos = foto.reshape(ref.shape[0], k, ref.shape[1], k, 3)
        mistos = ~(blocos == blocos[:, :1, :, :1]).all((1, 3, 4)).repeat(k, 0).repeat(k, 1)
        maus = ~mistos & (abs(grande.astype("int16") - foto).max(2) > limite)
        for cor in numpy.unique(foto[mistos], axis=0):
            if abs(paleta - cor).max(1).min() > limite:
                maus |= (foto == cor).all(2)
        if not faixa:
            maus[363 * k:414 * k] = False
        julga.evidencia = lambda: {"ref": grande,
                                   "diff": numpy.where(maus[..., None], MAGENTA, foto // 4)}
        return f"{maus.sum()} pixels differ by over {limite}" if maus.any() else ""
    return julga


def iguais(referencias, limite=0):
    # A judge for each picture of the walk, by its name.
    return {nome: igual(foto, limite) for nome, foto in referencias.items()}


class Alvo:
    # What a test plays and looks at, a window or a page: teclas(*keys)
    # presses keys, by X's names, and foto() is its picture now. The pictures
    # that judges find fault with are kept under pasta.
    def mostra(self, julga, nome, segundos=30, **como):
        # Takes pictures (self.foto(**como)) until julga finds nothing wrong
        # with one, and returns it. Else fails with what julga found, keeping
        # the last picture as NOME.png, and beside it julga's evidence of it
        # as NOME-ref.png and NOME-diff.png.
        fim = time.monotonic() + segundos
        foto = self.foto(**como)
        erro = julga(foto)
        while erro and time.monotonic() < fim:
            time.sleep(0.02)
            foto = self.foto(**como)
            erro = julga(foto)
        if erro:
            caminho = self.pasta / nome
            Image.fromarray(foto).save(f"{caminho}.png")
            for sufixo, imagem in getattr(julga, "evidencia", dict)().items():
                Image.fromarray(imagem).save(f"{caminho}-{sufixo}.png")
            raise AssertionError(f"{nome}: {erro}: see {caminho}*.png")
        return foto

    def quadros(self, n=2):
        # Waits until n more frames have been shown, as contados() counts
        # them: the last shows every key given before.
        antes = self.contados()
        espera(lambda: self.contados() >= antes + n, f"{n} more frames")

    def atravessa(self, aperta):
        # Six steps up cross the road, unless the truck meets the frog in its
        # lane and sends it back: then back down to the start row, and again.
        for _ in range(10):
            aperta(*["Up"] * 6)
            if ate(lambda: ganhou(self.foto()), 3):
                return
            aperta(*["Down"] * 6)

    def percorre(self, julgas, aperta=None):
        # The walk that every build is judged by, by keys unless told: the
        # start frame; two steps left and two floors up; a floor down; across
        # the road, the victory frame. Each picture once julgas[its name]
        # passes it; they are returned by name.
        aperta = aperta or self.teclas
        fotos = {}
        for nome, teclas in [("inicio", ""), ("alto", "Left Left w w"), ("baixo", "s")]:
            aperta(*teclas.split())
            fotos[nome] = self.mostra(julgas[nome], nome)
        self.atravessa(aperta)
        fotos["fim"] = self.mostra(julgas["fim"], "fim")
        return fotos

    def fotos_dos_passos(self):
        # The picture after each of PASSOS, played by its keys.
        fotos = []
        for *_, teclas in PASSOS:
            self.teclas(*teclas.split())
            self.quadros()
            fotos.append(self.foto())
        return fotos

    def passos(self, pads, fotos):
        # Each of PASSOS played on pads, each giving its keys' picture, which
        # fotos_dos_passos took, the truck's lane aside.
        for passo, (pad, ms, eventos, _) in enumerate(PASSOS):
            if eventos.startswith("liga"):
                pads.liga(pad, *eventos.split()[1:])
            elif eventos == "tira":
                pads.tira(pad)
            else:
                pads.mexe(pad, eventos, ms)
            self.mostra(igual(fotos[passo], faixa=False), f"passo{passo}")


@contextlib.contextmanager
def servidor_x(pasta):
    # A private Xvfb, on a display of its own choice so that tests run side
    # by side; it writes the display's number and a new line once it takes
    # clients. It ends with the block.
    ler, escrever = os.pipe()
    with open(pasta / "xvfb.txt", "wb") as registro:
        xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(escrever), "-nolisten", "tcp", "-screen",
                                 "0", "1280x1024x24"], pass_fds=[escrever], stderr=registro)
    os.close(escrever)
    try:
        with os.fdopen(ler) as leitura:
            numero = leitura.readline().strip() if select.select([leitura], [], [], 30)[0] else ""
        assert numero, f"no Xvfb in 30 s: {pasta}/xvfb.txt"
        with contextlib.closing(display.Display(":" + numero)) as servidor:
            servidor.env = ambiente(DISPLAY=":" + numero)
            yield servidor
    finally:
        encerra(xvfb)


def janela(raiz):
    # The window named Zandrel that shows, if any: with no window manager, a
    # program's window is the root's child.
    for filha in raiz.query_tree().children:
        # A window may be gone while it is asked about.
        with contextlib.suppress(error.XError):
            visivel = filha.get_attributes().map_state == X.IsViewable
            if filha.get_wm_name() == "Zandrel" and visivel:
                return filha
    return None


class Jogo(Alvo):
    # The game started on servidor by a command, with these further
    # variables: its window focused once it shows, and its first frame, which
    # under emulation comes seconds later. The command may be a launcher that
    # ends with 0 once the game has started. What it prints goes to saida.
    # close() ends it, and all it started, if it has not ended.
    def __init__(self, servidor, pasta, *comando, **env):
        self.servidor, self.pasta, self.env = servidor, pasta, env
        self.saida = pasta / f"saida-{len(list(pasta.glob('saida-*')))}.txt"
        with self.saida.open("wb") as saida:
            self.processo = subprocess.Popen(comando, env=dict(servidor.env, **env),
                                             stdout=saida, stderr=saida)

        def mostrou():
            assert self.processo.poll() in (None, 0), f"{comando} ended: {self.saida.read_text()}"
            return janela(servidor.screen().root)
        try:
            self.janela = espera(mostrou, f"a window of {comando}", 30)
            servidor.set_input_focus(self.janela, X.RevertToParent, X.CurrentTime)
            espera(lambda: self.foto().any(), "the game's first frame", 30)
        except BaseException:
            self.close()
            raise

    def close(self):
        encerra(self.processo)

    def teclas(self, *nomes):
        # Real key presses, through XTest, to the focused window.
        for nome in nomes:
            codigo = self.servidor.keysym_to_keycode(XK.string_to_keysym(nome))
            xtest.fake_input(self.servidor, X.KeyPress, codigo)
            xtest.fake_input(self.servidor, X.KeyRelease, codigo)
        self.servidor.sync()

    def foto(self):
        # The window's picture, while it lies wholly on the screen.
        geometria = self.janela.get_geometry()
        dados = self.janela.get_image(0, 0, geometria.width, geometria.height, X.ZPixmap,
                                      0xFFFFFFFF).data
        tamanho = (geometria.width, geometria.height)
        return numpy.asarray(Image.frombytes("RGB", tamanho, dados, "raw", "BGRX"))

    def eventos(self):
        # What tests/relogio.cpp wrote, preloaded with relogio(): "tique MS"
        # for each period asked of the toolkit's timer, "quadro" for each frame.
        return pathlib.Path(self.env["ZANDREL_RELOGIO"]).read_text().splitlines()

    def contados(self):
        return self.eventos().count("quadro")

    def esc(self):
        # Esc ends the game at once, with status 0.
        assert self.processo.poll() is None, "the game ended before Esc"
        self.teclas("Escape")
        self.termina()

    def termina(self):
        # The game ends within 10 s, with 0; else fails with what it printed.
        ate(lambda: self.processo.poll() is not None)
        assert self.processo.returncode == 0, self.saida.read_text()

    def fecha(self):
        # Closed as a window manager closes a window, the game ends with 0.
        protocolos = self.servidor.intern_atom("WM_PROTOCOLS")
        apaga = self.servidor.intern_atom("WM_DELETE_WINDOW")
        self.janela.send_event(event.ClientMessage(window=self.janela, client_type=protocolos,
                                                   data=(32, [apaga, X.CurrentTime, 0, 0, 0])))
        self.servidor.flush()
        self.termina()


class Navegador(Alvo):
    # Headless Chromium with software WebGL and none of the background traffic
    # that a closed network refuses (ChromeDriver turns off the rest of it),
    # in a new profile, with these further options; with metricas, a phone's
    # screen in ChromeDriver's mobile emulation. Its pictures are the canvas.
    # driver.quit() ends it; what a hung browser leaves, the tests' guard ends.
    def __init__(self, pasta, *opcoes, metricas=None, env=None):
        self.pasta = pasta
        chrome = webdriver.ChromeOptions()
        chrome.binary_location = "/usr/bin/chromium"
        for opcao in ["--headless=new", "--use-angle=swiftshader", "--enable-unsafe-swiftshader",
                      "--window-size=1000,900", "--disable-component-update", "--disable-quic",
                      "--no-sandbox", *opcoes]:
            chrome.add_argument(opcao)
        if metricas:
            chrome.add_experimental_option("mobileEmulation", {"deviceMetrics": metricas})
        chrome.set_capability("goog:loggingPrefs", {"browser": "ALL"})
        servico = Service("/usr/bin/chromedriver", env=env or ambiente())
        self.driver = webdriver.Chrome(service=servico, options=chrome)
        # A page that does not load fails in 120 s; a script, in Selenium's 30 s.
        self.driver.set_page_load_timeout(120)

    def js(self, corpo, *argumentos):
        # Runs JavaScript statements in the page, with its arguments as
        # arguments[0], ...; what it returns comes back.
        return self.driver.execute_script(corpo, *argumentos)

    def cdp(self, comando, **argumentos):
        return self.driver.execute_cdp_cmd(comando, argumentos)

    def abre(self, url):
        # Opens the page afresh, even the one it shows, and waits for its
        # first frame.
        self.driver.get("about:blank")
        self.driver.get(url)
        espera(lambda: self.js("return window.Module && Module.quadros > 0"), f"a frame of {url}")

    def contados(self):
        return self.js("return Module.quadros")

    def teclas(self, *nomes):
        # Real key presses, through the browser to the page; X's names of
        # the others, such as Up and Escape, are Selenium's in upper case.
        for nome in nomes:
            tecla = nome if len(nome) == 1 else getattr(Keys, nome.upper())
            ActionChains(self.driver).key_down(tecla).key_up(tecla).perform()

    def foto(self, css="#canvas"):
        # An element as the page shows it, in the screen's pixels.
        png = self.driver.find_element("css selector", css).screenshot_as_png
        return numpy.asarray(Image.open(io.BytesIO(png)).convert("RGB"))

    def toque(self, css="#canvas", dx=0, dy=0, ms=0):
        # A finger on an element's centre, slid by dx, dy CSS pixels in two
        # moves, held ms, and lifted: a tap when dx and dy are 0.
        caixa = self.js("return document.querySelector(arguments[0]).getBoundingClientRect()", css)
        x = caixa["x"] + caixa["width"] / 2
        y = caixa["y"] + caixa["height"] / 2
        for tipo, parte in [("touchStart", 0), ("touchMove", 0.5), ("touchMove", 1)]:
            ponto = {"x": x + dx * parte, "y": y + dy * parte}
            self.cdp("Input.dispatchTouchEvent", type=tipo, touchPoints=[ponto])
        time.sleep(ms / 1000)
        self.cdp("Input.dispatchTouchEvent", type="touchEnd", touchPoints=[])

    def dedos(self, *nomes):
        # Keys by touch: Up as a tap on the game, which hops the frog forward,
        # the other arrows as swipes on it, characters as taps on their buttons.
        passadas = {"Up": (0, 0), "Down": (0, 60), "Left": (-60, 0), "Right": (60, 0)}
        for nome in nomes:
            if nome in passadas:
                self.toque("#canvas", *passadas[nome])
            else:
                self.toque(f"[data-key={nome}]")

    def tela(self, largura, altura, densidade=1, movel=True):
        # A screen of largura x altura CSS pixels: a phone's or a tablet's,
        # for a page started with metricas, upright when taller than wide.
        self.cdp("Emulation.setDeviceMetricsOverride", width=largura, height=altura,
                 deviceScaleFactor=densidade, mobile=movel)


@contextlib.contextmanager
def serve(pasta, porta=0):
    # Serves a folder on localhost, at site.url, with no HTTP caching, for
    # the block.
    class SemCache(http.server.SimpleHTTPRequestHandler):
        def end_headers(self):
            self.send_header("Cache-Control", "no-store")
            super().end_headers()

        def log_message(self, *_):
            # A request a line would bury the benchmark's tables.
            pass
    manipulador = functools.partial(SemCache, directory=pasta)
    with http.server.ThreadingHTTPServer(("127.0.0.1", porta), manipulador) as site:
        threading.Thread(target=site.serve_forever, daemon=True).start()
        site.url = f"http://127.0.0.1:{site.server_address[1]}/"
        try:
            yield site
        finally:
            site.shutdown()


def lighthouse(url, preset, categorias):
    # Lighthouse's scores of a page in categorias, as a phone ("mobile") or as
    # a desktop, from a headless Chromium of its own with software WebGL.
    opcoes = [f"--only-categories={categorias}", "--chrome-flags=--headless=new --no-sandbox "
              "--use-angle=swiftshader --enable-unsafe-swiftshader"]
    if preset != "mobile":
        opcoes.append(f"--preset={preset}")
    relatorio = roda("node", produto("npm/node_modules/lighthouse/cli/index.js"), url, "--quiet",
                     "--output=json", *opcoes, **ambiente(CHROME_PATH="/usr/bin/chromium"))
    notas = json.loads(relatorio)["categories"]
    return {nome: categoria["score"] for nome, categoria in notas.items()}


# Pad moves and the keys each stands for, played in turn on one game: pad,
# how long each event is held in ms, the events (see Pads.mexe), the keys.
# The frog keeps out of the truck's row. In turn: the d-pad, a step a press;
# the stick, the same; each held, with no repeat; the stick short of
# half-way, or drifting, no step; just past half-way; pushed most one way;
# eased back, but not near the centre, one step; back near the centre, two;
# A hops; a shoulder held while the d-pad steps, once each; the shoulders;
# the pad pulled out with a shoulder held, and plugged in again, that
# shoulder pressed anew; beside it one of a model that nothing knows, by its
# stick, hat and buttons.
PASSOS = [
    (0, 100, "a6:1 a6:1 a7:-1", "Right Right Up"), (0, 100, "a6:-1 a7:1", "Left Down"),
    (0, 100, "a0:1 a1:-1", "Right Up"), (0, 100, "a0:-1 a1:1", "Left Down"),
    (0, 600, "a6:1 a0:1", "Right Right"),
    (0, 100, "a0:0.45 a0=0.09 a1=-0.09 a0=0 a1=0", ""), (0, 100, "a0:0.55", "Right"),
    (0, 100, "a1=-0.4 a0=0.45 a0=0 a1=0", "Right"), (0, 100, "a0=0.6 a0=0.35 a0:0.6", "Right"),
    (0, 100, "a0=0.6 a0=0.2 a0:0.6", "Right Right"), (0, 100, "b0:1", "Up"),
    (0, 100, "b5=1 a6:1 b5=0", "w Right"), (0, 100, "b5:1 b5:1 b4=1", "w w s"),
    (0, 0, "tira", ""), (0, 0, "liga", ""),
    (1, 0, "liga outro", ""), (0, 100, "b4:1 a6:-1", "s Left"),
    (1, 100, "b0:1 a0:1 b5:1", "Up Right w"), (1, 100, "a7:1 a6:-1 b4:1", "Down Left s"),
]
# The keys of the walk on a pad, each arrow by the d-pad or the stick in turn
# and the up arrow by A and the stick in turn, so that the walk plays every
# control of the pad: the d-pad, the stick both ways, A, the shoulders, Start.
TECLAS_DO_PAD = {"Left": ["a6:-1", "a0:-1"], "Right": ["a6:1", "a0:1"], "Up": ["b0:1", "a1:-1"],
                 "Down": ["a7:1", "a1:1"], "w": ["b5:1"], "s": ["b4:1"], "f": ["b7:1"]}


def aberto(fd, segundos=0):
    # Whether a program holds open the node of a pty that umockdev made (till
    # then the pty hangs up), and still does segundos later: a program may
    # open a node, ask it what it is and close it, before it opens it to read.
    no = select.poll()
    no.register(fd, select.POLLHUP)
    if no.poll(0):
        return False
    time.sleep(segundos)
    return not no.poll(0)


class Pads:
    # Pads that umockdev makes as the kernel shows one: an input device with a
    # joystick node, /dev/input/jsN, which Chromium reads, and an event node,
    # /dev/input/eventN, which SDL and Wine read, each a pty that takes the
    # node's records, the event node with the answers to the ioctls that
    # describe it. An Xbox 360 pad has the layout they all know: A is button
    # 0, the shoulders 4 and 5, Start 7, the left stick axes 0 and 1, the
    # d-pad the hat's axes 6 and 7. The other has the same controls as a
    # joystick's buttons, and ids that none of them knows. A program sees them
    # under umockdev's preload, with the variables that navegador() or jogo()
    # give; the tests must run under it too.
    MODELOS = {"xbox": ("Microsoft X-Box 360 pad", "045e", "028e",
                        [0x130, 0x131, 0x133, 0x134, 0x136, 0x137, 0x13a, 0x13b, 0x13c, 0x13d,
                         0x13e]),
               "outro": ("Zandrel Test Pad", "1209", "7a7d", list(range(0x120, 0x12B)))}
    # The axes in the joystick's order, each with its event code and range:
    # the left stick, the left trigger, the right stick, the right trigger, the hat.
    EIXOS = [(0, -32768, 32767), (1, -32768, 32767), (2, 0, 255), (3, -32768, 32767),
             (4, -32768, 32767), (5, 0, 255), (16, -1, 1), (17, -1, 1)]

    def __init__(self):
        gi.require_version("UMockdev", "1.0")
        from gi.repository import UMockdev
        assert "umockdev" in os.environ.get("LD_PRELOAD", ""), "run pytest under umockdev-wrapper"
        self.bancada, self.pads, self.nos = UMockdev.Testbed.new(), {}, itertools.count()
        self.raiz = pathlib.Path(self.bancada.get_root_dir())
        self.lido = 0  # which node the program that plays reads: 0 joystick, 1 event
        self.lendo = set()  # the pads whose node the program that plays has opened to read
        self.apertos = collections.Counter()  # how often aperta has pressed each key

    def navegador(self):
        # The whole environment of a browser that sees the pads. It reads
        # their joystick nodes.
        return ambiente(LD_PRELOAD="libumockdev-preload.so.0", UMOCKDEV_DIR=str(self.raiz))

    def jogo(self, env):
        # env, for a game that sees the pads, with umockdev's preload and its
        # testbed. The game reads their event nodes, through SDL or Wine.
        self.lido = 1
        preload = f"{env.get('LD_PRELOAD', '')} libumockdev-preload.so.0".strip()
        return dict(env, LD_PRELOAD=preload, UMOCKDEV_DIR=str(self.raiz))

    def ioctls(self, no, modelo):
        # What the event node answers to the ioctls that describe it: its kinds
        # of event, keys, relative axes (none), axes and force feedback (none),
        # as bit masks, its ids, name, keys down, properties and axes' ranges.
        # A program that asks it one it cannot answer reads nothing from it.
        nome, vendedor, produto, botoes = self.MODELOS[modelo]

        def bits(codigos, tamanho):
            return sum(1 << codigo for codigo in codigos).to_bytes(tamanho, "little").hex()
        ids = struct.pack("<4H", 3, int(vendedor, 16), int(produto, 16), 0x114).hex()
        nomeado = nome.encode().ljust(128, b"\0").hex()
        linhas = [f"@DEV /dev/input/event{no}", f"EVIOCGBIT(0) 8 {bits([0, 1, 3], 8)}",
                  f"EVIOCGBIT(1) 96 {bits(botoes, 96)}", f"EVIOCGBIT(2) 8 {bits([], 8)}",
                  f"EVIOCGBIT(3) 8 {bits([codigo for codigo, *_ in self.EIXOS], 8)}",
                  f"EVIOCGBIT(21) 16 {bits([], 16)}", f"EVIOCGID 0 {ids}",
                  f"EVIOCGNAME(0) {len(nome) + 1} {nomeado}", f"EVIOCGKEY(0) 96 {bits([], 96)}",
                  f"EVIOCGPROP(0) 8 {bits([], 8)}"]
        for codigo, minimo, maximo in self.EIXOS:
            faixa = struct.pack("<6i", 0, minimo, maximo, 0, 0, 0).hex()
            linhas.append(f"EVIOCGABS({codigo}) 0 {faixa}")
        arquivo = self.raiz / f"event{no}.ioctl"
        arquivo.write_text("\n".join(linhas) + "\n")
        return str(arquivo)

    def liga(self, pad, modelo="xbox"):
        # Plugs in a pad, every control at 0, at nodes of new numbers:
        # umockdev makes a node of a name only once.
        nome, vendedor, produto, _ = self.MODELOS[modelo]
        no = next(self.nos)
        dev = f"/devices/pad{pad}/input/input{no}"
        nos = [(f"js{no}", no), (f"event{no}", 64 + no)]
        self.bancada.add_from_string(
            f"P: {dev}\nE: SUBSYSTEM=input\nA: name={nome}\nA: id/vendor={vendedor}\n"
            f"A: id/product={produto}\n\n" + "".join(
                f"P: {dev}/{nome}\nN: input/{nome}\nE: DEVNAME=/dev/input/{nome}\n"
                f"E: SUBSYSTEM=input\nE: MAJOR=13\nE: MINOR={menor}\nA: dev=13:{menor}\n"
                "E: ID_INPUT=1\nE: ID_INPUT_JOYSTICK=1\n\n" for nome, menor in nos))
        self.bancada.load_ioctl(f"/dev/input/event{no}", self.ioctls(no, modelo))
        fds = []
        for nome, _ in nos:
            self.bancada.uevent(f"/sys{dev}/{nome}", "add")
            fds.append(self.bancada.get_dev_fd(f"/dev/input/{nome}"))
            tty.setraw(fds[-1])  # every byte as it is
            os.set_blocking(fds[-1], False)  # a node opened but not read takes what fits
        self.pads[pad] = (*fds, dev, no, modelo)
        primeiros = [f"i{botao}=0" for botao in range(11)] + [f"j{eixo}=0" for eixo in range(8)]
        self.mexe(pad, " ".join(primeiros), 0)

    def tira(self, pad):
        # Unplugs a pad, its nodes gone first so that no program can open them
        # again on the news.
        _, _, dev, no, _ = self.pads.pop(pad)
        self.lendo.discard(pad)
        for nome in [f"js{no}", f"event{no}"]:
            os.unlink(self.raiz / f"dev/input/{nome}")
            self.bancada.uevent(f"/sys{dev}/{nome}", "remove")
        self.bancada.remove_device(f"/sys{dev}")

    def mexe(self, pad, eventos, ms=100):
        # Each of eventos on a pad, held ms: "aA=V" moves axis A to V (-1 to
        # 1), "bB=V" sets button B (1 down, 0 up), and "aA:V" or "bB:V" does
        # so and then sets it back to 0; "iB=V" and "jA=V" are the joystick
        # node's first states. Each goes to every node that a program has
        # open, once the program that plays has opened the node it reads: a
        # press and its release written before reach it in one read, and are
        # lost.
        js, ev, _, _, modelo = self.pads[pad]
        if ms and pad not in self.lendo:
            lido = self.pads[pad][self.lido]
            espera(lambda: aberto(lido, 0.2), f"a program to open pad {pad}")
            self.lendo.add(pad)
        for evento in re.sub(r"(\w\d+):(\S+)", r"\1=\2 \1=0", eventos).split():
            numero, valor = evento[1:].split("=")
            numero, valor = int(numero), float(valor)
            tipo = {"b": 1, "a": 2, "i": 0x81, "j": 0x82}[evento[0]]
            if not ms or aberto(js):
                os.write(js, struct.pack("<IhBB", 0, round(valor * 32767), tipo, numero))
            if ms and aberto(ev):
                os.write(ev, self.evento(modelo, tipo, numero, valor))
            time.sleep(ms / 1000)

    def evento(self, modelo, tipo, numero, valor):
        # A joystick's event as the event node gives it: a key's or an axis's
        # (its value scaled to the axis's range), then the report's end.
        if tipo == 1:
            registro = (1, self.MODELOS[modelo][3][numero], int(valor))
        else:
            codigo, minimo, maximo = self.EIXOS[numero]
            registro = (3, codigo, round(minimo + (valor + 1) * (maximo - minimo) / 2))
        return struct.pack("<qqHHi", 0, 0, *registro) + struct.pack("<qqHHi", 0, 0, 0, 0, 0)

    def aperta(self, *nomes):
        # Keys pressed on pad 0, as TECLAS_DO_PAD has them, each held 50 ms.
        for nome in nomes:
            self.mexe(0, TECLAS_DO_PAD[nome][self.apertos[nome] % len(TECLAS_DO_PAD[nome])], 50)
            self.apertos[nome] += 1
