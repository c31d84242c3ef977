#include "mail/mail_message.h"

#include <cstdio>
#include <cstdlib>
#include <random>

namespace mEmail {

namespace {

constexpr size_t kMaxLineBytes = 998;  // RFC 5321: a text line without its CR LF
const char* const kWeekdays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// Every line break as CR LF.
std::string WithCrLf(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            out += "\r\n";
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            out += c;
        }
    }
    return out;
}

bool HasLongLine(const std::string& crlfText) {
    size_t start = 0;
    for (;;) {
        const size_t end = crlfText.find("\r\n", start);
        const size_t len = (end == std::string::npos ? crlfText.size() : end) - start;
        if (len > kMaxLineBytes) return true;
        if (end == std::string::npos) return false;
        start = end + 2;
    }
}

// Quoted-printable (RFC 2045) of a CR LF text: soft line breaks keep every line within 76.
std::string QuotedPrintable(const std::string& crlfText) {
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    size_t lineLen = 0;
    auto put = [&](const std::string& piece) {
        if (lineLen + piece.size() > 75) {
            out += "=\r\n";
            lineLen = 0;
        }
        out += piece;
        lineLen += piece.size();
    };
    for (size_t i = 0; i < crlfText.size(); ++i) {
        const auto c = static_cast<unsigned char>(crlfText[i]);
        if (c == '\r' && i + 1 < crlfText.size() && crlfText[i + 1] == '\n') {
            out += "\r\n";
            lineLen = 0;
            ++i;
            continue;
        }
        const bool atLineEnd = i + 1 == crlfText.size() || crlfText[i + 1] == '\r';
        const bool plain = (c >= 33 && c <= 126 && c != '=') || ((c == ' ' || c == '\t') && !atLineEnd);
        if (plain) put(std::string(1, static_cast<char>(c)));
        else put(std::string{'=', hex[c >> 4], hex[c & 15]});
    }
    return out;
}

std::string DomainOf(const std::string& address) {
    const size_t at = address.rfind('@');
    std::string domain = at == std::string::npos ? "" : address.substr(at + 1);
    return domain.empty() ? "localhost" : domain;
}

}  // namespace

bool IsSafeAddress(const std::string& address) {
    for (char ch : address) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x20 || c == 0x7F) return false;
    }
    return true;
}

std::string MailDate(const platform::LocalTime& t, int utcOffsetMinutes) {
    int y, m, d;
    t.date.toYmd(y, m, d);
    // The zero date, 30 December 1899, was a Saturday.
    const int weekday = static_cast<int>(((t.date.serial % 7) + 7 + 6) % 7);
    const int offset = std::abs(utcOffsetMinutes);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%s, %d %s %04d %02d:%02d:%02d %c%02d%02d", kWeekdays[weekday], d, kMonths[m - 1], y,
                  t.hour, t.minute, t.second, utcOffsetMinutes < 0 ? '-' : '+', offset / 60, offset % 60);
    return buf;
}

std::string NewMessageId(const std::string& accountAddress) {
    std::random_device rd;
    char buf[40];
    std::snprintf(buf, sizeof buf, "%08x%08x.%08x", rd(), rd(), rd());
    return std::string("<") + buf + "@" + DomainOf(accountAddress) + ">";
}

std::string ComposeMessage(const Message& m) {
    const std::string body = WithCrLf(m.body);
    const bool quoted = HasLongLine(body);
    std::string out;
    out.reserve(body.size() + 512);
    out += "Subject: " + m.subject + "\r\n";
    out += "From: " + m.from + "\r\n";
    out += "Sender: \"" + m.senderName + "\" <" + m.senderAddress + ">\r\n";
    out += "To: " + m.to + "\r\n";
    out += "X-MSMail-Priority: High \r\n";
    out += "Importance: high\r\n";
    out += "Date: " + m.date + "\r\n";
    out += "Message-ID: " + m.messageId + "\r\n";
    out += "MIME-Version: 1.0\r\n";
    out += "Content-Type: text/plain; charset=UTF-8\r\n";
    out += std::string("Content-Transfer-Encoding: ") + (quoted ? "quoted-printable" : "8bit") + "\r\n";
    out += "\r\n";
    out += quoted ? QuotedPrintable(body) : body;
    return out;
}

}  // namespace mEmail
