// The ranking file: where a total goes and how a record moves the rest down; and under faults:
// saves that fail, two copies saving at once, and a save killed at every write, flush and rename
// by a real SIGKILL. (Records with no zero byte: fuzz_ranking.)
#include "entorno.h"
#include "menus/guardado.h"
#include "menus/menus.h"
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <spawn.h>
#include <sys/wait.h>

using namespace vz;
namespace fs = std::filesystem;

namespace {

using Bloque = std::vector<unsigned char>;
using prueba::pon;
using prueba::ranking_base;

// The file with a record of `total` and `iniciales` at place `lugar` of table `difi`: the places
// below move down one (score and initials; reserved bytes stay), place 10 drops.
Bloque con_registro(int difi, int lugar, uint32_t total, const char *iniciales) {
    Bloque b = ranking_base();
    unsigned char *t = &b[80 * difi];
    for (int r = 9; r > lugar; r--)
        std::copy_n(t + 8 * (r - 1), 7, t + 8 * r);
    pon(t + 8 * lugar, total, iniciales);
    return b;
}

TEST(Ranking, TiesGoAboveAndTheRestMovesDownKeepingTheReservedBytes) {
    const struct {
        int difi;
        uint32_t total;
        int lugar;
    } casos[] = {{1, 99999, 0}, {1, 7100, 3}, {1, 7099, 4}, {1, 1100, 9},
                 {1, 1099, 10}, {0, 1000, 9}, {2, 0, 10}};
    for (const auto &c : casos) {
        Bloque b = ranking_base();
        EXPECT_EQ(posicion_ranking(b.data(), c.difi, c.total), c.lugar) << c.total;
        if (c.lugar == 10) continue;
        inserta_ranking(b.data(), c.difi, c.lugar, c.total, "QRS");
        EXPECT_EQ(b, con_registro(c.difi, c.lugar, c.total, "QRS")) << c.total;
    }
    Bloque b = ranking_base();
    b[80 + 3] = 0x80; // place 1 of table 1 holds 2^31 + 10100: above any total, unsigned
    EXPECT_EQ(posicion_ranking(b.data(), 1, 2000000000u), 1);
    // Initials move as a string of at most three: what follows a zero is not kept.
    b[80 + 8 * 5 + 5] = 0;
    inserta_ranking(b.data(), 1, 0, 50000, "AAA");
    EXPECT_EQ(std::string(reinterpret_cast<const char *>(&b[80 + 8 * 6 + 4]), 3),
              std::string("B\0\0", 3));
}

struct Guardado : ::testing::Test {
    fs::path antes = fs::current_path(),
             dir = fs::temp_directory_path() / ("vz-guardado-" + std::to_string(getpid()));
    void SetUp() override {
        fs::remove_all(dir);
        fs::create_directories(dir / "datos");
        fs::current_path(dir);
    }
    void TearDown() override {
        fs::current_path(antes);
        fs::remove_all(dir);
    }
    static void escribe(const Bloque &b, const char *ruta = ruta_ranking) {
        std::ofstream(ruta, std::ios::binary)
            .write(reinterpret_cast<const char *>(b.data()), b.size());
    }
    static Bloque lee(const char *ruta = ruta_ranking) {
        std::ifstream in(ruta, std::ios::binary);
        return Bloque((std::istreambuf_iterator<char>(in)), {});
    }
    static long en_datos() { return std::distance(fs::directory_iterator("datos"), {}); }
};

TEST_F(Guardado, NoTemporaryFileIsLeftOrSharedAndTheModeIsKept) {
    fs::create_directories("datos/ranking.dat/x"); // a rename over it fails
    EXPECT_FALSE(guarda_entero(ruta_ranking, Bloque(TAM_RANKING, 2).data(), TAM_RANKING));
    EXPECT_EQ(en_datos(), 1); // nothing left beside it
    fs::remove_all(ruta_ranking);
    escribe(Bloque(TAM_RANKING, 1));
    escribe({'o', 't', 'r', 'a'}, "datos/ranking.dat.tmp"); // another copy's save under way
    for (const auto modo : {fs::perms(0640), fs::perms(0604), fs::perms(0600)}) {
        fs::permissions(ruta_ranking, modo);
        const Bloque nuevo(TAM_RANKING, static_cast<unsigned char>(modo));
        ASSERT_TRUE(guarda_entero(ruta_ranking, nuevo.data(), TAM_RANKING));
        EXPECT_EQ(lee(), nuevo);
        EXPECT_EQ(fs::status(ruta_ranking).permissions(), modo);
    }
    EXPECT_EQ(lee("datos/ranking.dat.tmp"), Bloque({'o', 't', 'r', 'a'}));
    EXPECT_EQ(en_datos(), 2); // and the other copy's
}

TEST_F(Guardado, ARecordThatNoLongerEntersTheFreshTableIsNotSaved) {
    Bloque llena(TAM_RANKING, 0);
    for (int r = 0; r < 10; r++)
        llena[8 * r] = 50;
    escribe(llena);
    EXPECT_EQ(guarda_record(0, 49, "ZZZ"), 10);
    EXPECT_EQ(lee(), llena);
}

// Starts the saving program with `total`, killed at call `mata` (0: never), or sleeping `duerme`
// ms before its rename. Returns its pid.
pid_t lanza(const fs::path &dir, uint32_t total, int mata, bool despues, int duerme = 0) {
    std::string e[] = {"LD_PRELOAD=" VZ_MATA, "VZ_MATA=" + std::to_string(mata),
                       std::string("VZ_MATA_DESPUES=") + (despues ? "1" : "0"),
                       "VZ_DUERME=" + std::to_string(duerme)};
    char *envp[] = {e[0].data(), e[1].data(), e[2].data(), e[3].data(), nullptr};
    std::string a[] = {VZ_GUARDA, dir, std::to_string(total)};
    char *argv[] = {a[0].data(), a[1].data(), a[2].data(), nullptr};
    pid_t pid;
    return posix_spawn(&pid, argv[0], nullptr, nullptr, argv, envp) == 0 ? pid : -1;
}

int espera(pid_t pid) { // the wait status
    int estado = -1;
    if (pid > 0) waitpid(pid, &estado, 0);
    return estado;
}

// Two copies that read the table before their initials entry and save at the same moment.
TEST_F(Guardado, TwoCopiesSavingAtOnceKeepBothRecords) {
    for (uint32_t i = 1; i <= 40; i++) {
        escribe(Bloque(TAM_RANKING, 0));
        const pid_t a = lanza(dir, 2 * i, 0, false, 20), b = lanza(dir, 2 * i + 1, 0, false, 20);
        ASSERT_TRUE(espera(a) == 0 && espera(b) == 0);
        const Bloque tabla = lee();
        ASSERT_TRUE(tabla[0] == 2 * i + 1 && tabla[8] == 2 * i) << "a record lost, round " << i;
    }
}

// What the saving program makes of `viejo` with `total`.
Bloque despues_de(Bloque viejo, uint32_t total) {
    const int p = posicion_ranking(viejo.data(), 0, total);
    if (p < 10) inserta_ranking(viejo.data(), 0, p, total, "KIL");
    return viejo;
}

TEST_F(Guardado, ASaveKilledAnywhereLeavesTheOldOrTheNewFileWholeAndTheNextSaveWorks) {
    // A save makes one write, the file's flush, the rename and the directory's flush.
    constexpr int LLAMADAS = 4, PUNTOS = 300;
    const unsigned semilla = std::random_device{}();
    std::mt19937 azar(semilla);
    SCOPED_TRACE("seed " + std::to_string(semilla));
    escribe(Bloque(TAM_RANKING, 0));
    for (int i = 0; i < PUNTOS; i++) {
        const auto total = static_cast<uint32_t>(azar() % 100000);
        if (posicion_ranking(lee().data(), 0, total) == 10) escribe(Bloque(TAM_RANKING, 0));
        const Bloque viejo = lee();
        const int mata = 1 + static_cast<int>(azar() % LLAMADAS);
        const bool despues = azar() % 2;
        const int estado = espera(lanza(dir, total, mata, despues));
        ASSERT_TRUE(WIFSIGNALED(estado) && WTERMSIG(estado) == SIGKILL) << "status " << estado;
        const Bloque ahora = lee();
        ASSERT_TRUE(ahora == viejo || ahora == despues_de(viejo, total))
            << "killed " << (despues ? "after" : "before") << " call " << mata;
        // The next start reads what is there and saves over it.
        ASSERT_EQ(espera(lanza(dir, total + 1, 0, false)), 0);
        ASSERT_EQ(lee(), despues_de(ahora, total + 1));
    }
}

} // namespace
