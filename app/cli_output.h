// Console output in UTF-8 (wide console writes when attached to a real console).
#pragma once

#include <string>

namespace hm {

void PrintOut(const std::string& text);
void PrintErr(const std::string& text);

}  // namespace hm
