#include "frame/ancho_win.h"
#include "frame/lugares.h"
#include <cerrno>
#include <direct.h>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>

namespace vz {

std::wstring ancho(const std::string &utf8)
{
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                      nullptr, 0);
    std::wstring w(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), w.data(), n);
    return w;
}

std::string utf8(const wchar_t *ancho)
{
    const int n = WideCharToMultiByte(CP_UTF8, 0, ancho, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 1) return "";
    std::string s(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, ancho, -1, s.data(), n, nullptr, nullptr);
    s.pop_back(); // the terminating zero
    return s;
}

const char *const DONDE_AJUSTES = "%APPDATA%\\vorkzel\\vorkzel.cfg";

std::string carpeta_instalada()
{
    // The data sits beside the program, in an unpacked zip and in the installed folder alike.
    std::wstring exe(MAX_PATH, L'\0');
    DWORD n;
    while ((n = GetModuleFileNameW(nullptr, exe.data(), static_cast<DWORD>(exe.size()))) ==
           exe.size())
        exe.resize(exe.size() * 2);
    if (n == 0) return "";
    exe.resize(n);
    const size_t barra = exe.find_last_of(L"\\/");
    return barra == std::wstring::npos ? "" : utf8(exe.substr(0, barra).c_str());
}

std::string carpeta_propia()
{
    // Roaming: the player's scores follow the player to another machine of the same network.
    PWSTR p = nullptr;
    std::string base;
    if (SHGetKnownFolderPath(FOLDERID_RoamingAppData, KF_FLAG_CREATE, nullptr, &p) == S_OK)
        base = utf8(p);
    CoTaskMemFree(p);
    if (base.empty()) {
        const wchar_t *appdata = _wgetenv(L"APPDATA");
        if (appdata != nullptr) base = utf8(appdata);
    }
    return base.empty() ? "" : base + "\\vorkzel";
}

std::string carpeta_config() { return carpeta_propia(); }

bool crea_carpetas(const std::string &ruta)
{
    // The folders below the player's profile inherit its access rules, which keep others out.
    const std::wstring w = ancho(ruta);
    for (size_t i = 1; i <= w.size(); i++)
        if (i == w.size() || w[i] == L'\\' || w[i] == L'/')
            CreateDirectoryW(w.substr(0, i).c_str(), nullptr);
    const DWORD a = GetFileAttributesW(w.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool existe(const std::string &ruta)
{
    return GetFileAttributesW(ancho(ruta).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::FILE *crea_nuevo(const std::string &ruta)
{
    // Text mode: the settings file gets Windows line ends, as Notepad expects.
    const int fd =
        _wopen(ancho(ruta).c_str(), _O_WRONLY | _O_CREAT | _O_EXCL, _S_IREAD | _S_IWRITE);
    std::FILE *f = fd < 0 ? nullptr : _fdopen(fd, "w");
    if (fd >= 0 && f == nullptr) _close(fd);
    return f;
}

bool entra(const std::string &carpeta) { return _wchdir(ancho(carpeta).c_str()) == 0; }

std::FILE *abre(const std::string &ruta, const char *modo)
{
    return _wfopen(ancho(ruta).c_str(), ancho(modo).c_str());
}

bool borra(const std::string &ruta) { return _wremove(ancho(ruta).c_str()) == 0; }

} // namespace vz
