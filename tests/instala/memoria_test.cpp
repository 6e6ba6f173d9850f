// Start-up's buffers when memory runs out, the -tbuf pages, the song folders. Allocation is
// replaced here: blocks come filled with leftovers, and one chosen allocation fails.
#include "frame/arranque.h"
#include "frame/escala.h"
#include "frame/paginas.h"
#include "frame/utilfun.h"
#include "music/carpetas.h"
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <thread>
#include <unistd.h>

extern "C" void *__libc_malloc(size_t);
extern "C" void *__libc_calloc(size_t, size_t);

static int falla = -1; // allocations to go before the one that fails; -1: none fails

extern "C" void *malloc(size_t n) {
    if (falla >= 0 && falla-- == 0) return nullptr;
    void *p = __libc_malloc(n);
    if (p != nullptr) std::memset(p, 0xAA, n);
    return p;
}

extern "C" void *calloc(size_t n, size_t t) {
    if (falla >= 0 && falla-- == 0) return nullptr;
    return __libc_calloc(n, t);
}

using namespace vz;

class Arranque : public testing::Test {
  protected:
    static void SetUpTestSuite() { ASSERT_EQ(install_allegro(SYSTEM_NONE, &errno, atexit), 0); }
};

class SinMemoria : public Arranque, public testing::WithParamInterface<int> {};

// The memory page, then the strip, the next block (two allocations each) and the object table.
TEST_P(SinMemoria, AFailedAllocationEndsStartUpWithAMessage) {
    triple_buffer = 0;
    EXPECT_EXIT(
        {
            falla = GetParam();
            prepara_paginas();
            crea_trabajo();
            falla = -1;
            std::exit(0);
        },
        testing::ExitedWithCode(1), "vorkzel: out of memory");
}
INSTANTIATE_TEST_SUITE_P(CadaReserva, SinMemoria, testing::Range(0, 7));

TEST_F(Arranque, TheFlipTestShowsClearedTbufPages) {
    BITMAP *const guardada = screen;
    screen = create_bitmap(ANCHO, ALTO);
    triple_buffer = 1;
    escala = 2; // memory pages, as in an enlarged window
    tick = 0;
    // Stands in for the timers: ticks, and the end of the one-second test after a few of them.
    std::atomic<bool> hecho{false};
    std::thread reloj([&] {
        for (; !hecho; std::this_thread::sleep_for(std::chrono::milliseconds(5)))
            if (++tick > 5) mensaje = 0;
    });
    prepara_paginas();
    hecho = true;
    reloj.join();
    for (BITMAP *b : {screen, page1, page2, page3})
        for (int k = 0; k < ANCHO * ALTO; k++)
            ASSERT_EQ(getpixel(b, k % ANCHO, k / ANCHO), 0) << k % ANCHO << "," << k / ANCHO;
    screen = guardada;
}

// Shipped b, c3 and d; the player's a, b and c0..c7 but c3: the first ten names of both folders.
TEST_F(Arranque, ThePlayersSongsJoinTheShippedOnesInNameOrderUpToTen) {
    const std::string raiz = "/tmp/vz-canciones-" + std::to_string(getpid());
    const std::string orden = "mkdir -p " + raiz + "/casa/mp3 " + raiz + "/mp3 && cd " + raiz +
                              " && touch mp3/b.mp3 mp3/c3.mp3 mp3/d.mp3 && cd casa/mp3 && touch"
                              " a.mp3 b.mp3 c0.mp3 c1.mp3 c2.mp3 c4.mp3 c5.mp3 c6.mp3 c7.mp3";
    ASSERT_EQ(std::system(orden.c_str()), 0);
    const auto antes = std::filesystem::current_path();
    std::filesystem::current_path(raiz);
    carpeta_jugador = "casa";
    std::string vistos;
    for (int i = 0, n = lista_musica("mp3", "mp3"); i < n; i++)
        vistos += carpetam[i] + "/" + archivm[i] + " ";
    EXPECT_EQ(vistos, "casa/mp3/a.mp3 casa/mp3/b.mp3 casa/mp3/c0.mp3 casa/mp3/c1.mp3 "
                      "casa/mp3/c2.mp3 mp3/c3.mp3 casa/mp3/c4.mp3 casa/mp3/c5.mp3 "
                      "casa/mp3/c6.mp3 casa/mp3/c7.mp3 ");
    std::filesystem::current_path(antes);
    std::filesystem::remove_all(raiz);
    carpeta_jugador.clear();
}
