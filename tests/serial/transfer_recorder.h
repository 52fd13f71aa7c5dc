// An observer that keeps everything a transfer showed and asked, and answers the questions
// from a script (yes unless told otherwise).
#pragma once

#include <deque>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "model/errors.h"
#include "serial/transfer_observer.h"

namespace qel {

// Error codes in failure messages by their text.
inline void PrintTo(ErrorCode code, std::ostream* os) {
    *os << '"' << errorText(code) << '"';
}

}  // namespace qel

namespace qel::test {

class TransferRecorder : public TransferObserver {
public:
    void status(std::string_view text) override { statuses.emplace_back(text); }
    void bytesShown(std::string_view text) override { bytes.emplace_back(text); }
    void channelsShown(std::string_view text) override { channels.emplace_back(text); }
    void progress(std::size_t done, std::size_t total) override {
        lastProgress = {done, total};
        ++progressCalls;
    }
    bool confirm(Confirmation which) override {
        asked.push_back(which);
        if (answers.empty()) return true;
        const bool yes = answers.front();
        answers.pop_front();
        return yes;
    }

    std::vector<std::string> statuses;
    std::vector<std::string> bytes;
    std::vector<std::string> channels;
    std::vector<Confirmation> asked;
    std::deque<bool> answers;
    std::pair<std::size_t, std::size_t> lastProgress{0, 0};
    std::size_t progressCalls = 0;
};

}  // namespace qel::test
