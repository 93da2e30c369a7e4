// Saving a file so that a failure never costs the old one: the new contents go to a temporary
// file in the same folder, which replaces the old file only once it is completely written.
#pragma once

#include <cstdio>
#include <functional>
#include <string>

namespace kvl {

// Calls Write with the open temporary file, then flushes, syncs and renames it over FName.
// Any failure (including an exception from Write) removes the temporary file and raises
// EInOutError, or lets Write's exception through. The file keeps the old file's permissions,
// or gets the usual ones for a new file.
void SaveFileReplacing(const std::string& FName, const std::function<void(std::FILE*)>& Write);

}  // namespace kvl
