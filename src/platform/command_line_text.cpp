#include "platform/command_line_text.h"

namespace pravelo {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view SkipBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  return text;
}

}  // namespace

std::string_view ArgumentText(std::string_view commandLine) {
  std::string_view rest = SkipBlanks(commandLine);
  if (!rest.empty() && rest.front() == '"') {
    const size_t closing = rest.find('"', 1);
    rest.remove_prefix(closing == std::string_view::npos ? rest.size() : closing + 1);
  } else {
    size_t end = 0;
    while (end < rest.size() && !IsBlank(rest[end])) ++end;
    rest.remove_prefix(end);
  }
  return SkipBlanks(rest);
}

}  // namespace pravelo
