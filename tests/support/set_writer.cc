#include "support/set_writer.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "archive/compress_records.h"
#include "archive/seg_records.h"
#include "pack/encoder.h"
#include "pack/records.h"

namespace kav::archive::testing {
namespace {

void Append(Bytes& out, const std::uint8_t* data, std::size_t size) {
    out.insert(out.end(), data, data + size);
}

template <std::size_t N>
void Append(Bytes& out, const RecordBytes<N>& record) {
    Append(out, record.data(), record.size());
}

}  // namespace

Bytes BytesOf(const std::string& text) { return Bytes(text.begin(), text.end()); }

std::uint32_t ByteSum(const Bytes& data) {
    std::uint32_t sum = 0;
    for (auto b : data) sum += b;
    return sum;
}

std::uint64_t Fnv1a64(const Bytes& data) {
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (auto b : data) {
        hash ^= b;
        hash *= 0x100000001b3ULL;
    }
    return hash;
}

Bytes EncodeRle(const Bytes& data) { return pack::Encode(lzh::coRLE, pack::Level::Normal, data); }

EntrySpec Stored(const std::string& name, const Bytes& data) {
    EntrySpec e;
    e.name = name;
    e.method = lzh::coNone;
    e.data = data;
    e.uncompressedSize = static_cast<std::int32_t>(data.size());
    e.byteSum = ByteSum(data);
    e.fnv = Fnv1a64(data);
    return e;
}

EntrySpec Rle(const std::string& name, const Bytes& data) {
    EntrySpec e = Stored(name, data);
    e.method = lzh::coRLE;
    e.coded = EncodeRle(data);
    return e;
}

EntrySpec Raw(const std::string& name, std::uint8_t method, const Bytes& data,
              std::uint32_t checksum) {
    EntrySpec e = Stored(name, data);
    e.method = method;
    e.coded = data;
    e.checksum = checksum;
    return e;
}

EntrySpec Coded(const std::string& name, std::uint8_t method, Bytes coded,
                std::int32_t uncompressedSize, std::uint32_t byteSum) {
    EntrySpec e;
    e.name = name;
    e.method = method;
    e.coded = std::move(coded);
    e.uncompressedSize = uncompressedSize;
    e.byteSum = byteSum;
    return e;
}

EntrySpec FromFixture(const std::string& name, const std::string& fixture) {
    const FixtureInfo info = FixtureManifest(fixture);
    const bool lh5 = fixture.size() > 4 && fixture.substr(fixture.size() - 4) == ".lh5";
    EntrySpec e = Coded(name, lh5 ? lzh::coLZH5 : lzh::coLZH,
                        ReadHostFile(TestDataDir() + "/lzh/" + fixture), info.size, info.byteSum);
    e.fnv = info.fnv;
    return e;
}

Bytes ArchiveWriter::Build() const {
    std::int64_t total = 0;
    for (const auto& e : entries_) total += e.uncompressedSize;

    const auto header = pack::ArchiveHeaderRecord(
        compressId_, total_.value_or(static_cast<std::int32_t>(total)), key_, archiveType_);

    Bytes out;
    Append(out, header);
    for (const auto& e : entries_) {
        Bytes data = e.coded.value_or(e.data);
        const bool coded =
            e.method == lzh::coRLE || e.method == lzh::coLZH || e.method == lzh::coLZH5;
        std::size_t keyIndex = 0;
        if (e.lockValue == kLockScrambled && coded) {
            pack::Scramble(data.data(), data.size(), key_, keyIndex);
        }
        const std::uint32_t checksum = pack::EntryChecksum(e.byteSum, e.lockValue, key_);

        pack::FileHeaderFields fields;
        fields.nameLength = e.nameLength.value_or(static_cast<std::int16_t>(e.name.size()));
        fields.fileDate = e.fileDate;
        fields.attributes = e.attributes;
        fields.uncompressedSize = e.uncompressedSize;
        fields.compressedSize = e.compressedSize.value_or(static_cast<std::int32_t>(data.size()));
        fields.method = e.method;
        fields.checksum = e.checksum.value_or(checksum);
        fields.lockValue = e.lockValue;
        Append(out, pack::FileHeaderRecord(fields).bytes);
        Append(out, reinterpret_cast<const std::uint8_t*>(e.name.data()), e.name.size());
        Append(out, data.data(), data.size());
    }
    return out;
}

Bytes ListArchive(const std::vector<std::string>& names, std::int32_t recordLength,
                  bool shortLastRecord, std::uint8_t padding, const std::string& entryName) {
    return pack::StoredArchive(entryName,
                               pack::ListFileRecords(names, recordLength, shortLastRecord, padding),
                               EntrySpec{}.fileDate, EntrySpec{}.attributes);
}

ArchiveLayout ArchiveFor(const std::string& templ, const ArchiveWriter& archive,
                         std::int32_t recordLength) {
    ArchiveLayout layout;
    layout.templ = templ;
    layout.recordLength = recordLength;
    for (const auto& e : archive.Entries()) layout.listNames.push_back(e.name);
    layout.archive = archive.Build();
    return layout;
}

Bytes SegmentSetWriter::LogicalStream(StreamLayout* layout) const {
    StreamLayout where;
    Bytes out;
    const auto set =
        pack::SetHeaderRecord(archiveCount_.value_or(static_cast<std::uint16_t>(archives_.size())));
    where.setHeader = out.size();
    Append(out, set);

    for (const auto& a : archives_) {
        std::vector<std::string> names = a.listNames;
        Bytes list = a.listArchive.value_or(ListArchive(names, a.recordLength));
        const auto scan = pack::ScanHeaderRecord(
            a.templateLength.value_or(static_cast<std::uint16_t>(a.templ.size())), a.archiveTag,
            a.recordLength, static_cast<std::int32_t>(list.size()));
        where.scanHeaders.push_back(out.size());
        Append(out, scan);
        where.templates.push_back(out.size());
        Append(out, reinterpret_cast<const std::uint8_t*>(a.templ.data()), a.templ.size());
        where.listArchives.push_back(out.size());
        Append(out, list.data(), list.size());
    }
    for (std::size_t i = 0; i < archives_.size(); ++i) {
        const auto& a = archives_[i];
        const auto arc =
            pack::ArcHeaderRecord(a.sequenceNumber.value_or(static_cast<std::uint16_t>(i)),
                                  static_cast<std::int32_t>(a.archive.size()));
        where.archiveHeaders.push_back(out.size());
        Append(out, arc);
        where.archives.push_back(out.size());
        Append(out, a.archive.data(), a.archive.size());
    }
    where.size = out.size();
    if (layout) *layout = where;
    return out;
}

std::vector<SegmentFile> SegmentSetWriter::Segments(const Bytes& stream,
                                                    const std::vector<std::size_t>& cuts) const {
    std::vector<SegmentFile> segments;
    std::size_t start = 0;
    auto emit = [&](std::size_t end) {
        const auto number = static_cast<std::uint16_t>(segments.size() + 1);
        const auto wrong = wrongNumbers.find(number);
        const auto id = pack::SegIdRecord(wrong == wrongNumbers.end() ? number : wrong->second);
        SegmentFile file{SegmentFileName(baseName, fixedExtension, number), {}};
        Append(file.bytes, id);
        Append(file.bytes, stream.data() + start, end - start);
        segments.push_back(std::move(file));
        start = end;
    };
    for (std::size_t cut : cuts) {
        if (cut < start || cut > stream.size()) throw std::invalid_argument("bad segment cut");
        emit(cut);
    }
    emit(stream.size());
    return segments;
}

std::vector<SegmentFile> SegmentSetWriter::SplitAt(const std::vector<std::size_t>& cuts) const {
    return Segments(LogicalStream(), cuts);
}

std::vector<SegmentFile> SegmentSetWriter::SplitEvery(std::size_t share) const {
    const Bytes stream = LogicalStream();
    std::vector<std::size_t> cuts;
    for (std::size_t at = share; at < stream.size(); at += share) cuts.push_back(at);
    return Segments(stream, cuts);
}

std::string TestDataDir() {
    const char* dir = std::getenv("KAV_TEST_DATA");
    return dir ? dir : "tests/data";
}

Bytes ReadHostFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteHostFile(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

FixtureInfo FixtureManifest(const std::string& fixture) {
    std::ifstream in(TestDataDir() + "/lzh/manifest.txt");
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string name, fnv;
        FixtureInfo info;
        if (fields >> name >> info.size >> info.byteSum >> fnv && name == fixture) {
            info.fnv = std::stoull(fnv, nullptr, 16);
            return info;
        }
    }
    throw std::runtime_error("fixture not in the manifest: " + fixture);
}

}  // namespace kav::archive::testing
