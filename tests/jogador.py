# What the end-to-end tests play the builds with and judge them by: a private
# X server and the game's window on it, the page in Chromium, pads that
# umockdev fakes, and judges of pictures. `make screenshots` and `make bench`
# play with it too. A picture is a numpy array of rows of RGB pixels; a judge
# is a function of a picture that says what is wrong with it, "" if nothing.
import functools, http.server, io, json, os, pathlib, re, select, struct, subprocess, tempfile, threading, time, tty

import gi
import numpy
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
BRANCO, PRETO, VERDE, AMARELO = (255, 255, 255), (0, 0, 0), (0, 255, 0), (255, 255, 0)
# The verges' green and the truck's have 0.5 in a channel, which GLs round to
# 127 or to 128.
ESCURO, CAMINHAO = (0, 128, 0), (128, 255, 0)


def produto(caminho):
    # A file that `make test` builds before the tests run.
    assert (f := BUILD / caminho).exists(), f"no {f}: `make test` builds it"
    return f


def ate(condicao, segundos=10):
    # Asks until condicao gives something true, and returns it, or what it
    # gave last once the time is up.
    fim = time.monotonic() + segundos
    while not (r := condicao()) and time.monotonic() < fim:
        time.sleep(0.05)
    return r


def espera(condicao, oque="", segundos=10):
    # The same, failing once the time is up: the test's line says what for.
    assert (r := ate(condicao, segundos)), f"not so in {segundos} s {oque}"
    return r


def ambiente(**mais):
    # What the game and the tools run with: the tests' environment, less
    # umockdev's preload, which only a browser that sees pads needs, and with
    # Mesa's software GL, as there is no GPU.
    return dict({k: v for k, v in os.environ.items() if k != "LD_PRELOAD"}, LIBGL_ALWAYS_SOFTWARE="1", **mais)


def cor(f, x, y):
    # A picture's colour at a point of the world frame, 30 x 15.
    return tuple(int(c) for c in f[int((15-y) * f.shape[0]/15), int(x * f.shape[1]/30)])


def acha(f, c):
    # How many pixels are of colour c, give or take 1, and the box round
    # them in world units: x from, x to, y from, y to.
    ys, xs = numpy.nonzero(abs(f.astype(int) - c).max(2) <= 1)
    a, b = 30 / f.shape[1], 15 / f.shape[0]
    return len(xs), *((xs.min()*a, xs.max()*a + a, 15 - ys.max()*b - b, 15 - ys.min()*b) if len(xs) else [0] * 4)


def sondas(tabela):
    # A judge by a table of probes: what, x, y, colour, give or take 1.
    return lambda f: "; ".join(f"{nome} at ({x:.2f}, {y}) is {cor(f, x, y)}" for nome, x, y, c in tabela
                               if max(abs(a-b) for a, b in zip(cor(f, x, y), c)) > 1)


def igual(ref, limite=0):
    # A judge: what keeps a picture from being ref but for limite in a
    # channel, and the truck's lane, where the truck is never caught in the
    # same place twice. From a screen k times as dense, k times ref's size,
    # each of its k x k blocks of one colour must be ref's pixel there, and
    # none of its pixels a colour that ref lacks, as smoothing makes. The
    # judge keeps ref, for the evidence.
    paleta = numpy.stack(canais(numpy.unique(rgb(ref))), 1)

    def julga(f):
        k, h = f.shape[1] // ref.shape[1], f.shape[0]
        if not k or f.shape != (ref.shape[0]*k, ref.shape[1]*k, 3):
            return f"a picture of {f.shape[:2]}, not a multiple of {ref.shape[:2]}"
        fora = numpy.ones((h, f.shape[1]), bool)
        fora[h*363 // 530:h*414 // 530] = False
        blocos = f.reshape(h // k, k, -1, k, 3)
        liso = (blocos == blocos[:, :1, :, :1]).all((1, 3, 4)).repeat(k, 0).repeat(k, 1)
        maus = (abs(ref.repeat(k, 0).repeat(k, 1).astype(int) - f).max(2) > limite) & fora & liso
        alheias = [c for c in numpy.unique(rgb(f)[fora]) if abs(paleta - canais(c)).max(1).min() > limite]
        return " and ".join([f"{maus.sum()} pixels differ by over {limite}"] * bool(maus.any()) +
                            [f"{len(alheias)} colours not its, like #{c:06x}" for c in alheias[:1]])
    julga.ref = ref
    return julga


def rgb(f):
    # Each pixel's colour as one number, which numpy sorts fast.
    return f[..., 0].astype("int32")<<16 | f[..., 1].astype("int32")<<8 | f[..., 2]


def canais(c):
    return c >> 16, c>>8 & 255, c & 255


class Alvo:
    # What a test plays and looks at, a window or a page: teclas(*keys)
    # presses keys, by X's names, and foto() is its picture now. The pictures
    # that judges find fault with are kept under pasta.
    def mostra(self, julga, nome, segundos=10):
        # Takes pictures until julga finds nothing wrong with one, and returns
        # it. Else fails with what julga found, keeping the last picture as
        # NOME.png, and beside it the one it was to be and their difference.
        fim = time.monotonic() + segundos
        while erro := julga(f := self.foto()):
            if time.monotonic() > fim:
                Image.fromarray(f).save(self.pasta / f"{nome}.png")
                if (ref := getattr(julga, "ref", None)) is not None and ref.shape == f.shape:
                    Image.fromarray(ref).save(self.pasta / f"{nome}-ref.png")
                    Image.fromarray(abs(ref.astype(int) - f).astype("uint8")*64).save(self.pasta / f"{nome}-diff.png")
                raise AssertionError(f"{erro}: see {self.pasta / nome}*.png")
            time.sleep(0.05)
        return f

    def atravessa(self, aperta=None):
        # Six steps up cross the road, unless the truck meets the frog in its
        # lane and sends it back: then back down to the start row, and again.
        # The victory frame has no verge.
        aperta = aperta or self.teclas
        for _ in range(10):
            aperta(*["Up"] * 6)
            if ate(lambda: cor(self.foto(), 20, 0.4) == PRETO, 3):
                return
            aperta(*["Down"] * 6)

    def percorre(self, confere, aperta=None):
        # The walk that every build is compared by, by keys unless told: the
        # start frame, the building at three floors with the frog two steps
        # left, then at two, and the victory frame, each confere(name) once
        # its keys have been given.
        fotos = {"inicio": confere("inicio")}
        for nome, teclas in [("alto", ["Left", "Left", "w", "w"]), ("baixo", ["s"]), ("fim", None)]:
            (aperta or self.teclas)(*teclas) if teclas else self.atravessa(aperta)
            fotos[nome] = confere(nome)
        return fotos

    def percorre_igual(self, mesa, limite=0, aperta=None):
        # The walk, each picture the desktop game's.
        return self.percorre(lambda nome: self.mostra(igual(mesa[nome], limite), nome), aperta)


def tela(pasta):
    # A private Xvfb, on a display of its own choice so that tests run side
    # by side; it writes the display's number and a new line once it takes
    # clients.
    ler, escrever = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(escrever), "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                            pass_fds=[escrever], stderr=open(pasta / "xvfb.txt", "wb"))
    os.close(escrever)
    with os.fdopen(ler) as f:
        assert (numero := f.readline().strip()), f"Xvfb did not start: {pasta}/xvfb.txt"
    x = display.Display(":" + numero)
    x.xvfb, x.env = xvfb, ambiente(DISPLAY=":" + numero)
    return x


def janela(de):
    # The first window under de, depth first, that shows and is named Zandrel.
    try:
        for j in de.query_tree().children:
            if j.get_wm_name() == "Zandrel" and j.get_attributes().map_state == X.IsViewable or (j := janela(j)):
                return j
    except error.XError:
        return None  # gone while it was asked about


class Jogo(Alvo):
    # The game started on X server x by a command, with these further
    # variables: its window focused once it shows, and its first frame, which
    # under emulation comes seconds later. The command may be a launcher that
    # ends with 0 once the game has started. What it prints goes to saida.
    def __init__(self, x, pasta, *comando, **env):
        self.x, self.pasta = x, pasta
        self.saida = pathlib.Path(tempfile.mkstemp(dir=pasta, prefix="saida-", suffix=".txt")[1])
        saida = self.saida.open("wb")
        self.processo = subprocess.Popen(comando, env=dict(x.env, **env), stdout=saida, stderr=saida)

        def mostrou():
            assert self.processo.poll() in (None, 0), f"{comando} ended: {self.saida.read_text()}"
            return janela(x.screen().root)
        self.janela = espera(mostrou, f"for a window of {comando}", 30)
        x.set_input_focus(self.janela, X.RevertToParent, X.CurrentTime)
        espera(lambda: self.foto().any(), "for the game's first frame", 30)

    def teclas(self, *nomes):
        # Real key presses, through XTest, to the focused window.
        for codigo in [self.x.keysym_to_keycode(XK.string_to_keysym(n)) for n in nomes]:
            xtest.fake_input(self.x, X.KeyPress, codigo)
            xtest.fake_input(self.x, X.KeyRelease, codigo)
        self.x.sync()

    def foto(self):
        # The window's picture, while it lies wholly on the screen.
        g = self.janela.get_geometry()
        dados = self.janela.get_image(0, 0, g.width, g.height, X.ZPixmap, 0xFFFFFFFF).data
        return numpy.asarray(Image.frombytes("RGB", (g.width, g.height), dados, "raw", "BGRX"))

    def esc(self):
        # Esc ends the game at once, with status 0.
        assert self.processo.poll() is None, "the game ended before Esc"
        self.teclas("Escape")
        assert self.processo.wait(5) == 0

    def fecha(self):
        # Closed as a window manager closes a window, the game ends with 0.
        protocolos, fecha = self.x.intern_atom("WM_PROTOCOLS"), self.x.intern_atom("WM_DELETE_WINDOW")
        assert fecha in self.janela.get_wm_protocols()
        self.janela.send_event(event.ClientMessage(window=self.janela, client_type=protocolos,
                                                   data=(32, [fecha, X.CurrentTime, 0, 0, 0])))
        self.x.flush()
        assert self.processo.wait(5) == 0

    def calado(self):
        assert not self.saida.read_bytes(), f"the game printed: {self.saida.read_text()[:3000]}"


class Pagina(Alvo):
    # Headless Chromium with software WebGL and none of the background traffic
    # that a closed network refuses (ChromeDriver turns off the rest of it),
    # in a new profile, with these further options; with metricas, a phone's
    # screen in ChromeDriver's mobile emulation. Its pictures are the canvas.
    def __init__(self, pasta, *opcoes, metricas=None, env=None):
        self.pasta, o = pasta, webdriver.ChromeOptions()
        o.binary_location = "/usr/bin/chromium"
        for a in ["--headless=new", "--use-angle=swiftshader", "--enable-unsafe-swiftshader", "--window-size=1000,900",
                  "--disable-component-update", "--disable-quic", *opcoes] + ["--no-sandbox"] * (os.geteuid() == 0):
            o.add_argument(a)
        if metricas:
            o.add_experimental_option("mobileEmulation", {"deviceMetrics": metricas})
        o.set_capability("goog:loggingPrefs", {"browser": "ALL"})
        self.d = webdriver.Chrome(service=Service("/usr/bin/chromedriver", env=env or ambiente()), options=o)

    def js(self, expressao):
        return self.d.execute_script("return " + expressao)

    def cdp(self, comando, **argumentos):
        return self.d.execute_cdp_cmd(comando, argumentos)

    def abre(self, url):
        # Opens the page, and waits for its first frame.
        self.d.get(url)
        espera(lambda: self.js("window.Module && Module.quadros > 0"), f"for a first frame of {url}")

    def quadros(self, n=2):
        # Waits until the page has drawn n more frames: the last shows every
        # key given before.
        antes = self.js("Module.quadros")
        espera(lambda: self.js("Module.quadros") >= antes + n, f"for {n} frames of the page")

    def teclas(self, *nomes):
        # Real key presses, through the browser to the page.
        setas = {"Up": Keys.ARROW_UP, "Down": Keys.ARROW_DOWN, "Left": Keys.ARROW_LEFT, "Right": Keys.ARROW_RIGHT}
        for n in nomes:
            n = setas.get(n, Keys.ESCAPE if n == "Escape" else n)
            ActionChains(self.d).key_down(n).key_up(n).perform()

    def foto(self, css="#canvas"):
        # An element as the page shows it, in the screen's pixels.
        png = self.d.find_element("css selector", css).screenshot_as_png
        return numpy.asarray(Image.open(io.BytesIO(png)).convert("RGB"))

    def toque(self, css="#canvas", dx=0, dy=0, ms=0):
        # A finger on an element's centre, slid by dx, dy CSS pixels in two
        # moves, held ms, and lifted: a tap when dx and dy are 0.
        r = self.js(f"document.querySelector('{css}').getBoundingClientRect()")
        x, y = r["x"] + r["width"]/2, r["y"] + r["height"]/2
        for tipo, k in [("touchStart", 0), ("touchMove", 0.5), ("touchMove", 1), ("touchEnd", None)]:
            time.sleep(ms/1000 * (k is None))
            pontos = [{"x": x + dx*k, "y": y + dy*k}] if k is not None else []
            self.cdp("Input.dispatchTouchEvent", type=tipo, touchPoints=pontos)

    def dedos(self, *nomes):
        # Keys by touch: arrows as swipes on the game, characters as taps on
        # their buttons.
        for n in nomes:
            v = {"Up": (0, -60), "Down": (0, 60), "Left": (-60, 0), "Right": (60, 0)}.get(n)
            self.toque("#canvas", *v) if v else self.toque(f"[data-key={n}]")

    def tela(self, w, h, densidade=1, movel=True):
        # A screen of w x h CSS pixels: a phone's or a tablet's, for a page
        # started with metricas, upright when taller than wide.
        self.cdp("Emulation.setDeviceMetricsOverride", width=w, height=h, deviceScaleFactor=densidade, mobile=movel)


def serve(pasta, porta=0):
    # Serves a folder on localhost, at servidor.url, with no HTTP caching,
    # until servidor.shutdown().
    class SemCache(http.server.SimpleHTTPRequestHandler):
        def end_headers(self):
            self.send_header("Cache-Control", "no-store")
            super().end_headers()

        def log_message(self, *_):
            pass  # a request a line would bury the benchmark's tables
    s = http.server.ThreadingHTTPServer(("127.0.0.1", porta), functools.partial(SemCache, directory=pasta))
    threading.Thread(target=s.serve_forever, daemon=True).start()
    s.url = f"http://127.0.0.1:{s.server_address[1]}/"
    return s


def lighthouse(url, preset, categorias):
    # Lighthouse's scores of a page in categorias, as a phone ("mobile") or as
    # a desktop, from a headless Chromium of its own with software WebGL.
    with tempfile.TemporaryDirectory() as pasta:
        subprocess.run(["node", produto("npm/node_modules/lighthouse/cli/index.js"), url, "--quiet", "--output=json",
                        f"--output-path={pasta}/notas.json", f"--only-categories={categorias}",
                        *[f"--preset={preset}"] * (preset != "mobile"), "--chrome-flags=--headless=new --no-sandbox "
                        "--use-angle=swiftshader --enable-unsafe-swiftshader"],
                       env=ambiente(CHROME_PATH="/usr/bin/chromium"), check=True, capture_output=True)
        notas = json.loads(pathlib.Path(pasta, "notas.json").read_text())["categories"]
        return {n: c["score"] for n, c in notas.items()}


class Pads:
    # Joysticks that umockdev makes, which a browser run with env reads by
    # its own code: each a udev input device and its /dev/input/jsN, a pty
    # that takes struct js_event records. An Xbox 360 pad gets Chromium's
    # standard layout: A is button 0, the shoulders 4 and 5, Start 7, the
    # left stick axes 0 and 1, the d-pad the hat's axes 6 and 7. The other has
    # the same controls, and ids that Chromium does not know. The tests must
    # run under umockdev's preload for the browser to hear of the pads.
    MODELOS = {"xbox": ("Microsoft X-Box 360 pad", "045e", "028e"), "outro": ("Zandrel Test Pad", "1209", "7a7d")}

    def __init__(self):
        gi.require_version("UMockdev", "1.0")
        from gi.repository import UMockdev
        assert "umockdev" in os.environ.get("LD_PRELOAD", ""), "run the tests by umockdev-wrapper, as make test does"
        self.bancada, self.pads, self.nos = UMockdev.Testbed.new(), {}, 0
        self.env = ambiente(LD_PRELOAD="libumockdev-preload.so.0", UMOCKDEV_DIR=self.bancada.get_root_dir())

    def liga(self, n, modelo="xbox"):
        # Plugs in pad n, every control at 0, at a node of a new name: umockdev
        # makes a node of a name only once.
        nome, vendedor, produto = self.MODELOS[modelo]
        j, self.nos, dev = self.nos, self.nos + 1, f"/devices/pad{n}/input/input{self.nos}"
        self.bancada.add_from_string(
            f"P: {dev}\nE: SUBSYSTEM=input\nA: name={nome}\nA: id/vendor={vendedor}\nA: id/product={produto}\n\n"
            f"P: {dev}/js{j}\nN: input/js{j}\nE: DEVNAME=/dev/input/js{j}\nE: SUBSYSTEM=input\nE: MAJOR=13\n"
            f"E: MINOR={j}\nE: ID_INPUT=1\nE: ID_INPUT_JOYSTICK=1\n")
        self.bancada.uevent(f"/sys{dev}/js{j}", "add")
        self.pads[n] = (self.bancada.get_dev_fd(f"/dev/input/js{j}"), dev, j)
        tty.setraw(self.pads[n][0])  # every byte as it is
        self.mexe(n, " ".join([f"i{i}=0" for i in range(11)] + [f"j{i}=0" for i in range(8)]), 0)

    def tira(self, n):
        # Unplugs pad n, its node gone first so that the browser cannot open it
        # again on the news.
        _, dev, j = self.pads.pop(n)
        os.unlink(f"{self.bancada.get_root_dir()}/dev/input/js{j}")
        self.bancada.uevent(f"/sys{dev}/js{j}", "remove")
        self.bancada.remove_device(f"/sys{dev}")

    def mexe(self, n, eventos, ms=100):
        # Each of eventos on pad n, held ms: "aA=V" moves axis A to V (-1 to
        # 1), "bB=V" sets button B (1 down, 0 up), and "aA:V" or "bB:V" does
        # so and then sets it back to 0; "iB=V" and "jA=V" are their first
        # states. Once the browser has opened the node, whose pty hangs up
        # till then: a press and its release written before reach it in one
        # read, and are lost.
        aberto = select.poll()
        aberto.register(self.pads[n][0], select.POLLHUP)
        espera(lambda: not ms or not aberto.poll(0), f"for the browser to open pad {n}")
        for e in re.sub(r"(\w\d+):(\S+)", r"\1=\2 \1=0", eventos).split():
            numero, valor = e[1:].split("=")
            tipo = {"b": 1, "a": 2, "i": 0x81, "j": 0x82}[e[0]]
            os.write(self.pads[n][0], struct.pack("<IhBB", 0, round(float(valor) * 32767), tipo, int(numero)))
            time.sleep(ms/1000)
