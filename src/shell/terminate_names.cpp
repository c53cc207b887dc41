// What the C++ runtime writes when an exception leaves the program: the name of its type, on
// the standard error stream, which Mivtra (a program without a console) never shows. Making
// that name readable takes the runtime's demangler, which brings about 75 KB into the shipped
// program, a printf of its own with it: the name goes out as the compiler spelled it instead.
#include <cxxabi.h>

#include <cstddef>

char* abi::__cxa_demangle(const char*, char*, std::size_t*, int* status)
{
    if (status) {
        *status = -2;   // "not a name under the mangling rules": the caller prints it as it is
    }
    return nullptr;
}
