#include "pack/host_files.h"

#include <vector>

#include "pack/pack_errors.h"

namespace kav::pack {

FileSink::FileSink(const std::filesystem::path& path)
    : path_(path), out_(path, std::ios::binary | std::ios::trunc) {
    if (!out_) throw EPackError(path.string() + ": cannot create file");
}

void FileSink::Write(const std::uint8_t* data, std::size_t size) {
    out_.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!out_) throw EPackError(path_.string() + ": cannot write (disk full?)");
}

void FileSink::Close() {
    out_.close();
    if (!out_) throw EPackError(path_.string() + ": cannot write (disk full?)");
}

std::uint64_t ReadInPieces(const std::filesystem::path& path,
                           const std::function<void(const std::uint8_t*, std::size_t)>& take) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw EPackError(path.string() + ": cannot open file");
    std::vector<char> buffer(1 << 16);
    std::uint64_t total = 0;
    while (in) {
        in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        const auto got = static_cast<std::size_t>(in.gcount());
        if (got == 0) break;
        take(reinterpret_cast<const std::uint8_t*>(buffer.data()), got);
        total += got;
    }
    if (in.bad()) throw EPackError(path.string() + ": read error");
    return total;
}

}  // namespace kav::pack
