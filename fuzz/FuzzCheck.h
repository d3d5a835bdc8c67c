#pragma once

#include <QString>

#include <cstdio>
#include <cstdlib>

// What a fuzz target checks besides the sanitizers: a property that fails ends the run the
// way a crash does, so that libFuzzer keeps the input that broke it.
inline void FuzzRequire(bool holds, const char* property, const QString& detail = QString())
{
    if (holds)
        return;
    std::fprintf(stderr, "Property violated: %s\n", property);
    if (!detail.isEmpty())
        std::fprintf(stderr, "  %s\n", detail.left(2000).toUtf8().constData());
    std::abort();
}

// The fuzz input as UTF-8 text.
inline QString FuzzText(const unsigned char* data, size_t size)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}
