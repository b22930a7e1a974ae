// The exports of libsorrelby over one process-wide converter.

#include "sorrelby.h"

#include "Doc2TifConverter.h"

#include <mutex>
#include <new>

namespace {

std::mutex& ConverterMutex() {
    static std::mutex mutex;
    return mutex;
}

vestrel::doctiff::Doc2TifConverter& Converter() {
    static vestrel::doctiff::Doc2TifConverter converter;
    return converter;
}

}  // namespace

extern "C" {

int InitDoc2TifServer(void) {
    try {
        std::lock_guard lock(ConverterMutex());
        return Converter().Init();
    } catch (...) {
        return 0;
    }
}

int PrintDoc2TifFile(const char* sources, const char* output) {
    if (!sources || !output) return 0;
    try {
        std::lock_guard lock(ConverterMutex());
        return Converter().Print(sources, output);
    } catch (...) {
        return 0;
    }
}

int CloseDoc2TifServer(void) {
    try {
        std::lock_guard lock(ConverterMutex());
        return Converter().Close();
    } catch (...) {
        return 1;
    }
}

void* sorrelby_proc_by_ordinal(int ordinal) {
    switch (ordinal) {
    case 1: return reinterpret_cast<void*>(&InitDoc2TifServer);
    case 2: return reinterpret_cast<void*>(&PrintDoc2TifFile);
    case 3: return reinterpret_cast<void*>(&CloseDoc2TifServer);
    default: return nullptr;
    }
}

}  // extern "C"
