// Drawing one game frame.
#pragma once
#include <mutex>

namespace vz {

extern char mensa[512];         // music message line, shown while mensaje is not 0
extern std::mutex candado_mensa; // held while mensa is written (timer thread) or copied

void act_grafica();
void dibucamfuesan();

} // namespace vz
