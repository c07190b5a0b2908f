// Traditional PKWARE encryption: three 32-bit keys initialised from the password and updated with every
// plain byte. Table-driven (zlib's CRC-32 table), so encrypting costs a few operations per byte.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace publish {

class ZipCrypto {
public:
    explicit ZipCrypto(std::string_view password);

    void encrypt(std::span<std::uint8_t> bytes);
    void decrypt(std::span<std::uint8_t> bytes);

private:
    void update_keys(std::uint8_t plain);

    const std::uint32_t* m_pCrcTable;
    std::uint32_t m_nKey0 = 0x12345678;
    std::uint32_t m_nKey1 = 0x23456789;
    std::uint32_t m_nKey2 = 0x34567890;
};

} // namespace publish
