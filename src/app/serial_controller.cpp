#include "app/serial_controller.h"

#include <QDir>

#include "app/serial_link.h"
#include "app/texts.h"
#include "files/dvb_file.h"

namespace qel {

SerialController::SerialController(Session& session, Prompter& prompter, QObject* parent)
    : QObject(parent),
      session_(session),
      prompter_(prompter),
      runner_(std::make_unique<TransferRunner>()) {
    connectRunner();
}

SerialController::~SerialController() = default;

void SerialController::setLinkFactory(TransferRunner::LinkFactory factory) {
    runner_ = std::make_unique<TransferRunner>(std::move(factory));
    connectRunner();
}

void SerialController::connectRunner() {
    TransferRunner* r = runner_.get();
    r->confirm = [this](Confirmation which) { return confirm(which); };
    connect(r, &TransferRunner::opened, this, [this](bool ok, const QString&) {
        portOpen_ = ok;
        // These status texts are the same in every language.
        setAdvise(ok ? QStringLiteral("Com open") : QStringLiteral("Error on COM"));
        emit portChanged(ok);
    });
    connect(r, &TransferRunner::status, this, &SerialController::setAdvise);
    connect(r, &TransferRunner::bytesShown, this, &SerialController::setBytes);
    connect(r, &TransferRunner::channelsShown, this, &SerialController::setChannels);
    connect(r, &TransferRunner::progress, this, [this](qint64 done, qint64 total) {
        // The bytes field counts what arrives, the bar against the block's length.
        setBytes(QString::number(done));
        emit progress(done, total);
    });
    connect(r, &TransferRunner::finished, this, [this] {
        if (pending_) {
            const std::shared_ptr<DownloadResult> result = std::move(pending_);
            finishDownload(*result);
        }
        setBusy(false);
    });
}

QString SerialController::speedText(Mode mode) {
    return mode == Mode::Dvb98 ? QStringLiteral("38400,N,8,1") : QStringLiteral("19200,N,8,1");
}

QString SerialController::portText() const {
    const QString port = session_.config().comPortText.trimmed();
    bool numeric = false;
    const int number = port.toInt(&numeric);
    if (numeric) return QStringLiteral(" COM ") + QString::number(number);
    return port;
}

void SerialController::start() {
    setAdvise(QString());
    const Workspace& ws = session_.workspace();
    const std::size_t channels = ws.channelCount();
    if (ws.fileType() == FileKind::BIN) {
        mode_ = Mode::Fta;
        setBytes(QStringLiteral(" 49152"));
    } else {
        mode_ = Mode::Dvb98;
        setBytes(QString::number(channels * 64));
    }
    setChannels(QString::number(channels));
    emit modeChanged(mode_);
    emit speedChanged(speedText(mode_) + ' ');
    runner_->close();
    portOpen_ = false;
    emit portChanged(false);
    runner_->open(SerialLink::deviceOf(session_.config().comPortText), baudOf(mode_));
}

void SerialController::stop() {
    cancel();
    runner_->close();
    portOpen_ = false;
}

void SerialController::setMode(Mode mode) {
    if (mode == mode_) return;
    mode_ = mode;
    runner_->setSpeed(baudOf(mode));
    emit modeChanged(mode);
    emit speedChanged(speedText(mode) + ' ');
}

void SerialController::setAdvise(const QString& text) {
    advise_ = text;
    emit adviseChanged(text);
}

void SerialController::setBytes(const QString& text) {
    bytes_ = text;
    emit bytesChanged(text);
}

void SerialController::setChannels(const QString& text) {
    channels_ = text;
    emit channelsChanged(text);
}

void SerialController::setBusy(bool busy) {
    if (busy_ == busy) return;
    busy_ = busy;
    session_.setTransferBusy(busy);
    emit busyChanged(busy);
}

bool SerialController::confirm(Confirmation which) {
    const QString question = which == Confirmation::DiscardUnsavedChannels
                                 ? tr("Channels not saved , continue anyway ?")
                                 : tr("Settings not saved , continue anyway ?");
    return prompter_.ask(Prompter::Icon::Question, question, Prompter::Buttons::YesNo,
                         Prompter::Answer::No) == Prompter::Answer::Yes;
}

void SerialController::download(bool channels, bool settings) {
    if (busy_ || !portOpen_ || (!channels && !settings)) return;
    marks_.fill(Mark::Hidden);
    emit marksChanged();
    DownloadRequest request;
    request.channels = channels;
    request.settings = settings;
    request.channelsUnsaved = session_.workspace().channelsModified();
    request.settingsUnsaved =
        session_.workspace().settingsModified() && session_.workspace().settingsLoaded();
    auto result = std::make_shared<DownloadResult>();
    const Timing timing = timing_;
    setBusy(true);
    pending_ = result;
    const bool started = runner_->run([result, timing, request](Link& link, TransferObserver& o) {
        *result = qel::download(link, o, timing, request);
    });
    if (!started) {
        pending_.reset();
        setBusy(false);
    }
}

void SerialController::cancel() {
    runner_->cancel();
}

void SerialController::tellFailure(const PartOutcome& part) {
    const ErrorCode code = part.status.error();
    if (code == ErrorCode::DownloadFailed || code == ErrorCode::WrongChannelDataSize) {
        prompter_.tell(Prompter::Icon::Critical, Texts::errorMessage(code));
    }
}

void SerialController::finishDownload(const DownloadResult& result) {
    Workspace& ws = session_.workspace();
    const QDir folder(session_.workingDir());
    if (result.channels.attempted) {
        marks_[0] = result.channels.ok ? Mark::Ok : Mark::Ko;
        if (result.replacesChannels()) {
            auto lists = parseDvb(result.channelImage, session_.log());
            if (lists) {
                // Downloaded lists have no file of their own yet.
                ws.installChannels({std::move(lists.value()), FileKind::DVB, {}});
                session_.setChannelFile(folder.filePath(QStringLiteral("Download.dvb")));
            } else {
                marks_[0] = Mark::Ko;
            }
        }
        if (!result.channels.ok && !result.cancelled) tellFailure(result.channels);
    }
    if (result.settings.attempted) {
        marks_[1] = result.settings.ok ? Mark::Ok : Mark::Ko;
        if (result.replacesSettings()) {
            ws.installSettings(settingsImageOf(result.settingsBlock));
            session_.setSettingsFile(folder.filePath(QStringLiteral("Download.g98")));
        }
        if (!result.settings.ok && !result.cancelled) tellFailure(result.settings);
    }
    if (result.cancelled) setAdvise(Texts::errorMessage(ErrorCode::TransferCancelled));
    emit marksChanged();
    if (result.replacesChannels()) emit channelsDownloaded();
}

}  // namespace qel
