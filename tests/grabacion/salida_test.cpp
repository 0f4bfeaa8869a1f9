// "&Salir": the questions about what changed, and whether the form closes.
// The form stays open whenever the user asked to save and the save did
// not happen, so nothing typed is lost.
#include <gtest/gtest.h>

#include "formulario/core/estado.h"
#include "tests/grabacion/entorno.h"

namespace zvdecl::prueba {
namespace {

using zvform::Estado;
using zv::Answer;

constexpr const char* kOrden = "10203040";
const char* const kPreguntaModificado = "¿El formulario ha sido modificado, desea guardar los cambios?";
const char* const kPreguntaOrden = " El número de orden ha cambiado. ¿Desea guardar los cambios?";

struct CasoSalida {
    const char* nombre;
    bool enviada;
    bool modificado;
    bool ordenCambiado;
    std::vector<Answer> respuestas;
    std::vector<bool> puerta;
    const char* telefono;
    std::string orden;
    bool cierra;
    bool graba;
    std::vector<std::string> mensajes;  // every box shown, in order
};

void PrintTo(const CasoSalida& c, std::ostream* os) { *os << c.nombre; }

class SalidaTest : public GrabacionTest, public testing::WithParamInterface<CasoSalida> {};

TEST_P(SalidaTest, PreguntaYCierraSoloSiNoQuedaNadaPorGuardar) {
    const CasoSalida& c = GetParam();
    Estado& e = Estado::G();
    if (c.enviada) {
        entorno_->Envia("001", "");
        entorno_->AbreDesdeLista(true, "001");
    }
    e.gOrdenCambiado = c.ordenCambiado;
    const auto cab = Filas("SELECT * FROM CAB");
    const auto hcab = Filas("SELECT * FROM HCAB");
    DatosFrm841 d = DatosAbiertos();
    d.esEnviada = c.enviada;
    d.caption = CaptionFrm841(c.enviada);
    d.modificado = c.modificado;
    d.txtTelefono = c.telefono;
    d.formaDePago.formaPago = "E";
    d.txtNumOrdenE = {c.orden, DigitosDeOrden(kControl, kOrden)};
    for (Answer a : c.respuestas) mensajes_.Push(a);
    puerta_->respuestas = c.puerta;

    Resultado r = CmdValidar_Click(d, 2);

    EXPECT_EQ(r.cerrar, c.cierra);
    EXPECT_EQ(TextosMostrados(), c.mensajes);
    const bool grabo = Filas("SELECT * FROM CAB") != cab || Filas("SELECT * FROM HCAB") != hcab;
    EXPECT_EQ(grabo, c.graba);
    for (const auto& m : mensajes_.shown) EXPECT_EQ(m.title, d.caption);
}

const char* const kGrabadaForm = "Toda la información del formulario fue grabada satisfactoriamente.";
const char* const kGrabadaEnviada = "Toda la información de la declaración fue grabada satisfactoriamente.";
const char* const kTelefonoMal = "Identificación : Ingrese correctamente el teléfono";

INSTANTIATE_TEST_SUITE_P(
    Casos, SalidaTest,
    testing::Values(
        CasoSalida{"SinCambiosCierra", false, false, false, {}, {}, "", "", true, false, {}},
        CasoSalida{"ModificadoCancelarQueda", false, true, false, {Answer::Cancel}, {}, "", "", false, false,
                   {kPreguntaModificado}},
        CasoSalida{"ModificadoNoCierraSinGrabar", false, true, false, {Answer::No}, {}, "", "", true, false,
                   {kPreguntaModificado}},
        CasoSalida{"ModificadoSiGrabaYCierra", false, true, false, {Answer::Yes}, {}, "4412345", "", true, true,
                   {kPreguntaModificado, kGrabadaForm}},
        CasoSalida{"ModificadoSiConTelefonoMalQuedaAbierto", false, true, false, {Answer::Yes}, {}, "12345", "",
                   false, false, {kPreguntaModificado, kTelefonoMal}},
        CasoSalida{"ModificadoSiConPuertaCerradaQuedaAbierto", false, true, false, {Answer::Yes}, {false}, "", "",
                   false, false, {kPreguntaModificado}},
        CasoSalida{"OrdenCambiadoNoCierra", true, true, true, {Answer::No}, {}, "", kOrden, true, false,
                   {kPreguntaOrden}},
        CasoSalida{"OrdenCambiadoCortoQueda", true, true, true, {Answer::Yes}, {}, "", "1020304", false, false,
                   {kPreguntaOrden, "El número de orden es incorrecto"}},
        CasoSalida{"OrdenCambiadoDigitoMalQueda", true, true, true, {Answer::Yes}, {}, "", "10203041", false, false,
                   {kPreguntaOrden, "Dígito verificador incorrecto"}},
        CasoSalida{"OrdenCambiadoSiGrabaYCierra", true, true, true, {Answer::Yes}, {}, "", kOrden, true, true,
                   {kPreguntaOrden, kGrabadaEnviada}},
        CasoSalida{"OrdenCambiadoSiConPuertaCerradaQueda", true, true, true, {Answer::Yes}, {false}, "", kOrden,
                   false, false, {kPreguntaOrden}},
        CasoSalida{"EnviadaSinCambioDeOrdenCierra", true, false, false, {}, {}, "", kOrden, true, false, {}},
        // A refused "&Registrar Nro. Orden" leaves Modificado set but clears
        // the order flag: a sent declaration asks only about its order number.
        CasoSalida{"EnviadaModificadaSinCambioDeOrdenCierraSinPreguntar", true, true, false, {}, {}, "", "1020304",
                   true, false, {}}),
    [](const testing::TestParamInfo<CasoSalida>& i) { return std::string(i.param.nombre); });

TEST_F(GrabacionTest, PreguntasDeSalidaConSusBotonesEIcono) {
    DatosFrm841 d = DatosAbiertos();
    d.modificado = true;
    mensajes_.Push(Answer::Cancel);
    CmdValidar_Click(d, 2);
    ASSERT_EQ(mensajes_.shown.size(), 1u);
    EXPECT_EQ(mensajes_.shown[0].buttons, zv::Buttons::YesNoCancel);
    EXPECT_EQ(mensajes_.shown[0].icon, zv::Icon::Question);

    Estado::G().gEsEnviada = true;
    Estado::G().gOrdenCambiado = true;
    d.esEnviada = true;
    mensajes_.Push(Answer::No);
    CmdValidar_Click(d, 2);
    ASSERT_EQ(mensajes_.shown.size(), 2u);
    EXPECT_EQ(mensajes_.shown[1].buttons, zv::Buttons::YesNo);
    EXPECT_EQ(mensajes_.shown[1].icon, zv::Icon::Question);
}

}  // namespace
}  // namespace zvdecl::prueba
