// Preloaded into the game, stands in for a gamepad: the library's open of /dev/input/js0 gets the
// FIFO named by VZ_MANDO, which the test writes the pad's events into, and the joystick ioctls
// are answered as an Xbox-style pad's are (8 axes, 11 buttons). Reads and selects are the FIFO's.
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <linux/joystick.h>

static int falso = -1;

extern "C" int open(const char *ruta, int flags, ...) {
    static const auto real =
        reinterpret_cast<int (*)(const char *, int, ...)>(dlsym(RTLD_NEXT, "open"));
    va_list ap;
    va_start(ap, flags);
    const mode_t modo = flags & (O_CREAT | O_TMPFILE) ? va_arg(ap, mode_t) : 0;
    va_end(ap);
    const char *fifo = std::getenv("VZ_MANDO");
    if (fifo == nullptr || std::strcmp(ruta, "/dev/input/js0") != 0) return real(ruta, flags, modo);
    return falso = real(fifo, flags);
}

extern "C" int ioctl(int fd, unsigned long pedido, ...) {
    static const auto real =
        reinterpret_cast<int (*)(int, unsigned long, void *)>(dlsym(RTLD_NEXT, "ioctl"));
    va_list ap;
    va_start(ap, pedido);
    void *arg = va_arg(ap, void *);
    va_end(ap);
    if (fd != falso || falso < 0) return real(fd, pedido, arg);
    if (pedido == JSIOCGVERSION) *static_cast<unsigned *>(arg) = JS_VERSION;
    if (pedido == JSIOCGAXES) *static_cast<char *>(arg) = 8;
    if (pedido == JSIOCGBUTTONS) *static_cast<char *>(arg) = 11;
    return 0;
}
