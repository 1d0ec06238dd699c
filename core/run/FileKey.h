#pragma once
// The key under which the run engine knows a file: two entries with one key
// are one file, however they are spelt ("a/../a/x" and "a/x", a link and its
// target, two hard links, a short 8.3 name and its long name, "\\?\Z:\x" and
// "z:/x").
#include <string>

#include "fs/IFileSystem.h"

// The file's identity (device and inode, or volume serial number and file
// index), following links as the conversion does. Where the identity cannot
// be read (a missing file) the normalised full path stands in, without letter
// case on Windows, whose names ignore it.
std::wstring SameFileKey(qlfs::IFileSystem& fs, const std::wstring& path);
