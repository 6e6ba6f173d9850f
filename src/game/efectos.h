// Run-overs, fire, bags and the vehicle's animation.
#pragma once

namespace vz {

void anisangre(int nueva);
void anifuego();
void bolsa();
void animacion();

} // namespace vz
