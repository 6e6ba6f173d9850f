// Start-up: its buffers when memory runs out, the -tbuf pages before anything is drawn on them,
// and the song folders. Allocation is replaced here: blocks come filled with
// leftovers, and one chosen allocation fails.
#include "frame/arranque.h"
#include "frame/escala.h"
#include "frame/paginas.h"
#include "frame/utilfun.h"
#include "music/carpetas.h"
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <thread>
#include <unistd.h>

extern "C" void *__libc_malloc(size_t);
extern "C" void *__libc_calloc(size_t, size_t);

namespace {
int falla = -1; // allocations to go before the one that fails; -1: none fails
}

extern "C" void *malloc(size_t n)
{
    if (falla >= 0 && falla-- == 0) return nullptr;
    void *p = __libc_malloc(n);
    if (p != nullptr) std::memset(p, 0xAA, n);
    return p;
}

extern "C" void *calloc(size_t n, size_t t)
{
    if (falla >= 0 && falla-- == 0) return nullptr;
    return __libc_calloc(n, t);
}

using namespace vz;

namespace {
void inicia()
{
    static const bool hecho = install_allegro(SYSTEM_NONE, &errno, atexit) == 0;
    ASSERT_TRUE(hecho);
}
} // namespace

class SinMemoria : public testing::TestWithParam<int> {};

// The memory page, then the strip, the next block (two allocations each) and the object table.
TEST_P(SinMemoria, AFailedAllocationEndsStartUpWithAMessage)
{
    inicia();
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

TEST(PaginasTbuf, TheFlipTestShowsClearedPages)
{
    inicia();
    BITMAP *const guardada = screen;
    screen = create_bitmap(ANCHO, ALTO);
    triple_buffer = 1;
    escala = 2; // memory pages, as in an enlarged window
    max_fps = 75;
    tick = 0;
    // Stands in for the timers: ticks, and the end of the one-second test after a few of them.
    std::atomic<bool> hecho{false};
    std::thread reloj([&] {
        while (!hecho) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            if (++tick > 5) mensaje = 0;
        }
    });
    prepara_paginas();
    hecho = true;
    reloj.join();
    for (BITMAP *b : {screen, page1, page2, page3})
        for (int y = 0; y < ALTO; y++)
            for (int x = 0; x < ANCHO; x++) ASSERT_EQ(getpixel(b, x, y), 0) << x << "," << y;
    screen = guardada;
}

TEST(Canciones, ThePlayersSongsJoinTheShippedOnesInNameOrderUpToTen)
{
    inicia();
    namespace fs = std::filesystem;
    const fs::path raiz = fs::temp_directory_path() / ("vz-canciones-" + std::to_string(getpid()));
    const fs::path antes = fs::current_path();
    for (const char *f : {"mp3/b.mp3", "mp3/d.mp3", "casa/mp3/a.mp3", "casa/mp3/b.mp3"}) {
        fs::create_directories((raiz / f).parent_path());
        std::ofstream(raiz / f) << "x";
    }
    fs::current_path(raiz);
    carpeta_jugador = (raiz / "casa").string();
    const std::string suya = carpeta_jugador + "/mp3";
    ASSERT_EQ(lista_musica("mp3", "mp3"), 3);
    EXPECT_EQ(std::string(archivm[0]) + " " + carpetam[0], "a.mp3 " + suya);
    EXPECT_EQ(std::string(archivm[1]) + " " + carpetam[1], "b.mp3 " + suya); // the player's copy
    EXPECT_EQ(std::string(archivm[2]) + " " + carpetam[2], "d.mp3 mp3");
    for (int i = 10; i < 22; i++) std::ofstream(raiz / "casa/mp3" / (std::to_string(i) + ".mp3")) << "x";
    EXPECT_EQ(lista_musica("mp3", "mp3"), 10);
    EXPECT_STREQ(archivm[9], "19.mp3");
    fs::current_path(antes);
    fs::remove_all(raiz);
    carpeta_jugador.clear();
}
