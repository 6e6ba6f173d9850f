// Start-up's buffers when memory runs out. Allocation is replaced here: blocks come filled with
// leftovers, and one chosen allocation fails.
#include "frame/arranque.h"
#include "frame/paginas.h"
#include <cstring>
#include <gtest/gtest.h>

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

class SinMemoria : public testing::TestWithParam<int> {
  protected:
    static void SetUpTestSuite() { ASSERT_EQ(install_allegro(SYSTEM_NONE, &errno, atexit), 0); }
};

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
