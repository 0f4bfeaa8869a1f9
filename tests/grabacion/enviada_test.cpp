// "&Registrar Nro. Orden" of a sent declaration: the order number checked
// against its two check characters and stored in HCAB with a new digest;
// nothing else of the sent declaration changes.
#include <gtest/gtest.h>

#include "formulario/core/estado.h"
#include "tests/grabacion/entorno.h"

namespace zvdecl::prueba {
namespace {

using zvform::Estado;

constexpr const char* kOrden = "10203040";
const char* const kGrabada = "Toda la información de la declaración fue grabada satisfactoriamente.";

class EnviadaTest : public GrabacionTest {
protected:
    void SetUp() override {
        GrabacionTest::SetUp();
        entorno_->Envia("001", "");
        entorno_->AbreDesdeLista(true, "001");
        enviada_ = Filas("SELECT * FROM HCAB");
        hdet_ = Filas("SELECT * FROM HDET ORDER BY casilla");
        hdetalle_ = Filas("SELECT * FROM HF841DETDES ORDER BY Num_Doctrab");
        registrada_ = Filas("SELECT * FROM CAB");
    }

    DatosFrm841 DatosEnviados(const std::string& orden, const std::string& digitos) const {
        DatosFrm841 d = DatosAbiertos();
        d.esEnviada = true;
        d.caption = CaptionFrm841(true);
        d.formaDePago.habilitado = "0";
        d.txtNumOrdenE = {orden, digitos};
        d.modificado = true;
        return d;
    }

    // Nothing of the sent declaration but (when `norden`) its order number changed.
    void SoloCambio(const char* norden) {
        std::vector<Fila> hcab = Filas("SELECT * FROM HCAB");
        ASSERT_EQ(hcab.size(), 1u);
        Fila esperada = enviada_[0];
        if (norden) {
            esperada["norden"] = norden;
            esperada["cnumero"] = hcab[0]["cnumero"];
            for (auto& [calculado, guardado] : Digestos("SELECT * FROM HCAB", 6)) EXPECT_EQ(guardado, calculado);
        }
        EXPECT_EQ(hcab[0], esperada);
        EXPECT_EQ(Filas("SELECT * FROM HDET ORDER BY casilla"), hdet_);
        EXPECT_EQ(Filas("SELECT * FROM HF841DETDES ORDER BY Num_Doctrab"), hdetalle_);
        EXPECT_EQ(Filas("SELECT * FROM CAB"), registrada_);
    }

    std::vector<Fila> enviada_, hdet_, hdetalle_, registrada_;
};

TEST_F(EnviadaTest, NumeroDeOrdenCorrectoSeGuardaConNuevoDigesto) {
    DatosFrm841 d = DatosEnviados(kOrden, DigitosDeOrden(kControl, kOrden));
    Estado::G().gOrdenCambiado = true;
    Resultado r = CmdValidar_Click(d, 1);
    EXPECT_TRUE(r.ok);
    EXPECT_FALSE(d.modificado);
    EXPECT_FALSE(Estado::G().gOrdenCambiado);
    SoloCambio(kOrden);
    ASSERT_EQ(mensajes_.shown.size(), 1u);
    EXPECT_EQ(mensajes_.shown[0].text, kGrabada);
    EXPECT_EQ(mensajes_.shown[0].icon, zv::Icon::Exclamation);
    EXPECT_EQ(mensajes_.shown[0].title, "0841 Solvenda - Enviadas");
}

TEST_F(EnviadaTest, TelefonoMalNoImportaEnUnaEnviada) {
    DatosFrm841 d = DatosEnviados(kOrden, DigitosDeOrden(kControl, kOrden));
    d.txtTelefono = "123";
    EXPECT_TRUE(GrabarForm(d).ok);
    SoloCambio(kOrden);
}

struct CasoOrden {
    const char* nombre;
    std::string orden;
    std::string digitos;
    const char* mensaje;
};

void PrintTo(const CasoOrden& c, std::ostream* os) { *os << c.nombre; }

class OrdenRechazadoTest : public EnviadaTest, public testing::WithParamInterface<CasoOrden> {};

TEST_P(OrdenRechazadoTest, NoGrabaNadaYVuelveALosDigitos) {
    const CasoOrden& c = GetParam();
    DatosFrm841 d = DatosEnviados(c.orden, c.digitos);
    Resultado r = GrabarForm(d);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.foco, "TxtNumOrdenE_1");
    EXPECT_TRUE(d.modificado);
    SoloCambio(nullptr);
    ASSERT_EQ(mensajes_.shown.size(), 1u);
    EXPECT_EQ(mensajes_.shown[0].text, c.mensaje);
    EXPECT_EQ(mensajes_.shown[0].icon, zv::Icon::Critical);
}

std::string DigitosErrados() {
    std::string bien = DigitosDeOrden(kControl, kOrden);
    bien[1] = bien[1] == '9' ? '0' : static_cast<char>(bien[1] + 1);
    return bien;
}

INSTANTIATE_TEST_SUITE_P(
    Casos, OrdenRechazadoTest,
    testing::Values(CasoOrden{"DigitoErrado", kOrden, DigitosErrados(), "     El digito verificador es incorrecto"},
                    CasoOrden{"SinDigitos", kOrden, "", "     El digito verificador es incorrecto"},
                    CasoOrden{"OrdenCorto", "1020304", DigitosDeOrden(kControl, "1020304"),
                              "     El número de orden no es válido"},
                    CasoOrden{"OrdenLargo", "102030405", "00", "     El número de orden no es válido"}),
    [](const testing::TestParamInfo<CasoOrden>& i) { return std::string(i.param.nombre); });

// The correlative of the form matches no sent copy: the user is told that
// nothing was stored, never that everything was.
TEST_F(EnviadaTest, SinFilaEnHcabDiceQueNoSeEncontroYNoGraba) {
    Estado::G().gCorrel = "002";
    DatosFrm841 d = DatosEnviados(kOrden, DigitosDeOrden(kControl, kOrden));
    Resultado r = GrabarForm(d);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(d.modificado);
    SoloCambio(nullptr);
    ASSERT_EQ(mensajes_.shown.size(), 1u);
    EXPECT_EQ(mensajes_.shown[0].text, "No se encontró la declaración enviada; no se grabó el número de orden.");
    EXPECT_EQ(mensajes_.shown[0].icon, zv::Icon::Critical);
}

}  // namespace
}  // namespace zvdecl::prueba
