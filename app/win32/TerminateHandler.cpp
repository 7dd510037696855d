// libstdc++'s default terminate handler names the uncaught exception's type, and for that links
// in its whole C++ demangler, an eighth of the executable. Here no exception leaves a window
// procedure (guardedCall), so a terminate is a bug that no name of a type would help the user
// with: this definition takes the place of the library's, and the demangler stays out.

#include <cstdlib>

namespace __gnu_cxx {

void __verbose_terminate_handler() {
    std::abort();
}

} // namespace __gnu_cxx
