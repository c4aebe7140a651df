#include "game/Jogo.h"

#include <GL/glut.h>
#include <gtest/gtest.h>
#include <tuple>

// The toolkit, replaced at link time by a stand-in that counts the
// redisplays, full screens and truck timers that the rules ask for, with the
// last timer's period.
static int redesenhos, telacheia, relogios;
static unsigned periodo;

void glutPostRedisplay() {
    redesenhos++;
}
void glutFullScreen() {
    telacheia++;
}
void glutTimerFunc(unsigned ms, void (*funcao)(int), int valor) {
    relogios += funcao == movimentacarro && valor == 1;
    periodo = ms;
}

static void Zera(int x = 0, int y = 0, int predio = 0, int ganhou = 0) {
    movercarro = tempo = redesenhos = telacheia = relogios = 0;
    moversapox = x, moversapoy = y, predioy = predio, lado = ganhou;
}

// In the back-to-back build playing frames ask for the next; otherwise the
// arrows ask for one while the frog is crossing. A failure names its case by
// its place in the table.
constexpr int continuo = ZANDREL_CONTINUOUS_FRAMES;

TEST(Mover, MovesAndClampsTheFrogWhateverTheKeyAndRedrawsOnlyWhileCrossing) {
    const int casos[][6] = {
        // x, y, key, then x and y after it; whether the game was won
        {0, 0, GLUT_KEY_UP, 0, 1, 0},     {0, 6, GLUT_KEY_UP, 0, 6, 1},
        {0, 3, GLUT_KEY_DOWN, 0, 2, 0},   {0, 0, GLUT_KEY_DOWN, 0, 0, 0},
        {0, 0, GLUT_KEY_LEFT, -1, 0, 0},  {-13, 0, GLUT_KEY_LEFT, -13, 0, 1},
        {0, 0, GLUT_KEY_RIGHT, 1, 0, 1},  {13, 2, GLUT_KEY_RIGHT, 13, 2, 0},
        {20, 9, GLUT_KEY_HOME, 13, 6, 0}, {-20, -3, GLUT_KEY_F1, -13, 0, 1},
    };
    for (const auto &c : casos) {
        SCOPED_TRACE(&c - casos);
        Zera(c[0], c[1], 0, c[5]);
        Mover(c[2], 0, 0);
        EXPECT_EQ(std::make_tuple(moversapox, moversapoy, redesenhos),
                  std::make_tuple(c[3], c[4], !continuo && !c[5]));
    }
}

TEST(Teclado, BuildingAndFullScreenComparedExactlyAndAlwaysRedrawn) {
    const int casos[][4] = {
        // the building's floors, the key, then the floors and full screens after it
        {0, 'w', 1, 0}, {2, 'w', 2, 0}, {1, 's', 0, 0}, {0, 's', 0, 0}, {1, 'W', 1, 0},
        {1, 'S', 1, 0}, {0, 'f', 0, 1}, {0, 'F', 0, 0}, {5, 'x', 2, 0}, {-1, '1', 0, 0},
    };
    for (const auto &c : casos) {
        SCOPED_TRACE(&c - casos);
        Zera(0, 0, c[0]);
        Teclado(static_cast<unsigned char>(c[1]), 0, 0);
        EXPECT_EQ(std::make_tuple(predioy, telacheia, redesenhos), std::make_tuple(c[2], c[3], 1));
    }
}

TEST(movimentacarro, ElevenPositionsOnceEachWrappingAtTheLeftWithThePeriodReadAfresh) {
    Zera();
    // 100 ms before the first playing frame, which sets tempo to 40. The real
    // game draws its first frame before its first tick, so only this sees the
    // period before it.
    for (int esperado : {-4, 36, 32, 28, 24, 20, 16, 12, 8, 4, 0, -4, 36}) {
        const unsigned ms = tempo == 0 ? 100 : 60;
        redesenhos = relogios = 0;
        movimentacarro(1);
        EXPECT_EQ(std::make_tuple(movercarro, redesenhos, relogios, periodo),
                  std::make_tuple(esperado, 1, 1, ms));
        tempo = 40;
    }
}

TEST(Colisao, HitInTheTruckRowUnderTheTruckAndVictoryOnlyInTheGoalRow) {
    const int casos[][5] = {
        // the truck, the frog's x and row, then its row and whether it has won;
        // the truck covers x truck + 1 to truck + 4, the frog's centre is at x + 15
        {8, -7, 3, 3, 0},  {8, -6, 3, 0, 0},   {8, -3, 3, 0, 0},  {8, -2, 3, 3, 0},
        {8, -5, 2, 2, 0},  {8, -5, 4, 4, 0},   {0, -13, 3, 0, 0}, {24, 13, 3, 0, 0},
        {28, 13, 3, 3, 0}, {-4, -13, 3, 3, 0}, {0, 0, 5, 5, 0},   {36, 13, 6, 6, 1},
    };
    for (const auto &c : casos) {
        SCOPED_TRACE(&c - casos);
        Zera(c[1], c[2]);
        movercarro = c[0];
        Colisao();
        // A hit frog keeps its column; only back-to-back frames ask for the next.
        EXPECT_EQ(std::make_tuple(moversapox, moversapoy, lado, redesenhos, relogios),
                  std::make_tuple(c[1], c[3], c[4], continuo, 0));
    }
}
