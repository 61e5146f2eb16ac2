// The string table in the program's resources, read in one chosen language.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "settings/string_table.h"

namespace pravelo::settings {

class StringTableWin32 final : public StringTable {
 public:
  StringTableWin32(HMODULE module, uint16_t language) : module_(module), language_(language) {}
  std::string Text(int id) override;

 private:
  HMODULE module_;
  uint16_t language_;
};

// The text `id` in exactly that language; empty when the table has none.
std::wstring LoadStringIn(HMODULE module, int id, uint16_t language);

}  // namespace pravelo::settings
