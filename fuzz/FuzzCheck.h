#pragma once
// The fuzz targets' way to report a broken promise: libFuzzer keeps the input of an abort.

#include <cstdio>
#include <cstdlib>

namespace ambrel::fuzz {

[[noreturn]] inline void fail(const char* fuzzer, const char* what) {
    std::fprintf(stderr, "%s: %s\n", fuzzer, what);
    std::abort();
}

} // namespace ambrel::fuzz
