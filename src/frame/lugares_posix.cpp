#include "frame/lugares.h"
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vz {

std::string carpeta_instalada()
{
    char exe[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
    if (n <= 0) return "";
    const std::string programa(exe, static_cast<size_t>(n));
    return programa.substr(0, programa.rfind('/')) + "/../share/games/vorkzel";
}

namespace {

// An XDG folder: the variable when it holds an absolute path, else `defecto` below the home.
std::string carpeta_xdg(const char *variable, const char *defecto)
{
    const char *xdg = std::getenv(variable);
    if (xdg != nullptr && xdg[0] == '/') return std::string(xdg) + "/vorkzel";
    const char *home = std::getenv("HOME");
    if (home == nullptr || home[0] == '\0') {
        const passwd *pw = getpwuid(getuid());
        home = pw != nullptr ? pw->pw_dir : "/";
    }
    return std::string(home) + defecto + "/vorkzel";
}

} // namespace

const char *const DONDE_AJUSTES =
    "$XDG_CONFIG_HOME/vorkzel/vorkzel.cfg (by default ~/.config/vorkzel/)";

std::string carpeta_propia() { return carpeta_xdg("XDG_DATA_HOME", "/.local/share"); }

std::string carpeta_config() { return carpeta_xdg("XDG_CONFIG_HOME", "/.config"); }

bool crea_carpetas(const std::string &ruta)
{
    // 0700: the XDG rule for the folders of a player's data. mkdir leaves an existing one alone.
    for (size_t i = 1; i <= ruta.size(); i++)
        if (i == ruta.size() || ruta[i] == '/') mkdir(ruta.substr(0, i).c_str(), 0700);
    struct stat st;
    return stat(ruta.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool existe(const std::string &ruta) { return access(ruta.c_str(), F_OK) == 0; }

std::FILE *crea_nuevo(const std::string &ruta)
{
    const int fd = open(ruta.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
    std::FILE *f = fd < 0 ? nullptr : fdopen(fd, "w");
    if (fd >= 0 && f == nullptr) close(fd);
    return f;
}

bool entra(const std::string &carpeta) { return chdir(carpeta.c_str()) == 0; }

std::FILE *abre(const std::string &ruta, const char *modo)
{
    return std::fopen(ruta.c_str(), modo);
}

bool borra(const std::string &ruta) { return std::remove(ruta.c_str()) == 0; }

} // namespace vz
