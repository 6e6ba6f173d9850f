// Files read and saved whole, and the lock that keeps two copies of the game from saving over each
// other: what differs between systems, one implementation file per system. Paths are UTF-8.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace vz {

// Reads at most `max` bytes of `ruta` into `datos`. Returns the bytes read, or -1 when the file
// cannot be opened.
long lee_archivo(const std::string &ruta, void *datos, size_t max);

// Replaces `ruta` with the `n` bytes of `datos`: written to a temporary file of a unique name
// beside it (two copies saving at once never share one, and the rename stays within one file
// system), flushed to disk, then renamed over it, so `ruta` is always the old file or the new
// one, whole. The new file keeps the old one's permissions. False, with `ruta` as it was and no
// temporary file left, on any failure.
bool guarda_entero(const std::string &ruta, const void *datos, size_t n);

// An advisory lock on the file `ruta`.lock, shared by every copy of the game: `ruta` itself is
// replaced by each save, so a lock on it would be left on the old file. Waits up to 5 s for
// another copy to let it go (one holds it for milliseconds; a hung one must not freeze this one).
// SIN_CERROJO when it cannot be had, as in a read-only folder.
using Cerrojo = std::intptr_t;
constexpr Cerrojo SIN_CERROJO = -1;
Cerrojo toma_cerrojo(const std::string &ruta);
void suelta_cerrojo(Cerrojo c);

} // namespace vz
