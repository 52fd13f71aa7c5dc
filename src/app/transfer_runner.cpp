#include "app/transfer_runner.h"

#include <QMetaObject>
#include <QTimer>
#include <chrono>

#include "line/serial_line.h"

namespace qel {

// Lives on the transfer thread and owns the link there. Between transfers nothing reads the
// line: what it brings is dropped a few times a second, so that a device that keeps sending
// fills no buffer and the next transfer starts on a clean line.
class TransferRunner::Worker : public QObject {
public:
    Worker() {
        idle_.setInterval(kIdleDrop);
        QObject::connect(&idle_, &QTimer::timeout, this, [this] {
            if (link) link->dropInput();
        });
    }
    // On the transfer thread: the link changes, and the dropping starts or stops with it.
    void setLink(std::unique_ptr<Link> newLink) {
        link = std::move(newLink);
        if (link) {
            idle_.start();
        } else {
            idle_.stop();
        }
    }

    std::unique_ptr<Link> link;
    // What the link was opened to, for opening it again after a hang-up.
    QString device;
    int baud = 0;

private:
    static constexpr std::chrono::milliseconds kIdleDrop{100};
    QTimer idle_{this};
};

// The observer a transfer sees: its calls cross to the runner's thread as signals.
class TransferRunner::Bridge : public TransferObserver {
public:
    explicit Bridge(TransferRunner& runner) : runner_(runner) {}
    void status(std::string_view text) override {
        emit runner_.status(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
    }
    void statusColour(StatusColour colour) override {
        emit runner_.statusColour(static_cast<int>(colour));
    }
    void bytesShown(std::string_view text) override {
        emit runner_.bytesShown(
            QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
    }
    void channelsShown(std::string_view text) override {
        emit runner_.channelsShown(
            QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
    }
    void progress(std::size_t done, std::size_t total) override {
        // A few times a second is enough for the eye; the first and last always show.
        const auto now = std::chrono::steady_clock::now();
        if (done != 0 && done < total && now - lastProgress_ < kProgressInterval) return;
        lastProgress_ = now;
        emit runner_.progress(static_cast<qint64>(done), static_cast<qint64>(total));
    }
    void phase(TransferPhase phase) override { emit runner_.phase(static_cast<int>(phase)); }
    bool confirm(Confirmation which) override {
        bool answer = false;
        QMetaObject::invokeMethod(
            &runner_, [this, which, &answer] { answer = runner_.questions_.confirm(which); },
            Qt::BlockingQueuedConnection);
        return answer;
    }
    bool keepBackup(std::string_view channelImage, std::string_view settingsBlock) override {
        bool kept = false;
        const std::string channels(channelImage);
        const std::string settings(settingsBlock);
        QMetaObject::invokeMethod(
            &runner_, [&] { kept = runner_.questions_.keepBackup(channels, settings); },
            Qt::BlockingQueuedConnection);
        return kept;
    }

private:
    static constexpr std::chrono::milliseconds kProgressInterval{100};
    TransferRunner& runner_;
    std::chrono::steady_clock::time_point lastProgress_{};
};

namespace {

class SerialPorts final : public LinkOpener {
public:
    Result<std::unique_ptr<Link>> open(const QString& device, int baud) override {
        Result<std::unique_ptr<SerialLine>> line = SerialLine::open(device.toStdString(), baud);
        if (!line) return line.status();
        return std::unique_ptr<Link>(std::move(line.value()));
    }
};

}  // namespace

LinkOpener& TransferRunner::serialPorts() {
    // Holds nothing: one serves every runner.
    static SerialPorts ports;
    return ports;
}

TransferRunner::TransferRunner(LinkOpener& opener, TransferQuestions& questions, QObject* parent)
    : QObject(parent), opener_(opener), questions_(questions), worker_(new Worker) {
    worker_->moveToThread(&thread_);
    connect(&thread_, &QThread::finished, worker_, &QObject::deleteLater);
    thread_.start();
}

TransferRunner::~TransferRunner() {
    cancel();
    close();
    thread_.quit();
    thread_.wait();
}

void TransferRunner::open(const QString& device, int baud) {
    QMetaObject::invokeMethod(worker_, [this, device, baud] {
        {
            std::lock_guard<std::mutex> lock(linkMutex_);
            link_ = nullptr;
        }
        worker_->setLink(nullptr);
        worker_->device = device;
        worker_->baud = baud;
        Result<std::unique_ptr<Link>> link = opener_.open(device, baud);
        Status openStatus = link.status();
        if (link) worker_->setLink(std::move(link.value()));
        {
            std::lock_guard<std::mutex> lock(linkMutex_);
            link_ = worker_->link.get();
        }
        const bool ok = worker_->link != nullptr;
        if (ok) openStatus = {};
        QMetaObject::invokeMethod(this, [this, ok, openStatus] {
            linkOpen_ = ok;
            openFailure_ = openStatus;
            emit opened(ok);
        });
    });
}

void TransferRunner::close() {
    linkOpen_ = false;
    QMetaObject::invokeMethod(
        worker_,
        [this] {
            {
                std::lock_guard<std::mutex> lock(linkMutex_);
                link_ = nullptr;
            }
            worker_->setLink(nullptr);
        },
        QThread::currentThread() == &thread_ ? Qt::DirectConnection : Qt::BlockingQueuedConnection);
}

void TransferRunner::setSpeed(int baud) {
    QMetaObject::invokeMethod(worker_, [this, baud] {
        worker_->baud = baud;
        if (worker_->link) (void)worker_->link->setSpeed(baud);
    });
}

bool TransferRunner::run(std::function<void(Link&, TransferObserver&)> job) {
    if (busy_ || !linkOpen_) return false;
    busy_ = true;
    cancelRequested_ = false;
    QMetaObject::invokeMethod(worker_, [this, job = std::move(job)] {
        // A line hung up since the last transfer (the adapter pulled out and put back, the
        // far side restarted) is opened again; when that fails the transfer meets the dead
        // line and says so.
        if (worker_->link && worker_->link->lineLost() && !worker_->device.isEmpty()) {
            Result<std::unique_ptr<Link>> again = opener_.open(worker_->device, worker_->baud);
            if (again) {
                std::lock_guard<std::mutex> lock(linkMutex_);
                worker_->setLink(std::move(again.value()));
                link_ = worker_->link.get();
            }
        }
        if (worker_->link) {
            worker_->link->resetCancel();
            // A cancel that came before the transfer reached this thread still counts.
            if (cancelRequested_) worker_->link->cancel();
            Bridge bridge(*this);
            job(*worker_->link, bridge);
        }
        QMetaObject::invokeMethod(this, [this] {
            busy_ = false;
            emit finished();
        });
    });
    return true;
}

void TransferRunner::cancel() {
    cancelRequested_ = true;
    std::lock_guard<std::mutex> lock(linkMutex_);
    if (link_ != nullptr) link_->cancel();
}

}  // namespace qel
