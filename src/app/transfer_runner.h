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

// Opens the link the transfers use. The real one opens the serial port; tests give one that
// reaches a simulated receiver. Called on the transfer thread.
class LinkOpener {
public:
    virtual ~LinkOpener() = default;
    // A link to `device` at `baud`, or why there is none.
    virtual Result<std::unique_ptr<Link>> open(const QString& device, int baud) = 0;
};

// What a transfer asks its owner: answered on the runner's thread while the transfer waits.
class TransferQuestions {
public:
    virtual ~TransferQuestions() = default;
    // True to go on.
    virtual bool confirm(Confirmation which) = 0;
    // Keeps what the receiver held before an upload; false when it could not be kept.
    virtual bool keepBackup(const std::string& channelImage, const std::string& settingsBlock) = 0;
};

class TransferRunner : public QObject {
    Q_OBJECT

public:
    // The serial ports of this machine: the opener the program uses.
    static LinkOpener& serialPorts();

    // Both must outlive the runner.
    TransferRunner(LinkOpener& opener, TransferQuestions& questions, QObject* parent = nullptr);
    ~TransferRunner() override;

    // Opens (again) the link; `opened` answers. Closing ends it. A transfer that finds the
    // line hung up (a receiver's adapter pulled out and put back) opens the device again
    // first.
    void open(const QString& device, int baud);
    void close();
    void setSpeed(int baud);

    // Runs `job` with the link and an observer on the transfer thread; `finished` follows.
    // Refused (false) while a transfer runs or the link is not open.
    bool run(std::function<void(Link&, TransferObserver&)> job);
    bool busy() const { return busy_; }
    // Why the last open failed.
    const Status& openFailure() const { return openFailure_; }
    // Stops the running transfer: its waits end at once. From any thread.
    void cancel();

signals:
    void opened(bool ok);
    void status(const QString& text);
    void statusColour(int colour);  // a StatusColour
    void bytesShown(const QString& text);
    void channelsShown(const QString& text);
    void progress(qint64 done, qint64 total);
    void phase(int phase);  // a TransferPhase
    void finished();

private:
    class Worker;
    class Bridge;

    LinkOpener& opener_;
    TransferQuestions& questions_;
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
