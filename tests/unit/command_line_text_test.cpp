#include "platform/command_line_text.h"

#include <gtest/gtest.h>

namespace pravelo {
namespace {

TEST(ArgumentText, SkipsTheProgramNameAndTheBlanksAfterIt) {
  struct Case {
    const char* commandLine;
    const char* arguments;
  };
  const Case cases[] = {
      {"pravelo.exe /a", "/a"},
      {"C:\\Pravelo\\pravelo.exe", ""},
      {"\"C:\\Program Files\\Pravelo\\pravelo.exe\" /o 512", "/o 512"},
      {"\"C:\\Program Files\\Pravelo\\pravelo.exe\"", ""},
      {"pravelo.exe  \t /tray", "/tray"},
      // The switches compare exactly, so blanks at the end stay.
      {"pravelo.exe /a ", "/a "},
      // Text right after the closing quote already belongs to the arguments.
      {"\"C:\\x y\\pravelo.exe\"/u", "/u"},
      // Quotes inside the arguments are left for the program to read.
      {"pravelo.exe /q \"new name\"", "/q \"new name\""},
      // An unclosed quote takes the whole line as the name.
      {"\"C:\\x y\\pravelo.exe /a", ""},
      {"  pravelo.exe /b", "/b"},
      {"", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ArgumentText(c.commandLine), c.arguments) << "command line: " << c.commandLine;
  }
}

}  // namespace
}  // namespace pravelo
