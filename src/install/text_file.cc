#include "install/text_file.h"

#include "platform/exception.h"

namespace kav::install {

std::vector<std::string> ReadTextLines(platform::FileSystem& files, const std::string& path) {
    return SplitTextLines(ReadWholeFile(files, path));
}

std::string ReadWholeFile(platform::FileSystem& files, const std::string& path) {
    auto stream = files.OpenRead(path);
    std::string text;
    char buffer[8192];
    while (const std::size_t n = stream->Read(buffer, sizeof buffer)) text.append(buffer, n);
    return text;
}

bool ReplaceWholeFile(platform::FileSystem& files, const std::string& path,
                      const std::string& scratch, const std::string& text) {
    bool written = false;
    try {
        auto stream = files.Create(scratch);
        if (!text.empty()) stream->WriteExactly(text.data(), text.size());
        written = true;
    } catch (const kav::Exception&) {
    }
    if (written && files.MoveOnto(scratch, path)) return true;
    files.RemoveFile(scratch);
    return false;
}

std::vector<std::string> SplitTextLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n') {
            line += c;
            continue;
        }
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        lines.push_back(std::move(line));
        line.clear();
    }
    if (!line.empty()) lines.push_back(std::move(line));
    return lines;
}

std::string JoinTextLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

}  // namespace kav::install
