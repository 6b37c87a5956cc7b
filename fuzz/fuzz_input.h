#pragma once

#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <cstdio>

namespace lumigrave::fuzz {

// The fuzzer's bytes as the QByteArray the parsers take, without a copy, or nothing when
// they exceed cap: what a parser does with megabytes it already does with kilobytes, and
// long inputs only slow the search down.
inline bool wrap(const uint8_t* data, size_t size, size_t cap, QByteArray* bytes) {
    if (size > cap) {
        return false;
    }
    *bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    return true;
}

// Stops the run as a crash: a fuzzer saves the input that broke a promise.
[[noreturn]] inline void broken(const char* promise) {
    std::fprintf(stderr, "broken promise: %s\n", promise);
    __builtin_trap();
}

}  // namespace lumigrave::fuzz
