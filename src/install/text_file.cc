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
    return ReplaceWholeFile(
        files, path, scratch,
        [&](const std::function<void(std::string_view)>& piece) { piece(text); });
}

bool ReplaceWholeFile(platform::FileSystem& files, const std::string& path,
                      const std::string& scratch, const TextPieces& produce) {
    bool written = false;
    try {
        auto stream = files.Create(scratch);
        constexpr std::size_t kBufferSize = 64 * 1024;
        std::string buffer;
        buffer.reserve(kBufferSize);
        const auto flush = [&] {
            if (!buffer.empty()) stream->WriteExactly(buffer.data(), buffer.size());
            buffer.clear();
        };
        produce([&](std::string_view piece) {
            if (buffer.size() + piece.size() > kBufferSize) flush();
            if (piece.size() >= kBufferSize) {
                stream->WriteExactly(piece.data(), piece.size());
            } else {
                buffer.append(piece);
            }
        });
        flush();
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
