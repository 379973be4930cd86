#pragma once

#include <filesystem>
#include <string>

namespace contentgen {

// The task scheme: line 7r + c names the picture of shape r in colour c, each line ended by
// CR LF, 49 lines in all.
std::string SchemeText();

// Writes the whole pack into `folder`, creating it when missing: the 49 cell pictures, the
// three fixed pictures and the scheme. Every file appears whole (written beside
// its place, then renamed) and readable by all, so a server may serve the folder while it is
// rewritten; the scheme comes last. Throws std::runtime_error or filesystem_error on failure.
void WritePack(const std::filesystem::path& folder);

}  // namespace contentgen
