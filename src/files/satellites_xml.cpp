#include "files/satellites_xml.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <utility>

#include "files/file_io.h"

namespace qel {

namespace {

// satellites > sat > transponder: an element inside a transponder is one level too deep.
constexpr std::size_t kMaxDepth = 3;
constexpr int kMaxPositionTenths = 1800;
constexpr std::int64_t kMaxFrequencyKhz = 999'999'999;  // what the channel's 6 MHz digits hold
// What the channel's 6 digits of 100 sym/s hold, rounded.
constexpr std::int64_t kMaxSymbolRate = 99'999'900;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool isNameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '-' || c == ':' || c == '.';
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && isSpace(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isSpace(s.back()))
        s.remove_suffix(1);
    return s;
}

// A base-10 integer, the whole text (blanks around it aside), within [low, high].
std::optional<std::int64_t> integerIn(std::string_view text, std::int64_t low, std::int64_t high) {
    text = trimmed(text);
    if (text.starts_with('+')) {
        text.remove_prefix(1);
        if (text.starts_with('-')) return std::nullopt;
    }
    std::int64_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    if (value < low || value > high) return std::nullopt;
    return value;
}

void appendUtf8(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// A character reference's code point: "#233", "#xE9"; nothing for a code XML does not allow.
std::optional<std::uint32_t> numericReference(std::string_view ref) {
    if (ref.size() < 2 || ref.front() != '#') return std::nullopt;
    ref.remove_prefix(1);
    int base = 10;
    if (ref.front() == 'x') {
        base = 16;
        ref.remove_prefix(1);
    }
    if (ref.empty() || ref.size() > 8) return std::nullopt;
    std::uint32_t cp = 0;
    const auto [end, ec] = std::from_chars(ref.data(), ref.data() + ref.size(), cp, base);
    if (ec != std::errc() || end != ref.data() + ref.size()) return std::nullopt;
    const bool allowed = cp == 0x9 || cp == 0xA || cp == 0xD || (cp >= 0x20 && cp <= 0xD7FF) ||
                         (cp >= 0xE000 && cp <= 0xFFFD) || (cp >= 0x10000 && cp <= 0x10FFFF);
    if (!allowed) return std::nullopt;
    return cp;
}

struct Attribute {
    std::string_view name;
    std::string value;  // references decoded
};

class Parser {
public:
    explicit Parser(std::string_view text) : text_(text) {}

    Result<SatellitesFile> run() {
        if (text_.starts_with(kByteOrderMark)) pos_ = kByteOrderMark.size();
        while (true) {
            while (pos_ < text_.size() && isSpace(text_[pos_]))
                ++pos_;
            if (pos_ == text_.size()) break;
            if (text_[pos_] != '<') return damaged("text outside the elements");
            if (!markup()) return std::move(error_);
        }
        if (!open_.empty()) {
            return damaged("the element <" + std::string(open_.back()) + "> is never closed");
        }
        if (!rootSeen_) return damaged("no <satellites> element");
        return std::move(file_);
    }

private:
    // One markup item at pos_ (a '<'); false with error_ set when it is wrong.
    bool markup() {
        const std::string_view rest = text_.substr(pos_);
        if (rest.starts_with("<?")) return skipPast("?>", "declaration");
        if (rest.starts_with("<!--")) return skipPast("-->", "comment");
        if (rest.starts_with("<!")) {
            error_ =
                Error{ErrorCode::SatellitesXmlRefused,
                      where() + ": a declaration (" +
                          std::string(rest.substr(0, std::min<std::size_t>(9, rest.size()))) + ")"};
            return false;
        }
        if (rest.starts_with("</")) return closingTag();
        return openingTag();
    }

    bool skipPast(std::string_view end, const char* what) {
        const std::size_t at = text_.find(end, pos_ + 2);
        if (at == std::string_view::npos) return fail(std::string("unterminated ") + what);
        pos_ = at + end.size();
        return true;
    }

    std::string_view name() {
        const std::size_t start = pos_;
        while (pos_ < text_.size() && isNameChar(text_[pos_]))
            ++pos_;
        return text_.substr(start, pos_ - start);
    }

    void skipSpaces() {
        while (pos_ < text_.size() && isSpace(text_[pos_]))
            ++pos_;
    }

    bool closingTag() {
        pos_ += 2;
        const std::string_view n = name();
        skipSpaces();
        if (pos_ >= text_.size() || text_[pos_] != '>') return fail("unterminated closing tag");
        ++pos_;
        if (open_.empty() || open_.back() != n) {
            return fail("</" + std::string(n) + "> closes no open element");
        }
        open_.pop_back();
        return true;
    }

    bool openingTag() {
        ++pos_;
        const std::string_view n = name();
        if (n.empty()) return fail("a tag without a name");
        attributes_.clear();
        bool selfClosing = false;
        while (true) {
            const std::size_t before = pos_;
            skipSpaces();
            if (pos_ >= text_.size()) return fail("unterminated tag <" + std::string(n) + ">");
            if (text_[pos_] == '>') {
                ++pos_;
                break;
            }
            if (text_.substr(pos_).starts_with("/>")) {
                pos_ += 2;
                selfClosing = true;
                break;
            }
            if (pos_ == before) return fail("no blank before an attribute");
            if (!attribute()) return false;
        }
        if (open_.size() >= kMaxDepth) {
            error_ = Error{ErrorCode::SatellitesXmlRefused, where() + ": <" + std::string(n) +
                                                                "> nested deeper than " +
                                                                "satellites > sat > transponder"};
            return false;
        }
        if (!element(n)) return false;
        if (!selfClosing) open_.push_back(n);
        return true;
    }

    bool attribute() {
        const std::string_view n = name();
        if (n.empty()) return fail("a character that starts no attribute");
        skipSpaces();
        if (pos_ >= text_.size() || text_[pos_] != '=') {
            return fail("attribute " + std::string(n) + " without a value");
        }
        ++pos_;
        skipSpaces();
        if (pos_ >= text_.size() || (text_[pos_] != '"' && text_[pos_] != '\'')) {
            return fail("attribute " + std::string(n) + " without quotes");
        }
        const char quote = text_[pos_++];
        const std::size_t close = text_.find(quote, pos_);
        if (close == std::string_view::npos) {
            return fail("unterminated attribute " + std::string(n));
        }
        const std::string_view raw = text_.substr(pos_, close - pos_);
        pos_ = close + 1;
        for (const Attribute& a : attributes_) {
            if (a.name == n) return fail("attribute " + std::string(n) + " given twice");
        }
        std::string value;
        if (!decode(raw, value)) return false;
        attributes_.push_back({n, std::move(value)});
        return true;
    }

    // The value with its references replaced; a '<' or an unknown entity is an error.
    bool decode(std::string_view raw, std::string& out) {
        out.reserve(raw.size());
        for (std::size_t i = 0; i < raw.size(); ++i) {
            const char c = raw[i];
            if (c == '<') return fail("'<' inside an attribute value");
            if (c != '&') {
                out += c;
                continue;
            }
            const std::size_t semi = raw.find(';', i + 1);
            if (semi == std::string_view::npos) return fail("'&' without ';'");
            const std::string_view ref = raw.substr(i + 1, semi - i - 1);
            if (ref == "amp") {
                out += '&';
            } else if (ref == "lt") {
                out += '<';
            } else if (ref == "gt") {
                out += '>';
            } else if (ref == "quot") {
                out += '"';
            } else if (ref == "apos") {
                out += '\'';
            } else if (const auto cp = numericReference(ref)) {
                appendUtf8(out, *cp);
            } else {
                return fail("unknown reference &" +
                            std::string(ref.substr(0, std::min<std::size_t>(ref.size(), 12))) +
                            ";");
            }
            i = semi;
        }
        return true;
    }

    const std::string* attr(std::string_view n) const {
        for (const Attribute& a : attributes_) {
            if (a.name == n) return &a.value;
        }
        return nullptr;
    }

    // An attribute's number; nothing when absent. A value that is not a base-10 integer in
    // range is an error (ok false).
    std::optional<std::int64_t> number(std::string_view n, std::int64_t low, std::int64_t high,
                                       bool& ok) {
        const std::string* v = attr(n);
        if (v == nullptr) return std::nullopt;
        auto value = integerIn(*v, low, high);
        if (!value) {
            ok = fail(std::string(n) + "=\"" + v->substr(0, 20) + "\" is not a number in " +
                      std::to_string(low) + "-" + std::to_string(high));
        }
        return value;
    }

    // What an element means at its depth. Elements of other names are passed over.
    bool element(std::string_view n) {
        switch (open_.size()) {
            case 0:
                if (rootSeen_) return fail("an element after </satellites>");
                if (n != "satellites") return fail("the first element is not <satellites>");
                rootSeen_ = true;
                return true;
            case 1:
                return n == "sat" ? sat() : true;
            default:
                return n == "transponder" && open_.back() == "sat" ? transponder() : true;
        }
    }

    bool sat() {
        bool ok = true;
        SatellitesSat s;
        if (const std::string* v = attr("name")) s.name = *v;
        const auto position = number("position", -kMaxPositionTenths, kMaxPositionTenths, ok);
        const auto flags = number("flags", std::numeric_limits<std::int32_t>::min(),
                                  std::numeric_limits<std::int32_t>::max(), ok);
        if (!ok) return false;
        if (!position) return fail("<sat> without a position");
        s.position = static_cast<int>(*position);
        s.flags = static_cast<int>(flags.value_or(0));
        file_.sats.push_back(std::move(s));
        return true;
    }

    bool transponder() {
        bool ok = true;
        const auto frequency = number("frequency", 1, kMaxFrequencyKhz, ok);
        const auto rate = number("symbol_rate", 1, kMaxSymbolRate, ok);
        const auto pol = number("polarization", 0, 3, ok);
        const auto fec = number("fec_inner", 0, 15, ok);
        const auto system = number("system", 0, 255, ok);
        const auto modulation = number("modulation", 0, 255, ok);
        if (!ok) return false;
        if (!frequency || !rate || !pol) {
            ++file_.skippedTransponders;
            return true;
        }
        SatTransponder tp;
        tp.frequencyKhz = *frequency;
        tp.symbolRate = *rate;
        tp.polarization = static_cast<SatPolarization>(*pol);
        tp.fec = static_cast<int>(fec.value_or(0));
        tp.system = static_cast<int>(system.value_or(0));
        tp.modulation = static_cast<int>(modulation.value_or(0));
        file_.sats.back().transponders.push_back(tp);
        return true;
    }

    std::string where() const {
        const auto line = std::count(
            text_.begin(),
            text_.begin() + static_cast<std::ptrdiff_t>(std::min(pos_, text_.size())), '\n');
        return "line " + std::to_string(line + 1);
    }

    bool fail(const std::string& what) {
        error_ = Error{ErrorCode::SatellitesXmlDamaged, where() + ": " + what};
        return false;
    }

    Error damaged(const std::string& what) {
        fail(what);
        return error_;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    std::vector<std::string_view> open_;  // the open elements' names, outermost first
    std::vector<Attribute> attributes_;
    bool rootSeen_ = false;
    SatellitesFile file_;
    Error error_;
};

}  // namespace

std::string_view polarizationLetter(SatPolarization pol) {
    switch (pol) {
        case SatPolarization::Horizontal:
            return "H";
        case SatPolarization::Vertical:
            return "V";
        case SatPolarization::Left:
            return "L";
        case SatPolarization::Right:
            return "R";
    }
    return "H";
}

bool tunesVertical(SatPolarization pol) {
    return pol == SatPolarization::Vertical || pol == SatPolarization::Right;
}

const SatellitesSat* SatellitesFile::atPosition(int position) const {
    const auto it = std::find_if(sats.begin(), sats.end(), [position](const SatellitesSat& s) {
        return s.position == position;
    });
    return it == sats.end() ? nullptr : &*it;
}

Result<SatellitesFile> parseSatellitesXml(std::string_view text) {
    if (text.size() > kMaxSatellitesXmlSize) return ErrorCode::FileTooLarge;
    return Parser(text).run();
}

Result<SatellitesFile> readSatellitesXml(const std::string& path) {
    auto bytes = readFileBytes(path, kMaxSatellitesXmlSize);
    if (!bytes) return bytes.status();
    return parseSatellitesXml(*bytes);
}

std::string positionText(int tenths) {
    const int magnitude = tenths < 0 ? -tenths : tenths;
    return std::to_string(magnitude / 10) + "." + std::to_string(magnitude % 10) +
           (tenths < 0 ? "W" : "E");
}

std::string satelliteLabel(const SatellitesSat& sat) {
    const std::string position = positionText(sat.position);
    if (sat.name.starts_with(position)) return sat.name;
    return position + (sat.name.empty() ? std::string() : " " + sat.name);
}

std::optional<int> parsePosition(std::string_view text) {
    text = trimmed(text);
    if (text.empty()) return std::nullopt;
    const char last = text.back();
    const bool east = last == 'E' || last == 'e';
    const bool west = last == 'W' || last == 'w';
    if (!east && !west) {
        const auto tenths = integerIn(text, -kMaxPositionTenths, kMaxPositionTenths);
        if (!tenths) return std::nullopt;
        return static_cast<int>(*tenths);
    }
    text.remove_suffix(1);
    // Degrees with at most one decimal: "19.2", "30", "30.0".
    const std::size_t dot = text.find('.');
    const std::string_view whole = text.substr(0, dot);
    const std::string_view fraction =
        dot == std::string_view::npos ? std::string_view{} : text.substr(dot + 1);
    if (whole.empty() || whole.size() > 3 ||
        (dot != std::string_view::npos && fraction.size() != 1))
        return std::nullopt;
    const auto allDigits = [](std::string_view s) {
        return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    if (!allDigits(whole) || !allDigits(fraction)) return std::nullopt;
    int tenths = 0;
    for (char c : whole)
        tenths = tenths * 10 + (c - '0');
    tenths = tenths * 10 + (fraction.empty() ? 0 : fraction.front() - '0');
    if (tenths > kMaxPositionTenths) return std::nullopt;
    return west ? -tenths : tenths;
}

}  // namespace qel
