// Allegro's MIDI synthesiser reads a patch index in the Gravis layout, not timidity's: melodic
// programs are numbered from 1, the drum kit sits in a "129 begin_multipatch" ... "end_multipatch"
// block keyed by note, and names resolve against the index's own folder ("dir" is unknown).
// This rewrites a timidity list (such as freepats.cfg) into that layout with absolute paths.
#pragma once

#include <iosfwd>
#include <string>

namespace sonido {

// Uses bank 0 and drum set 0. Throws std::runtime_error on a patch line outside any bank.
std::string allegro_patch_list(std::istream &in, const std::string &file);

} // namespace sonido
