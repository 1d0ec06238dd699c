#pragma once
// Classes: CCoTaskMem<T>, the owner of one block from the COM task allocator
// (strings and structures that the shell hands out for the caller to free).
#include <objbase.h>
#include <memory>

struct CCoTaskMemDeleter {
    void operator()(void* block) const noexcept { ::CoTaskMemFree(block); }
};

template <class T>
using CCoTaskMem = std::unique_ptr<T, CCoTaskMemDeleter>;
