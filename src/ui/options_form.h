// The options window: working directory, serial port, language, export layout memory
// and the data row at start; Save stores them and sets the language at once.
#pragma once

#include <QWidget>

#include "app/config_store.h"
#include "app/language.h"
#include "app/session.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QTreeView;
class QFileSystemModel;

namespace qel {

class OptionsForm : public QWidget {
    Q_OBJECT

public:
    OptionsForm(Session& session, ConfigStore& store, Language& language,
                QWidget* parent = nullptr);

    // A folder path as the window shows it: whole up to 43 characters, else its first
    // 20 characters, "...." and its last 20.
    static QString ShortPath(const QString& path);

    // The serial ports offered: COM1-COM4 (the first four serial devices), then every
    // port the system reports. Each entry's data is what "ComPort" stores.
    static QList<QPair<QString, QString>> PortChoices();

    void SaveOpt();
    void setWorkingDir(const QString& path);
    QString shownDir() const;

protected:
    void changeEvent(QEvent* event) override;

private:
    void SetOptFormLanguage();
    void ShowDirInTree();

    Session& s_;
    ConfigStore& store_;
    Language& language_;
    QString dir_;

    QGroupBox* frame8_;
    QGroupBox* frame9_;
    QTreeView* dirGet_;
    QFileSystemModel* dirs_;
    QLabel* dirch_;
    QComboBox* optPort_;
    QComboBox* lang_;
    QCheckBox* optLayout_;
    QCheckBox* optBox_;
    QLabel* label1_;
    QLabel* label34_;
    QLabel* label35_;
    QLabel* label36_;
    QPushButton* saveOpt_;
};

}  // namespace qel
