// One logic tick and the player's control.
#pragma once

namespace vz {

void act_logica();
void teclasy();

} // namespace vz
