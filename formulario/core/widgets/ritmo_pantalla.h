#pragma once
// The pace of a screen for what changes far oftener than anyone can read
// it (a counter that moves on every record of a long loop): shown again at
// most kVecesPorSegundo times a second, so that the loop does not spend
// its time painting.
//
//   zvform::RitmoDePantalla ritmo;
//   ritmo.Reinicia();                 // the next change is shown at once
//   if (ritmo.Toca()) etiqueta->setText(...);
#include <chrono>
#include <functional>

namespace zvform {

class RitmoDePantalla {
public:
    using Instante = std::chrono::steady_clock::time_point;
    static constexpr int kVecesPorSegundo = 30;

    // Where the time comes from: the steady clock; tests hold or step it.
    static std::function<Instante()>& FuenteDeReloj();

    // True when the last showing lies a screen's frame or more behind (or
    // none was made since Reinicia); the showing is then counted as made now.
    bool Toca();
    void Reinicia() { mostrado_ = false; }

private:
    bool mostrado_ = false;
    Instante ultimo_{};
};

}  // namespace zvform
