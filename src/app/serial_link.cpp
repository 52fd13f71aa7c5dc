#include "app/serial_link.h"

#include <QFileInfo>
#include <QThread>
#include <algorithm>

#include <poll.h>

namespace qel {

namespace {

// Waits are cut into slices this long so that a cancel is seen at once.
constexpr Millis kSlice{40};

Status portError(const QSerialPort& port) {
    return Error{ErrorCode::PortError, port.errorString().toStdString()};
}

}  // namespace

SerialLink::~SerialLink() {
    close();
}

QString SerialLink::deviceOf(const QString& portText) {
    const QString text = portText.trimmed();
    bool numeric = false;
    const int number = text.toInt(&numeric);
    if (numeric && number >= 1 && number <= 4) {
        return QStringLiteral("/dev/ttyS%1").arg(number - 1);
    }
    return text;
}

Status SerialLink::open(const QString& device, int baud) {
    close();
    const QString target = QFileInfo(device).canonicalFilePath();
    pseudoTerminal_ = target.startsWith(QLatin1String("/dev/pts/"));
    port_.setPortName(target.isEmpty() ? device : target);
    if (!port_.open(QIODevice::ReadWrite)) return portError(port_);
    const bool set = port_.setBaudRate(baud) && port_.setDataBits(QSerialPort::Data8) &&
                     port_.setParity(QSerialPort::NoParity) &&
                     port_.setStopBits(QSerialPort::OneStop) &&
                     port_.setFlowControl(QSerialPort::NoFlowControl);
    if (!set) {
        const Status failed = portError(port_);
        close();
        return failed;
    }
    setRts(false);
    setDtr(false);
    port_.clearError();
    return {};
}

void SerialLink::close() {
    if (port_.isOpen()) port_.close();
}

Status SerialLink::setSpeed(int baud) {
    if (!port_.setBaudRate(baud)) return portError(port_);
    return {};
}

void SerialLink::setRts(bool on) {
    if (!port_.setRequestToSend(on) && pseudoTerminal_) port_.clearError();
}

void SerialLink::setDtr(bool on) {
    if (!port_.setDataTerminalReady(on) && pseudoTerminal_) port_.clearError();
}

Status SerialLink::write(std::string_view bytes) {
    if (!port_.isOpen()) return Error{ErrorCode::PortError, "the port is closed"};
    const auto length = static_cast<qint64>(bytes.size());
    if (port_.write(bytes.data(), length) != length) return portError(port_);
    // Hands the bytes to the line without waiting for them to leave.
    port_.waitForBytesWritten(0);
    return {};
}

bool SerialLink::drain(Millis timeout) {
    const auto deadline = now() + timeout;
    while (port_.bytesToWrite() > 0 && !cancelled()) {
        const auto left = std::chrono::duration_cast<Millis>(deadline - now());
        if (left <= Millis::zero()) return false;
        port_.waitForBytesWritten(static_cast<int>(std::min(left, kSlice).count()));
        if (port_.error() == QSerialPort::ResourceError) return false;
    }
    return port_.bytesToWrite() == 0;
}

Status SerialLink::receive(std::string& received, Millis timeout) {
    const auto deadline = now() + timeout;
    while (!cancelled()) {
        if (port_.bytesAvailable() > 0) {
            const QByteArray bytes = port_.readAll();
            received.append(bytes.constData(), static_cast<std::size_t>(bytes.size()));
            return {};
        }
        if (port_.error() == QSerialPort::ResourceError) return portError(port_);
        const auto left = std::chrono::duration_cast<Millis>(deadline - now());
        if (left <= Millis::zero()) return {};
        // False on a timeout, and on an error, which the next turn reports.
        port_.waitForReadyRead(static_cast<int>(std::min(left, kSlice).count()));
        if (port_.bytesAvailable() == 0 && hungUp()) {
            return Error{ErrorCode::PortError, "the line was hung up"};
        }
    }
    return {};
}

bool SerialLink::hungUp() const {
    // A pseudo-terminal whose other side has gone reads nothing but reports the hang-up.
    pollfd fd{static_cast<int>(port_.handle()), POLLIN, 0};
    return ::poll(&fd, 1, 0) == 1 && (fd.revents & (POLLHUP | POLLERR)) != 0;
}

void SerialLink::pause(Millis duration) {
    const auto deadline = now() + duration;
    while (!cancelled()) {
        const auto left = std::chrono::duration_cast<Millis>(deadline - now());
        if (left <= Millis::zero()) return;
        QThread::msleep(static_cast<unsigned long>(std::min(left, kSlice).count()));
    }
}

std::chrono::steady_clock::time_point SerialLink::now() const {
    return std::chrono::steady_clock::now();
}

}  // namespace qel
