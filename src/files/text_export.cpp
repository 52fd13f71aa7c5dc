#include "files/text_export.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "bytes/conversions.h"

namespace qel {

namespace {

constexpr std::string_view kHeadedSeparator = " |";
constexpr std::string_view kPlainSeparator = " ";
// Decimal ids and PIDs reach 65535: five digits, where hexadecimal needs four.
constexpr std::size_t kHexNumberWidth = 4;
constexpr std::size_t kDecimalNumberWidth = 5;

// What a row holds, once the form has had its say.
struct RowLayout {
    bool headed = false;
    bool importCompatible = false;
    bool decimal = false;
    bool sixPids = true;
    ExportColumns columns;
    std::string_view separator;

    std::size_t numberWidth() const { return decimal ? kDecimalNumberWidth : kHexNumberWidth; }
};

RowLayout layoutOf(const ExportOptions& options) {
    RowLayout l;
    l.headed = options.form == TextForm::Headed;
    l.separator = l.headed ? kHeadedSeparator : kPlainSeparator;
    if (options.form == TextForm::ImportCompatible) {
        // The import reads fixed columns: all of them but the antenna, hexadecimal.
        l.importCompatible = true;
        l.columns = ExportColumns{};
        l.columns.antenna = false;
        return l;
    }
    l.decimal = options.decimal;
    l.columns = options.columns;
    l.columns.antenna = options.columns.antenna && options.ftaImage;
    l.sixPids = !options.ftaImage;
    return l;
}

std::string_view fecText(char digit) {
    static constexpr std::string_view kTexts[] = {"0/0", "1/2", "2/3", "3/4", "5/6", "7/8"};
    if (digit < '0' || digit > '5') return {};
    return kTexts[digit - '0'];
}

// The low byte of a 4-digit word.
unsigned lowByte(std::string_view word) {
    return static_cast<unsigned>(hexToDec(word.substr(2, 2)));
}

void appendNumber(std::string& out, std::string_view hexField, const RowLayout& l) {
    if (!l.decimal) {
        out += hexField;
        return;
    }
    const std::int64_t value = static_cast<std::uint16_t>(hexToDec(hexField));
    out += zeroPadDecimal(value, kDecimalNumberWidth);
}

void appendRow(std::string& out, const ChannelRec& ch, std::size_t rowNumber, const RowLayout& l) {
    const std::size_t start = out.size();
    const auto column = [&out, &l](std::string_view text) {
        out += text;
        out += l.separator;
    };
    const auto number = [&out, &l](std::string_view hexField) {
        appendNumber(out, hexField, l);
        out += l.separator;
    };
    if (l.headed) column(pad4(std::to_string(rowNumber)));
    column(ch.ChName.view());
    if (l.columns.ids) {
        number(ch.NetId.view());
        number(ch.TsId.view());
        number(ch.SerId.view());
    }
    if (l.columns.antenna) column(std::string{'0', ch.Ant[2]});
    if (l.columns.frequency) column(ch.Freq.view().substr(0, 6));
    if (l.columns.polarisation) column(decimalValue(ch.Pol.view()) == 0 ? "H" : "V");
    if (l.columns.symbolRate) column(ch.Srate.view().substr(0, 5));
    if (l.columns.fec) {
        const std::string_view fec = fecText(ch.Fec[0]);
        // The printable forms leave an unknown code out; an importable row must keep its
        // width, and "0/0" is what the import makes of an unknown code anyway.
        if (!fec.empty()) {
            column(fec);
        } else if (l.importCompatible) {
            column(fecText('0'));
        }
    }
    if (l.columns.pids) {
        number(ch.VPid.view());
        number(ch.APid.view());
        number(ch.PPid.view());
        if (l.sixPids) {
            number(ch.PmcPid.view());
            number(ch.PmtPid.view());
            number(ch.TxtPid.view());
        }
    }
    if (l.columns.bandwidth) {
        if (l.decimal) {
            const std::string value = "000" + std::to_string(hexToDec(ch.Acbw.view()) & 0xFF);
            column(std::string_view(value).substr(value.size() - 3));
        } else {
            column(std::string("0") + ch.Acbw.str());
        }
    }
    if (l.importCompatible) {
        column((hexToDec(ch.AvFlags.view()) & 0x10) != 0 ? "1" : "0");
        // The import reads the port number 1-4, the record holds 0-3.
        column(std::string(1, static_cast<char>('1' + (lowByte(ch.TuneFlags.view()) & 3U))));
        column(ch.ServType.view());
        out += ch.Aux292.view();
    }
    // A line end inside a field would split the row in two.
    std::replace_if(
        out.begin() + static_cast<std::ptrdiff_t>(start), out.end(),
        [](char c) { return c == '\n' || c == '\r'; }, ' ');
}

void appendCell(std::string& out, std::string_view label, std::size_t dataWidth) {
    // A cell spans its data and the blank of the " |" that closes it.
    const std::size_t width = dataWidth + 1;
    label = label.substr(0, width);
    out += label;
    out.append(width - label.size(), ' ');
    out += '|';
}

void appendPageHeader(std::string& out, std::string_view header, std::string_view sectionTitle,
                      std::size_t page, std::size_t pageTotal, const ExportTexts& texts,
                      bool decimal) {
    out += '\n';
    out += texts.title;
    out += "  ";
    out += texts.fileName;
    out += " - ";
    out += texts.date;
    out += "     ";
    out += sectionTitle;
    out += "    ";
    out += texts.page;
    out += "  ";
    out += std::to_string(page);
    out += '/';
    out += std::to_string(pageTotal);
    out += "\n\n";
    out += decimal ? texts.decimalNote : texts.hexNote;
    out += "\n\n";
    out += header;
    out += '\n';
    out.append(header.size(), '-');
    out += '\n';
}

std::size_t pagesOf(std::size_t rows) {
    return (rows + kRowsPerPage - 1) / kRowsPerPage;
}

}  // namespace

std::string exportRow(const ChannelRec& ch, std::size_t rowNumber, const ExportOptions& options) {
    std::string out;
    appendRow(out, ch, rowNumber, layoutOf(options));
    return out;
}

std::string exportColumnHeader(const ExportOptions& options, const ExportTexts& texts) {
    const RowLayout l = layoutOf(options);
    const std::size_t numberWidth = l.numberWidth();
    std::string out;
    appendCell(out, "No", 4);
    appendCell(out, texts.nameHeader, decltype(ChannelRec::ChName)::width);
    if (l.columns.ids) {
        for (std::string_view label : {"Nid", "Tsid", "Sid"})
            appendCell(out, label, numberWidth);
    }
    if (l.columns.antenna) appendCell(out, "Ant", 2);
    if (l.columns.frequency) appendCell(out, "Freq.", 6);
    if (l.columns.polarisation) appendCell(out, "Po", 1);
    if (l.columns.symbolRate) appendCell(out, "S/R", 5);
    if (l.columns.fec) appendCell(out, "Fec", 3);
    if (l.columns.pids) {
        for (std::string_view label : {"Video", "Audio", " Pcr"})
            appendCell(out, label, numberWidth);
        if (l.sixPids) {
            for (std::string_view label : {" Pmc", " Pmt", " Txt"})
                appendCell(out, label, numberWidth);
        }
    }
    if (l.columns.bandwidth) appendCell(out, "Acq", 3);
    return out;
}

namespace {

// The export; with `pageStarts` also where each page begins (its header's first line).
std::string writeExport(const ChannelList& tv, const ChannelList& radio,
                        const ExportOptions& options, const ExportTexts& texts,
                        const std::function<void(std::size_t row, std::size_t total)>& progress,
                        std::vector<std::size_t>* pageStarts) {
    const RowLayout layout = layoutOf(options);
    const std::size_t pageTotal =
        std::max<std::size_t>(1, pagesOf(tv.size()) + pagesOf(radio.size()));
    const std::string header = layout.headed ? exportColumnHeader(options, texts) : std::string();
    const std::size_t total = tv.size() + radio.size();

    std::string out;
    out.reserve(total * 128 + (layout.headed ? pageTotal * (header.size() * 2 + 300) : 0));
    std::size_t done = 0;
    std::size_t page = 0;
    const auto newPage = [&](std::string_view title) {
        if (pageStarts != nullptr) pageStarts->push_back(out.size());
        appendPageHeader(out, header, title, ++page, pageTotal, texts, layout.decimal);
    };
    const auto writeSection = [&](const ChannelList& list, std::string_view title) {
        if (layout.headed) newPage(title);
        for (std::size_t i = 0; i < list.size(); ++i) {
            if (progress) progress(++done, total);
            appendRow(out, list[i], i + 1, layout);
            out += '\n';
            const bool pageFull = (i + 1) % kRowsPerPage == 0 && i + 1 < list.size();
            if (layout.headed && pageFull) newPage(title);
        }
    };

    if (!tv.empty()) writeSection(tv, texts.tvTitle);
    if (!radio.empty()) {
        // The RADIO section starts on a page of its own: the last TV page is filled up.
        if (layout.headed && !tv.empty()) {
            out.append((kRowsPerPage - tv.size() % kRowsPerPage) % kRowsPerPage, '\n');
        }
        writeSection(radio, texts.radioTitle);
    }
    return out;
}

}  // namespace

std::string exportText(const ChannelList& tv, const ChannelList& radio,
                       const ExportOptions& options, const ExportTexts& texts,
                       const std::function<void(std::size_t row, std::size_t total)>& progress) {
    return writeExport(tv, radio, options, texts, progress, nullptr);
}

std::vector<std::string> exportPages(const ChannelList& tv, const ChannelList& radio,
                                     ExportOptions options, const ExportTexts& texts) {
    options.form = TextForm::Headed;
    std::vector<std::size_t> starts;
    const std::string text = writeExport(tv, radio, options, texts, {}, &starts);
    std::vector<std::string> pages;
    pages.reserve(starts.size());
    for (std::size_t i = 0; i < starts.size(); ++i) {
        const std::size_t end = i + 1 < starts.size() ? starts[i + 1] : text.size();
        pages.push_back(text.substr(starts[i], end - starts[i]));
    }
    return pages;
}

std::string exportDate(int year, int month, int day) {
    const auto twoDigits = [](int n) {
        n = ((n % 100) + 100) % 100;
        return std::string{static_cast<char>('0' + n / 10), static_cast<char>('0' + n % 10)};
    };
    return twoDigits(day) + '/' + twoDigits(month) + '/' + twoDigits(year);
}

std::string latin1ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 4);
    for (char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80) {
            out += c;
        } else {
            out += static_cast<char>(0xC0 | (b >> 6));
            out += static_cast<char>(0x80 | (b & 0x3F));
        }
    }
    return out;
}

}  // namespace qel
