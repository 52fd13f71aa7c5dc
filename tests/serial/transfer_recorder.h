// An observer that keeps everything a transfer showed and asked, and answers the questions
// from a script (yes unless told otherwise); and the bench the serial tests run a transfer on.
#pragma once

#include <deque>
#include <functional>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "model/errors.h"
#include "receiver_sim/receiver_simulator.h"
#include "receiver_sim/simulated_link.h"
#include "serial/transfer_observer.h"
#include "support/receiver_data.h"
#include "support/serial_line.h"

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
    void statusColour(StatusColour colour) override { colours.push_back(colour); }
    void bytesShown(std::string_view text) override { bytes.emplace_back(text); }
    void channelsShown(std::string_view text) override { channels.emplace_back(text); }
    void progress(std::size_t done, std::size_t total) override {
        lastProgress = {done, total};
        progresses.emplace_back(done, total);
    }
    bool confirm(Confirmation which) override {
        asked.push_back(which);
        if (onConfirm) onConfirm(which);
        if (answers.empty()) return true;
        const bool yes = answers.front();
        answers.pop_front();
        return yes;
    }
    bool keepBackup(std::string_view channelImage, std::string_view settingsBlock) override {
        backups.emplace_back(channelImage, settingsBlock);
        if (onKeepBackup) onKeepBackup();
        return keepsBackup;
    }

    std::vector<std::string> statuses;
    std::vector<StatusColour> colours;
    std::vector<std::string> bytes;
    std::vector<std::string> channels;
    std::vector<Confirmation> asked;
    std::deque<bool> answers;
    std::pair<std::size_t, std::size_t> lastProgress{0, 0};
    std::vector<std::pair<std::size_t, std::size_t>> progresses;
    // Runs when a question is asked, before it is answered.
    std::function<void(Confirmation)> onConfirm;
    // What keepBackup was handed, what it answers, and what runs when it is called.
    std::vector<std::pair<std::string, std::string>> backups;
    bool keepsBackup = true;
    std::function<void()> onKeepBackup;
};

// Texts in one string, each followed by '|': "CBEG|A|" for a command log, compared in one
// row of a table.
inline std::string joined(const std::vector<std::string>& texts) {
    std::string all;
    for (const std::string& t : texts)
        all += t + '|';
    return all;
}

// A simulated receiver on a line at 38400 baud and the observer of a transfer over it. With
// a count of channels the receiver holds that many and the test settings block.
struct Bench {
    explicit Bench(int channels = -1, std::size_t rate = kLineRate) : link(sim, rate) {
        if (channels < 0) return;
        sim.setChannelImage(channelImage(channels));
        sim.setSettingsBlock(settingsBlock());
    }
    std::string commands() const { return joined(sim.commandLog()); }
    std::string statuses() const { return joined(recorder.statuses); }

    ReceiverSimulator sim;
    SimulatedLink link;
    TransferRecorder recorder;
};

}  // namespace qel::test
