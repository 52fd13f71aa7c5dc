// What a transfer tells its caller while it runs, and the questions it must ask.
#pragma once

#include <cstddef>
#include <string_view>

namespace qel {

// Questions a transfer asks in its order of work; each is answered yes or no.
enum class Confirmation {
    DiscardUnsavedChannels,  // "Channels not saved , continue anyway ?"
    DiscardUnsavedSettings,  // "Settings not saved , continue anyway ?"
    // "Unplug Vandu main power": the operator pulls the receiver's mains plug and confirms;
    // no backs out before anything is sent.
    UnplugMainPower,
    // The backup of what the receiver holds failed before an upload: upload anyway?
    UploadWithoutBackup,
};

// The detail of TransferCancelled when a question was answered No: nothing was sent for the
// part it asked about.
inline constexpr std::string_view kNotConfirmed = "not confirmed";

// The colour of the status line's text: the FTA upload blinks "Connect main plug" in green
// (65280) and dark green (32768) while it calls the loader, and leaves it green.
enum class StatusColour { Normal, Green, DarkGreen };

// What an upload does around its parts: reading what the receiver holds before the first byte
// goes up (Backup), and reading a part back after it went up (Verify). Their exchanges show the
// download's own status texts; the window names the phase instead.
enum class TransferPhase { Parts, Backup, Verify };

// Called on the thread that runs the transfer. The texts are the program's English ones.
class TransferObserver {
public:
    virtual ~TransferObserver() = default;
    // The status line ("Connecting", "DownLoading", "Com open", "Error", ...).
    virtual void status(std::string_view text) = 0;
    virtual void statusColour(StatusColour colour) = 0;
    // The bytes used field: the receiver's channel data size, or the bytes sent so far.
    virtual void bytesShown(std::string_view text) = 0;
    // The channels field: how many channels that size holds.
    virtual void channelsShown(std::string_view text) = 0;
    // Bytes of the current block moved so far, against the block's length.
    virtual void progress(std::size_t done, std::size_t total) = 0;
    // The upload enters a phase; Parts when it goes back to its own steps.
    virtual void phase(TransferPhase) {}
    // True to go on.
    virtual bool confirm(Confirmation which) = 0;
    // What the receiver held before an upload (its channel records and its 1264-byte settings
    // block), to be kept; called before the upload sends its first byte. False when it could
    // not be kept: the upload then asks UploadWithoutBackup.
    virtual bool keepBackup(std::string_view channelImage, std::string_view settingsBlock) = 0;
};

// Shows nothing, answers every question with yes and keeps no backup (saying it did).
class SilentTransferObserver : public TransferObserver {
public:
    void status(std::string_view) override {}
    void statusColour(StatusColour) override {}
    void bytesShown(std::string_view) override {}
    void channelsShown(std::string_view) override {}
    void progress(std::size_t, std::size_t) override {}
    bool confirm(Confirmation) override { return true; }
    bool keepBackup(std::string_view, std::string_view) override { return true; }
};

}  // namespace qel
