#include "frame/ancho_win.h"
#include "menus/guardado.h"
#include <windows.h>

namespace vz {

namespace {

// Every reader lets a save replace the file under it.
constexpr DWORD COMPARTE = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// A scanner or an indexer may hold the old file open for a moment: the replace is tried again.
bool reemplaza(const std::wstring &desde, const std::wstring &hacia)
{
    for (int i = 0; i < 20; i++) {
        if (MoveFileExW(desde.c_str(), hacia.c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        const DWORD e = GetLastError();
        if (e != ERROR_SHARING_VIOLATION && e != ERROR_ACCESS_DENIED) return false;
        Sleep(25);
    }
    return false;
}

} // namespace

long lee_archivo(const std::string &ruta, void *datos, size_t max)
{
    const HANDLE h = CreateFileW(ancho(ruta).c_str(), GENERIC_READ, COMPARTE, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return -1;
    auto *p = static_cast<unsigned char *>(datos);
    size_t leidos = 0;
    DWORD r;
    while (leidos < max && ReadFile(h, p + leidos, static_cast<DWORD>(max - leidos), &r, nullptr) &&
           r > 0)
        leidos += r;
    CloseHandle(h);
    return static_cast<long>(leidos);
}

bool guarda_entero(const std::string &ruta, const void *datos, size_t n)
{
    // A name of its own beside the file: this process and a count, made only if it is not there.
    static unsigned cuenta = 0;
    const std::wstring destino = ancho(ruta);
    std::wstring temporal;
    HANDLE h = INVALID_HANDLE_VALUE;
    for (int i = 0; i < 100 && h == INVALID_HANDLE_VALUE; i++) {
        temporal = destino + L"." + std::to_wstring(GetCurrentProcessId()) + L"-" +
                   std::to_wstring(cuenta++);
        h = CreateFileW(temporal.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) return false;
    }
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD escritos = 0;
    bool bien = WriteFile(h, datos, static_cast<DWORD>(n), &escritos, nullptr) && escritos == n;
    bien = bien && FlushFileBuffers(h);
    bien = CloseHandle(h) && bien;
    if (!bien || !reemplaza(temporal, destino)) {
        DeleteFileW(temporal.c_str());
        return false;
    }
    return true;
}

Cerrojo toma_cerrojo(const std::string &ruta)
{
    const HANDLE h = CreateFileW(ancho(ruta + ".lock").c_str(), GENERIC_READ, COMPARTE, nullptr,
                                 OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return SIN_CERROJO;
    for (int i = 0; i < 500; i++) {
        OVERLAPPED desde = {};
        if (LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &desde))
            return reinterpret_cast<Cerrojo>(h);
        if (GetLastError() != ERROR_LOCK_VIOLATION) break;
        Sleep(10);
    }
    CloseHandle(h);
    return SIN_CERROJO;
}

void suelta_cerrojo(Cerrojo c)
{
    if (c != SIN_CERROJO) CloseHandle(reinterpret_cast<HANDLE>(c)); // closing lets the lock go
}

} // namespace vz
