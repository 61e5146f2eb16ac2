// Built with the program's own versions of the library's error functions and without
// GoogleTest, whose streams would bring in the library's versions: a duplicate would fail
// the link. Each misuse must still throw what the program's catch clauses take.
#include <cstdint>
#include <cstdio>
#include <exception>
#include <memory>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

int failures = 0;

void Expect(bool ok, const char* what) {
  if (!ok) {
    std::printf("FAILED: %s\n", what);
    ++failures;
  }
}

// Which of the clauses catches the misuse: 2 as bad_alloc, 1 as another std::exception.
template <typename Misuse>
int CaughtAs(Misuse misuse, std::string* message = nullptr) {
  try {
    misuse();
  } catch (const std::bad_alloc&) {
    return 2;
  } catch (const std::exception& e) {
    if (message) *message = e.what();
    return 1;
  }
  return 0;
}

}  // namespace

int main() {
  std::string message;
  Expect(CaughtAs([] { (void)std::vector<int>(3).at(7); }, &message) == 1, "at() past the end");
  Expect(!message.empty(), "the message of at()");
  Expect(CaughtAs([] { (void)std::string("abc").substr(9); }) == 1, "substr() past the end");
  Expect(CaughtAs([] { std::string().reserve(std::string().max_size() + 1); }) == 1, "a string too long");
  Expect(CaughtAs([] { std::vector<char>().reserve(SIZE_MAX); }) == 1, "a vector too long");
  // The deep pass catches bad_alloc: the allocator's refusals must stay of that kind.
  Expect(CaughtAs([] { (void)std::allocator<int32_t>().allocate(SIZE_MAX / 2); }) == 2, "an absurd allocation");
  Expect(CaughtAs([] { (void)std::allocator<int32_t>().allocate(SIZE_MAX / 8 + 1); }) == 2, "an allocation too large");
  // The library's own error classes are not used: a caller catching one by type would miss.
  bool asLengthError = false;
  try {
    std::string().reserve(std::string().max_size() + 1);
  } catch (const std::length_error&) {
    asLengthError = true;
  } catch (...) {
  }
  Expect(!asLengthError, "the program's own error class");
  if (failures == 0) std::printf("all library errors caught as expected\n");
  return failures == 0 ? 0 : 1;
}
