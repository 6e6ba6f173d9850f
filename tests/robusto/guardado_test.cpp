// The ranking file under faults: odd bytes in it, saves that fail, two copies saving at once, and
// a save killed at every write, flush and rename by a real SIGKILL.
#include "entorno.h"
#include "frame/arranque.h"
#include "frame/flujo.h"
#include "frame/paginas.h"
#include "frame/utilfun.h"
#include "game/mundo.h"
#include "menus/menus.h"
#include <atomic>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <vector>

using namespace vz;
namespace fs = std::filesystem;

namespace {

using Bloque = std::vector<unsigned char>;

struct Guardado : ::testing::Test {
    fs::path antes, dir;
    BITMAP *pagina = nullptr;
    FONT *fuente = nullptr;
    std::thread reloj;
    std::atomic<bool> parar{false};

    void SetUp() override
    {
        antes = fs::current_path();
        dir = fs::temp_directory_path() / ("vz-robusto-" + std::to_string(getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir / "datos");
        fs::current_path(dir);
        pagina = create_bitmap(320, 240);
        active_page = pagina;
        fuente = font;
        font = prueba::fuente_color(); // draws in 200 and 201, so 239 can only be a highlight
        bg = -1;
        cambnib = 0;
        max_fps = 100;
        reloj = std::thread([this] {
            while (!parar) {
                tick++;
                std::this_thread::sleep_for(std::chrono::microseconds(100));
            }
        });
    }
    void TearDown() override
    {
        parar = true;
        reloj.join();
        font = fuente;
        destroy_bitmap(pagina);
        fs::current_path(antes);
        fs::remove_all(dir);
    }
    static void escribe(const Bloque &b, const char *ruta = ruta_ranking)
    {
        std::ofstream(ruta, std::ios::binary)
            .write(reinterpret_cast<const char *>(b.data()), static_cast<std::streamsize>(b.size()));
    }
    static Bloque lee(const fs::path &ruta = ruta_ranking)
    {
        std::ifstream in(ruta, std::ios::binary);
        return Bloque((std::istreambuf_iterator<char>(in)), {});
    }
    static std::vector<std::string> en_datos()
    {
        std::vector<std::string> v;
        for (const auto &e : fs::directory_iterator("datos")) v.push_back(e.path().filename());
        std::sort(v.begin(), v.end());
        return v;
    }
    std::vector<int> pixeles() const
    {
        std::vector<int> v;
        for (int y = 0; y < 240; y++)
            for (int x = 0; x < 320; x++) v.push_back(getpixel(pagina, x, y));
        return v;
    }
};

// Every record: a score whose bytes are all 'A', initials "ABC", and a reserved byte `reservado`.
Bloque con_reservado(unsigned char reservado)
{
    Bloque b(TAM_RANKING);
    for (int r = 0; r < 30; r++) {
        unsigned char *p = b.data() + 8 * r;
        std::fill(p, p + 4, 'A');
        p[4] = 'A', p[5] = 'B', p[6] = 'C', p[7] = reservado;
    }
    return b;
}

TEST(Filas, RowTextStopsAtTheInitials)
{
    // The record's seventh byte is the last one mapped: any read past the initials faults.
    const long tam = sysconf(_SC_PAGESIZE);
    auto *m = static_cast<unsigned char *>(
        mmap(nullptr, 2 * tam, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
    ASSERT_NE(m, MAP_FAILED);
    ASSERT_EQ(mprotect(m + tam, tam, PROT_NONE), 0);
    const struct {
        uint32_t puntos;
        std::string iniciales;
        int r;
        const char *texto;
    } casos[] = {{5, "ABC", 0, " 1      5 ABC"},
                 {123456, "AB", 9, "10 123456 AB"},
                 {0x41414141, "XYZ", 3, " 4 1094795585 XYZ"},
                 {0xffffffff, "", 1, " 2     -1 "}};
    for (const auto &c : casos) {
        unsigned char *reg = m + tam - 7;
        for (int i = 0; i < 4; i++) reg[i] = static_cast<unsigned char>(c.puntos >> (8 * i));
        for (int i = 0; i < 3; i++) reg[4 + i] = i < int(c.iniciales.size()) ? c.iniciales[i] : 0;
        char texto[TAM_FILA];
        texto_fila(texto, c.r, reg);
        EXPECT_STREQ(texto, c.texto);
    }
    munmap(m, 2 * tam);
}

TEST_F(Guardado, AFailedSaveHighlightsNobodysRow)
{
    const char *guardada = ruta_ranking;
    ruta_ranking = "no-such-dir/ranking.dat";
    difi = 0;
    puntos = 100;
    prueba::guion_teclas({KEY_ENTER, KEY_ENTER, KEY_ENTER});
    escriveranking();
    ruta_ranking = guardada;
    const auto p = pixeles();
    EXPECT_EQ(std::count(p.begin(), p.end(), 239), 0);
    EXPECT_GT(std::count(p.begin(), p.end(), 200), 0); // the table is there
}

TEST_F(Guardado, AnotherCopysTemporaryFileIsNotTouched)
{
    escribe(con_reservado(0));
    escribe({'o', 't', 'r', 'a'}, "datos/ranking.dat.tmp");
    const Bloque nuevo = con_reservado(7);
    ASSERT_TRUE(reemplaza_ranking(ruta_ranking, nuevo.data()));
    EXPECT_EQ(lee(), nuevo);
    EXPECT_EQ(lee("datos/ranking.dat.tmp"), Bloque({'o', 't', 'r', 'a'}));
    EXPECT_EQ(en_datos(), std::vector<std::string>({"ranking.dat", "ranking.dat.tmp"}));
}

TEST_F(Guardado, AFailedRenameLeavesNoTemporaryFile)
{
    fs::create_directories("datos/ranking.dat/x"); // a directory cannot be renamed over
    EXPECT_FALSE(reemplaza_ranking(ruta_ranking, con_reservado(0).data()));
    EXPECT_EQ(en_datos(), std::vector<std::string>({"ranking.dat"}));
}

TEST_F(Guardado, TheFileKeepsItsMode)
{
    for (const auto modo : {fs::perms(0640), fs::perms(0604), fs::perms(0600)}) {
        escribe(con_reservado(0));
        fs::permissions(ruta_ranking, modo);
        ASSERT_TRUE(reemplaza_ranking(ruta_ranking, con_reservado(1).data()));
        EXPECT_EQ(fs::status(ruta_ranking).permissions(), modo);
    }
}

// Runs the saving program on `dir` with `total`; with `mata` > 0 it is killed at that call.
// Returns the wait status.
int guarda(const fs::path &dir, uint32_t total, int mata, bool despues)
{
    std::vector<std::string> entorno = {"LD_PRELOAD=" VZ_MATA, "VZ_MATA=" + std::to_string(mata),
                                        std::string("VZ_MATA_DESPUES=") + (despues ? "1" : "0")};
    std::vector<char *> envp;
    for (auto &e : entorno) envp.push_back(e.data());
    envp.push_back(nullptr);
    std::string prog = VZ_GUARDA, d = dir, t = std::to_string(total);
    char *argv[] = {prog.data(), d.data(), t.data(), nullptr};
    pid_t pid;
    if (posix_spawn(&pid, prog.c_str(), nullptr, nullptr, argv, envp.data()) != 0) return -1;
    int estado = 0;
    waitpid(pid, &estado, 0);
    return estado;
}

// What the saving program makes of `viejo` with `total`.
Bloque despues_de(Bloque viejo, uint32_t total)
{
    const int p = posicion_ranking(viejo.data(), 0, total);
    if (p < 10) inserta_ranking(viejo.data(), 0, p, total, "KIL");
    return viejo;
}

TEST_F(Guardado, ASaveKilledAnywhereLeavesTheOldOrTheNewFileWholeAndTheNextSaveWorks)
{
    // A full save makes 30 writes, the file's flush, the rename and the directory's flush.
    constexpr int LLAMADAS = 33, PUNTOS = 300;
    const unsigned semilla = std::random_device{}();
    std::mt19937 azar(semilla);
    SCOPED_TRACE("seed " + std::to_string(semilla));
    escribe(Bloque(TAM_RANKING, 0));
    int muertos = 0;
    for (int i = 0; i < PUNTOS; i++) {
        const Bloque viejo = lee();
        const auto total = static_cast<uint32_t>(azar() % 100000);
        const int mata = 1 + static_cast<int>(azar() % LLAMADAS);
        const bool despues = azar() % 2;
        const int estado = guarda(dir, total, mata, despues);
        ASSERT_TRUE(WIFSIGNALED(estado) && WTERMSIG(estado) == SIGKILL)
            << "call " << mata << (despues ? " after" : " before") << ": status " << estado;
        muertos++;
        const Bloque ahora = lee();
        ASSERT_TRUE(ahora == viejo || ahora == despues_de(viejo, total))
            << "killed " << (despues ? "after" : "before") << " call " << mata;
        // The next start reads what is there and saves over it.
        const uint32_t siguiente = total + 1;
        ASSERT_EQ(guarda(dir, siguiente, 0, false), 0);
        ASSERT_EQ(lee(), despues_de(ahora, siguiente));
    }
    EXPECT_EQ(muertos, PUNTOS);
    RecordProperty("kill_points", muertos);
}

} // namespace
