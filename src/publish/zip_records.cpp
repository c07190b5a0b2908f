#include "publish/zip_records.h"

namespace publish {

namespace {

void put16(std::vector<std::uint8_t>& out, std::uint16_t v) {
    out.push_back(std::uint8_t(v));
    out.push_back(std::uint8_t(v >> 8));
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    put16(out, std::uint16_t(v));
    put16(out, std::uint16_t(v >> 16));
}

void put_name(std::vector<std::uint8_t>& out, const std::string& name) {
    out.insert(out.end(), name.begin(), name.end());
}

} // namespace

void AppendSizeFields(std::vector<std::uint8_t>& out, const ZipEntryHeader& entry) {
    put32(out, entry.crc32);
    put32(out, entry.compressed_size);
    put32(out, entry.uncompressed_size);
}

void AppendLocalHeader(std::vector<std::uint8_t>& out, const ZipEntryHeader& entry) {
    put32(out, 0x04034B50);
    put16(out, kZipVersion);
    put16(out, entry.flags);
    put16(out, entry.method);
    put16(out, entry.dos_time);
    put16(out, entry.dos_date);
    AppendSizeFields(out, entry);
    put16(out, std::uint16_t(entry.name.size()));
    put16(out, 0); // extra field length
    put_name(out, entry.name);
}

void AppendDataDescriptor(std::vector<std::uint8_t>& out, const ZipEntryHeader& entry) {
    put32(out, 0x08074B50);
    AppendSizeFields(out, entry);
}

void AppendCentralHeader(std::vector<std::uint8_t>& out, const ZipEntryHeader& entry) {
    put32(out, 0x02014B50);
    put16(out, kZipVersion); // version made by
    put16(out, kZipVersion); // version needed to extract
    put16(out, entry.flags);
    put16(out, entry.method);
    put16(out, entry.dos_time);
    put16(out, entry.dos_date);
    AppendSizeFields(out, entry);
    put16(out, std::uint16_t(entry.name.size()));
    put16(out, 0); // extra field length
    put16(out, 0); // comment length
    put16(out, 0); // disk number start
    put16(out, 0); // internal attributes
    put32(out, entry.external_attributes);
    put32(out, entry.local_header_offset);
    put_name(out, entry.name);
}

void AppendEndRecord(std::vector<std::uint8_t>& out, std::uint16_t entry_count, std::uint32_t directory_size,
                     std::uint32_t directory_offset) {
    put32(out, 0x06054B50);
    put16(out, 0); // this disk
    put16(out, 0); // disk of the central directory
    put16(out, entry_count);
    put16(out, entry_count);
    put32(out, directory_size);
    put32(out, directory_offset);
    put16(out, 0); // comment length
}

} // namespace publish
