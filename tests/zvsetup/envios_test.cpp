// The send descriptors of env841.txt: the field rules, the end at a blank
// line, a repeated origin table, and a bad file that leaves envio_t as it was.
#include "Inserta/envios.h"
#include "tests/support/lectura_que_falla.h"
#include "tests/zvsetup/ayuda.h"

namespace zvsetup_test {
namespace {

const char* kConsultaEnvios =
    "SELECT formulario, tabla_o, tabla_d, tabla_ext, indice, obliga, c_tip_doc_d, c_doc_id_d, c_Formulario, "
    "c_periodo, c_estado, c_envio, c_semana FROM envio_t WHERE formulario = ? ORDER BY tabla_o";

const char* kTodosLosEnvios = "SELECT * FROM envio_t ORDER BY formulario, tabla_o";

class Envios841 : public InstalacionTest {
protected:
    // A descriptor of another form, which no run of this module may touch.
    void DescriptorAjeno() {
        auto db = Abre();
        db->Execute("INSERT INTO envio_t VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
                    {"0621", "T1", "D", "E", 1, 1, 1, 1, 1, 1, 1, 1, 1});
        db->Close();
    }
    std::vector<std::string> Envios(const std::string& formulario = "0841") {
        auto db = Abre();
        auto filas = Filas(*db, kConsultaEnvios, {formulario});
        db->Close();
        return filas;
    }
};

struct CasoBueno {
    const char* que;
    std::string archivo;
    std::vector<std::string> filas;
};

TEST_F(Envios841, ReglasDeLosCampos) {
    const std::vector<CasoBueno> casos = {
        {"the first field is dropped", "x|T1|T2|T3|1|0|1|2|3|4|5|6|7|\r\n", {"0841|T1|T2|T3|1|0|1|2|3|4|5|6|7"}},
        {"empty destination is one blank", "x|T1||T3|1|0|1|2|3|4|5|6|7|\r\n", {"0841|T1| |T3|1|0|1|2|3|4|5|6|7"}},
        {"destination of blanks kept", "x|T1|   |T3|1|0|1|2|3|4|5|6|7|\r\n", {"0841|T1|   |T3|1|0|1|2|3|4|5|6|7"}},
        {"origin and external trimmed, destination not",
         "x|  T1 | D2 |  T3  |1|0|1|2|3|4|5|6|7|\r\n",
         {"0841|T1| D2 |T3|1|0|1|2|3|4|5|6|7"}},
        {"a blank line ends the file",
         "x|A|B|C|1|1|1|1|1|1|1|1|1|\r\n   \r\nx|D|E|F|2|2|2|2|2|2|2|2|2|\r\nnot even a line\r\n",
         {"0841|A|B|C|1|1|1|1|1|1|1|1|1"}},
        {"the same origin twice keeps the later",
         "x|A|B|C|1|1|1|1|1|1|1|1|1|\r\nx|A|Z|Y|9|8|7|6|5|4|3|2|1|\r\n",
         {"0841|A|Z|Y|9|8|7|6|5|4|3|2|1"}},
        {"text after the 13th bar ignored",
         "x|T1|T2|T3|1|0|1|2|3|4|5|6|7|más|9|\r\n",
         {"0841|T1|T2|T3|1|0|1|2|3|4|5|6|7"}},
        {"quotes stored as written",
         "x|O'Brien|D\"2|E'3|1|0|1|2|3|4|5|6|7|\r\n",
         {"0841|O'Brien|D\"2|E'3|1|0|1|2|3|4|5|6|7"}},
        {"LF lines, the last one without an end",
         "x|A|B|C|1|1|1|1|1|1|1|1|1|\nx|D|E|F|0|255|0|-2|3|4|5|6|7|",
         {"0841|A|B|C|1|1|1|1|1|1|1|1|1", "0841|D|E|F|0|255|0|-2|3|4|5|6|7"}},
        {"numbers with blanks around", "x|T1|T2|T3| 1 | 0|1 |2 | 3|4|5|6|7|\r\n", {"0841|T1|T2|T3|1|0|1|2|3|4|5|6|7"}},
        {"an empty file leaves none", "", {}},
    };
    DescriptorAjeno();
    const auto ajeno = Envios("0621");
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.que);
        EscribeEnv841(caso.archivo);
        auto r = Instala();
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.err, "");
        EXPECT_EQ(Envios(), caso.filas);
        EXPECT_EQ(Envios("0621"), ajeno);
    }
}

struct CasoMalo {
    const char* que;
    std::string archivo;  // empty: no file at all
    long error;
};

TEST_F(Envios841, ArchivoMaloDejaLosEnviosComoEstaban) {
    const std::string bueno = "x|A|B|C|1|1|1|1|1|1|1|1|1|\r\nx|D|E|F|2|2|2|2|2|2|2|2|2|\r\n";
    const std::vector<CasoMalo> casos = {
        {"no file", "", 53},
        {"twelve fields", "x|T1|T2|T3|1|0|1|2|3|4|5|6|\r\n", 5},
        {"a bad third line",
         "x|G|H|I|1|1|1|1|1|1|1|1|1|\r\nx|J|K|L|1|1|1|1|1|1|1|1|1|\r\nx|T1|T2|T3|1|0|1|2|3|4|5|6\r\n", 5},
        {"empty number", "x|T1|T2|T3|1|0|1||3|4|5|6|7|\r\n", 13},
        {"empty byte", "x|T1|T2|T3||0|1|2|3|4|5|6|7|\r\n", 13},
        {"not a number", "x|T1|T2|T3|1|0|1|2|3|4|cinco|6|7|\r\n", 13},
        {"byte of 256", "x|T1|T2|T3|1|256|1|2|3|4|5|6|7|\r\n", 6},
        {"negative byte", "x|T1|T2|T3|1|0|-1|2|3|4|5|6|7|\r\n", 6},
        {"fraction in a byte", "x|T1|T2|T3|1.5|0|1|2|3|4|5|6|7|\r\n", 13},
    };
    DescriptorAjeno();
    EscribeEnv841(bueno);
    ASSERT_EQ(Instala().exitCode, 0);
    const auto antes = Sqlite3(kTodosLosEnvios);
    ASSERT_EQ(antes.size(), 3u);
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.que);
        if (caso.archivo.empty())
            fs::remove(Env841());
        else
            EscribeEnv841(caso.archivo);
        {
            // The steps before the file still run.
            auto db = Abre();
            db->Execute("UPDATE Param SET Funcion = ? WHERE Numero = '782' AND Argumento = '20142829551'", {"OTRA"});
            db->Close();
        }
        auto r = Instala();
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_NE(r.err.find("error '" + std::to_string(caso.error) + "'"), std::string::npos) << r.err;
        if (caso.error != 53) {
            EXPECT_NE(r.err.find("env841.txt, línea"), std::string::npos) << r.err;
        }
        EXPECT_EQ(Sqlite3(kTodosLosEnvios), antes);
        EXPECT_EQ(Sqlite3("SELECT Funcion FROM Param WHERE Numero = '782' AND Argumento = '20142829551'"),
                  std::vector<std::string>{"PROFUTURO AFP"});
    }
}

// A file that fails to be read part-way (a failing disk) is the device
// error, naming the file, never a shorter file: zvsetup stops on it as on
// any other error of the file, before any descriptor is touched.
TEST_F(Envios841, ArchivoQueFallaAlLeerseEsErrorDelDispositivo) {
    const std::string lineas = "x|A|B|C|1|1|1|1|1|1|1|1|1|\r\nx|D|E|F|2|2|2|2|2|2|2|2|2|\r\n";
    zvtest::LecturaQueFalla archivo(Env841(), lineas, lineas.find('\n') + 1);
    try {
        const auto envios = zvsetup::LeeEnvios(Env841());
        ADD_FAILURE() << "read as a file of " << envios.size() << " line(s)";
    } catch (const zv::Error& e) {
        EXPECT_EQ(e.Number(), 57);
        EXPECT_EQ(e.Description(), "Error de E/S en el dispositivo (" + Env841().string() + ")");
    }
}

TEST_F(Envios841, FilaRechazadaDejaLosEnviosComoEstaban) {
    DescriptorAjeno();
    EscribeEnv841("x|A|B|C|1|1|1|1|1|1|1|1|1|\r\n");
    ASSERT_EQ(Instala().exitCode, 0);
    const auto antes = Sqlite3(kTodosLosEnvios);

    EscribeEnv841("x|N|B|C|1|1|1|1|1|1|1|1|1|\r\nx|" + std::string(300, 'L') + "|B|C|1|1|1|1|1|1|1|1|1|\r\n");
    auto r = Instala();
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("Error al Ejecutar Sentencia SQL: Error Número : "), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("Mensaje: Los descriptores de envío del formulario 0841 quedaron como estaban."),
              std::string::npos)
        << r.err;
    EXPECT_EQ(Sqlite3(kTodosLosEnvios), antes);
}

}  // namespace
}  // namespace zvsetup_test
