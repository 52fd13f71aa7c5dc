// The options window: working directory, serial port, language, export layout memory
// and the data row at start; Save stores them and sets the language at once.
#pragma once

#include <QWidget>

#include "app/config_store.h"
#include "app/language.h"
#include "app/session.h"
#include "ui/close_guard.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QTreeView;
class QFileSystemModel;

namespace qel {

class OptionsWindow : public QWidget, public UnsavedEdits {
    Q_OBJECT

public:
    OptionsWindow(Session& session, ConfigStore& store, Language& language,
                  QWidget* parent = nullptr);

    // A folder path as the window shows it: whole up to 43 characters, else its first
    // 20 characters, "...." and its last 20.
    static QString shortPath(const QString& path);

    // A serial port the system reports: its name ("COM5", "ttyUSB0"), its device path and
    // what the system calls it.
    struct FoundPort {
        QString name;
        QString location;
        QString description;
    };
    // Whose port names apply: Linux ("/dev/ttyS0") or Windows ("COM1").
    enum class PortRules { Posix, Windows };

    // The serial ports offered, as (text shown, what "ComPort" stores): COM1-COM4 always,
    // then every other port found. On Windows that means the ports COM5-COM256, each once,
    // in number order, stored by number as COM1-COM4 are; on Linux COM1-COM4 are
    // /dev/ttyS0-3 and the others are stored by their device path.
    static QList<QPair<QString, QString>> portChoices(const QList<FoundPort>& found,
                                                      PortRules rules);
    // The same for the ports this system reports now.
    static QList<QPair<QString, QString>> portChoices();

    void save();
    // A choice differs from what the window showed when it opened or was last saved.
    bool hasUnsavedEdits() const override;
    void setWorkingDir(const QString& path);
    QString shownDir() const;

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // The parts of the window: the folder tree, the other choices, their places.
    void buildFolderBox();
    void connectFolderTree();
    void buildMiscBox();
    void layOut();
    // The stored configuration in the controls.
    void showStoredChoices();
    void setTexts();
    void showFolderInTree();
    // The configuration as the controls stand.
    Config chosenConfig() const;

    Session& session_;
    ConfigStore& store_;
    Language& language_;
    QString dir_;
    bool showPending_ = false;
    Config shown_;  // the choices shown when the window opened or was last saved

    QGroupBox* miscBox_;
    QGroupBox* folderBox_;
    QTreeView* folderTree_;
    QFileSystemModel* folders_;
    QLabel* folderText_;
    QComboBox* portChoice_;
    QComboBox* languageChoice_;
    QCheckBox* rememberExportLayout_;
    QCheckBox* dataRowAtStart_;
    QLabel* dataRowLabel_;
    QCheckBox* backupBeforeUpload_;
    QLabel* backupLabel_;
    QCheckBox* verifyAfterUpload_;
    QLabel* verifyLabel_;
    QCheckBox* askOnCheckErrors_;
    QLabel* askOnCheckErrorsLabel_;
    QLabel* portLabel_;
    QLabel* languageLabel_;
    QLabel* layoutLabel_;
    QPushButton* save_;
};

}  // namespace qel
