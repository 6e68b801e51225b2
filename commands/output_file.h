#pragma once
// Output files that never lose what was there: the text goes to a temporary
// file in the target's folder, which replaces the target only once it is
// complete and flushed.

#include <string>
#include <string_view>

namespace kartex {

// Writes content to path. Fails with CommandError "Cannot create file PATH"
// when the file cannot be created, and "Cannot write file PATH" when writing
// fails part-way; the previous file of that name is then untouched and no
// temporary file is left. A target that exists and is no regular file (a
// device) is written directly, never replaced.
void WriteFileAtomically(const std::string& path, std::string_view content);

bool FileExists(const std::string& path);

// The extension of the last path component: from its last "." on, or empty
// when it has none.
std::string FileNameExtension(const std::string& path);

}  // namespace kartex
