#include <gtest/gtest.h>

#include "formulario/core/fecha.h"
#include "formulario/core/rutinas.h"
#include "platform/error.h"
#include "platform/msgbox.h"

namespace {

using zvform::Fecha;
using zvform::FechaNoFutura;

std::string Texto(const Fecha& f) {
    char t[40];
    std::snprintf(t, sizeof t, "%02d/%02d/%04d", f.dia, f.mes, f.anio);
    return t;
}

TEST(FechaNoFutura, HoyMananaYElTreintaYUno) {
    Fecha hoy{2026, 3, 15};
    EXPECT_TRUE(FechaNoFutura("15/03/2026", hoy));
    EXPECT_FALSE(FechaNoFutura("16/03/2026", hoy));
    EXPECT_TRUE(FechaNoFutura("31/02/2026", hoy));  // a past month, whatever its length
    EXPECT_TRUE(FechaNoFutura("31/12/2025", hoy));
    EXPECT_FALSE(FechaNoFutura("01/04/2026", hoy));
    EXPECT_FALSE(FechaNoFutura("01/01/2027", hoy));
    EXPECT_TRUE(FechaNoFutura("31/12/1999", hoy));
}

TEST(FechaNoFutura, ContraElRelojDelSistema) {
    Fecha hoy = zvform::Hoy();
    EXPECT_TRUE(FechaNoFutura(Texto(hoy)));
    Fecha manana = hoy;
    manana.dia += 1;  // the day after may not exist; it is not validated, only compared
    EXPECT_FALSE(FechaNoFutura(Texto(manana)));
    Fecha pasado{hoy.anio - 1, hoy.mes, 31};
    EXPECT_TRUE(FechaNoFutura(Texto(pasado)));
}

TEST(TextoFecha, DiaMesYAnioConSusCeros) {
    EXPECT_EQ(zvform::TextoFecha(Fecha{2026, 12, 10}), "10/12/2026");
    EXPECT_EQ(zvform::TextoFecha(Fecha{5, 1, 3}), "03/01/0005");
}

TEST(RellenaEspacios, AlineaALaDerechaConTopeDe200) {
    EXPECT_EQ(zvform::RellenaEspacios("12", 5), "   12");
    EXPECT_EQ(zvform::RellenaEspacios("12345", 3), "12345");
    EXPECT_EQ(zvform::RellenaEspacios("123", 3), "123");
    EXPECT_EQ(zvform::RellenaEspacios("ñ", 3), "  ñ");
    EXPECT_EQ(zvform::RellenaEspacios("ab", 252), std::string(200, ' ') + "ab");
    EXPECT_EQ(zvform::RellenaEspacios("ab", 0), "ab");
}

TEST(ValorMoneda, TextoANumero) {
    EXPECT_EQ(zvform::ValorMoneda(""), zv::Currency{});
    EXPECT_EQ(zvform::ValorMoneda("   "), zv::Currency{});
    EXPECT_EQ(zvform::ValorMoneda(dao::Value()), zv::Currency{});
    EXPECT_EQ(zvform::ValorMoneda(" 1234.56 "), zv::Currency::FromRaw(12345600));
    EXPECT_EQ(zvform::ValorMoneda("-15.5"), zv::Currency::FromRaw(-155000));
    EXPECT_EQ(zvform::ValorMoneda("1,234.5"), zv::Currency::FromRaw(12345000));
    EXPECT_EQ(zvform::ValorMoneda(dao::Value("0000000001250.00")), zv::Currency::FromUnits(1250));
    EXPECT_EQ(zvform::ValorMoneda(dao::Value(zv::Currency::FromUnits(7))), zv::Currency::FromUnits(7));
    EXPECT_EQ(zvform::ValorMoneda("12abc"), zv::Currency::FromUnits(12));
    // Beyond an amount's range: the overflow error, never a wrong amount.
    for (const char* texto : {"999,999,999,999,999", "1e20", "-999999999999999"}) {
        try {
            zvform::ValorMoneda(texto);
            ADD_FAILURE() << texto;
        } catch (const zv::Error& e) {
            EXPECT_EQ(e.Number(), 6) << texto;
        }
    }
}

TEST(MuestraMensaje, TituloPorOmision) {
    zv::ScriptedMessages mensajes;
    zv::SetMessageService(&mensajes);
    std::string titulo;
    zvform::MuestraMensaje("Seleccione un declarante", titulo);
    EXPECT_EQ(titulo, "Mensaje");
    zvform::MuestraMensaje("Otro", "Importar");
    zv::SetMessageService(nullptr);
    ASSERT_EQ(mensajes.shown.size(), 2u);
    EXPECT_EQ(mensajes.shown[0].title, "Mensaje");
    EXPECT_EQ(mensajes.shown[0].icon, zv::Icon::Information);
    EXPECT_EQ(mensajes.shown[0].text, "Seleccione un declarante");
    EXPECT_EQ(mensajes.shown[1].title, "Importar");
}

}  // namespace
