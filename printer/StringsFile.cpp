#include "printer/StringsFile.h"

#include <optional>

namespace {

class Reader {
public:
    explicit Reader(std::string_view text) : text_(text) {}

    // Spaces, line ends and comments.
    void SkipBlank() {
        while (pos_ < text_.size()) {
            if (text_.substr(pos_, 2) == "/*") {
                std::size_t end = text_.find("*/", pos_ + 2);
                pos_ = end == std::string_view::npos ? text_.size() : end + 2;
            } else if (text_.substr(pos_, 2) == "//") {
                std::size_t end = text_.find('\n', pos_);
                pos_ = end == std::string_view::npos ? text_.size() : end + 1;
            } else if (text_[pos_] == ' ' || text_[pos_] == '\t' || text_[pos_] == '\r' ||
                       text_[pos_] == '\n') {
                ++pos_;
            } else {
                return;
            }
        }
    }

    bool Take(char c) {
        SkipBlank();
        if (pos_ >= text_.size() || text_[pos_] != c) return false;
        ++pos_;
        return true;
    }

    std::optional<std::string> Quoted() {
        if (!Take('"')) return std::nullopt;
        std::string out;
        while (pos_ < text_.size()) {
            char c = text_[pos_++];
            if (c == '"') return out;
            if (c == '\\' && pos_ < text_.size()) {
                c = text_[pos_++];
                c = c == 'n' ? '\n' : c == 't' ? '\t' : c;
            }
            out += c;
        }
        return std::nullopt; // no closing quote
    }

    bool AtEnd() {
        SkipBlank();
        return pos_ >= text_.size();
    }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

} // namespace

std::map<std::string, std::string> ParseStringsFile(std::string_view text) {
    std::map<std::string, std::string> pairs;
    Reader in(text);
    while (!in.AtEnd()) {
        std::optional<std::string> key = in.Quoted();
        if (!key || !in.Take('=')) break;
        std::optional<std::string> value = in.Quoted();
        if (!value || !in.Take(';')) break;
        pairs.emplace(std::move(*key), std::move(*value));
    }
    return pairs;
}
