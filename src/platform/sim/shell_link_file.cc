#include "platform/sim/shell_link_file.h"

#include <array>
#include <cstddef>
#include <limits>

#include "platform/errors.h"

namespace kav::platform::sim {

namespace {

// The shell link header.
constexpr std::size_t kHeaderSize = 76;
constexpr std::size_t kHeaderSizeAt = 0;
constexpr std::size_t kClassIdAt = 4;
constexpr std::size_t kLinkFlagsAt = 20;
constexpr std::size_t kFileAttributesAt = 24;
constexpr std::size_t kIconIndexAt = 56;
constexpr std::size_t kShowCommandAt = 60;
// {00021401-0000-0000-C000-000000000046} as stored: the first three groups
// little-endian, the last two as written.
constexpr std::array<std::uint8_t, 16> kShellLinkClassId = {
    0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};

constexpr std::uint32_t kHasLinkInfo = 0x02;
constexpr std::uint32_t kHasName = 0x04;
constexpr std::uint32_t kHasWorkingDir = 0x10;
constexpr std::uint32_t kHasArguments = 0x20;
constexpr std::uint32_t kHasIconLocation = 0x40;
constexpr std::uint32_t kFileAttributeArchive = 0x20;
constexpr std::uint32_t kShowNormal = 1;

// LinkInfo: its header, then the VolumeID, the local base path and an
// empty common path suffix.
constexpr std::size_t kLinkInfoHeaderSize = 0x1C;
constexpr std::size_t kLinkInfoSizeAt = 0;
constexpr std::size_t kLinkInfoHeaderSizeAt = 4;
constexpr std::size_t kLinkInfoFlagsAt = 8;
constexpr std::size_t kVolumeIdOffsetAt = 12;
constexpr std::size_t kLocalBasePathOffsetAt = 16;
constexpr std::size_t kNetworkOffsetAt = 20;
constexpr std::size_t kCommonPathSuffixOffsetAt = 24;
constexpr std::uint32_t kVolumeIdAndLocalBasePath = 0x01;
// VolumeID: size, drive type, serial number, label offset, then an empty
// label.
constexpr std::size_t kVolumeIdSize = 0x11;
constexpr std::size_t kVolumeLabelOffset = 0x10;
constexpr std::uint32_t kDriveFixed = 3;

// Little-endian stores at a named offset, checked against the buffer.
void StoreU32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
    if (at + 4 > bytes.size()) throw EPlatformError("shell link field outside its record");
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

void AppendU32(std::vector<std::uint8_t>& bytes, std::uint32_t value) {
    bytes.resize(bytes.size() + 4);
    StoreU32(bytes, bytes.size() - 4, value);
}

void AppendText(std::vector<std::uint8_t>& bytes, const std::string& text) {
    bytes.insert(bytes.end(), text.begin(), text.end());
}

// A counted string of the string data: its length in characters (16 bits),
// then the characters, no terminator.
void AppendCounted(std::vector<std::uint8_t>& bytes, const std::string& text) {
    if (text.size() > std::numeric_limits<std::uint16_t>::max()) {
        throw EPlatformError("shell link string too long");
    }
    bytes.push_back(static_cast<std::uint8_t>(text.size()));
    bytes.push_back(static_cast<std::uint8_t>(text.size() >> 8));
    AppendText(bytes, text);
}

std::vector<std::uint8_t> LinkInfo(const std::string& target) {
    const std::size_t volumeAt = kLinkInfoHeaderSize;
    const std::size_t pathAt = volumeAt + kVolumeIdSize;
    const std::size_t suffixAt = pathAt + target.size() + 1;
    std::vector<std::uint8_t> info(kLinkInfoHeaderSize);
    StoreU32(info, kLinkInfoSizeAt, static_cast<std::uint32_t>(suffixAt + 1));
    StoreU32(info, kLinkInfoHeaderSizeAt, kLinkInfoHeaderSize);
    StoreU32(info, kLinkInfoFlagsAt, kVolumeIdAndLocalBasePath);
    StoreU32(info, kVolumeIdOffsetAt, static_cast<std::uint32_t>(volumeAt));
    StoreU32(info, kLocalBasePathOffsetAt, static_cast<std::uint32_t>(pathAt));
    StoreU32(info, kNetworkOffsetAt, 0);
    StoreU32(info, kCommonPathSuffixOffsetAt, static_cast<std::uint32_t>(suffixAt));
    AppendU32(info, kVolumeIdSize);
    AppendU32(info, kDriveFixed);
    AppendU32(info, 0);  // serial number
    AppendU32(info, kVolumeLabelOffset);
    info.push_back(0);  // empty label
    AppendText(info, target);
    info.push_back(0);
    info.push_back(0);  // empty common path suffix
    return info;
}

}  // namespace

std::vector<std::uint8_t> ShellLinkFileBytes(const ShellLink& link) {
    std::uint32_t flags = kHasLinkInfo;
    if (!link.description.empty()) flags |= kHasName;
    if (!link.workingDirectory.empty()) flags |= kHasWorkingDir;
    if (!link.arguments.empty()) flags |= kHasArguments;
    if (!link.iconFile.empty()) flags |= kHasIconLocation;

    std::vector<std::uint8_t> bytes(kHeaderSize);
    StoreU32(bytes, kHeaderSizeAt, kHeaderSize);
    for (std::size_t i = 0; i < kShellLinkClassId.size(); ++i) {
        bytes.at(kClassIdAt + i) = kShellLinkClassId[i];
    }
    StoreU32(bytes, kLinkFlagsAt, flags);
    StoreU32(bytes, kFileAttributesAt, kFileAttributeArchive);
    StoreU32(bytes, kIconIndexAt, static_cast<std::uint32_t>(link.iconIndex));
    StoreU32(bytes, kShowCommandAt, kShowNormal);

    const std::vector<std::uint8_t> info = LinkInfo(link.target);
    bytes.insert(bytes.end(), info.begin(), info.end());
    // The string data in the format's order.
    if (flags & kHasName) AppendCounted(bytes, link.description);
    if (flags & kHasWorkingDir) AppendCounted(bytes, link.workingDirectory);
    if (flags & kHasArguments) AppendCounted(bytes, link.arguments);
    if (flags & kHasIconLocation) AppendCounted(bytes, link.iconFile);
    AppendU32(bytes, 0);  // terminal block
    return bytes;
}

}  // namespace kav::platform::sim
