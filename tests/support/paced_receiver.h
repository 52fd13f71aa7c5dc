// qel-receiver-sim at the line's pace (--pace) for one test or benchmark: the device it serves
// and, when asked, the folder where it saves what it holds.
#pragma once

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <string>

namespace qel::test {

class PacedReceiver {
public:
    // `program`: the path of qel-receiver-sim; `args`: its options besides --pace and
    // --save-dir.
    PacedReceiver(const QString& program, QStringList args) {
        args << "--pace"
             << "--save-dir" << saved_.path();
        process_.start(program, args);
        if (process_.waitForReadyRead(5000))
            device_ = QString::fromLatin1(process_.readLine()).trimmed();
    }
    ~PacedReceiver() {
        process_.terminate();
        process_.waitForFinished(3000);
    }
    PacedReceiver(const PacedReceiver&) = delete;
    PacedReceiver& operator=(const PacedReceiver&) = delete;

    const QString& device() const { return device_; }
    // A file the receiver saved (channels.dvb, settings.g98, flash.bin, ...); empty if none.
    std::string saved(const char* name) const {
        QFile f(QDir(saved_.path()).filePath(QString::fromLatin1(name)));
        if (!f.open(QIODevice::ReadOnly)) return {};
        return f.readAll().toStdString();
    }

private:
    QTemporaryDir saved_;
    QProcess process_;
    QString device_;
};

}  // namespace qel::test
