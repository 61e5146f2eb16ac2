#include "taskbar/subclass_thunk.h"

#include "taskbar/code_bytes.h"

namespace pravelo::taskbar {

namespace {

constexpr uint8_t HexDigit(char digit) {
  if (digit >= '0' && digit <= '9') return static_cast<uint8_t>(digit - '0');
  if (digit >= 'A' && digit <= 'F') return static_cast<uint8_t>(digit - 'A' + 10);
  if (digit >= 'a' && digit <= 'f') return static_cast<uint8_t>(digit - 'a' + 10);
  throw "not a hexadecimal digit";  // only ever evaluated at compile time
}

constexpr SubclassThunk DecodeTemplate() {
  SubclassThunk code{};
  for (std::size_t i = 0; i < code.size(); ++i) {
    code[i] = static_cast<uint8_t>(HexDigit(kSubclassTemplate[2 * i]) << 4 |
                                   HexDigit(kSubclassTemplate[2 * i + 1]));
  }
  return code;
}

constexpr SubclassThunk kTemplateCode = DecodeTemplate();

static_assert(kSubclassTemplate.size() % 2 == 0);
static_assert(kTemplateCode[kSubclassObjectOffset - 1] == 0x68, "push imm32 before the object slot");
static_assert(kTemplateCode[kSubclassProcedureOffset - 1] == 0xB8,
              "mov eax, imm32 before the procedure slot");

}  // namespace

SubclassThunk BuildSubclassThunk(uint32_t objectAddress, uint32_t procedureAddress) {
  SubclassThunk code = kTemplateCode;
  StoreLittleEndian(code, kSubclassObjectOffset, objectAddress);
  StoreLittleEndian(code, kSubclassProcedureOffset, procedureAddress);
  return code;
}

}  // namespace pravelo::taskbar
