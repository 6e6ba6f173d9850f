#include "frame/paginas.h"
#include "frame/arranque.h"
#include "frame/escala.h"
#include "frame/utilfun.h"

namespace vz {

BITMAP *page1 = nullptr, *page2 = nullptr, *page3 = nullptr;
BITMAP *pvirtual = nullptr;
BITMAP *active_page = nullptr;
BITMAP *actual_page = nullptr;
int sync = 0;
int volteo = 0;

namespace {

int tick_volteo = 0; // tick of the latest copy-flip, so that the copy shows at most one frame a tick

BITMAP *pagina(int indice)
{
    BITMAP *const paginas[3] = {page1, page2, page3};
    return paginas[indice];
}

} // namespace

void prepara_paginas()
{
    if (triple_buffer) {
        // An enlarged window shows a memory picture: video pages could not be scaled.
        volteo = escala <= 1 && enable_triple_buffer() == 0 &&
                 (gfx_capabilities & GFX_CAN_TRIPLE_BUFFER);
        if (volteo) {
            page1 = create_video_bitmap(ANCHO, ALTO);
            page2 = create_video_bitmap(ANCHO, ALTO);
            page3 = create_video_bitmap(ANCHO, ALTO);
            volteo = page1 && page2 && page3;
            if (!volteo) {
                destroy_bitmap(page1);
                destroy_bitmap(page2);
                destroy_bitmap(page3);
            }
        }
        // Without page flipping the three pages live in memory and a flip copies one to the screen.
        if (!volteo) {
            page1 = create_bitmap(ANCHO, ALTO);
            page2 = create_bitmap(ANCHO, ALTO);
            page3 = create_bitmap(ANCHO, ALTO);
        }
        if (page1 == nullptr || page2 == nullptr || page3 == nullptr)
            aborta("out of memory for the three display pages");
        // The flip test shows them before anything is drawn: no leftover memory on screen.
        for (BITMAP *p : {page1, page2, page3}) clear_bitmap(p);
        testtriplebuffer();
    } else {
        pvirtual = create_bitmap(ANCHO, ALTO);
        if (pvirtual == nullptr) aborta("out of memory for the display page");
        active_page = screen;
    }
}

int sync_de_cuenta(int vueltas) { return vueltas > max_fps + 20 ? 1 : 0; }

void voltea(int &indice)
{
    if (volteo) {
        while (poll_scroll()) {
        }
        if (sync) vsync();
        request_video_bitmap(active_page);
        actual_page = active_page;
    } else {
        // One frame per tick, like a flip held to the refresh; the screen is the surface on view.
        while (tick == tick_volteo) cede();
        tick_volteo = tick;
        blit(active_page, screen, 0, 0, 0, 0, 320, 240);
        presenta();
        actual_page = screen;
    }
    indice = (indice + 1) % 3;
    active_page = pagina(indice);
}

void testtriplebuffer()
{
    int vueltas = 0;
    int indice = 0;
    mensaje = 1;
    active_page = page1;
    do {
        vueltas++;
        voltea(indice);
    } while (mensaje > 0);
    active_page = actual_page;
    sync = sync_de_cuenta(vueltas);
}

} // namespace vz
