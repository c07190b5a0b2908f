#include "publish/zip_crypto.h"

#include <zlib.h>

namespace publish {

namespace {

// One step of the CRC-32 over a single byte, as the key schedule asks for.
inline std::uint32_t crc_step(const std::uint32_t* table, std::uint32_t crc, std::uint8_t b) {
    return table[(crc ^ b) & 0xFF] ^ (crc >> 8);
}

struct Keys {
    std::uint32_t k0, k1, k2;

    void update(const std::uint32_t* table, std::uint8_t plain) {
        k0 = crc_step(table, k0, plain);
        k1 = (k1 + (k0 & 0xFF)) * 134775813u + 1;
        k2 = crc_step(table, k2, std::uint8_t(k1 >> 24));
    }

    std::uint8_t stream_byte() const {
        const std::uint32_t t = (k2 | 2) & 0xFFFF;
        return std::uint8_t((t * (t ^ 1)) >> 8);
    }
};

} // namespace

static_assert(sizeof(z_crc_t) == sizeof(std::uint32_t));

ZipCrypto::ZipCrypto(std::string_view password)
    : m_pCrcTable(reinterpret_cast<const std::uint32_t*>(get_crc_table())) {
    for (char c : password) {
        update_keys(std::uint8_t(c));
    }
}

void ZipCrypto::update_keys(std::uint8_t plain) {
    Keys keys{m_nKey0, m_nKey1, m_nKey2};
    keys.update(m_pCrcTable, plain);
    m_nKey0 = keys.k0;
    m_nKey1 = keys.k1;
    m_nKey2 = keys.k2;
}

void ZipCrypto::encrypt(std::span<std::uint8_t> bytes) {
    // The keys stay in locals through the loop; this is the hot path of a locked archive.
    Keys keys{m_nKey0, m_nKey1, m_nKey2};
    for (std::uint8_t& b : bytes) {
        const std::uint8_t plain = b;
        b = plain ^ keys.stream_byte();
        keys.update(m_pCrcTable, plain);
    }
    m_nKey0 = keys.k0;
    m_nKey1 = keys.k1;
    m_nKey2 = keys.k2;
}

void ZipCrypto::decrypt(std::span<std::uint8_t> bytes) {
    Keys keys{m_nKey0, m_nKey1, m_nKey2};
    for (std::uint8_t& b : bytes) {
        b ^= keys.stream_byte();
        keys.update(m_pCrcTable, b);
    }
    m_nKey0 = keys.k0;
    m_nKey1 = keys.k1;
    m_nKey2 = keys.k2;
}

} // namespace publish
