#include "publish/simple_mail.h"

#include "publish/base64.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <ctime>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <system_error>

extern char** environ;

namespace publish {

namespace fs = std::filesystem;

namespace {

std::string MimeType(const fs::path& name) {
    const std::string ext = name.extension().string();
    if (ext == ".swf") {
        return "application/x-shockwave-flash";
    }
    if (ext == ".zip") {
        return "application/zip";
    }
    if (ext == ".html" || ext == ".htm") {
        return "text/html";
    }
    return "application/octet-stream";
}

// A quoted-string for a header parameter (the shown names are plain text).
std::string Quoted(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
        }
        out += (c == '\r' || c == '\n') ? ' ' : c;
    }
    return out + "\"";
}

std::string OneLine(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c == '\r' || c == '\n') {
            c = ' ';
        }
    }
    return out;
}

std::string Rfc5322Date() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[64];
    std::strftime(text, sizeof text, "%a, %d %b %Y %H:%M:%S %z", &local);
    return text;
}

std::string CrLf(std::string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) {
            out += '\r';
        }
        out += text[i];
    }
    return out;
}

std::string ReadFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + file.string());
    }
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A new folder inside `parent` for one mail's attachments.
fs::path NewStagingFolder(const fs::path& parent) {
    std::error_code ec;
    fs::create_directories(parent, ec);
    for (int n = 1; n < 10000; ++n) {
        const fs::path folder = parent / ("mail-" + std::to_string(n));
        if (fs::create_directory(folder, ec)) {
            return folder;
        }
    }
    throw std::runtime_error("cannot make a folder for the attachments in " + parent.string());
}

// Runs the program and waits for it; its exit status, or nullopt when it could not be started.
std::optional<int> Run(const std::string& program, const std::vector<std::string>& args,
                       std::string& reason) {
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& a : args) {
        argv.push_back(const_cast<char*>(a.c_str()));
    }
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int rc = posix_spawnp(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ);
    if (rc != 0) {
        reason = program + " cannot be started: " + std::strerror(rc);
        return std::nullopt;
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) {
            reason = program + " was lost: " + std::strerror(errno);
            return std::nullopt;
        }
    }
    if (!WIFEXITED(status)) {
        reason = program + " ended abnormally";
        return std::nullopt;
    }
    // 127: the shell or the program itself was not found.
    if (WEXITSTATUS(status) == 127) {
        reason = program + " was not found";
        return std::nullopt;
    }
    return WEXITSTATUS(status);
}

} // namespace

void CSimpleMail::AddAttachment(fs::path path, std::string shownName) {
    if (shownName.empty()) {
        shownName = path.filename().string();
    }
    m_attachments.push_back({std::move(path), std::move(shownName)});
}

std::vector<std::string> CSimpleMail::XdgEmailArguments(const std::vector<fs::path>& stagedPaths) const {
    std::vector<std::string> args = {"--utf8"};
    for (const std::string& cc : m_cc) {
        args.insert(args.end(), {"--cc", cc});
    }
    args.insert(args.end(), {"--subject", m_subject, "--body", m_body});
    for (const fs::path& file : stagedPaths) {
        args.insert(args.end(), {"--attach", file.string()});
    }
    args.insert(args.end(), m_to.begin(), m_to.end());
    return args;
}

std::string CSimpleMail::DraftMessage() const {
    std::mt19937_64 random(uint64_t(std::chrono::steady_clock::now().time_since_epoch().count()));
    const std::string boundary = "=_cardwright_" + std::to_string(random());
    std::string m;
    if (!m_originator.empty()) {
        m += "From: " + OneLine(m_originator) + "\r\n";
    }
    if (!m_to.empty()) {
        std::string to;
        for (const std::string& a : m_to) {
            to += (to.empty() ? "" : ", ") + OneLine(a);
        }
        m += "To: " + to + "\r\n";
    }
    for (const std::string& cc : m_cc) {
        m += "Cc: " + OneLine(cc) + "\r\n";
    }
    m += "Subject: " + OneLine(m_subject) + "\r\n";
    m += "Date: " + Rfc5322Date() + "\r\n";
    m += "X-Unsent: 1\r\n"; // mail programs open the file as a draft to complete and send
    m += "MIME-Version: 1.0\r\n";
    m += "Content-Type: multipart/mixed; boundary=\"" + boundary + "\"\r\n\r\n";
    m += "This is a multi-part message in MIME format.\r\n";
    m += "--" + boundary + "\r\n";
    m += "Content-Type: text/plain; charset=utf-8\r\nContent-Transfer-Encoding: 8bit\r\n\r\n";
    m += CrLf(m_body) + "\r\n";
    for (const MailAttachment& a : m_attachments) {
        const std::string bytes = ReadFile(a.path);
        m += "--" + boundary + "\r\n";
        m += "Content-Type: " + MimeType(a.shownName) + "; name=" + Quoted(a.shownName) + "\r\n";
        m += "Content-Transfer-Encoding: base64\r\n";
        m += "Content-Disposition: attachment; filename=" + Quoted(a.shownName) + "\r\n\r\n";
        m += Base64EncodeMime(std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
    }
    m += "--" + boundary + "--\r\n";
    return m;
}

void CSimpleMail::WriteDraft(const fs::path& draftPath) const {
    const std::string message = DraftMessage();
    fs::path partial = draftPath;
    partial += ".partial";
    std::ofstream out(partial, std::ios::binary | std::ios::trunc);
    out.write(message.data(), std::streamsize(message.size()));
    out.close();
    std::error_code ec;
    if (!out) {
        fs::remove(partial, ec);
        throw std::runtime_error("cannot write " + draftPath.string());
    }
    fs::rename(partial, draftPath, ec);
    if (ec) {
        fs::remove(partial, ec);
        throw std::runtime_error("cannot write " + draftPath.string());
    }
}

MailOutcome CSimpleMail::Send(const fs::path& stagingDir, const fs::path& draftPath,
                              const std::string& program) const {
    MailOutcome outcome;
    CSimpleMail present = *this; // the mail without attachments whose file is missing
    present.m_attachments.clear();
    std::error_code ec;
    for (const MailAttachment& a : m_attachments) {
        if (fs::is_regular_file(a.path, ec)) {
            present.m_attachments.push_back(a);
        } else {
            outcome.missing.push_back(a.path);
        }
    }

    try {
        const fs::path folder = NewStagingFolder(stagingDir);
        std::vector<fs::path> staged;
        for (const MailAttachment& a : present.m_attachments) {
            // One subfolder per attachment, so that equal shown names cannot collide.
            const fs::path sub = folder / std::to_string(staged.size() + 1);
            fs::create_directory(sub);
            const fs::path file = sub / a.shownName;
            fs::create_hard_link(a.path, file, ec);
            if (ec) {
                fs::copy_file(a.path, file, fs::copy_options::overwrite_existing);
            }
            staged.push_back(file);
        }
        const std::optional<int> status = Run(program, present.XdgEmailArguments(staged), outcome.reason);
        if (status == 0) {
            outcome.result = MailResult::Handed;
            return outcome;
        }
        if (status) {
            outcome.reason = program + " exited with status " + std::to_string(*status) +
                             (*status == 3 ? " (no mail program found)" : "");
        }
    } catch (const std::exception& e) {
        outcome.reason = e.what();
    }

    try {
        present.WriteDraft(draftPath);
        outcome.result = MailResult::DraftWritten;
        outcome.draft = draftPath;
    } catch (const std::exception& e) {
        outcome.reason += outcome.reason.empty() ? e.what() : std::string("; ") + e.what();
        outcome.result = MailResult::Failed;
    }
    return outcome;
}

CSimpleMail FinishMail(const std::string& authorEmail, const fs::path& movie,
                       const std::optional<fs::path>& lockedZip, const std::optional<fs::path>& selfRunning) {
    CSimpleMail mail;
    mail.SetOriginator(authorEmail);
    mail.AddCc(std::string(kMailCc));
    mail.SetSubject(std::string(kMailSubject));
    mail.AddAttachment(movie, std::string(kMailMovieName));
    if (lockedZip) {
        mail.AddAttachment(*lockedZip, std::string(kMailZipName));
    }
    if (selfRunning) {
        mail.AddAttachment(*selfRunning, std::string(kMailHtmlName));
    }
    mail.SetBody(std::string(kMailBody));
    return mail;
}

fs::path DraftPathFor(const fs::path& movie) {
    fs::path draft = movie;
    draft += ".eml";
    return draft;
}

} // namespace publish
