#include "serial/download.h"

#include <algorithm>
#include <cstdlib>

#include "bytes/checksum.h"
#include "files/dvb_file.h"
#include "files/g98_file.h"

namespace qel {

namespace {

std::string arrivedDetail(std::string_view command, std::size_t arrived, std::size_t wanted) {
    return describeCommand(command) + ": " + std::to_string(arrived) + " of " +
           std::to_string(wanted) + " bytes arrived";
}

// A failure of the channel data steps as the user learns of it: "Error during download" with
// what went wrong, unless the transfer was cancelled.
Status downloadFailure(const Status& failure) {
    if (failure.error() == ErrorCode::TransferCancelled) return failure;
    std::string detail = failure.detail();
    if (failure.error() == ErrorCode::PortError && detail.empty()) {
        detail = std::string(errorText(ErrorCode::PortError));
    }
    return Error{ErrorCode::DownloadFailed, std::move(detail)};
}

}  // namespace

Millis channelDataWait(std::int32_t bytesUsed, const Timing& timing) {
    const Millis half{std::max<std::int32_t>(bytesUsed, 0) / 2};
    return std::max(timing.timeout, std::min(half, kLongestChannelDataWait));
}

std::string channelCountText(std::int32_t bytesUsed) {
    const std::int32_t whole = bytesUsed / 64;
    std::int32_t rest = std::abs(bytesUsed % 64);
    std::string text = (bytesUsed < 0 && whole == 0 ? "-" : "") + std::to_string(whole);
    if (rest == 0) return text;
    // A 64th is at most six decimal places: 1/64 = 0.015625.
    text += '.';
    std::int32_t millionths = rest * 15625;
    for (int place = 0; place < 6 && millionths != 0; ++place) {
        millionths *= 10;
        text += static_cast<char>('0' + millionths / 1000000);
        millionths %= 1000000;
    }
    return text;
}

Result<std::string> downloadChannels(Exchange& exchange) {
    TransferObserver& observer = exchange.observer();
    const Result<std::int32_t> size = exchange.handshakeAndSize();
    if (!size) {
        if (size.error() != ErrorCode::TransferCancelled) observer.status("Error");
        return size.status();
    }
    const std::int32_t bytesUsed = *size;
    observer.bytesShown(std::to_string(bytesUsed));
    observer.channelsShown(channelCountText(bytesUsed));
    if (bytesUsed < 0 || bytesUsed % static_cast<std::int32_t>(kDvbRecordSize) != 0 ||
        bytesUsed > kMaxChannelDataSize) {
        observer.status("Error");
        return Error{ErrorCode::WrongChannelDataSize,
                     "the receiver reports " + std::to_string(bytesUsed) + " bytes"};
    }

    observer.status("DownLoading");
    const auto wanted = static_cast<std::size_t>(bytesUsed) + 1;
    Status st = exchange.sendCommand("CBEG", "OK");
    if (st) {
        exchange.clearReceived();
        st = exchange.send("B");
    }
    if (st) {
        st = exchange.waitForBytes(wanted, channelDataWait(bytesUsed, exchange.timing()));
        if (st.error() == ErrorCode::NoAnswer && st.detail().empty()) {
            st = withDetail(st, arrivedDetail("B", exchange.received().size(), wanted));
        }
    }
    std::string image;
    if (st) {
        // Bytes after the checksum byte are dropped.
        const std::string_view data(exchange.received().data(), wanted - 1);
        if (static_cast<std::uint8_t>(exchange.received()[wanted - 1]) != blockChecksum(data)) {
            st = Error{ErrorCode::DownloadFailed, "wrong checksum"};
        } else {
            image.assign(data);
        }
    }
    if (!st) {
        if (st.error() == ErrorCode::TransferCancelled) return st;
        observer.status("Com open");
        observer.bytesShown(std::to_string(bytesUsed));
        return downloadFailure(st);
    }
    observer.status("Com open");
    return image;
}

Result<std::string> downloadSettings(Exchange& exchange) {
    TransferObserver& observer = exchange.observer();
    observer.status("Get Settings");
    Status st = exchange.sendCommand("CBEG", "OK");
    if (st) {
        exchange.clearReceived();
        st = exchange.send("G");
    }
    if (st) {
        st = exchange.waitForBytes(kG98FileSize, exchange.timing().timeout);
        if (st.error() == ErrorCode::NoAnswer && st.detail().empty()) {
            st = withDetail(st, arrivedDetail("G", exchange.received().size(), kG98FileSize));
        }
    }
    if (!st) {
        if (st.error() != ErrorCode::TransferCancelled) observer.status("Error");
        return st;
    }
    const std::string_view block(exchange.received().data(), kSettingsBlockSize);
    observer.status("Com open");
    if (static_cast<std::uint8_t>(exchange.received()[kSettingsBlockSize]) !=
        blockChecksum(block)) {
        return Error{ErrorCode::WrongChecksum, "settings block"};
    }
    return std::string(block);
}

DownloadResult download(Link& link, TransferObserver& observer, const Timing& timing,
                        const DownloadRequest& request) {
    Exchange exchange(link, observer, timing);
    DownloadResult result;

    // Each part's bytes as they arrived, decoded once all parts have ended.
    std::string channelImage;
    std::string settingsBlock;
    auto runPart = [&](PartOutcome& outcome, bool unsaved, Confirmation question, auto fetch,
                       std::string& data) {
        if (!mayStartPart(exchange, outcome)) return;
        if (unsaved && !observer.confirm(question)) {
            outcome.status = Error{ErrorCode::TransferCancelled, std::string(kNotConfirmed)};
            return;
        }
        Result<std::string> got = fetch(exchange);
        if (!got) {
            outcome.status = got.status();
            return;
        }
        outcome.ok = true;
        data = std::move(got.value());
    };

    if (request.channels) {
        runPart(result.channels, request.channelsUnsaved, Confirmation::DiscardUnsavedChannels,
                downloadChannels, channelImage);
    }
    if (request.settings) {
        runPart(result.settings, request.settingsUnsaved, Confirmation::DiscardUnsavedSettings,
                downloadSettings, settingsBlock);
    }
    if (link.cancelled()) {
        result.cancelled = true;
        for (PartOutcome* part : {&result.channels, &result.settings}) {
            if (!part->attempted) continue;
            part->ok = false;
            part->status = ErrorCode::TransferCancelled;
        }
        return result;
    }
    if (result.channels.ok) {
        Result<TvRadioLists> lists = parseDvb(channelImage, request.log);
        if (lists) {
            result.lists = std::move(lists.value());
            result.channelBytes = channelImage.size();
        } else {
            result.channels.ok = false;
            result.channels.status = lists.status();
        }
    }
    if (result.settings.ok) result.settingsImage = settingsImageOf(settingsBlock);
    return result;
}

}  // namespace qel
