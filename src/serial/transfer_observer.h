// What a transfer tells its caller while it runs, and the questions it must ask.
#pragma once

#include <cstddef>
#include <string_view>

namespace qel {

// Questions a transfer asks in its order of work; each is answered yes or no.
enum class Confirmation {
    DiscardUnsavedChannels,  // "Channels not saved , continue anyway ?"
    DiscardUnsavedSettings,  // "Settings not saved , continue anyway ?"
};

// Called on the thread that runs the transfer. The texts are the program's English ones.
class TransferObserver {
public:
    virtual ~TransferObserver() = default;
    // The status line ("Connecting", "DownLoading", "Com open", "Error", ...).
    virtual void status(std::string_view text) = 0;
    // The bytes used field: the receiver's channel data size.
    virtual void bytesShown(std::string_view text) = 0;
    // The channels field: how many channels that size holds.
    virtual void channelsShown(std::string_view text) = 0;
    // Bytes of the current block moved so far, against the block's length.
    virtual void progress(std::size_t done, std::size_t total) = 0;
    // True to go on.
    virtual bool confirm(Confirmation which) = 0;
};

// Shows nothing and answers every question with yes.
class SilentTransferObserver : public TransferObserver {
public:
    void status(std::string_view) override {}
    void bytesShown(std::string_view) override {}
    void channelsShown(std::string_view) override {}
    void progress(std::size_t, std::size_t) override {}
    bool confirm(Confirmation) override { return true; }
};

}  // namespace qel
