#pragma once
// The end of the program at once, without closing forms, files or the
// database: after a fatal error, a failed start-up check or "&Salir".
// Tests install their own ending (one that throws) to observe it.
#include <functional>

namespace zvform {

[[noreturn]] void TerminaPrograma(int codigo = 0);

// nullptr restores the real ending (std::_Exit).
void InstalaTerminador(std::function<void(int)> terminador);

}  // namespace zvform
