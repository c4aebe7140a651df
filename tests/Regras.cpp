#include "game/Jogo.h"

#include <cstdio>
#include <cstdlib>
#include <GL/glut.h>
#include <gtest/gtest.h>
#include <vector>

// The toolkit, replaced at link time by a stand-in that records requests.
struct Relogio {
    unsigned ms;
    void (*funcao)(int);
    int valor;
};
static int redesenhos, telacheia;
static std::vector<Relogio> relogios;

void glutPostRedisplay() {
    redesenhos++;
}
void glutFullScreen() {
    telacheia++;
}
void glutTimerFunc(unsigned ms, void (*funcao)(int), int valor) {
    relogios.push_back({ms, funcao, valor});
}

static void Zera() {
    movercarro = moversapox = moversapoy = predioy = tempo = lado = 0;
    redesenhos = telacheia = 0;
    relogios.clear();
}

// In the back-to-back build playing frames ask for the next; otherwise the
// arrows ask for one while the frog is crossing.
constexpr bool continuo = ZANDREL_CONTINUOUS_FRAMES;

TEST(Mover, MovesAndClampsTheFrogWhateverTheKeyAndRedrawsOnlyWhileCrossing) {
    struct {
        int x, y, tecla, xdepois, ydepois, lado;
    } casos[] = {
        {0, 0, GLUT_KEY_UP, 0, 1, 0},     {0, 6, GLUT_KEY_UP, 0, 6, 1},
        {0, 3, GLUT_KEY_DOWN, 0, 2, 0},   {0, 0, GLUT_KEY_DOWN, 0, 0, 0},
        {0, 0, GLUT_KEY_LEFT, -1, 0, 0},  {-13, 0, GLUT_KEY_LEFT, -13, 0, 1},
        {0, 0, GLUT_KEY_RIGHT, 1, 0, 1},  {13, 2, GLUT_KEY_RIGHT, 13, 2, 0},
        {20, 9, GLUT_KEY_HOME, 13, 6, 0}, {-20, -3, GLUT_KEY_F1, -13, 0, 1},
    };
    for (const auto &c : casos) {
        Zera();
        moversapox = c.x;
        moversapoy = c.y;
        lado = c.lado;
        Mover(c.tecla, 0, 0);
        EXPECT_EQ(moversapox, c.xdepois) << "key " << c.tecla << " at " << c.x << "," << c.y;
        EXPECT_EQ(moversapoy, c.ydepois) << "key " << c.tecla << " at " << c.x << "," << c.y;
        EXPECT_EQ(redesenhos, !continuo && lado == 0) << "key " << c.tecla << ", won " << lado;
    }
}

TEST(Teclado, BuildingAndFullScreenComparedExactlyAndAlwaysRedrawn) {
    struct {
        int predio;
        unsigned char tecla;
        int depois, cheia;
    } casos[] = {
        {0, 'w', 1, 0}, {2, 'w', 2, 0}, {1, 's', 0, 0}, {0, 's', 0, 0}, {1, 'W', 1, 0},
        {1, 'S', 1, 0}, {0, 'f', 0, 1}, {0, 'F', 0, 0}, {5, 'x', 2, 0}, {-1, '1', 0, 0},
    };
    for (const auto &c : casos) {
        Zera();
        predioy = c.predio;
        Teclado(c.tecla, 0, 0);
        EXPECT_EQ(predioy, c.depois) << "key " << c.tecla;
        EXPECT_EQ(telacheia, c.cheia) << "key " << c.tecla;
        EXPECT_EQ(redesenhos, 1) << "key " << c.tecla;
    }
}

static void ContaRedesenhos() {
    std::fprintf(stderr, "redisplays %d\n", redesenhos);
}

TEST(Teclado, EscRequestsARedisplayThenExitsWithZero) {
    Zera();
    EXPECT_EXIT(
        {
            std::atexit(ContaRedesenhos);
            Teclado(27, 0, 0);
        },
        testing::ExitedWithCode(0), "redisplays 1");
}

TEST(movimentacarro, ElevenPositionsOnceEachWrappingAtTheLeftWithThePeriodReadAfresh) {
    Zera();
    const int ciclo[] = {-4, 36, 32, 28, 24, 20, 16, 12, 8, 4, 0, -4, 36};
    for (int esperado : ciclo) {
        relogios.clear();
        redesenhos = 0;
        movimentacarro(1);
        EXPECT_EQ(movercarro, esperado);
        EXPECT_EQ(redesenhos, 1);
        ASSERT_EQ(relogios.size(), 1U);
        EXPECT_EQ(relogios[0].funcao, &movimentacarro);
        EXPECT_EQ(relogios[0].valor, 1);
        EXPECT_EQ(relogios[0].ms, tempo == 0 ? 100U : 60U) << "before the first frame, 100";
        tempo = 40; // what the first playing frame sets
    }
}

TEST(Colisao, HitInTheTruckRowExactlyUnderTheTruckAndVictoryOnlyInTheGoalRow) {
    for (int carro = -4; carro <= 36; carro += 4)
        for (int x = -13; x <= 13; x++)
            for (int linha = 0; linha <= 6; linha++) {
                Zera();
                movercarro = carro;
                moversapox = x;
                moversapoy = linha;
                Colisao();
                const bool coberto = x + 15 >= carro + 1 && x + 15 <= carro + 4;
                const bool atingido = linha == 3 && coberto;
                EXPECT_EQ(moversapoy, atingido ? 0 : linha)
                    << "truck " << carro << " frog " << x << " row " << linha;
                EXPECT_EQ(moversapox, x) << "a hit frog keeps its column";
                EXPECT_EQ(lado, linha == 6 ? 1 : 0) << "row " << linha;
                EXPECT_EQ(redesenhos, continuo) << "only back-to-back frames ask for the next";
                EXPECT_TRUE(relogios.empty());
            }
}
