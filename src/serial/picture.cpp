#include "serial/picture.h"

#include "bytes/checksum.h"

namespace qel {

namespace {

constexpr std::string_view kOk = "OK";

Status withAnswerDetail(Status st, std::string_view what) {
    if (st.error() == ErrorCode::NoAnswer && st.detail().empty()) {
        return withDetail(st, "no answer to " + std::string(what));
    }
    return st;
}

}  // namespace

std::string pictureBlock(std::string_view file) {
    std::string block(4, '\0');
    block += file;
    const std::size_t length = block.size();
    block += static_cast<char>((length >> 8) & 0xFF);
    block += static_cast<char>(length & 0xFF);
    return block;
}

Status uploadPicture(Exchange& exchange, std::string_view file, int slot) {
    if (file.size() != kPictureFileSize) {
        return Error{ErrorCode::WrongPictureFile,
                     "a file of " + std::to_string(file.size()) + " bytes"};
    }
    TransferObserver& observer = exchange.observer();
    Link& link = exchange.link();
    const Millis timeout = exchange.timing().timeout;
    std::string data = pictureBlock(file);
    data += static_cast<char>(blockChecksum(data));
    const std::string_view start = slot == 1 ? "CBEG4" : "CBEG5";

    observer.status("Sending Picture");
    observer.progress(0, data.size());
    Status st = exchange.sendCommand("CBEG", kOk);
    if (st) {
        link.pause(exchange.timing().pause);
        // What came during the pause answers nothing sent since.
        exchange.clearReceived();
        st = exchange.send("O");
        if (st) st = withAnswerDetail(exchange.waitForText({}, timeout), "\"O\"");
    }
    if (st) st = exchange.sendCommand(start, kOk);
    if (st) {
        link.pause(exchange.timing().pause);
        // The final "OK" may come before the last piece has been seen to leave.
        exchange.clearReceived();
        st = sendInPieces(exchange, data, true, true);
    }
    if (!st) {
        if (st.error() != ErrorCode::TransferCancelled) observer.status("Error");
        return st;
    }
    st = withAnswerDetail(exchange.waitForText(kOk, timeout), "the picture");
    if (st.error() != ErrorCode::TransferCancelled) observer.status("Com open");
    return st;
}

PictureResult uploadPictureTransfer(Link& link, TransferObserver& observer, const Timing& timing,
                                    std::string_view file, int slot) {
    Exchange exchange(link, observer, timing);
    PictureResult result;
    result.status = uploadPicture(exchange, file, slot);
    result.cancelled = link.cancelled();
    return result;
}

}  // namespace qel
