// The standard library's containers and strings report misuse through these functions. The
// library's own versions throw logic_error and its kin, whose messages are copy-on-write
// strings: linking them brings a second string implementation and its error classes into
// the program, some 50 KB. The program catches only bad_alloc by type and everything else
// with catch (...), so the same throws with a plain message class change nothing it does.
// Linked into the program alone: every function the library's file defines is defined
// here, so that file is never pulled in beside these.
#include <exception>
#include <new>
#include <typeinfo>

namespace pravelo {
namespace {

class LibraryError final : public std::exception {
 public:
  explicit LibraryError(const char* message) noexcept : message_(message) {}
  const char* what() const noexcept override { return message_; }

 private:
  const char* message_;  // the library passes literals
};

}  // namespace
}  // namespace pravelo

namespace std {

void __throw_bad_alloc() { throw bad_alloc(); }
void __throw_bad_array_new_length() { throw bad_array_new_length(); }
void __throw_bad_cast() { throw bad_cast(); }
void __throw_bad_typeid() { throw bad_typeid(); }
void __throw_bad_exception() { throw bad_exception(); }
void __throw_logic_error(const char* message) { throw pravelo::LibraryError(message); }
void __throw_domain_error(const char* message) { throw pravelo::LibraryError(message); }
void __throw_invalid_argument(const char* message) { throw pravelo::LibraryError(message); }
void __throw_length_error(const char* message) { throw pravelo::LibraryError(message); }
void __throw_out_of_range(const char* message) { throw pravelo::LibraryError(message); }
// The format's numbers are left out: the message is never shown.
void __throw_out_of_range_fmt(const char* format, ...) { throw pravelo::LibraryError(format); }
void __throw_runtime_error(const char* message) { throw pravelo::LibraryError(message); }
void __throw_range_error(const char* message) { throw pravelo::LibraryError(message); }
void __throw_overflow_error(const char* message) { throw pravelo::LibraryError(message); }
void __throw_underflow_error(const char* message) { throw pravelo::LibraryError(message); }

}  // namespace std
