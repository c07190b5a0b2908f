// The fixed records of a zip archive (format version 2.0, single volume, no extra fields, no comments):
// one struct for an entry's header fields and one function per record that appends its bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace publish {

inline constexpr std::uint16_t kZipVersion = 20;           // 2.0, host system 0 (MS-DOS)
inline constexpr std::uint16_t kZipFlagEncrypted = 0x0001; // traditional PKWARE encryption
inline constexpr std::uint16_t kZipFlagDataDescriptor = 0x0008;
inline constexpr std::uint16_t kZipFlagUtf8Name = 0x0800;
inline constexpr std::uint16_t kZipMethodStored = 0;
inline constexpr std::uint16_t kZipMethodDeflated = 8;
inline constexpr std::uint32_t kZipAttributeReadOnly = 0x01;
inline constexpr std::uint32_t kZipAttributeDirectory = 0x10;
inline constexpr std::uint32_t kZipAttributeArchive = 0x20;
inline constexpr std::size_t kZipEncryptionHeaderSize = 12;

// Where the three fields completed after the entry's data sit inside its local header.
inline constexpr std::size_t kLocalHeaderCrcOffset = 14;
inline constexpr std::size_t kLocalHeaderSize = 30; // without the name
inline constexpr std::size_t kCentralHeaderSize = 46;
inline constexpr std::size_t kEndRecordSize = 22;
inline constexpr std::size_t kDataDescriptorSize = 16;

// The values an entry's local and central headers share once the entry is complete.
struct ZipEntryHeader {
    std::uint16_t flags = 0;
    std::uint16_t method = kZipMethodStored;
    std::uint16_t dos_time = 0;
    std::uint16_t dos_date = 0;
    std::uint32_t crc32 = 0;
    std::uint32_t compressed_size = 0;
    std::uint32_t uncompressed_size = 0;
    std::string name; // bytes as stored: CP437, or UTF-8 with kZipFlagUtf8Name
    std::uint32_t external_attributes = 0;
    std::uint32_t local_header_offset = 0;
};

void AppendLocalHeader(std::vector<std::uint8_t>& out, const ZipEntryHeader& entry);
// CRC-32, compressed size and uncompressed size: the 12 bytes patched at kLocalHeaderCrcOffset.
void AppendSizeFields(std::vector<std::uint8_t>& out, const ZipEntryHeader& entry);
void AppendDataDescriptor(std::vector<std::uint8_t>& out, const ZipEntryHeader& entry);
void AppendCentralHeader(std::vector<std::uint8_t>& out, const ZipEntryHeader& entry);
void AppendEndRecord(std::vector<std::uint8_t>& out, std::uint16_t entry_count, std::uint32_t directory_size,
                     std::uint32_t directory_offset);

} // namespace publish
