// Fuzz harness for the text and CSV imports: any bytes must be refused or read, never
// crash; what is read must export and read back to the same channels.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "files/csv_file.h"
#include "files/text_export.h"
#include "files/text_import.h"

using namespace qel;

namespace {

// The refusals of a whole file, which name no row.
bool refusedWhole(const Status& status) {
    return status.error() == ErrorCode::NoChannelsInFile ||
           status.error() == ErrorCode::FileTooLarge;
}

void checkTextRoundTrip(std::string_view bytes) {
    ImportProblem problem;
    auto first = parseImportText(bytes, &problem);
    if (!first) {
        if (problem.row == 0 && !refusedWhole(first.status())) std::abort();
        return;
    }
    ExportOptions options;
    options.form = TextForm::ImportCompatible;
    // Line ends inside names become blanks on the way out; after that the text is stable.
    const std::string written =
        latin1ToUtf8(exportText(first->tv, first->radio, options, ExportTexts{}));
    auto second = parseImportText(written);
    if (!second || second->tv.size() != first->tv.size() ||
        second->radio.size() != first->radio.size() ||
        latin1ToUtf8(exportText(second->tv, second->radio, options, ExportTexts{})) != written) {
        std::abort();
    }
    // The printable forms take whatever the import gave.
    options.form = TextForm::Headed;
    options.decimal = !first->tv.empty();
    const std::string headed = exportText(first->tv, first->radio, options, ExportTexts{});
    if (first->tv.size() + first->radio.size() > 0 && headed.empty()) std::abort();
}

void checkCsvRoundTrip(std::string_view bytes) {
    ImportProblem problem;
    auto first = parseCsv(bytes, &problem);
    if (!first) {
        if (problem.row == 0 && !refusedWhole(first.status())) std::abort();
        return;
    }
    auto second = parseCsv(exportCsv(first->tv, first->radio));
    if (!second || second->tv != first->tv || second->radio != first->radio) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    checkTextRoundTrip(bytes);
    checkCsvRoundTrip(bytes);
    return 0;
}
