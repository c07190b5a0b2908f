// The mail builder of Finish: a new mail with the gift attached, handed to the desktop's mail program
// through xdg-email, which opens its compose window. xdg-email attaches files by path, so each attachment
// is first linked (or copied) into a folder of its own under the name the recipient is to see.
//
// When no mail program answers (xdg-email is missing or fails), the attachments must not be lost: the
// mail is written as a standard .eml draft (MIME multipart, base64 attachments) that any mail program
// opens, and the caller tells the user where it is.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace publish {

struct MailAttachment {
    std::filesystem::path path; // the file on disk
    std::string shownName;      // the name the recipient sees; the file's own name when empty
};

enum class MailResult {
    Handed,       // the mail program took the mail
    DraftWritten, // no mail program answered; the draft holds the mail
    Failed,       // neither worked; nothing was handed on
};

struct MailOutcome {
    MailResult result = MailResult::Failed;
    std::filesystem::path draft; // the draft written (DraftWritten)
    std::string reason;          // why the mail program was not used or the draft failed, for the log
    std::vector<std::filesystem::path> missing; // attachments left out because their file is missing
};

class CSimpleMail {
public:
    void AddTo(std::string address) { m_to.push_back(std::move(address)); }
    void AddCc(std::string name) { m_cc.push_back(std::move(name)); }
    void AddAttachment(std::filesystem::path path, std::string shownName = {});
    void SetSubject(std::string subject) { m_subject = std::move(subject); }
    void SetBody(std::string body) { m_body = std::move(body); }
    void SetOriginator(std::string originator) { m_originator = std::move(originator); }

    const std::vector<std::string>& To() const { return m_to; }
    const std::vector<std::string>& Cc() const { return m_cc; }
    const std::vector<MailAttachment>& Attachments() const { return m_attachments; }
    const std::string& Subject() const { return m_subject; }
    const std::string& Body() const { return m_body; }

    // Hands the mail to `program` (xdg-email, found on PATH), its attachments linked under their shown
    // names into a new folder inside `stagingDir`. Where the program is missing or fails, writes the
    // draft to `draftPath` instead. Blocks until the program returns.
    MailOutcome Send(const std::filesystem::path& stagingDir, const std::filesystem::path& draftPath,
                     const std::string& program = "xdg-email") const;

    // The program's arguments (without the program's name) for attachments at `stagedPaths`.
    std::vector<std::string> XdgEmailArguments(const std::vector<std::filesystem::path>& stagedPaths) const;

    // The whole mail as an RFC 5322 / MIME message (CR LF line ends). Throws std::runtime_error when an
    // attachment cannot be read.
    std::string DraftMessage() const;
    // Writes DraftMessage() beside `draftPath` and renames it over it. Throws std::runtime_error.
    void WriteDraft(const std::filesystem::path& draftPath) const;

private:
    std::vector<std::string> m_to;
    std::vector<std::string> m_cc;
    std::vector<MailAttachment> m_attachments;
    std::string m_subject;
    std::string m_body;
    std::string m_originator;
};

inline constexpr std::string_view kMailSubject = "Gift for you";
inline constexpr std::string_view kMailBody = "Body text for this email";
inline constexpr std::string_view kMailCc = "Cardwright";
inline constexpr std::string_view kMailMovieName = "Run me first.swf";
inline constexpr std::string_view kMailZipName = "Special gift but locked.zip";
inline constexpr std::string_view kMailHtmlName = "Open me in any browser.html";

// The mail of Finish: from the author's address, no primary recipient (the user fills it in), a copy to
// "Cardwright", the movie first, then the locked zip and the self-running page when they were made.
CSimpleMail FinishMail(const std::string& authorEmail, const std::filesystem::path& movie,
                       const std::optional<std::filesystem::path>& lockedZip,
                       const std::optional<std::filesystem::path>& selfRunning);

// Where the draft of a movie's mail goes: beside the movie, gift.swf -> gift.swf.eml.
std::filesystem::path DraftPathFor(const std::filesystem::path& movie);

} // namespace publish
