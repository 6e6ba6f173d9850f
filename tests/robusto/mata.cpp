// Preloaded into a process to kill it with SIGKILL at one chosen call of write, fsync or rename:
// VZ_MATA=N picks the N-th such call (from 1), VZ_MATA_DESPUES=1 kills just after it, else just
// before it.
#include <csignal>
#include <cstdlib>
#include <dlfcn.h>
#include <unistd.h>

namespace {

int llamadas = 0;

void quiza_muere(bool despues)
{
    const char *n = std::getenv("VZ_MATA");
    const char *d = std::getenv("VZ_MATA_DESPUES");
    const bool es_despues = d != nullptr && d[0] == '1';
    if (n != nullptr && std::atoi(n) == llamadas && es_despues == despues) kill(getpid(), SIGKILL);
}

template <typename F> F real(const char *nombre)
{
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, nombre));
}

} // namespace

extern "C" ssize_t write(int fd, const void *p, size_t n)
{
    static auto f = real<ssize_t (*)(int, const void *, size_t)>("write");
    llamadas++;
    quiza_muere(false);
    const ssize_t r = f(fd, p, n);
    quiza_muere(true);
    return r;
}

extern "C" int fsync(int fd)
{
    static auto f = real<int (*)(int)>("fsync");
    llamadas++;
    quiza_muere(false);
    const int r = f(fd);
    quiza_muere(true);
    return r;
}

extern "C" int rename(const char *de, const char *a)
{
    static auto f = real<int (*)(const char *, const char *)>("rename");
    llamadas++;
    quiza_muere(false);
    const int r = f(de, a);
    quiza_muere(true);
    return r;
}
