// The fixed-function GL that the game draws with, over WebGL. WebGL has no
// batches, wide lines, bitmap text or matrices, so each batch between glBegin
// and glEnd is turned here into triangles in window pixels, the way desktop GL
// rasterises it without smoothing, and the whole frame is gathered in one
// buffer and drawn with one call when it is presented. The window's pixels
// are the toolkit's (690 x 530, or the screen's when full screen); the
// drawing buffer behind them has one pixel for each of the screen's, so a
// dense screen shows the same picture, only finer.
#define GL_GLEXT_PROTOTYPES
#include "Fonte.h"

#include <cmath>
#include <cstdlib>
#include <emscripten/em_js.h>
#include <emscripten/html5.h>
#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/glu.h>
#include <GL/glut.h>

// The window's own size, as the toolkit last gave it to the canvas.
EM_JS(int, LarguraJanela, (), { return Module.canvas.widthNative; });
EM_JS(int, AlturaJanela, (), { return Module.canvas.heightNative; });
// The size that the page measured for the drawing buffer, or 0 before it has.
EM_JS(int, LarguraMedida, (), { return Module.tela ? Module.tela[0] : 0; });
EM_JS(int, AlturaMedida, (), { return Module.tela ? Module.tela[1] : 0; });

namespace {

struct Vertice {
    GLfloat x, y, r, g, b;
};

// The product of the projection and model-view matrices, all a 2-D picture
// needs: x' = sx * x + tx, y' = sy * y + ty.
GLfloat sx = 1, tx = 0, sy = 1, ty = 0;
GLfloat cor[3] = {1, 1, 1};
GLfloat largura = 1, tamanho = 1; // line width and point size, in pixels
GLfloat w, h;                     // the window, in its own pixels
int bw, bh;                       // the drawing buffer, in the screen's
GLenum primitiva;
Vertice lote[64];
int nlote;
Vertice triangulos[8190];
int ntriangulos;
Vertice raster;
GLuint programa, buffer;
bool perdido; // the browser has taken the context away, for now

// The window's size reaches the shader as a constant attribute rather than a
// uniform: a uniform's location is a query that waits for the link, and on a
// software GPU that wait blocks the page for a good part of a second.
void Prepara() {
    const char *fontes[] = {
        "attribute vec2 p; attribute vec3 c; attribute vec2 tela; varying vec3 v;"
        "void main() { gl_Position = vec4(p / tela * 2.0 - 1.0, 0.0, 1.0); v = c; }",
        "precision mediump float; varying vec3 v;"
        "void main() { gl_FragColor = vec4(v, 1.0); }"};
    programa = glCreateProgram();
    for (int i = 0; i < 2; i++) {
        const GLuint s = glCreateShader(i == 0 ? GL_VERTEX_SHADER : GL_FRAGMENT_SHADER);
        glShaderSource(s, 1, &fontes[i], nullptr);
        glCompileShader(s);
        glAttachShader(programa, s);
    }
    glBindAttribLocation(programa, 0, "p");
    glBindAttribLocation(programa, 1, "c");
    glBindAttribLocation(programa, 2, "tela");
    glLinkProgram(programa);
    glGenBuffers(1, &buffer);
}

// Each frame starts with its clear, and takes the window's size then. The
// drawing buffer takes the size the page last measured for it (see
// nitidez.js) only then too: resizing empties it, and a frame is about to be
// drawn into it. With no reshape callback the toolkit keeps the viewport on
// the whole window, that is, on the whole buffer.
void MedeJanela() {
    w = static_cast<GLfloat>(LarguraJanela());
    h = static_cast<GLfloat>(AlturaJanela());
    emscripten_get_canvas_element_size("#canvas", &bw, &bh);
    const int tw = LarguraMedida(), th = AlturaMedida();
    if (tw > 0 && th > 0 && (tw != bw || th != bh)) {
        emscripten_set_canvas_element_size("#canvas", tw, th);
        bw = tw;
        bh = th;
    }
}

// A point of the world frame in window pixels, computed as the GL does it.
Vertice NaJanela(GLfloat x, GLfloat y) {
    return {(sx * x + tx) * (w / 2) + w / 2, (sy * y + ty) * (h / 2) + h / 2, cor[0], cor[1],
            cor[2]};
}

void Descarrega() {
    if (ntriangulos == 0 || perdido) {
        ntriangulos = 0;
        return;
    }
    glViewport(0, 0, bw, bh);
    glUseProgram(programa);
    glVertexAttrib2f(2, w, h);
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(ntriangulos * sizeof(Vertice)),
                 triangulos, GL_STREAM_DRAW);
    glEnableVertexAttribArray(0);
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, sizeof(Vertice), nullptr);
    glVertexAttribPointer(1, 3, GL_FLOAT, GL_FALSE, sizeof(Vertice),
                          reinterpret_cast<const void *>(2 * sizeof(GLfloat)));
    glDrawArrays(GL_TRIANGLES, 0, ntriangulos);
    ntriangulos = 0;
}

Vertice Desloca(Vertice v, GLfloat dx, GLfloat dy) {
    v.x += dx;
    v.y += dy;
    return v;
}

void Quadrilatero(const Vertice &a, const Vertice &b, const Vertice &c, const Vertice &d) {
    if (ntriangulos + 6 > static_cast<int>(sizeof triangulos / sizeof triangulos[0]))
        Descarrega();
    const Vertice seis[] = {a, b, c, a, c, d};
    for (const Vertice &v : seis)
        triangulos[ntriangulos++] = v;
}

// A wide line is its segment moved half the width either way along the
// minor axis.
void Linha(const Vertice &a, const Vertice &b) {
    const GLfloat m = largura / 2;
    const bool deitada = std::fabs(b.x - a.x) >= std::fabs(b.y - a.y);
    const GLfloat dx = deitada ? 0 : m, dy = deitada ? m : 0;
    Quadrilatero(Desloca(a, -dx, -dy), Desloca(b, -dx, -dy), Desloca(b, dx, dy),
                 Desloca(a, dx, dy));
}

// A point is a square of its size round it.
void Ponto(const Vertice &v) {
    const GLfloat m = tamanho / 2;
    Quadrilatero(Desloca(v, -m, -m), Desloca(v, m, -m), Desloca(v, m, m), Desloca(v, -m, m));
}

// A phone may take the GPU from a page in the background, and a GPU may
// reset. Saying so keeps the context's right to come back; when it does, it
// has no program or buffer, which are made anew, and the frame is drawn again
// from the game as it is.
EM_BOOL Perdido(int, const void *, void *) {
    perdido = true;
    return EM_TRUE;
}

EM_BOOL Restaurado(int, const void *, void *) {
    perdido = false;
    Prepara();
    glutPostRedisplay();
    return EM_TRUE;
}

} // namespace

// Only Times 24 exists here, the one font the game writes with.
void *glutBitmapTimesRoman24;

// The game sets up its one matrix once, on the projection.
void glMatrixMode(GLenum) {}

void gluOrtho2D(GLdouble esquerda, GLdouble direita, GLdouble baixo, GLdouble topo) {
    const auto a = static_cast<GLfloat>(2 / (direita - esquerda));
    const auto b = static_cast<GLfloat>(-(direita + esquerda) / (direita - esquerda));
    const auto c = static_cast<GLfloat>(2 / (topo - baixo));
    const auto d = static_cast<GLfloat>(-(topo + baixo) / (topo - baixo));
    tx += sx * b;
    sx *= a;
    ty += sy * d;
    sy *= c;
}

void glColor3f(GLfloat r, GLfloat g, GLfloat b) {
    cor[0] = r;
    cor[1] = g;
    cor[2] = b;
}

void glLineWidth(GLfloat l) {
    largura = l;
}

void glPointSize(GLfloat t) {
    tamanho = t;
}

void glBegin(GLenum p) {
    primitiva = p;
    nlote = 0;
}

void glVertex2f(GLfloat x, GLfloat y) {
    if (nlote < static_cast<int>(sizeof lote / sizeof lote[0]))
        lote[nlote++] = NaJanela(x, y);
}

void glVertex2i(GLint x, GLint y) {
    glVertex2f(static_cast<GLfloat>(x), static_cast<GLfloat>(y));
}

void glEnd() {
    for (int i = 0; i < nlote; i++) {
        if (primitiva == GL_POINTS)
            Ponto(lote[i]);
        if (primitiva == GL_LINES && i % 2 == 1)
            Linha(lote[i - 1], lote[i]);
        if (primitiva == GL_QUADS && i % 4 == 3)
            Quadrilatero(lote[i - 3], lote[i - 2], lote[i - 1], lote[i]);
    }
}

// Bitmap text takes the current colour with the raster position.
void glRasterPos2f(GLfloat x, GLfloat y) {
    raster = NaJanela(x, y);
}

// Each set bit of the glyph is one pixel, from the pen's whole pixel; a run of
// them along a row is drawn as one rectangle.
void glutBitmapCharacter(void *, int letra) {
    if (letra < 32 || letra > 126)
        return;
    const Glifo &g = glifos[letra - 32];
    const int bytes = (g.w + 7) / 8;
    Vertice p = raster;
    for (int j = 0; j < g.h; j++) {
        const unsigned char *linha = bits + g.inicio + j * bytes;
        for (int i = 0; i < g.w; i++) {
            int n = 0;
            while (i + n < g.w && (linha[(i + n) / 8] & (0x80 >> ((i + n) % 8))))
                n++;
            if (n == 0)
                continue;
            p.x = std::floor(raster.x) + static_cast<GLfloat>(g.x + i);
            p.y = std::floor(raster.y) + static_cast<GLfloat>(g.y + g.h - 1 - j);
            const auto largo = static_cast<GLfloat>(n);
            Quadrilatero(p, Desloca(p, largo, 0), Desloca(p, largo, 1), Desloca(p, 0, 1));
            i += n;
        }
    }
    raster.x += static_cast<GLfloat>(g.avanco);
}

// The window is the WebGL context. Without WebGL there is none, and the game
// cannot start: it ends at once with status 1, and the page says why. The
// program is made with the context, so that it compiles while the page waits
// for the first frame.
extern "C" int __real_glutCreateWindow(const char *titulo);
extern "C" int __wrap_glutCreateWindow(const char *titulo) {
    const int janela = __real_glutCreateWindow(titulo);
    if (janela == 0)
        std::exit(1);
    emscripten_set_webglcontextlost_callback("#canvas", nullptr, EM_FALSE, Perdido);
    emscripten_set_webglcontextrestored_callback("#canvas", nullptr, EM_FALSE, Restaurado);
    Prepara();
    return janela;
}

extern "C" void __real_glClear(GLbitfield buffers);
extern "C" void __wrap_glClear(GLbitfield buffers) {
    MedeJanela();
    __real_glClear(buffers);
}

// The toolkit keeps the canvas's size to come back to when full screen ends:
// that must be the window's own, not its buffer's.
extern "C" void __real_glutFullScreen();
extern "C" void __wrap_glutFullScreen() {
    emscripten_set_canvas_element_size("#canvas", static_cast<int>(w), static_cast<int>(h));
    __real_glutFullScreen();
}

// The frame gathered so far is drawn just before it is presented.
extern "C" void __real_glutSwapBuffers();
extern "C" void __wrap_glutSwapBuffers() {
    Descarrega();
    __real_glutSwapBuffers();
}
