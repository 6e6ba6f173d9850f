#include "menus/guardado.h"
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vz {

namespace {

mode_t umask_actual()
{
    const mode_t m = umask(0);
    umask(m);
    return m;
}

bool escribe_todo(int fd, const unsigned char *p, size_t n)
{
    while (n > 0) {
        const ssize_t hecho = write(fd, p, n);
        if (hecho < 0 && errno == EINTR) continue;
        if (hecho <= 0) return false;
        p += hecho;
        n -= static_cast<size_t>(hecho);
    }
    return true;
}

} // namespace

long lee_archivo(const std::string &ruta, void *datos, size_t max)
{
    const int fd = open(ruta.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return -1;
    auto *p = static_cast<unsigned char *>(datos);
    size_t leidos = 0;
    while (leidos < max) {
        const ssize_t r = read(fd, p + leidos, max - leidos);
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) break;
        leidos += static_cast<size_t>(r);
    }
    close(fd);
    return static_cast<long>(leidos);
}

bool guarda_entero(const std::string &ruta, const void *datos, size_t n)
{
    std::string temporal = ruta + ".XXXXXX";
    const int fd = mkstemp(temporal.data());
    if (fd < 0) return false;
    // A first file gets the usual permissions, not mkstemp's private ones.
    struct stat viejo;
    const mode_t modo =
        stat(ruta.c_str(), &viejo) == 0 ? viejo.st_mode & 07777 : 0644 & ~umask_actual();
    const auto *p = static_cast<const unsigned char *>(datos);
    bool bien = fchmod(fd, modo) == 0 && escribe_todo(fd, p, n);
    bien = bien && fsync(fd) == 0;
    bien = (close(fd) == 0) && bien;
    if (!bien || rename(temporal.c_str(), ruta.c_str()) != 0) {
        unlink(temporal.c_str());
        return false;
    }
    // Make the rename itself durable.
    const size_t barra = ruta.rfind('/');
    const std::string dir = barra == std::string::npos ? "." : ruta.substr(0, barra);
    const int dfd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        fsync(dfd);
        close(dfd);
    }
    return true;
}

Cerrojo toma_cerrojo(const std::string &ruta)
{
    // Read-only is enough for flock, so a lock file made by another player sharing the folder
    // still serves.
    const int fd = open((ruta + ".lock").c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) return SIN_CERROJO;
    for (int i = 0; i < 500; i++) {
        if (flock(fd, LOCK_EX | LOCK_NB) == 0) return fd;
        if (errno != EWOULDBLOCK && errno != EINTR) break;
        usleep(10000);
    }
    close(fd);
    return SIN_CERROJO;
}

void suelta_cerrojo(Cerrojo c)
{
    if (c != SIN_CERROJO) close(static_cast<int>(c)); // closing lets the lock go
}

} // namespace vz
