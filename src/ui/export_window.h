// The export window (Export tab): the format (paged with headers, bare rows, import
// compatible), the columns and number base of a page, samples of a row and of a page
// header, the encoding, the file written, and the export button with its progress label.
#pragma once

#include <QWidget>
#include <array>

#include "app/export_controller.h"
#include "app/prompter.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace qel {

class ExportWindow : public QWidget {
    Q_OBJECT

public:
    ExportWindow(ExportController& exporter, Session& session, Prompter& prompter,
                 FileChooser& chooser, QWidget* parent = nullptr);

    // The options as the controls stand.
    ExportOptions options() const;
    // Writes the export: asks before replacing a file, tells how it went.
    void exportFile();
    // Lets the user choose another file to write.
    void chooseFile();

protected:
    void changeEvent(QEvent* event) override;

private:
    // The window in parts: the form choice, the column boxes, the samples and buttons, their
    // places, the choices it opens with, and what the controls do.
    void buildFormatBox();
    void buildColumnsBox();
    void createSamplesAndButtons();
    void layOut();
    void showInitialChoices();
    void connectSignals();
    void setTexts();
    void formChosen();
    void showTarget();
    // The choices the loaded lists allow: antennas for an FTA image, the import-compatible
    // form for DVB98 lists.
    void followFileType();

    ExportController& exporter_;
    Session& session_;
    Prompter& prompter_;
    FileChooser& chooser_;

    QGroupBox* format_;  // Forma
    QRadioButton* headed_;
    QRadioButton* plain_;
    QRadioButton* importCompatible_;
    QGroupBox* layout_;  // Playout
    // ids, antenna, frequency, polarisation, symbol rate, FEC, PIDs, bandwidth
    std::array<QCheckBox*, 8> columns_{};
    QComboBox* base_;  // Hexdec
    QLabel* columnSample_;
    QLabel* headerSample_;
    QCheckBox* utf8_;
    QPushButton* choose_;
    QPushButton* export_;
    QLabel* progress_;
};

}  // namespace qel
