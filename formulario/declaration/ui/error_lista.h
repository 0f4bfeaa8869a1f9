#pragma once
// The message of a failed action of the lists of declarations: the error's
// description, a line feed and its number after one blank, titled "Error".
#include <exception>
#include <string>

namespace zvform::ui {

std::string TextoErrorLista(const std::exception& error);
void MuestraErrorLista(const std::exception& error);

}  // namespace zvform::ui
