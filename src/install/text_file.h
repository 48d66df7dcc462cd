#pragma once
// Reading a text file as lines, as a memo loads one.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"

namespace kav::install {

// The lines of the file at `path`, split at CR LF, LF or CR; a final line
// break does not start another line. Throws platform::EFOpenError when the
// file cannot be opened.
std::vector<std::string> ReadTextLines(platform::FileSystem& files, const std::string& path);

// The whole file as it is, byte for byte. Throws platform::EFOpenError.
std::string ReadWholeFile(platform::FileSystem& files, const std::string& path);

// Writes `text` to `scratch` and puts it in the place of `path` in one step.
// False on any failure: `path` is as it was then and the scratch file gone.
bool ReplaceWholeFile(platform::FileSystem& files, const std::string& path,
                      const std::string& scratch, const std::string& text);
// The same with a text that `produce` hands over in pieces, written through
// a buffer, so that a large text is never held whole.
using TextPieces = std::function<void(const std::function<void(std::string_view)>& piece)>;
bool ReplaceWholeFile(platform::FileSystem& files, const std::string& path,
                      const std::string& scratch, const TextPieces& produce);

// The same split of text already read.
std::vector<std::string> SplitTextLines(const std::string& text);
// The lines as a DOS text file: each, the last included, ends in CR LF.
std::string JoinTextLines(const std::vector<std::string>& lines);

}  // namespace kav::install
