// Preloaded to SIGKILL the process at one call of write, fsync or rename: VZ_MATA=N picks the N-th
// such call (from 1), VZ_MATA_DESPUES=1 kills just after it, else just before it. VZ_DUERME=MS
// sleeps before each rename instead, so that saves started together overlap.
#include <csignal>
#include <cstdlib>
#include <dlfcn.h>
#include <unistd.h>

namespace {

int llamadas = 0;

void quiza_muere(bool despues) {
    const char *n = std::getenv("VZ_MATA");
    const char *d = std::getenv("VZ_MATA_DESPUES");
    if (n != nullptr && std::atoi(n) == llamadas && (d != nullptr && d[0] == '1') == despues)
        kill(getpid(), SIGKILL);
}

template <typename F, typename... A> auto llama(const char *nombre, A... a) {
    static auto f = reinterpret_cast<F>(dlsym(RTLD_NEXT, nombre)); // one per signature
    llamadas++;
    quiza_muere(false);
    const auto r = f(a...);
    quiza_muere(true);
    return r;
}

} // namespace

extern "C" ssize_t write(int fd, const void *p, size_t n) {
    return llama<ssize_t (*)(int, const void *, size_t)>("write", fd, p, n);
}
extern "C" int fsync(int fd) {
    return llama<int (*)(int)>("fsync", fd);
}
extern "C" int rename(const char *de, const char *a) {
    if (const char *ms = std::getenv("VZ_DUERME")) usleep(1000 * std::atoi(ms));
    return llama<int (*)(const char *, const char *)>("rename", de, a);
}
