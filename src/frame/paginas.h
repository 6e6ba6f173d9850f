// Display pages: one memory page copied to the screen, or three pages shown in turn.
#pragma once
#include "allegro_vz.h"

namespace vz {

extern BITMAP *page1, *page2, *page3; // the three pages of -tbuf mode, 320 x 240; null otherwise
extern BITMAP *pvirtual;              // memory page of double-buffer mode; null in -tbuf mode
extern BITMAP *active_page;           // where all drawing goes
extern BITMAP *actual_page;           // the surface on view during play
extern int sync;                      // 1: vsync before every flip (flips were not held to the refresh)
// 1 when the driver really flips video pages. 0 on drivers without triple buffering: the pages are
// then memory bitmaps and a flip copies the page to the screen after waiting for the next tick.
extern int volteo;

// Creates the pages for the mode chosen by triple_buffer (runs the flip test in -tbuf mode).
void prepara_paginas();
// One-second flip test: sets sync, active_page and actual_page.
void testtriplebuffer();
// The flip count of the test turned into sync: 1 above max_fps + 20.
int sync_de_cuenta(int vueltas);
// Shows active_page (flip or copy) and moves active_page on in the rotation given by `indice`.
void voltea(int &indice);

} // namespace vz
