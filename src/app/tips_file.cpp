#include "app/tips_file.h"

#include <sys/stat.h>

#include <cctype>
#include <ctime>

namespace app {

bool IsTipLine(std::string_view piece) {
    if (piece.empty()) {
        return false;
    }
    const char first = piece.front();
    return first != ' ' && first != '\t' && first != ';' && first != '\n';
}

std::string TipsTimeStamp(const std::filesystem::path& file) {
    struct stat info {};
    if (::stat(file.c_str(), &info) != 0) {
        return {};
    }
    char text[64] = {};
    const std::time_t when = info.st_mtime;
    if (::ctime_r(&when, text) == nullptr) {
        return {};
    }
    std::string stamp(text);
    while (!stamp.empty() && std::isspace(static_cast<unsigned char>(stamp.back()))) {
        stamp.pop_back();
    }
    return stamp;
}

TipsReader::TipsReader(const std::filesystem::path& file, TipsProfile& profile) {
    m_file.reset(std::fopen(file.c_str(), "rb"));
    if (!m_file) {
        m_status = Status::Missing;
        m_text = kTipsMissing;
        return;
    }
    const std::string stamp = TipsTimeStamp(file);
    if (stamp != profile.timeStamp) {
        profile.timeStamp = stamp;
        profile.filePos = 0;
    }
    ReadTipAt(profile.filePos);
}

int64_t TipsReader::Position() const {
    return m_file ? static_cast<int64_t>(std::ftell(m_file.get())) : 0;
}

std::optional<std::string> TipsReader::ReadPiece() {
    std::FILE* f = m_file.get();
    std::string piece;
    while (piece.size() < kTipPieceLength) {
        int c = std::getc(f);
        if (c == EOF) {
            break;
        }
        if (c == '\r') {
            // Files written on Windows end lines with CR LF; read that as one line end.
            const int next = std::getc(f);
            if (next == '\n') {
                c = '\n';
            } else if (next != EOF) {
                std::ungetc(next, f);
            }
        }
        piece.push_back(static_cast<char>(c));
        if (c == '\n') {
            break;
        }
    }
    if (piece.empty()) {
        return std::nullopt;
    }
    return piece;
}

bool TipsReader::ReadTipAt(std::optional<int64_t> start) {
    std::FILE* f = m_file.get();
    if (start && (*start < 0 || std::fseek(f, static_cast<long>(*start), SEEK_SET) != 0)) {
        m_status = Status::SeekFailed;
        m_text.clear();
        return false;
    }
    bool wrapped = false;
    for (;;) {
        const int64_t at = std::ftell(f);
        std::optional<std::string> piece = ReadPiece();
        if (!piece) {
            // After the last line reading starts again at the top; a second end without any tip means
            // the file holds none, and reading stops instead of going round for ever.
            if (wrapped) {
                m_status = Status::NoTip;
                m_text = kTipsNone;
                return false;
            }
            wrapped = true;
            std::clearerr(f);
            if (std::fseek(f, 0, SEEK_SET) != 0) {
                m_status = Status::SeekFailed;
                m_text.clear();
                return false;
            }
            continue;
        }
        if (IsTipLine(*piece)) {
            if (piece->back() == '\n') {
                piece->pop_back();
            }
            m_text = std::move(*piece);
            m_status = Status::Ok;
            m_shown.push_back(at);
            return true;
        }
    }
}

void TipsReader::Next() {
    if (m_file) {
        ReadTipAt(std::nullopt);
    }
}

bool TipsReader::Previous() {
    if (!m_file || m_shown.size() < 2) {
        return false;
    }
    m_shown.pop_back();
    const int64_t before = m_shown.back();
    m_shown.pop_back();
    return ReadTipAt(before);
}

} // namespace app
