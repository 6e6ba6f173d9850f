// Drawing one game frame.
#pragma once

namespace vz {

extern char mensa[512]; // music message line, shown while mensaje is not 0

void act_grafica();
void dibucamfuesan();

} // namespace vz
