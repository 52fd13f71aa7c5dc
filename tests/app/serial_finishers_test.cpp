// How every transfer ends for the serial window, without a window: each row a transfer's result
// and what its finisher hands back (the marks, the messages with their icons, whether the line
// must fall quiet first, the status line, the bytes field and what the document receives).
#include "app/serial_finishers.h"

#include <QtTest>

#include "app/language.h"
#include "files/dvb_file.h"
#include "files/g98_file.h"
#include "support/receiver_data.h"

namespace qel {

namespace {

using E = ErrorCode;

PartOutcome ok() {
    return {true, true, {}, 0};
}
PartOutcome fails(ErrorCode code, std::string detail = {}, std::size_t differsAt = 0) {
    return {true, false, Error{code, std::move(detail)}, differsAt};
}
// A question about unsaved changes (or an upload without a backup) answered No.
PartOutcome declined() {
    return fails(E::TransferCancelled, std::string(kNotConfirmed));
}
// The receiver did not answer the first "CBEG" at all.
PartOutcome silent() {
    return fails(E::NoAnswer, "no answer to " + describeCommand("CBEG"));
}

const LineNames kLine{QStringLiteral("/dev/ttyS0 (COM 1)"), QStringLiteral("HINT")};

DownloadResult download(PartOutcome channels, PartOutcome settings, bool cancelled = false) {
    DownloadResult r;
    r.channels = std::move(channels);
    r.settings = std::move(settings);
    r.cancelled = cancelled;
    if (r.channels.ok) {
        r.lists = parseDvb(test::channelImage(3)).value();
        r.channelBytes = 3 * kDvbRecordSize;
    }
    if (r.settings.ok) r.settingsImage = settingsImageOf(test::settingsBlock());
    return r;
}

TransferEnding dl(PartOutcome channels, PartOutcome settings, bool cancelled = false) {
    return finishDownload(download(std::move(channels), std::move(settings), cancelled), kLine);
}
// An upload of the parts given (channels, settings, system font, teletext font; the rest not
// tried), `bytes` the count the window shows.
TransferEnding up(std::vector<PartOutcome> parts, bool cancelled = false,
                  std::size_t unanswered = 0, const QString& bytes = QStringLiteral("256")) {
    parts.resize(4);
    const UploadResult r{parts[0], parts[1], parts[2], parts[3], cancelled, false, unanswered};
    return finishUpload(r, bytes, kLine);
}

// A restore of a backup's channels and settings.
TransferEnding rs(std::vector<PartOutcome> parts, bool cancelled = false) {
    parts.resize(2);
    const UploadResult r{parts[0], parts[1], {}, {}, cancelled, true, 0};
    return finishRestore(r, QStringLiteral("256"), QStringLiteral("2024-01-31 08:05:09"), kLine);
}

TransferEnding picture(Status st, bool cancelled = false) {
    return finishPicture({std::move(st), cancelled}, kLine);
}
TransferEnding firmware(Status st) {
    FirmwareResult r;
    r.status = std::move(st);
    return finishFirmware(r, QStringLiteral("new.bin"), kLine);
}

// The marks as "<index><mark>" in the order set (O ok, K ko, S skipped), then "settle",
// "bytes=..." and "status=..." when the ending has them.
QString shownOf(const TransferEnding& e) {
    QString out;
    for (const auto& [index, mark] : e.marks)
        out += QString::number(index) + QStringLiteral("-OKS").at(static_cast<int>(mark));
    if (e.settle) out += QStringLiteral(" settle");
    if (e.bytesUsed) out += QStringLiteral(" bytes=") + *e.bytesUsed;
    if (e.status) out += QStringLiteral(" status=") + *e.status;
    return out;
}
// Each message with its icon first: ! critical, ~ exclamation, i information.
QStringList messagesOf(const TransferEnding& e) {
    QStringList out;
    for (const TransferMessage& m : e.messages) {
        const char icon = m.icon == Prompter::Icon::Critical      ? '!'
                          : m.icon == Prompter::Icon::Exclamation ? '~'
                                                                  : 'i';
        out << QString(QChar(icon)) + m.text;
    }
    return out;
}

// The program's own text of an error, as a message box with the critical icon shows it.
QString critical(ErrorCode code) {
    return QStringLiteral("!") + QString::fromLatin1(errorText(code).data());
}

const QString kIncomplete = QStringLiteral(
    "!The upload stopped part-way: the receiver's flash is now incomplete and must be written "
    "again.");
const QString kLoaderTimeout = QStringLiteral(
    "!Timeout\n\nThe receiver's loader did not answer on /dev/ttyS0 (COM 1) at 19200 baud. Plug "
    "the receiver's mains in while \"Connect main plug\" blinks, and check the cable and the "
    "port in Options.");

}  // namespace
}  // namespace qel

Q_DECLARE_METATYPE(qel::TransferEnding)

namespace qel {

class SerialFinishersTest : public QObject {
    Q_OBJECT

private slots:
    void eachOutcomeEndsAsTheWindowShowsIt_data() {
        QTest::addColumn<TransferEnding>("ending");
        // The marks, then whether the line must fall quiet first, the bytes field and the
        // status line when the finisher sets them.
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QStringList>("messages");
        const auto row = [](const char* name, const TransferEnding& ending, const char* shown,
                            const QStringList& messages = {}) {
            QTest::newRow(name) << ending << QString(shown) << messages;
        };

        // The download.
        row("download: both arrive", dl(ok(), ok()), "0O1O bytes=192");
        row("download: a silent receiver is told once", dl(silent(), silent()), "0K1K settle",
            {"!HINT"});
        row("download: failed channels have their box",
            dl(fails(E::DownloadFailed, "wrong checksum"), ok()), "0K1O settle",
            {"!Error during download"});
        row("download: a size no table has", dl(fails(E::WrongChannelDataSize), ok()),
            "0K1O settle", {critical(E::WrongChannelDataSize)});
        row("download: no answer is said by the status line",
            dl(ok(), fails(E::NoAnswer, "no answer to G")), "0O1K settle bytes=192");
        row("download: a wrong checksum too", dl(ok(), fails(E::WrongChecksum)),
            "0O1K settle bytes=192");
        row("download: the port failing has its reason",
            dl(fails(E::PortError, "unplugged"), fails(E::PortError)), "0K1K settle",
            {"!Error on COM\nunplugged", "!Error on COM"});
        row("download: both declined", dl(declined(), declined()),
            "0S1S status=Skipped: channels, settings");
        row("download: declined beside a failure keeps the failure's status",
            dl(declined(), fails(E::NoAnswer)), "0S1K settle");
        row("download: cancelled",
            dl(fails(E::TransferCancelled), fails(E::TransferCancelled), true),
            "0K1K settle status=Transfer cancelled");

        // The upload.
        row("upload: all four parts", up({ok(), ok(), ok(), ok()}), "0O1O2O3O bytes=256");
        row("upload: a silent receiver is told once", up({silent(), silent()}), "0K1K settle",
            {"!HINT"});
        row("upload: too many channels, refused before any byte",
            up({fails(E::TooManyChannelsDvb)}), "0K",
            {"!Too many channels for DVB 98 : no Upload/Save "});
        row("upload: no answer to C", up({fails(E::UploadFailed, "no answer to C")}), "0K settle",
            {"!Error during upload"});
        const QString differs = "!The receiver does not hold what was sent\n";
        row("upload: channels kept changed", up({fails(E::VerifyFailed, "", 2)}), "0K settle",
            {differs + "The first channel that differs: 2"});
        row("upload: settings kept changed", up({{}, fails(E::VerifyFailed, "", 633)}), "1K settle",
            {differs + "The first byte that differs: 633"});
        row("upload: settings that could not be read back", up({{}, fails(E::VerifyFailed)}),
            "1K settle", {differs + "It could not be read back."});
        row("upload: refusals said by the mark or the status line",
            up({fails(E::NoChannelsLoaded), fails(E::SettingsNotTagged), fails(E::NoFontLoaded),
                fails(E::WrongFontLength)}),
            "0K1K2K3K");
        row("upload: no answer to H", up({ok(), fails(E::NoAnswer)}), "0O1K settle bytes=256");
        row("upload: the port failing", up({fails(E::PortError, "unplugged")}), "0K settle",
            {"!Error on COM\nunplugged"});
        row("upload: without a backup, declined", up({declined(), declined()}),
            "0S1S status=Skipped: channels, settings");
        row("upload: cancelled", up({ok(), fails(E::TransferCancelled)}, true),
            "0O1K settle bytes=256 status=Transfer cancelled");
        row("upload: the loader never woke", up({fails(E::LoaderTimeout)}, false, 0, " 49152"),
            "0K settle", {kLoaderTimeout});
        row("upload: the loader missed a wake-up",
            up({fails(E::LoaderUploadFailed)}, false, 0, " 49152"), "0K settle",
            {"!Error during upload "});
        row("upload: an image cut off between blocks",
            up({fails(E::FlashIncomplete)}, true, 0, " 49152"),
            "0K settle status=Transfer cancelled", {kIncomplete});
        row("upload: blocks without an answer end well, with a warning",
            up({ok()}, false, 7, " 49152"), "0O bytes= 49152",
            {"~The image went up, but 7 of the 48 blocks got no answer from the "
             "receiver.\nIf the receiver does not work with the new lists, repeat "
             "the upload."});

        // The restore: an upload that says when the backup is back.
        const QString back = "iThe backup of 2024-01-31 08:05:09 is back in the receiver.";
        row("restore: both parts", rs({ok(), ok()}), "0O1O bytes=256", {back});
        row("restore: settings only", rs({{}, ok()}), "1O", {back});
        row("restore: one part kept changed is no success",
            rs({ok(), fails(E::VerifyFailed, "", 9)}), "0O1K settle bytes=256",
            {"!The receiver does not hold what was sent\nThe first byte that differs: 9"});
        row("restore: without a backup, declined", rs({declined(), declined()}),
            "0S1S status=Skipped: channels, settings");
        row("restore: cancelled after the channels", rs({ok(), fails(E::TransferCancelled)}, true),
            "0O1K settle bytes=256 status=Transfer cancelled");
        row("restore: a silent receiver", rs({silent(), silent()}), "0K1K settle", {"!HINT"});

        // The picture.
        row("picture: goes up", picture({}), "4O");
        row("picture: a file that is no picture, refused before any byte",
            picture(E::WrongPictureFile), "4K", {critical(E::WrongPictureFile)});
        row("picture: a silent receiver", picture(silent().status), "4K settle", {"!HINT"});
        row("picture: no answer later", picture(E::NoAnswer), "4K settle");
        row("picture: the port failing", picture(Error{E::PortError, "unplugged"}), "4K settle",
            {"!Error on COM\nunplugged"});
        row("picture: cancelled", picture(E::TransferCancelled, true),
            "4K settle status=Transfer cancelled");

        // The firmware.
        row("firmware: goes up", firmware({}), "5O",
            {"iFirmware upgrade completed\nThe receiver's flash now holds new.bin."});
        row("firmware: a block's CRC", firmware(E::FirmwareCrcError), "5K settle", {"!CrC error"});
        row("firmware: a block's decompression", firmware(E::FirmwareDecompressError), "5K settle",
            {"!Decompressing error "});
        row("firmware: a block's writing", firmware(E::FirmwareWriteError), "5K settle",
            {"!Programming  error"});
        row("firmware: cancelled after the erase choice", firmware(E::FirmwareIncomplete),
            "5K settle", {"~" + QString::fromLatin1(errorText(E::FirmwareIncomplete).data())});
        row("firmware: cancelled before it", firmware(E::TransferCancelled),
            "5K settle status=Transfer cancelled");
        row("firmware: a silent receiver", firmware(silent().status), "5K settle", {"!HINT"});
        row("firmware: no answer later leaves Error in the status line", firmware(E::NoAnswer),
            "5K settle");
    }

    void eachOutcomeEndsAsTheWindowShowsIt() {
        QFETCH(TransferEnding, ending);
        QFETCH(QString, shown);
        QFETCH(QStringList, messages);
        QCOMPARE(shownOf(ending), shown);
        QCOMPARE(messagesOf(ending), messages);
    }

    // Only what arrived whole reaches the document; an empty receiver leaves the lists alone.
    void theDocumentReceivesWhatArrived() {
        const TransferEnding both = dl(ok(), ok());
        QVERIFY(both.lists.has_value());
        QCOMPARE(encodeDvb(both.lists->tv, both.lists->radio), test::channelImage(3));
        QCOMPARE(both.settingsImage.value_or(""), settingsImageOf(test::settingsBlock()));

        const TransferEnding settingsOnly = dl(fails(E::DownloadFailed), ok());
        QVERIFY(!settingsOnly.lists && settingsOnly.settingsImage);

        DownloadResult empty = download(ok(), fails(E::WrongChecksum));
        empty.lists = {};
        empty.channelBytes = 0;
        const TransferEnding nothing = finishDownload(empty, kLine);
        QVERIFY(!nothing.lists && !nothing.settingsImage);
        QCOMPARE(nothing.bytesUsed.value_or(""), QString("0"));
    }

    void italianTexts() {
        Language language;
        language.apply(QStringLiteral("ITA"));
        QCOMPARE(messagesOf(up({ok()}, false, 48, " 49152")),
                 QStringList{"~L'immagine è stata inviata, ma il ricevitore non ha risposto a 48 "
                             "dei 48 blocchi.\nSe il ricevitore non funziona con le nuove liste, "
                             "ripeti l'upload."});
        QCOMPARE(messagesOf(up({fails(E::TooManyChannelsDvb)})),
                 QStringList{"!Troppi canali per la DVB 98 : Upload/salvataggio non eseguito"});
        QVERIFY(up({declined()}).status.value_or("").startsWith(QString("Parti saltate: ")));
        QCOMPARE(messagesOf(rs({ok(), ok()})),
                 QStringList{"iIl backup del 2024-01-31 08:05:09 è di nuovo nel ricevitore."});
        language.apply(QStringLiteral("ENG"));
    }
};

}  // namespace qel

QTEST_GUILESS_MAIN(qel::SerialFinishersTest)
#include "serial_finishers_test.moc"
