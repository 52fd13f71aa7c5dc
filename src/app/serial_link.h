// The serial port as the exchanges' Link: a QSerialPort used with its blocking calls on the
// thread that runs the transfers, so the windows never wait.
#pragma once

#include <QSerialPort>
#include <QString>

#include "serial/link.h"

namespace qel {

class SerialLink : public Link {
public:
    SerialLink() = default;
    ~SerialLink() override;

    // Opens the port (a device path) at `baud`, 8N1, no handshaking, RTS and DTR off.
    Status open(const QString& device, int baud);
    void close();
    bool isOpen() const { return port_.isOpen(); }

    // The device a COM port number or a stored port text names: "1"-"4" are COM1-COM4
    // (/dev/ttyS0-/dev/ttyS3), anything else is a device path as it stands.
    static QString deviceOf(const QString& portText);

    Status setSpeed(int baud) override;
    void setRts(bool on) override;
    void setDtr(bool on) override;
    Status write(std::string_view bytes) override;
    bool drain(Millis timeout) override;
    Status receive(std::string& received, Millis timeout) override;
    void pause(Millis duration) override;
    std::chrono::steady_clock::time_point now() const override;

private:
    bool hungUp() const;
    // A pseudo-terminal has no modem lines: setting them fails there, harmlessly.
    bool pseudoTerminal_ = false;
    QSerialPort port_;
};

}  // namespace qel
