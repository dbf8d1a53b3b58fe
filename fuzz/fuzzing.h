#pragma once

#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// Shared by the libFuzzer targets: the input as Qt bytes, and a check that aborts (a finding for the
// fuzzer) when a reader accepts what it promises to refuse.
namespace fuzzing {

inline QByteArray bytes(const uint8_t* data, size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

inline void verlangt(bool ok, const char* was) {
    if (ok) return;
    std::fprintf(stderr, "broken promise: %s\n", was);
    std::abort();
}

} // namespace fuzzing
