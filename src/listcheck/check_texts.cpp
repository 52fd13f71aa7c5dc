// The texts of the list check's findings, in English and Italian, one byte a character
// (Latin-1) like the channel names they go with; %1 and %2 take the finding's arguments.
#include <string>

#include "listcheck/list_check.h"

namespace qel {

namespace {

struct MessageTexts {
    FindingMessage message;
    const char* english;
    const char* italian;
};

// clang-format off
constexpr MessageTexts kTexts[] = {
    {FindingMessage::SameAsRow,
     "Same service and PIDs as row %1",
     "Stesso servizio e stessi PID della riga %1"},
    {FindingMessage::OtherPidsThanRow,
     "Same service id and transponder as row %1 but other PIDs: one of them is likely out of date",
     "Stesso service id e transponder della riga %1 ma PID diversi: uno dei due \xE8 probabilmente superato"},
    {FindingMessage::PidAboveLimit,
     "PID %1 is above 1FFF",
     "Il PID %1 supera 1FFF"},
    {FindingMessage::PidNotHex,
     "PID \"%1\" is not a hexadecimal number",
     "Il PID \"%1\" non \xE8 un numero esadecimale"},
    {FindingMessage::FrequencyOutsideBands,
     "Frequency %1 MHz is outside the C band (3400-4200 MHz) and the Ku band (10700-12750 MHz)",
     "La frequenza %1 MHz \xE8 fuori dalla banda C (3400-4200 MHz) e dalla banda Ku (10700-12750 MHz)"},
    {FindingMessage::FrequencyOutsideLnbs,
     "Frequency %1 MHz is outside the bands of the LNBs in the settings (%2 MHz)",
     "La frequenza %1 MHz \xE8 fuori dalle bande degli LNB delle impostazioni (%2 MHz)"},
    {FindingMessage::NoTransponder,
     "No transponder: the receiver cannot tune this channel",
     "Nessun transponder: il ricevitore non pu\xF2 sintonizzare questo canale"},
    {FindingMessage::SymbolRateOutside,
     "Symbol rate %1 ksym/s is outside 1000-45000 ksym/s",
     "Il symbol rate %1 ksym/s \xE8 fuori da 1000-45000 ksym/s"},
    {FindingMessage::FecOutside,
     "FEC code %1 is outside 0-5",
     "Il codice FEC %1 \xE8 fuori da 0-5"},
    {FindingMessage::EmptyName,
     "Empty name: the receiver shows nothing",
     "Nome vuoto: il ricevitore non mostra nulla"},
    {FindingMessage::CharactersNotShown,
     "The receiver's font cannot show %1",
     "Il font del ricevitore non pu\xF2 mostrare %1"},
    {FindingMessage::TooManyDvb98Channels,
     "%1 channels: the receiver holds at most %2",
     "%1 canali: il ricevitore ne contiene al massimo %2"},
    {FindingMessage::TooManyImageChannels,
     "%1 channels in this list: an FTA image holds at most %2 a list",
     "%1 canali in questa lista: un'immagine FTA ne contiene al massimo %2 per lista"},
    {FindingMessage::TooManyTransponders,
     "%1 transponders: an FTA image holds at most %2",
     "%1 transponder: un'immagine FTA ne contiene al massimo %2"},
    {FindingMessage::ImageFull,
     "The channels do not fit the FTA image's flash",
     "I canali non entrano nella flash dell'immagine FTA"},
    {FindingMessage::HeaderWithoutChannels,
     "Satellite header without channels",
     "Intestazione di satellite senza canali"},
    {FindingMessage::ChannelsBeforeHeader,
     "%1 channels before the first satellite header",
     "%1 canali prima della prima intestazione di satellite"},
    {FindingMessage::SatNoFrequency,
     "No transponder of %1 within %3 MHz of %2 MHz; nearest: %4",
     "Nessun transponder di %1 entro %3 MHz da %2 MHz; il pi\xF9 vicino: %4"},
    {FindingMessage::SatNoPolarization,
     "No transponder of %1 at %2 MHz %3 (the receiver tunes L as H and R as V); nearest: %4",
     "Nessun transponder di %1 a %2 MHz %3 (il ricevitore sintonizza L come H e R come V); il pi\xF9 vicino: %4"},
    {FindingMessage::SatOtherSymbolRate,
     "No transponder of %1 at %2 MHz %3 with %4 ksym/s; nearest: %5",
     "Nessun transponder di %1 a %2 MHz %3 con %4 ksym/s; il pi\xF9 vicino: %5"},
};
// clang-format on

const MessageTexts* textsOf(FindingMessage message) {
    for (const MessageTexts& t : kTexts) {
        if (t.message == message) return &t;
    }
    return nullptr;
}

}  // namespace

std::string findingText(const Finding& finding, TextLanguage language) {
    const MessageTexts* t = textsOf(finding.message);
    if (t == nullptr) return {};
    const std::string pattern = language == TextLanguage::English ? t->english : t->italian;
    std::string text;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
        if (pattern[i] == '%' && next >= '1' && next <= '9') {
            const auto arg = static_cast<std::size_t>(next - '1');
            if (arg < finding.args.size()) text += finding.args[arg];
            ++i;
        } else {
            text += pattern[i];
        }
    }
    return text;
}

std::string_view levelText(FindingLevel level, TextLanguage language) {
    if (language == TextLanguage::English) return levelName(level);
    return level == FindingLevel::Error ? "errore" : "avviso";
}

std::string_view levelName(FindingLevel level) {
    return level == FindingLevel::Error ? "error" : "warning";
}

std::string_view kindName(FindingKind kind) {
    switch (kind) {
        case FindingKind::Duplicate:
            return "duplicate";
        case FindingKind::Range:
            return "range";
        case FindingKind::Capacity:
            return "capacity";
        case FindingKind::Structure:
            return "structure";
        case FindingKind::Name:
            return "name";
        case FindingKind::Transponder:
            return "transponder";
    }
    return "range";
}

}  // namespace qel
