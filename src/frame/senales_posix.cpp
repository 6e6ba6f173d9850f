#include "frame/senales.h"
#include <csignal>
#include <unistd.h>

namespace vz {

namespace {

constexpr int FATALES[] = {SIGABRT, SIGFPE, SIGILL, SIGSEGV, SIGTERM, SIGINT, SIGQUIT};
bool ignorada[NSIG] = {};
void (*paso_propio)() = nullptr;
void (*de_biblioteca[NSIG])(int) = {}; // the library's handlers, installed before ours
volatile sig_atomic_t recibida = 0;

void desbloquea(int senal)
{
    sigset_t s;
    sigemptyset(&s);
    sigaddset(&s, senal);
    sigprocmask(SIG_UNBLOCK, &s, nullptr);
}

// Ends the process by the signal received. The library shuts down inside the handler, wherever
// the main thread was stopped: a lock that the stopped code holds would keep it waiting for ever.
void sin_esperar(int)
{
    std::signal(recibida, SIG_DFL);
    desbloquea(recibida);
    raise(recibida);
    _exit(128 + recibida);
}

void al_recibir(int senal)
{
    recibida = senal;
    std::signal(SIGALRM, sin_esperar);
    alarm(2);
    if (paso_propio != nullptr) paso_propio();
    // The library's handler ends by raising the signal again, which must then end the process.
    // Blocked, as a signal is inside its own handler, it would stay pending, and the library, when
    // it cannot shut down (its display lock taken), aborts instead. So it runs unblocked, now.
    struct sigaction sa = {};
    sa.sa_handler = de_biblioteca[senal];
    sa.sa_flags = SA_NODEFER;
    sigaction(senal, &sa, nullptr);
    desbloquea(senal);
    raise(senal);
    // The library's handler does not come back; should it, the signal still ends the game.
    sin_esperar(0);
}

} // namespace

void anota_senales()
{
    for (int senal : FATALES) {
        struct sigaction sa;
        ignorada[senal] = sigaction(senal, nullptr, &sa) == 0 && sa.sa_handler == SIG_IGN;
    }
}

void vigila_senales(void (*antes)())
{
    paso_propio = antes;
    for (int senal : FATALES)
        de_biblioteca[senal] = std::signal(senal, ignorada[senal] ? SIG_IGN : al_recibir);
}

} // namespace vz
