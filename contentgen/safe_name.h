#pragma once

#include <string>
#include <string_view>

namespace contentgen {

// A file name that goes on the wire as it stands and reads the same on every file system:
// `stem` in lower-case ASCII letters and digits, every other run of bytes one '-', at most 60
// bytes, then ".jpg". Empty when nothing of `stem` is left.
std::string SafeFileName(std::string_view stem);

}  // namespace contentgen
