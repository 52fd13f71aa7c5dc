// Runs the serial transfers on a thread of their own, over one link kept open while the
// serial window is open: the windows never wait. What a transfer tells arrives as signals
// on the thread that created the runner; what it asks is answered there while the transfer
// waits.
#pragma once

#include <QObject>
#include <QString>
#include <QThread>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "serial/link.h"
#include "serial/transfer_observer.h"

namespace qel {

class TransferRunner : public QObject {
    Q_OBJECT

public:
    // Opens a link to `device` at `baud`; `opened` tells how it went. The real one opens
    // the serial port; tests give one that reaches a simulated receiver.
    using LinkFactory =
        std::function<std::unique_ptr<Link>(const QString& device, int baud, Status& opened)>;
    static LinkFactory serialPorts();

    explicit TransferRunner(LinkFactory factory = serialPorts(), QObject* parent = nullptr);
    ~TransferRunner() override;

    // Opens (again) the link; `opened` answers. Closing ends it.
    void open(const QString& device, int baud);
    void close();
    void setSpeed(int baud);

    // Runs `job` with the link and an observer on the transfer thread; `finished` follows.
    // Refused (false) while a transfer runs or the link is not open.
    bool run(std::function<void(Link&, TransferObserver&)> job);
    bool busy() const { return busy_; }
    bool linkOpen() const { return linkOpen_; }
    // Why the last open failed.
    const Status& openFailure() const { return openFailure_; }
    // Stops the running transfer: its waits end at once. From any thread.
    void cancel();

    // Asked on this object's thread; the transfer waits for the answer.
    std::function<bool(Confirmation)> confirm = [](Confirmation) { return true; };
    // Keeps what the receiver held before an upload; asked the same way.
    std::function<bool(const std::string& channelImage, const std::string& settingsBlock)>
        keepBackup = [](const std::string&, const std::string&) { return false; };

signals:
    void opened(bool ok);
    void status(const QString& text);
    void statusColour(int colour);  // a StatusColour
    void bytesShown(const QString& text);
    void channelsShown(const QString& text);
    void progress(qint64 done, qint64 total);
    void finished();

private:
    class Worker;
    class Bridge;

    LinkFactory factory_;
    QThread thread_;
    Worker* worker_;
    std::mutex linkMutex_;
    Link* link_ = nullptr;  // the worker's link, for cancel
    bool busy_ = false;
    bool linkOpen_ = false;
    Status openFailure_;
    std::atomic<bool> cancelRequested_{false};
};

}  // namespace qel
