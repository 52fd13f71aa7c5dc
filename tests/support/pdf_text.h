// A PDF's page count and text as poppler's pdfinfo and pdftotext (poppler-utils, installed by
// scripts/setup) read them, and the export's pages in the same form, for the tests of the
// printed and PDF export.
//
// The text is rebuilt from the place pdftotext -bbox gives each word: in a monospaced font a
// word's left edge is its column and its top its line. (pdftotext -layout lines columns up
// across lines by its own estimate and does not keep the number of blanks between words.)
// Nothing drawn marks the blanks at a line's end or the empty lines before a page's first
// text and after its last, so those are left out on both sides; an empty line between two
// texts is kept.
#pragma once

#include <sys/wait.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace qel::test {

// What the command printed on stdout; empty when it failed.
inline std::string commandOutput(const std::string& command) {
    std::string out;
    FILE* p = ::popen(command.c_str(), "r");
    if (p == nullptr) return out;
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0)
        out.append(buf, n);
    const int rc = ::pclose(p);
    return WIFEXITED(rc) && WEXITSTATUS(rc) == 0 ? out : std::string();
}

// The value pdfinfo gives for `field` ("Pages", "Title"); empty when there is none.
inline std::string pdfInfo(const std::string& path, const std::string& field) {
    const std::string info = "\n" + commandOutput("pdfinfo '" + path + "' 2>/dev/null");
    const std::size_t at = info.find("\n" + field + ":");
    if (at == std::string::npos) return {};
    const std::size_t begin = info.find_first_not_of(' ', at + field.size() + 2);
    return info.substr(begin, info.find('\n', begin) - begin);
}

inline int pdfPageCount(const std::string& path) {
    const std::string pages = pdfInfo(path, "Pages");
    return pages.empty() ? -1 : std::stoi(pages);
}

using PageLines = std::vector<std::vector<std::string>>;

// Without blanks at the lines' ends, nor empty lines at the page's top and bottom.
inline std::vector<std::string> trimmed(std::vector<std::string> lines) {
    for (std::string& line : lines) {
        while (!line.empty() && (line.back() == ' ' || line.back() == '\r'))
            line.pop_back();
    }
    while (!lines.empty() && lines.back().empty())
        lines.pop_back();
    const auto first =
        std::find_if(lines.begin(), lines.end(), [](const std::string& l) { return !l.empty(); });
    lines.erase(lines.begin(), first);
    return lines;
}

// A page of the export (lines ended by "\n") as the PDF can show it.
inline std::vector<std::string> shownLines(std::string_view page) {
    std::vector<std::string> lines;
    while (!page.empty()) {
        const std::size_t end = std::min(page.find('\n'), page.size());
        lines.emplace_back(page.substr(0, end));
        page.remove_prefix(std::min(end + 1, page.size()));
    }
    return trimmed(std::move(lines));
}

inline PageLines expectedPages(const std::vector<std::string>& utf8Pages) {
    PageLines pages;
    for (const std::string& page : utf8Pages)
        pages.push_back(shownLines(page));
    return pages;
}

namespace pdf_detail {

struct Word {
    double x = 0, y = 0, width = 0;
    std::string text;
};

inline double attribute(const std::string& tag, const char* name) {
    const std::size_t at = tag.find(std::string(" ") + name + "=\"");
    return at == std::string::npos ? 0 : std::stod(tag.substr(at + std::string(name).size() + 3));
}

inline std::string unescaped(std::string_view s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '&') {
            out += s[i];
            continue;
        }
        const std::size_t end = s.find(';', i);
        const std::string_view entity = s.substr(i + 1, end - i - 1);
        if (entity == "amp") out += '&';
        if (entity == "lt") out += '<';
        if (entity == "gt") out += '>';
        if (entity == "quot") out += '"';
        if (entity == "apos" || entity == "#39") out += '\'';
        i = end;
    }
    return out;
}

inline std::size_t characters(const std::string& utf8) {
    return static_cast<std::size_t>(std::count_if(utf8.begin(), utf8.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

// One page's words laid out again: columns from the character pitch of its longest word,
// lines from the smallest step between two lines of text.
inline std::vector<std::string> layOut(const std::vector<Word>& words) {
    if (words.empty()) return {};
    double left = words[0].x, pitch = 0;
    std::size_t longest = 0;
    std::map<double, std::vector<const Word*>> byLine;
    for (const Word& w : words) {
        left = std::min(left, w.x);
        if (characters(w.text) > longest) {
            longest = characters(w.text);
            pitch = w.width / static_cast<double>(longest);
        }
        byLine[w.y].push_back(&w);
    }
    double step = 0;
    for (auto it = byLine.begin(); std::next(it) != byLine.end(); ++it) {
        const double gap = std::next(it)->first - it->first;
        if (step == 0 || gap < step) step = gap;
    }
    std::vector<std::string> lines;
    const double top = byLine.begin()->first;
    for (auto& [y, onLine] : byLine) {
        const auto row = static_cast<std::size_t>(step > 0 ? std::lround((y - top) / step) : 0);
        if (lines.size() <= row) lines.resize(row + 1);
        std::string& line = lines[row];
        std::sort(onLine.begin(), onLine.end(),
                  [](const Word* a, const Word* b) { return a->x < b->x; });
        for (const Word* w : onLine) {
            const auto column = static_cast<std::size_t>(std::lround((w->x - left) / pitch));
            const std::size_t have = characters(line);
            if (column > have) line.append(column - have, ' ');
            line += w->text;
        }
    }
    return lines;
}

}  // namespace pdf_detail

// The PDF's pages as lines of text in UTF-8, each word in the column and line it was drawn.
inline PageLines pdfPages(const std::string& path) {
    const std::string html = commandOutput("pdftotext -bbox '" + path + "' - 2>/dev/null");
    PageLines pages;
    std::vector<pdf_detail::Word> words;
    bool inPage = false;
    for (std::size_t at = html.find('<'); at != std::string::npos; at = html.find('<', at + 1)) {
        const std::size_t close = html.find('>', at);
        const std::string tag = html.substr(at, close - at + 1);
        if (tag.rfind("<page", 0) == 0 || tag == "</doc>") {
            if (inPage) pages.push_back(trimmed(pdf_detail::layOut(words)));
            words.clear();
            inPage = tag.rfind("<page", 0) == 0;
        } else if (tag.rfind("<word", 0) == 0) {
            const std::size_t end = html.find("</word>", close);
            pdf_detail::Word w;
            w.x = pdf_detail::attribute(tag, "xMin");
            w.y = pdf_detail::attribute(tag, "yMin");
            w.width = pdf_detail::attribute(tag, "xMax") - w.x;
            w.text =
                pdf_detail::unescaped(std::string_view(html).substr(close + 1, end - close - 1));
            words.push_back(std::move(w));
        }
    }
    return pages;
}

}  // namespace qel::test
