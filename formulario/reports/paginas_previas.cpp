#include "formulario/reports/paginas_previas.h"

namespace zvform {

void PaginaPrevia::Agrega(const LineaSpool& linea) {
    Trazo t = Trazo::De(linea);
    if (t.tipo != Trazo::Tipo::Cuadro) {
        t.inicio = static_cast<std::uint32_t>(textos.size());
        t.largo = static_cast<std::uint32_t>(linea.texto.size());
        textos += linea.texto;
    }
    trazos.push_back(t);
}

PaginasPrevias::PaginasPrevias(RangoPaginas rango) : rango_(rango), paginas_(1) {}

void PaginasPrevias::Toma(const LineaSpool& linea) {
    switch (linea.comando) {
        case ComandoSpool::Hojas:
            iNroHoja_ = 0;
            break;
        case ComandoSpool::Color:
            // The tag's last character is not part of the colour ("&H00FFFFC0&").
            if (auto color = ColorSpool(std::string_view(linea.texto).substr(0, linea.texto.empty() ? 0 : linea.texto.size() - 1))) {
                color_ = *color;
                conColor_ = true;
                paginas_[0].color = *color;
            }
            break;
        case ComandoSpool::Pos:
        case ComandoSpool::PosVerti:
        case ComandoSpool::Cuadro: {
            int imagen = ImagenDe(linea.hoja);
            if (imagen >= 0) paginas_[static_cast<std::size_t>(imagen)].Agrega(linea);
            break;
        }
        default:
            break;  // the font and the orientation do not change the preview; page breaks come from the page fields
    }
}

std::vector<PaginaPrevia> PaginasPrevias::Suelta() {
    for (PaginaPrevia& p : paginas_) {
        p.trazos.shrink_to_fit();
        p.textos.shrink_to_fit();
    }
    return std::move(paginas_);
}

int PaginasPrevias::ImagenDe(int hoja) {
    if (hoja < 0 || !rango_.Contiene(hoja)) return -1;
    if (static_cast<std::size_t>(hoja) >= imagenDeHoja_.size()) imagenDeHoja_.resize(static_cast<std::size_t>(hoja) + 1, -1);
    int& imagen = imagenDeHoja_[static_cast<std::size_t>(hoja)];
    if (imagen < 0) {
        // The first page kept lies on picture 0: page 0 without a range, the
        // range's first page with one.
        const bool primera = rango_.activo ? !algunaTomada_ : hoja == 0;
        if (primera) {
            imagen = 0;
        } else {
            PaginaPrevia nueva;
            nueva.color = conColor_ ? color_ : paginas_[0].color;
            paginas_.push_back(std::move(nueva));
            imagen = static_cast<int>(paginas_.size()) - 1;
        }
    }
    algunaTomada_ = true;
    if (hoja > iNroHoja_) iNroHoja_ = hoja;
    return imagen;
}

}  // namespace zvform
